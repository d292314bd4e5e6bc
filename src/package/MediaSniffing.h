#pragma once
// Telling media formats by their first bytes, the way the phone does, not by their names.

#include <string_view>

/// "MIDI" for "MThd", "AAC" for an ADTS frame, "MP3" for an ID3 tag or an MPEG audio frame;
/// empty for anything else. An ID3 tag in front of an ADTS frame still makes it AAC.
std::string_view SniffMelodyFormat(std::string_view bytes);

/// Whether a file name's extension (without its ".", any case) is one that the format goes by:
/// "jpg" and "jpeg" for JPEG, "mid" and "midi" for MIDI, otherwise the format's own name.
bool ExtensionFitsFormat(std::string_view format, std::string_view extension);
