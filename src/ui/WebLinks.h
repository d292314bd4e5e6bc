#pragma once
// The web pages the window links to: the two banners and the maker's link in the about box.

inline constexpr char MakerSiteUrl[] = "https://kestrova.example.org/";
inline constexpr char FanClubUrl[] = "https://kestrova.example.org/el71-club/";
