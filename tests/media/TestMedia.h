#pragma once
// Small media files made byte by byte, for the tests of the theme check: Qt writes no GIF, and
// no library at hand writes sounds.

#include <string>

namespace media {

/// A GIF of the given frames, each of one colour: 0 black, 1 red, 2 green, 3 blue.
std::string Gif(int width, int height, int frames, int colour = 1);

/// A MIDI file: a header chunk and one short track.
std::string Midi();

/// An MPEG-1 layer III stream of a few silent frames, behind an ID3v2 tag when id3 is true.
std::string Mp3(bool id3);

/// An AAC stream in ADTS frames.
std::string Adts();

} // namespace media
