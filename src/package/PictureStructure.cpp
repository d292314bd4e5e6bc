#include "PictureStructure.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <zlib.h>

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
    /// Where the next 0xFF byte from at is, Size() when there is none: a JPEG's entropy-coded
    /// data is most of the file, so it is searched, not walked byte by byte.
    std::size_t NextFF(std::size_t at) const {
        if (at >= bytes_.size())
            return bytes_.size();
        const void* found = std::memchr(bytes_.data() + at, 0xFF, bytes_.size() - at);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - bytes_.data())
                     : bytes_.size();
    }
    std::uint32_t Big16(std::size_t at) const { return (At(at) << 8) | At(at + 1); }
    std::uint32_t Big32(std::size_t at) const { return (Big16(at) << 16) | Big16(at + 2); }
    std::uint32_t Little16(std::size_t at) const { return At(at) | (At(at + 1) << 8); }
    std::uint32_t Little32(std::size_t at) const { return Little16(at) | (Little16(at + 2) << 16); }
    std::string_view Text(std::size_t at, std::size_t count) const {
        return bytes_.substr(at, count);
    }

private:
    std::string_view bytes_;
};

bool StartsWith(std::string_view bytes, std::string_view signature) {
    return bytes.substr(0, signature.size()) == signature;
}

// A chunk's checksum covers its type and data; the whole chunk must be in the file.
bool PngChunkSumFits(const Bytes& png, std::size_t at, std::size_t length) {
    const auto* data = reinterpret_cast<const Bytef*>(png.Text(at + 4, 4 + length).data());
    return crc32(0, data, static_cast<uInt>(4 + length)) == png.Big32(at + 8 + length);
}

// libpng refuses a header whose checksum, size or pixel layout it does not accept.
bool PngHeaderFits(const Bytes& png) {
    if (!png.Has(8, 25) || png.Big32(8) != 13 || png.Text(12, 4) != "IHDR" ||
        !PngChunkSumFits(png, 8, 13))
        return false;
    // libpng's default limit on either side.
    constexpr std::uint32_t MaxSide = 1000000;
    const std::uint32_t width = png.Big32(16), height = png.Big32(20);
    if (width == 0 || height == 0 || width > MaxSide || height > MaxSide)
        return false;
    const int depth = png.At(24), colour = png.At(25);
    const bool depthFits = colour == 0
                               ? depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16
                           : colour == 3 ? depth == 1 || depth == 2 || depth == 4 || depth == 8
                           : colour == 2 || colour == 4 || colour == 6 ? depth == 8 || depth == 16
                                                                       : false;
    return depthFits && png.At(26) == 0 && png.At(27) == 0 && png.At(28) <= 1;
}

// Before the first image data libpng refuses a name that is not four letters, a critical chunk
// it does not know, a length beyond 31 bits, and a palette with a wrong checksum or, for a
// picture of palette colours, of no whole number of up to 256 colours.
bool PngChunkFitsBeforeData(const Bytes& png, std::size_t at, bool paletteColours) {
    const std::string_view type = png.Text(at + 4, 4);
    const auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    const std::uint32_t length = png.Big32(at);
    if (!std::all_of(type.begin(), type.end(), letter) || length > 0x7FFFFFFF)
        return false;
    if (type == "PLTE")
        return png.Has(at + 12, length) && PngChunkSumFits(png, at, length) &&
               (!paletteColours || (length > 0 && length <= 768 && length % 3 == 0));
    const bool critical = type[0] <= 'Z';
    return !critical || type == "IDAT";
}

void ReadPng(const Bytes& png, PictureStructure& picture) {
    // Qt reports a size once libpng has read every chunk up to the first image data.
    bool headerRead = PngHeaderFits(png);
    const bool paletteColours = headerRead && png.At(25) == 3;
    bool palette = false;
    picture.complete = false;
    std::size_t at = headerRead ? 33 : 8; // behind the header chunk, or the signature
    while (png.Has(at, 8)) {
        const std::string_view type = png.Text(at + 4, 4);
        if (headerRead && !PngChunkFitsBeforeData(png, at, paletteColours))
            headerRead = false;
        if (headerRead && type == "PLTE")
            palette = true;
        if (headerRead && type == "IDAT") {
            if (palette || !paletteColours) {
                picture.width = static_cast<int>(png.Big32(16));
                picture.height = static_cast<int>(png.Big32(20));
            }
            headerRead = false;
        }
        if (!png.Has(at, 12))
            return;
        const std::uint64_t length = png.Big32(at);
        if (type == "IEND") {
            picture.complete = true;
            return;
        }
        if (!png.Has(at + 12, length))
            return;
        at += 12 + static_cast<std::size_t>(length);
    }
}

