// The reader of a picture's headers against Qt's reader, whose place it takes in the build's
// quick look: over pictures Qt writes or decodes, whole and cut short anywhere, both must report
// the same format, size and frames.

#include "package/PictureStructure.h"

#include "TestMedia.h"
#include "picture/QuietDecoders.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

std::string Encoded(const QImage& image, const char* format, bool progressive = false) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(image)) << format;
    return bytes.toStdString();
}

QImage Filled(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image;
}

std::string Little16(int value) {
    return {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF)};
}
std::string Little32(std::uint32_t value) {
    return Little16(static_cast<int>(value & 0xFFFF)) + Little16(static_cast<int>(value >> 16));
}

// Qt writes BMPs bottom-up; a negative height stores the same rows top-down.
std::string TopDown(std::string bmp) {
    const int height = static_cast<unsigned char>(bmp[22]) | static_cast<unsigned char>(bmp[23])
                                                                 << 8;
    bmp.replace(22, 4, Little32(static_cast<std::uint32_t>(-height)));
    return bmp;
}

// A BMP of OS/2's 12-byte core header, 24 bits a pixel, which Qt does not write.
std::string CoreHeaderBmp(int width, int height) {
    const int row = (width * 3 + 3) / 4 * 4;
    const std::string header =
        Little32(12) + Little16(width) + Little16(height) + Little16(1) + Little16(24);
    const std::uint32_t offset = 14 + 12;
    return "BM" + Little32(offset + row * height) + Little32(0) + Little32(offset) + header +
           std::string(row * height, '\x40');
}

// One icon file of Qt's pictures: Qt writes a single image to each.
std::string Icons(const std::vector<QImage>& images) {
    std::string entries, data;
    std::uint32_t offset = 6 + 16 * images.size();
    for (const QImage& image : images) {
        const std::string ico = Encoded(image, "ICO");
        const std::string resource = ico.substr(22);
        entries += ico.substr(6, 12) + Little32(offset);
        data += resource;
        offset += resource.size();
    }
    return Little16(0) + Little16(1) + Little16(static_cast<int>(images.size())) + entries + data;
}

std::string WithType(std::string ico, int type) {
    return ico.replace(2, 2, Little16(type));
}

// GIF's logical screen, and the place of its first image behind two extensions.
std::string WithScreen(std::string gif, int width, int height, int left = 0, int top = 0) {
    gif.replace(6, 4, Little16(width) + Little16(height));
    gif.replace(53, 4, Little16(left) + Little16(top));
    return gif;
}

// What Qt's reader says before it decodes a frame, the decoder chosen by the content alone (a
// buffer with no file name), as the quick look asked it.
PictureStructure ReadWithQt(const std::string& bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    PictureStructure facts;
    facts.format = reader.format().toUpper().toStdString();
    if (facts.format.empty())
        return facts;
    QSize size = reader.size();
    // Qt gives a top-down BMP's height as it is stored, negative.
    if (facts.format == "BMP" && size.width() > 0 && size.height() < 0)
        size.setHeight(-size.height());
    // No valid size is none.
    if (size.isValid()) {
        facts.width = size.width();
        facts.height = size.height();
    }
    const int count = reader.imageCount();
    facts.frames = facts.format == "GIF" || facts.format == "ICO" ? count : 1;
    return facts;
}

std::string Describe(const PictureStructure& s) {
    return s.format + " " + std::to_string(s.width) + "x" + std::to_string(s.height) + " " +
           std::to_string(s.frames) + " frames";
}

struct Picture {
    const char* name;
    std::string bytes;
    std::string description; // what both readers must report
};

std::vector<Picture> Pictures() {
    const std::string gif = media::Gif(12, 8, 3);
    return {
        {"PNG", Encoded(Filled(37, 21), "PNG"), "PNG 37x21 1 frames"},
        {"PNG of palette colours",
         Encoded(Filled(9, 4).convertToFormat(QImage::Format_Indexed8), "PNG"), "PNG 9x4 1 frames"},
        {"baseline JPEG", Encoded(Filled(37, 21), "JPEG"), "JPEG 37x21 1 frames"},
        {"progressive JPEG", Encoded(Filled(37, 21), "JPEG", true), "JPEG 37x21 1 frames"},
        {"GIF of one frame", media::Gif(12, 8, 1), "GIF 12x8 1 frames"},
        {"GIF of three frames", gif, "GIF 12x8 3 frames"},
        {"GIF of a screen larger than its image", WithScreen(gif, 30, 20), "GIF 30x20 3 frames"},
        {"GIF of an empty screen", WithScreen(gif, 0, 0, 5, 3), "GIF 17x11 3 frames"},
        {"GIF of a screen over ten times its image", WithScreen(gif, 2010, 2010, 5, 3),
         "GIF 17x11 3 frames"},
        {"bottom-up BMP", Encoded(Filled(5, 3), "BMP"), "BMP 5x3 1 frames"},
        {"top-down BMP", TopDown(Encoded(Filled(5, 3), "BMP")), "BMP 5x3 1 frames"},
        {"BMP of palette colours",
         Encoded(Filled(6, 2).convertToFormat(QImage::Format_Indexed8), "BMP"), "BMP 6x2 1 frames"},
        {"BMP of OS/2's core header", CoreHeaderBmp(5, 3), "BMP 5x3 1 frames"},
        {"ICO of one entry", Icons({Filled(16, 24)}), "ICO 16x24 1 frames"},
        {"ICO of two entries", Icons({Filled(16, 24), Filled(32, 32)}), "ICO 16x24 2 frames"},
        {"ICO of 256 pixels", Icons({Filled(256, 256)}), "ICO 256x256 1 frames"},
        {"a cursor", WithType(Icons({Filled(16, 16)}), 2), "ICO 16x16 1 frames"},
    };
}

} // namespace

TEST(PictureStructure, AgreesWithQtsReader) {
    // The writer takes the option: a progressive frame header is C2, a baseline one C0.
    ASSERT_NE(Encoded(Filled(37, 21), "JPEG", true).find("\xFF\xC2"), std::string::npos);
    for (const Picture& picture : Pictures()) {
        const PictureStructure structure = ReadPictureStructure(picture.bytes);
        EXPECT_EQ(Describe(ReadWithQt(picture.bytes)), picture.description) << picture.name;
        EXPECT_EQ(Describe(structure), picture.description) << picture.name;
        EXPECT_TRUE(structure.complete) << picture.name;
        // The pictures are whole: Qt decodes them.
        QImage image;
        EXPECT_TRUE(image.loadFromData(QByteArray::fromStdString(picture.bytes))) << picture.name;
    }
}

TEST(PictureStructure, AgreesWithQtsReaderOnPicturesCutShort) {
    const QuietDecoders quiet;
    for (const Picture& picture : Pictures())
        // The headers lie in the first bytes; past them only the end mark changes.
        for (std::size_t length = 0; length < std::min<std::size_t>(picture.bytes.size(), 4096);
             ++length) {
            const std::string cut = picture.bytes.substr(0, length);
            ASSERT_EQ(Describe(ReadPictureStructure(cut)), Describe(ReadWithQt(cut)))
                << picture.name << " cut to " << length << " of " << picture.bytes.size()
                << " bytes";
        }
}
