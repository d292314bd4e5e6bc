#include "MediaSniffing.h"

#include "AsciiCase.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

namespace {

std::uint8_t At(std::string_view bytes, std::size_t index) {
    return static_cast<std::uint8_t>(bytes[index]);
}

// ADTS: a 12-bit sync word, layer 0, a sampling rate that exists and a frame no shorter than
// its own header.
bool IsAdtsHeader(std::string_view bytes) {
    if (bytes.size() < 7 || At(bytes, 0) != 0xFF || (At(bytes, 1) & 0xF6) != 0xF0)
        return false;
    const int rate = (At(bytes, 2) >> 2) & 0x0F;
    const int length = ((At(bytes, 3) & 0x03) << 11) | (At(bytes, 4) << 3) | (At(bytes, 5) >> 5);
    return rate < 13 && length >= 7;
}

// An MPEG audio frame header: an 11-bit sync word and no reserved version, layer, bit rate or
// sampling rate.
bool IsMpegAudioHeader(std::string_view bytes) {
    if (bytes.size() < 4 || At(bytes, 0) != 0xFF || (At(bytes, 1) & 0xE0) != 0xE0)
        return false;
    const int version = (At(bytes, 1) >> 3) & 0x03;
    const int layer = (At(bytes, 1) >> 1) & 0x03;
    const int bitRate = At(bytes, 2) >> 4;
    const int rate = (At(bytes, 2) >> 2) & 0x03;
    return version != 1 && layer != 0 && bitRate != 15 && rate != 3;
}

// The length of an ID3v2 tag at the start, header and footer included; 0 when there is none.
std::size_t Id3TagLength(std::string_view bytes) {
    if (bytes.size() < 10 || bytes.substr(0, 3) != "ID3")
        return 0;
    std::size_t size = 0;
    for (std::size_t i = 6; i < 10; ++i) {
        if (At(bytes, i) & 0x80) // a tag size is four 7-bit bytes
            return 0;
        size = (size << 7) | At(bytes, i);
    }
    const bool footer = At(bytes, 5) & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

struct FormatExtensions {
    std::string_view format;
    std::array<std::string_view, 2> extensions;
};

constexpr std::array<FormatExtensions, 3> OtherNames{{
    {"JPEG", {"jpg", "jpeg"}},
    {"MIDI", {"mid", "midi"}},
    {"TIFF", {"tif", "tiff"}},
}};

} // namespace

std::string_view SniffMelodyFormat(std::string_view bytes) {
    if (bytes.substr(0, 4) == "MThd")
        return "MIDI";
    const std::size_t tag = Id3TagLength(bytes);
    const std::string_view audio = tag < bytes.size() ? bytes.substr(tag) : std::string_view();
    if (IsAdtsHeader(audio))
        return "AAC";
    if (tag > 0 || IsMpegAudioHeader(audio))
        return "MP3";
    return {};
}

bool ExtensionFitsFormat(std::string_view format, std::string_view extension) {
    for (const FormatExtensions& entry : OtherNames)
        if (entry.format == format)
            return std::any_of(
                entry.extensions.begin(), entry.extensions.end(),
                [&](std::string_view name) { return SameIgnoringAsciiCase(name, extension); });
    return SameIgnoringAsciiCase(format, extension);
}
