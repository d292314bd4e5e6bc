#include "TestMedia.h"

#include <algorithm>

namespace media {

namespace {

void Little16(std::string& out, int value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

// LZW codes of three bits, with a clear code before every second pixel so that the code size
// never grows: the data is longer than a real encoder's but every decoder reads it.
std::string SolidImageData(int pixels, int colour) {
    constexpr int Clear = 4, End = 5;
    std::string data;
    unsigned bits = 0;
    int count = 0;
    auto put = [&](int code) {
        bits |= static_cast<unsigned>(code) << count;
        count += 3;
        while (count >= 8) {
            data += static_cast<char>(bits & 0xFF);
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < pixels; ++i) {
        if (i % 2 == 0)
            put(Clear);
        put(colour);
    }
    put(End);
    if (count > 0)
        data += static_cast<char>(bits & 0xFF);
    std::string blocks;
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, data.size() - at);
        blocks += static_cast<char>(length);
        blocks += data.substr(at, length);
    }
    return blocks + '\0';
}

} // namespace

std::string Gif(int width, int height, int frames, int colour) {
    std::string gif = "GIF89a";
    Little16(gif, width);
    Little16(gif, height);
    gif += std::string("\xF1\x00\x00", 3); // a global table of 4 colours
    gif += std::string("\x00\x00\x00\xFF\x00\x00\x00\xFF\x00\x00\x00\xFF", 12);
    if (frames > 1)
        gif += std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    for (int frame = 0; frame < frames; ++frame) {
        gif += std::string("\x21\xF9\x04\x00", 4); // 1/10 s per frame
        Little16(gif, 10);
        gif += std::string("\x00\x00", 2);
        gif += '\x2C';
        Little16(gif, 0);
        Little16(gif, 0);
        Little16(gif, width);
        Little16(gif, height);
        gif += '\0';
        gif += '\x02'; // LZW minimum code size
        gif += SolidImageData(width * height, colour);
    }
    return gif + ';';
}

std::string Midi() {
    return std::string("MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60"
                       "MTrk\x00\x00\x00\x0C"
                       "\x00\x90\x3C\x40\x60\x80\x3C\x00\x00\xFF\x2F\x00",
                       34);
}

std::string Mp3(bool id3) {
    std::string mp3;
    if (id3) // ID3v2.4, no flags, a 10-byte body of padding
        mp3 = std::string("ID3\x04\x00\x00\x00\x00\x00\x0A", 10) + std::string(10, '\0');
    // MPEG-1 layer III, 128 kbit/s, 44.1 kHz: 417 bytes a frame.
    const std::string header("\xFF\xFB\x90\x64", 4);
    for (int frame = 0; frame < 3; ++frame)
        mp3 += header + std::string(413, '\0');
    return mp3;
}

std::string Adts() {
    // MPEG-4 AAC LC, 44.1 kHz, stereo, no CRC, 16-byte frames.
    const std::string frame = std::string("\xFF\xF1\x50\x80\x02\x1F\xFC", 7) + std::string(9, '\0');
    return frame + frame + frame;
}

} // namespace media
