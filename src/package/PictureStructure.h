#pragma once
// What a picture's headers and blocks say, read without a decoder, so that a quick look at a
// theme needs no picture library. It agrees with what Qt's reader reports before it decodes a
// frame. A JPEG or GIF cut short in copying still decodes, the missing part drawn grey or left
// out, so the decoders do not tell whether it is whole; the structure does.

#include <string>
#include <string_view>

/// What a picture file's headers and block structure say, no pixel decoded.
struct PictureStructure {
    /// "PNG", "JPEG", "GIF", "BMP" or "ICO" (the names Qt's reader gives, in capitals), told by
    /// the content alone; empty for any other content.
    std::string format;
    int width = 0; // as the header gives them, 0 when it gives none
    int height = 0;
    /// GIF: the images found; ICO: the directory's entries; otherwise 1 (0 when format is empty).
    int frames = 0;
    /// False when a PNG, JPEG or GIF ends before its IEND chunk, end-of-image marker or trailer,
    /// or a length inside it points beyond the file; other formats count as complete.
    bool complete = true;
};

PictureStructure ReadPictureStructure(std::string_view bytes);
