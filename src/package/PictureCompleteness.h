#pragma once
// Whether a picture file reaches its end mark. A JPEG or GIF cut short in copying still decodes,
// the missing part drawn grey or left out, so the decoders do not tell; the structure does.

#include <string_view>

/// False when a "PNG", "JPEG" or "GIF" ends before its IEND chunk, end-of-image marker or
/// trailer, or when a length inside it points beyond the file. Other formats count as complete.
bool PictureComplete(std::string_view format, std::string_view bytes);
