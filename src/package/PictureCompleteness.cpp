#include "PictureCompleteness.h"

#include <cstddef>
#include <cstdint>

namespace {

// Every read goes through these, so no offset is used before it is checked against the size.
class Bytes {
public:
    explicit Bytes(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Size() const { return bytes_.size(); }
    bool Has(std::size_t at, std::size_t count) const {
        return at <= bytes_.size() && count <= bytes_.size() - at;
    }
    std::uint8_t At(std::size_t at) const { return static_cast<std::uint8_t>(bytes_[at]); }
    std::uint32_t Big16(std::size_t at) const { return (At(at) << 8) | At(at + 1); }
    std::uint32_t Big32(std::size_t at) const { return (Big16(at) << 16) | Big16(at + 2); }
    std::string_view Text(std::size_t at, std::size_t count) const {
        return bytes_.substr(at, count);
    }

private:
    std::string_view bytes_;
};

bool PngComplete(const Bytes& png) {
    std::size_t at = 8; // the signature
    while (png.Has(at, 12)) {
        const std::uint64_t length = png.Big32(at);
        if (png.Text(at + 4, 4) == "IEND")
            return true;
        if (!png.Has(at + 12, length))
            return false;
        at += 12 + static_cast<std::size_t>(length);
    }
    return false;
}

bool IsStandaloneMarker(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

bool JpegComplete(const Bytes& jpeg) {
    if (!jpeg.Has(0, 2) || jpeg.At(0) != 0xFF || jpeg.At(1) != 0xD8)
        return false;
    std::size_t at = 2;
    while (at < jpeg.Size()) {
        // Bytes between segments are skipped, as decoders do, up to the next marker.
        while (at < jpeg.Size() && jpeg.At(at) != 0xFF)
            ++at;
        while (at < jpeg.Size() && jpeg.At(at) == 0xFF) // fill bytes
            ++at;
        if (at >= jpeg.Size())
            return false;
        const std::uint8_t marker = jpeg.At(at++);
        if (marker == 0xD9)
            return true;
        if (marker == 0x00 || IsStandaloneMarker(marker))
            continue;
        if (!jpeg.Has(at, 2))
            return false;
        const std::size_t length = jpeg.Big16(at);
        if (length < 2 || !jpeg.Has(at, length))
            return false;
        at += length;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a restart.
        while (true) {
            while (at < jpeg.Size() && jpeg.At(at) != 0xFF)
                ++at;
            std::size_t next = at;
            while (next < jpeg.Size() && jpeg.At(next) == 0xFF)
                ++next;
            if (next >= jpeg.Size())
                return false;
            if (jpeg.At(next) != 0x00 && !IsStandaloneMarker(jpeg.At(next)))
                break;
            at = next + 1;
        }
    }
    return false;
}

std::size_t ColourTableLength(std::uint8_t flags) {
    return flags & 0x80 ? 3u << ((flags & 0x07) + 1) : 0;
}

// Sub-blocks: a length byte and that many bytes, until a length of 0.
bool SkipSubBlocks(const Bytes& gif, std::size_t& at) {
    while (gif.Has(at, 1)) {
        const std::size_t length = gif.At(at++);
        if (length == 0)
            return true;
        if (!gif.Has(at, length))
            return false;
        at += length;
    }
    return false;
}

bool GifComplete(const Bytes& gif) {
    if (!gif.Has(0, 13))
        return false;
    std::size_t at = 13 + ColourTableLength(gif.At(10));
    while (gif.Has(at, 1)) {
        switch (gif.At(at++)) {
        case 0x3B: // trailer
            return true;
        case 0x21: // extension: a label, then sub-blocks
            if (!gif.Has(at, 1))
                return false;
            ++at;
            break;
        case 0x2C: // image: descriptor, local colour table, LZW code size, then sub-blocks
            if (!gif.Has(at, 10))
                return false;
            at += 9 + ColourTableLength(gif.At(at + 8));
            if (!gif.Has(at, 1))
                return false;
            ++at;
            break;
        default:
            return false;
        }
        if (!SkipSubBlocks(gif, at))
            return false;
    }
    return false;
}

} // namespace

bool PictureComplete(std::string_view format, std::string_view bytes) {
    const Bytes picture(bytes);
    if (format == "PNG")
        return PngComplete(picture);
    if (format == "JPEG")
        return JpegComplete(picture);
    if (format == "GIF")
        return GifComplete(picture);
    return true;
}