bool IsStandaloneMarker(std::uint8_t marker) {
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Start of frame: every process but C4 (Huffman tables), C8 (reserved) and CC (arithmetic
// conditioning).
bool IsFrameMarker(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Before the first scan libjpeg refuses a second start of image, a second frame header and the
// markers it does not know, and Qt then reports no size.
bool RefusedBeforeScan(std::uint8_t marker) {
    return marker == 0xD8 || (marker >= 0x02 && marker <= 0xBF) || marker == 0xDE ||
           marker == 0xDF || (marker >= 0xF0 && marker <= 0xFD);
}

// libjpeg reads the header up to the first scan's component list before Qt reports a size. Qt
// feeds it an end mark where the file ends, so the scan header's last bytes may be missing.
bool ScanComponentsRead(const Bytes& jpeg, std::size_t at) {
    if (!jpeg.Has(at, 3))
        return false;
    const std::size_t components = jpeg.At(at + 2);
    return components >= 1 && components <= 4 && jpeg.Big16(at) == 6 + 2 * components &&
           jpeg.Has(at, 2 + 2 * components);
}

void ReadJpeg(const Bytes& jpeg, PictureStructure& picture) {
    picture.complete = false;
    int frameWidth = 0, frameHeight = 0;
    bool framed = false, refused = false, scanned = false;
    std::size_t at = 2;
    while (at < jpeg.Size()) {
        // Bytes between segments are skipped, as decoders do, up to the next marker.
        at = jpeg.NextFF(at);
        while (at < jpeg.Size() && jpeg.At(at) == 0xFF) // fill bytes
            ++at;
        if (at >= jpeg.Size())
            return;
        const std::uint8_t marker = jpeg.At(at++);
        if (marker == 0xD9) {
            picture.complete = true;
            return;
        }
        if (marker == 0x00 || IsStandaloneMarker(marker))
            continue;
        if (marker == 0xDA && !scanned && !refused && frameWidth > 0 && frameHeight > 0 &&
            ScanComponentsRead(jpeg, at)) {
            picture.width = frameWidth;
            picture.height = frameHeight;
        }
        if (!jpeg.Has(at, 2))
            return;
        const std::size_t length = jpeg.Big16(at);
        if (length < 2 || !jpeg.Has(at, length))
            return;
        if (!scanned && (RefusedBeforeScan(marker) || (framed && IsFrameMarker(marker)))) {
            refused = true;
        } else if (!scanned && IsFrameMarker(marker)) {
            framed = true;
            // Precision, height, width, then three bytes for each component.
            const int components = length >= 8 ? jpeg.At(at + 7) : 0;
            if (components > 0 && length == 8 + 3u * components) {
                frameHeight = static_cast<int>(jpeg.Big16(at + 3));
                frameWidth = static_cast<int>(jpeg.Big16(at + 5));
            }
        }
        at += length;
        if (marker != 0xDA)
            continue;
        scanned = true;
        // Entropy-coded data runs to the next marker that is neither a stuffed zero nor a restart.
        while (true) {
            at = jpeg.NextFF(at);
            std::size_t next = at;
            while (next < jpeg.Size() && jpeg.At(next) == 0xFF)
                ++next;
            if (next >= jpeg.Size())
                return;
            if (jpeg.At(next) != 0x00 && !IsStandaloneMarker(jpeg.At(next)))
                break;
            at = next + 1;
        }
    }
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

// Qt reports the logical screen unless it is empty or more than ten times the first image (and
// 2000 pixels) across, when it takes the image's right or bottom edge instead.
int GifSide(int screen, int offset, int image) {
    if (screen / 10 > std::max(image, 200))
        screen = -1;
    return screen <= 0 ? offset + image : screen;
}

// An image counts once its descriptor is there, as Qt's reader counts them, even if its data is
// cut short.
void CountGifImage(const Bytes& gif, std::size_t at, PictureStructure& picture) {
    if (picture.frames++ > 0)
        return;
    picture.width = GifSide(static_cast<int>(gif.Little16(6)), static_cast<int>(gif.Little16(at)),
                            static_cast<int>(gif.Little16(at + 4)));
    picture.height =
        GifSide(static_cast<int>(gif.Little16(8)), static_cast<int>(gif.Little16(at + 2)),
                static_cast<int>(gif.Little16(at + 6)));
}

void ReadGif(const Bytes& gif, PictureStructure& picture) {
    picture.frames = 0;
    picture.complete = false;
    // Qt's reader stops counting at an LZW code size beyond GIF's 12 bits.
    bool counting = true;
    if (!gif.Has(0, 13))
        return;
    std::size_t at = 13 + ColourTableLength(gif.At(10));
    while (gif.Has(at, 1)) {
        switch (gif.At(at++)) {
        case 0x3B: // trailer
            picture.complete = true;
            return;
        case 0x21: // extension: a label, then sub-blocks
            if (!gif.Has(at, 1))
                return;
            ++at;
            break;
        case 0x2C: // image: descriptor, local colour table, LZW code size, then sub-blocks
            if (counting && gif.Has(at, 9))
                CountGifImage(gif, at, picture);
            if (!gif.Has(at, 10))
                return;
            at += 9 + ColourTableLength(gif.At(at + 8));
            if (!gif.Has(at, 1))
                return;
            counting = counting && gif.At(at) <= 12;
            ++at;
            break;
        default:
            return;
        }
        if (!SkipSubBlocks(gif, at))
            return;
    }
}

void ReadBmp(const Bytes& bmp, PictureStructure& picture) {
    // Behind the 14-byte file header, Qt reads the info header by its size: the sizes of Windows
    // 3 (40), OS/2 2 (64) and Windows 4 and 5 carry 32-bit sides, any other is taken for the old
    // 12-byte core header with signed 16-bit ones.
    const std::size_t header = 14;
    if (!bmp.Has(header, 4))
        return;
    const std::uint32_t size = bmp.Little32(header);
    const bool wide = size == 40 || size == 64 || size == 108 || size == 124;
    // Of the OS/2 header Qt reads only the fields it shares with Windows 3's.
    const std::size_t read = !wide ? 12 : size == 64 ? 40 : size;
    if (!bmp.Has(header, read))
        return;
    std::int32_t width, height;
    std::uint32_t planes, bits, compression = 0;
    if (wide) {
        width = static_cast<std::int32_t>(bmp.Little32(header + 4));
        height = static_cast<std::int32_t>(bmp.Little32(header + 8));
        planes = bmp.Little16(header + 12);
        bits = bmp.Little16(header + 14);
        compression = bmp.Little32(header + 16);
    } else {
        width = static_cast<std::int16_t>(bmp.Little16(header + 4));
        height = static_cast<std::int16_t>(bmp.Little16(header + 6));
        planes = bmp.Little16(header + 8);
        bits = bmp.Little16(header + 10);
    }
    // What Qt's reader accepts; for anything else it reports no size.
    const bool bitsFit =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool compressionFits = compression == 0 || (bits == 4 && compression == 2) ||
                                 (bits == 8 && compression == 1) ||
                                 ((bits == 16 || bits == 32) && compression == 3);
    if (!bitsFit || planes != 1 || !compressionFits || height == INT_MIN || width <= 0 ||
        height == 0)
        return;
    // A negative height stores the rows top-down.
    const std::int64_t rows = std::llabs(height);
    if (width * rows > std::int64_t(16384) * 16384)
        return;
    picture.width = width;
    picture.height = static_cast<int>(rows);
}

// An icon directory has no signature: Qt takes it for one by these fields of its header and first
// entry, for icons (type 1) and cursors (type 2) alike.
bool IsIconDirectory(const Bytes& ico) {
    if (!ico.Has(0, 22))
        return false;
    const std::uint32_t type = ico.Little16(2);
    return ico.Little16(0) == 0 && (type == 1 || type == 2) && ico.At(9) == 0 &&
           (ico.Little16(10) <= 1 || type == 2) && (ico.Little16(12) <= 32 || type == 2) &&
           ico.Little32(14) >= 40;
}

void ReadIco(const Bytes& ico, PictureStructure& picture) {
    picture.frames = static_cast<int>(ico.Little16(4));
    // 0 stands for 256.
    picture.width = ico.At(6) ? ico.At(6) : 256;
    picture.height = ico.At(7) ? ico.At(7) : 256;
}

} // namespace

PictureStructure ReadPictureStructure(std::string_view bytes) {
    const Bytes picture(bytes);
    PictureStructure structure;
    structure.frames = 1;
    if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) {
        structure.format = "PNG";
        ReadPng(picture, structure);
    } else if (StartsWith(bytes, "\xFF\xD8")) {
        structure.format = "JPEG";
        ReadJpeg(picture, structure);
    } else if (StartsWith(bytes, "GIF87a") || StartsWith(bytes, "GIF89a")) {
        structure.format = "GIF";
        ReadGif(picture, structure);
    } else if (StartsWith(bytes, "BM")) {
        structure.format = "BMP";
        ReadBmp(picture, structure);
    } else if (IsIconDirectory(picture)) {
        structure.format = "ICO";
        ReadIco(picture, structure);
    } else {
        structure.frames = 0;
    }
    return structure;
}
