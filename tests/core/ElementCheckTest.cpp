// The parts of the theme check that need no picture decoder: telling sounds apart, finding
// pictures cut short, judging a picture's place on the screen, and the files behind it all.

#include "package/ElementCheck.h"

#include "TestMedia.h"
#include "TestSupport.h"
#include "package/MediaSniffing.h"
#include "package/PictureStructure.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

std::string Little16(int value) {
    return Bytes({value & 0xFF, (value >> 8) & 0xFF});
}
std::string Little32(std::uint32_t value) {
    return Little16(static_cast<int>(value & 0xFFFF)) + Little16(static_cast<int>(value >> 16));
}
std::string Big32(std::uint32_t value) {
    return Bytes({static_cast<int>(value >> 24), static_cast<int>((value >> 16) & 0xFF),
                  static_cast<int>((value >> 8) & 0xFF), static_cast<int>(value & 0xFF)});
}

// A JPEG frame header of one component, and the header of a scan of that component.
std::string JpegFrame(int marker, int width, int height) {
    return Bytes({0xFF, marker, 0x00, 0x0B, 0x08, height >> 8, height & 0xFF, width >> 8,
                  width & 0xFF, 0x01, 0x01, 0x11, 0x00});
}
std::string JpegScan() {
    return Bytes({0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00});
}

const std::string Png = Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
std::string PngChunk(const std::string& type, const std::string& data) {
    const std::string summed = type + data;
    const auto sum = crc32(0, reinterpret_cast<const Bytef*>(summed.data()), uInt(summed.size()));
    return Big32(static_cast<std::uint32_t>(data.size())) + summed + Big32(sum);
}
std::string PngHeader(std::uint32_t width, std::uint32_t height, int depth, int colour) {
    return PngChunk("IHDR", Big32(width) + Big32(height) + Bytes({depth, colour, 0, 0, 0}));
}

// A BMP's headers and one byte of pixels: the file header, then an info header of the given size
// (12: the core header, with 16-bit sides).
std::string Bmp(std::uint32_t infoSize, std::int32_t width, std::int32_t height, int bits = 24) {
    std::string info = Little32(infoSize);
    if (infoSize == 12)
        info += Little16(width) + Little16(height) + Little16(1) + Little16(bits);
    else
        info += Little32(static_cast<std::uint32_t>(width)) +
                Little32(static_cast<std::uint32_t>(height)) + Little16(1) + Little16(bits) +
                std::string(infoSize - 16, '\0');
    const std::uint32_t offset = 14 + infoSize;
    return "BM" + Little32(offset + 1) + Little32(0) + Little32(offset) + info + "x";
}

// An icon directory of the given type and count, and the first entry.
std::string Ico(int type, int count, int width, int height, int planes = 1, int bits = 32,
                std::uint32_t bytes = 40) {
    return Little16(0) + Little16(type) + Little16(count) + Bytes({width, height, 0, 0}) +
           Little16(planes) + Little16(bits) + Little32(bytes) + Little32(22);
}

struct PictureCase {
    const char* name;
    std::string bytes;
    std::string format;
    int width, height, frames;
    bool complete;
};

template <typename Structure> std::string Describe(const Structure& s) {
    return s.format + " " + std::to_string(s.width) + "x" + std::to_string(s.height) + " " +
           std::to_string(s.frames) + (s.complete ? " frames, complete" : " frames, incomplete");
}

} // namespace

TEST(SniffMelodyFormat, TellsSoundsByTheirFirstBytes) {
    const std::string id3 = Bytes({'I', 'D', '3', 4, 0, 0, 0, 0, 0, 2}) + "ab";
    const struct {
        const char* name;
        std::string bytes;
        std::string_view format;
    } cases[] = {
        {"MIDI", media::Midi(), "MIDI"},
        {"a MIDI header alone", "MThd", "MIDI"},
        {"MP3 frames", media::Mp3(false), "MP3"},
        {"MP3 behind an ID3 tag", media::Mp3(true), "MP3"},
        {"an ID3 tag alone", id3, "MP3"},
        {"an ID3 tag longer than the file", Bytes({'I', 'D', '3', 4, 0, 0, 0, 0, 9, 0}), "MP3"},
        {"ADTS", media::Adts(), "AAC"},
        {"ADTS behind an ID3 tag", id3 + media::Adts(), "AAC"},
        {"ADTS behind a tag with a footer",
         Bytes({'I', 'D', '3', 4, 0, 0x10, 0, 0, 0, 0}) + std::string(10, 'x') + media::Adts(),
         "AAC"},
        {"an ID3 size that is no 7-bit number", Bytes({'I', 'D', '3', 4, 0, 0, 0x80, 0, 0, 0}), ""},
        {"an MPEG header of the reserved version", Bytes({0xFF, 0xEB, 0x90, 0x64}), ""},
        {"an MPEG header with the bad bit rate", Bytes({0xFF, 0xFB, 0xF0, 0x64}), ""},
        {"an MPEG header of the reserved sampling rate", Bytes({0xFF, 0xFB, 0x9C, 0x64}), ""},
        {"ADTS of the reserved sampling rate", Bytes({0xFF, 0xF1, 0x7C, 0x80, 0x02, 0x1F, 0xFC}),
         ""},
        {"ADTS frame shorter than its header", Bytes({0xFF, 0xF1, 0x50, 0x80, 0x00, 0x1F, 0xFC}),
         ""},
        {"MPEG header cut short", Bytes({0xFF, 0xFB, 0x90}), ""},
        {"text", "MThe melody of my life\n", ""},
        {"a PNG", Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}), ""},
        {"nothing", "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SniffMelodyFormat(c.bytes), c.format) << c.name;
}

TEST(ExtensionFitsFormat, NamesEachFormatGoesBy) {
    const struct {
        std::string_view format, extension;
        bool fits;
    } cases[] = {
        {"JPEG", "jpg", true},  {"JPEG", "JPEG", true}, {"JPEG", "jpe", false},
        {"JPEG", "png", false}, {"PNG", "PNG", true},   {"PNG", "pn", false},
        {"MIDI", "mid", true},  {"MIDI", "Midi", true}, {"MP3", "mp3", true},
        {"MP3", "mid", false},  {"AAC", "", false},     {"GIF", "gif", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExtensionFitsFormat(c.format, c.extension), c.fits)
            << c.format << " ." << c.extension;
}

TEST(ReadPictureStructure, FindsTheEndMarkOrItsAbsence) {
    const std::string soi = Bytes({0xFF, 0xD8});
    const std::string app0 = Bytes({0xFF, 0xE0, 0x00, 0x06}) + "JFIF";
    // An Exif thumbnail holds a whole JPEG, end mark included, inside the segment.
    const std::string app1 =
        Bytes({0xFF, 0xE1, 0x00, 0x0A, 0xFF, 0xD8, 0x11, 0x22, 0xFF, 0xD9, 0x33, 0x44});
    const std::string sof = JpegFrame(0xC0, 40, 32);
    const std::string sos = JpegScan();
    // Scan data with a stuffed 0xFF and a restart marker, which do not end it.
    const std::string scan = Bytes({0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD3, 0x56});
    const std::string eoi = Bytes({0xFF, 0xD9});
    const std::string jpeg = soi + app0 + app1 + sof + sos + scan + eoi;

    const std::string ihdr = Bytes({0, 0, 0, 2}) + "IHDR" + "ab" + "crc!";
    const std::string iend = Bytes({0, 0, 0, 0}) + "IEND" + "crc!";
    const std::string gif = media::Gif(3, 2, 3);

    const PictureCase cases[] = {
        {"JPEG", jpeg, "JPEG", 40, 32, 1, true},
        {"JPEG with bytes after its end", jpeg + "trailing", "JPEG", 40, 32, 1, true},
        {"JPEG with fill bytes before its end", soi + sos + scan + "\xFF" + eoi, "JPEG", 0, 0, 1,
         true},
        {"progressive JPEG: a second scan",
         soi + JpegFrame(0xC2, 40, 32) + sos + scan + sos + scan + eoi, "JPEG", 40, 32, 1, true},
        {"JPEG cut in its scan", soi + app0 + app1 + sof + sos + scan, "JPEG", 40, 32, 1, false},
        {"JPEG cut after a marker's 0xFF", soi + sof + sos + scan + "\xFF", "JPEG", 40, 32, 1,
         false},
        {"JPEG cut in a segment", soi + app0.substr(0, 6), "JPEG", 0, 0, 1, false},
        {"JPEG segment longer than the file", soi + Bytes({0xFF, 0xE0, 0x10, 0x00}), "JPEG", 0, 0,
         1, false},
        {"JPEG segment length below 2", soi + Bytes({0xFF, 0xE0, 0x00, 0x01}) + eoi, "JPEG", 0, 0,
         1, false},
        {"no JPEG start: no JPEG", app0 + eoi, "", 0, 0, 0, true},
        {"PNG", Png + ihdr + iend, "PNG", 0, 0, 1, true},
        {"PNG without IEND", Png + ihdr, "PNG", 0, 0, 1, false},
        {"PNG cut in a chunk", Png + ihdr.substr(0, 10), "PNG", 0, 0, 1, false},
        {"PNG chunk longer than the file", Png + Bytes({0x7F, 0, 0, 0}) + "IDATcrc!" + iend, "PNG",
         0, 0, 1, false},
        {"GIF", gif, "GIF", 3, 2, 3, true},
        {"GIF without its trailer", gif.substr(0, gif.size() - 1), "GIF", 3, 2, 3, false},
        {"GIF cut in a frame's descriptor", gif.substr(0, gif.size() - 10), "GIF", 3, 2, 2, false},
        // An image counts once its descriptor is there.
        {"GIF cut in a frame's data", gif.substr(0, gif.size() - 4), "GIF", 3, 2, 3, false},
        {"GIF cut in its colour table", gif.substr(0, 20), "GIF", 0, 0, 0, false},
        {"GIF with a stray block", gif.substr(0, gif.size() - 1) + "!", "GIF", 3, 2, 3, false},
        {"a format without an end mark", "BM", "BMP", 0, 0, 1, true},
    };
    for (const PictureCase& c : cases)
        EXPECT_EQ(Describe(ReadPictureStructure(c.bytes)), Describe(c)) << c.name;
}

TEST(ReadPictureStructure, ReadsSizeAndFramesAsTheHeadersGiveThem) {
    const std::string soi = Bytes({0xFF, 0xD8});
    const std::string sof = JpegFrame(0xC0, 40, 32);
    const std::string sos = JpegScan();
    const std::string scan = Bytes({0x12, 0x34}) + Bytes({0xFF, 0xD9});
    const std::string thumbnail = soi + JpegFrame(0xC0, 6, 5) + sos + scan;
    // Huffman tables (class and number, 16 counts, their symbols) whose counts would read as a
    // frame of 1 by 1 with 7 components.
    const std::string tables = Bytes({0xFF, 0xC4, 0x00, 0x1D, 0x00}) +
                               Bytes({0, 1, 0, 1, 7, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}) +
                               Bytes({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});

    const std::string rgb = PngHeader(37, 21, 8, 2);
    const std::string idat = PngChunk("IDAT", "x") + PngChunk("IEND", "");
    std::string badSum = rgb;
    badSum[20] ^= 1;

    const std::string gif = media::Gif(12, 8, 3);
    // The screen's size sits at 6, the first image's place at 53 (behind two extensions).
    const auto screen = [&](int width, int height, int left = 0, int top = 0) {
        std::string bytes = gif;
        bytes.replace(6, 4, Little16(width) + Little16(height));
        bytes.replace(53, 4, Little16(left) + Little16(top));
        return bytes;
    };
    // The second image's LZW code size made 13 bits.
    std::string wideCode = gif;
    wideCode[wideCode.find(std::string("\x2C\0\0\0\0\x0C\0\x08\0\0\x02", 11), 60) + 10] = 13;

    const PictureCase cases[] = {
        {"JPEG with a second frame header", soi + sof + JpegFrame(0xC0, 7, 7) + sos + scan, "JPEG",
         0, 0, 1, true},
        {"JPEG: not the frame of a thumbnail",
         soi + Bytes({0xFF, 0xE1, 0x00, static_cast<int>(2 + thumbnail.size())}) + thumbnail + sof +
             sos + scan,
         "JPEG", 40, 32, 1, true},
        {"JPEG: Huffman tables are no frame", soi + tables + sof + sos + scan, "JPEG", 40, 32, 1,
         true},
        // libjpeg decodes no lossless JPEG, so Qt reports no size for it; its header gives one.
        {"JPEG: a lossless frame", soi + JpegFrame(0xC3, 40, 32) + sos + scan, "JPEG", 40, 32, 1,
         true},
        {"JPEG: an arithmetic frame", soi + JpegFrame(0xC9, 40, 32) + sos + scan, "JPEG", 40, 32, 1,
         true},
        {"JPEG frame whose length does not fit its components",
         soi +
             Bytes({0xFF, 0xC0, 0x00, 0x0C, 0x08, 0x00, 0x20, 0x00, 0x28, 0x01, 0x01, 0x11, 0x00,
                    0x00}) +
             sos + scan,
         "JPEG", 0, 0, 1, true},
        {"JPEG frame of no height (given after the scan)",
         soi + JpegFrame(0xC0, 40, 0) + sos + scan, "JPEG", 0, 0, 1, true},
        {"JPEG with a marker libjpeg does not know",
         soi + Bytes({0xFF, 0x02, 0x00, 0x02}) + sof + sos + scan, "JPEG", 0, 0, 1, true},
        {"JPEG cut before its scan", soi + sof, "JPEG", 0, 0, 1, false},
        {"JPEG cut at its scan's marker", soi + sof + sos.substr(0, 2), "JPEG", 0, 0, 1, false},
        // Where the file ends the decoder is fed an end mark in place of the rest.
        {"JPEG cut behind its scan's components", soi + sof + sos.substr(0, 7), "JPEG", 40, 32, 1,
         false},

        {"PNG", Png + rgb + idat, "PNG", 37, 21, 1, true},
        {"PNG of palette colours", Png + PngHeader(5, 4, 4, 3) + PngChunk("PLTE", "abc") + idat,
         "PNG", 5, 4, 1, true},
        {"PNG of palette colours without a palette", Png + PngHeader(5, 4, 4, 3) + idat, "PNG", 0,
         0, 1, true},
        {"PNG of a palette of half a colour",
         Png + PngHeader(5, 4, 4, 3) + PngChunk("PLTE", "ab") + idat, "PNG", 0, 0, 1, true},
        {"PNG with an ancillary chunk libpng does not know",
         Png + rgb + PngChunk("abCd", "") + idat, "PNG", 37, 21, 1, true},
        {"PNG with a critical chunk libpng does not know", Png + rgb + PngChunk("ABCD", "") + idat,
         "PNG", 0, 0, 1, true},
        {"PNG header with a wrong checksum", Png + badSum + idat, "PNG", 0, 0, 1, true},
        {"PNG header not first", Png + PngChunk("pHYs", "123456789") + rgb + idat, "PNG", 0, 0, 1,
         true},
        {"PNG of 16-bit palette colours", Png + PngHeader(5, 4, 16, 3) + idat, "PNG", 0, 0, 1,
         true},
        {"PNG wider than libpng takes", Png + PngHeader(1000001, 1, 8, 2) + idat, "PNG", 0, 0, 1,
         true},
        {"PNG cut before its image data", Png + rgb, "PNG", 0, 0, 1, false},
        {"PNG cut in its image data's length", Png + rgb + idat.substr(0, 8), "PNG", 37, 21, 1,
         false},

        {"GIF87a", "GIF87a" + gif.substr(6), "GIF", 12, 8, 3, true},
        {"GIF88a: no GIF", "GIF88a" + gif.substr(6), "", 0, 0, 0, true},
        {"GIF: the screen, larger than its image", screen(30, 20), "GIF", 30, 20, 3, true},
        {"GIF of an empty screen: the image's far edges", screen(0, 0, 5, 3), "GIF", 17, 11, 3,
         true},
        {"GIF of a screen ten times its image", screen(2010, 2010, 5, 3), "GIF", 17, 11, 3, true},
        {"GIF of a screen ten times its image, under 2000 pixels", screen(1990, 1990, 5, 3), "GIF",
         1990, 1990, 3, true},
        {"GIF counted up to an image of a 13-bit code", wideCode, "GIF", 12, 8, 2, true},

        {"BMP", Bmp(40, 5, 3), "BMP", 5, 3, 1, true},
        {"BMP top-down", Bmp(40, 5, -3), "BMP", 5, 3, 1, true},
        {"BMP of Windows 5", Bmp(124, 5, 3), "BMP", 5, 3, 1, true},
        {"BMP of OS/2's core header", Bmp(12, 5, 3), "BMP", 5, 3, 1, true},
        {"BMP of a core header, top-down", Bmp(12, 5, -3), "BMP", 5, 3, 1, true},
        {"BMP of a core header of negative width", Bmp(12, -5, 3), "BMP", 0, 0, 1, true},
        {"BMP of a core header with 16-bit sides", Bmp(12, 0x10005, 3), "BMP", 5, 3, 1, true},
        {"BMP of a header size Qt does not know", Bmp(56, 5, 3), "BMP", 0, 0, 1, true},
        {"BMP header cut short", Bmp(40, 5, 3).substr(0, 53), "BMP", 0, 0, 1, true},
        {"BMP of 3 bits a pixel", Bmp(40, 5, 3, 3), "BMP", 0, 0, 1, true},
        {"BMP of no width", Bmp(40, 0, 3), "BMP", 0, 0, 1, true},
        {"BMP larger than Qt reads", Bmp(40, 16385, 16384), "BMP", 0, 0, 1, true},

        {"ICO", Ico(1, 1, 16, 24), "ICO", 16, 24, 1, true},
        {"ICO of two entries: the first one's size", Ico(1, 2, 16, 24), "ICO", 16, 24, 2, true},
        {"ICO of 256 pixels", Ico(1, 1, 0, 0), "ICO", 256, 256, 1, true},
        {"a cursor", Ico(2, 1, 32, 32, 7, 99), "ICO", 32, 32, 1, true},
        {"ICO of no entries", Ico(1, 0, 16, 16), "ICO", 16, 16, 0, true},
        {"icon directory of two planes", Ico(1, 1, 16, 16, 2), "", 0, 0, 0, true},
        {"icon directory of 33 bits a pixel", Ico(1, 1, 16, 16, 1, 33), "", 0, 0, 0, true},
        {"icon directory of a resource under 40 bytes", Ico(1, 1, 16, 16, 1, 32, 39), "", 0, 0, 0,
         true},
        {"icon directory cut short", Ico(1, 1, 16, 16).substr(0, 21), "", 0, 0, 0, true},

        {"text", "just words", "", 0, 0, 0, true},
        {"nothing", "", "", 0, 0, 0, true},
    };
    for (const PictureCase& c : cases)
        EXPECT_EQ(Describe(ReadPictureStructure(c.bytes)), Describe(c)) << c.name;
}

TEST(JudgePlacement, WarnsOfWhatThePhoneCutsOrShowsDifferently) {
    using F = FindingCode;
    const struct {
        const char* name;
        int slot, width, height, frames;
        std::vector<Finding> findings;
    } cases[] = {
        {"wallpaper of the screen's size", 7, 240, 320, 1, {}},
        {"headline 10 pixels too wide", 9, 250, 10, 1, {Finding(F::BeyondScreen, 10, 0)}},
        {"popup at 40, 4 of the screen's width",
         11,
         240,
         100,
         1,
         {Finding(F::BeyondScreen, 40, 0)}},
        {"bottom bar ending on the screen's edge", 8, 240, 32, 1, {}},
        {"bottom bar 8 rows too high", 8, 240, 40, 1, {Finding(F::BeyondScreen, 0, 8)}},
        {"progress bar beyond both edges", 6, 300, 200, 1, {Finding(F::BeyondScreen, 74, 14)}},
        {"small wallpaper", 7, 200, 300, 1, {Finding(F::WallpaperSize)}},
        {"large wallpaper",
         7,
         250,
         330,
         1,
         {Finding(F::BeyondScreen, 10, 10), Finding(F::WallpaperSize)}},
        {"animation of one frame", 4, 240, 320, 1, {Finding(F::SingleFrame)}},
        {"large animation: animations have no place", 36, 500, 500, 3, {}},
        {"unknown size", 7, 0, 0, 0, {}},
    };
    for (const auto& c : cases) {
        ElementReport report;
        report.slot = c.slot;
        report.path = "picture.png";
        report.facts = {"PNG", c.width, c.height, c.frames, 100};
        JudgePlacement(report);
        EXPECT_EQ(test::FindingLines(report.findings), test::FindingLines(c.findings)) << c.name;
    }
}

TEST(GradeOf, ErrorsWarningsAndNotes) {
    EXPECT_EQ(GradeOf(FindingCode::EmptyFile), CheckGrade::Error);
    EXPECT_EQ(GradeOf(FindingCode::ExtensionMismatch), CheckGrade::Error);
    EXPECT_EQ(GradeOf(FindingCode::BeyondScreen), CheckGrade::Warning);
    EXPECT_EQ(GradeOf(FindingCode::SingleFrame), CheckGrade::Warning);
    EXPECT_EQ(GradeOf(FindingCode::WallpaperSize), CheckGrade::Note);
}

TEST(CheckMelodyFile, ReadsWhatIsThereAndNeverWaits) {
    test::TempFolder folder;
    test::WriteFile(folder / "ring.mid", media::Midi());
    test::WriteFile(folder / "ring.MP3", media::Mp3(true));
    test::WriteFile(folder / "mp3.mid", media::Mp3(false));
    test::WriteFile(folder / "ring", media::Midi());
    test::WriteFile(folder / "text.mid", "not a melody\n");
    test::WriteFile(folder / "empty.mid", "");
    ASSERT_EQ(mkfifo((folder / "pipe.mid").c_str(), 0600), 0);
    using F = FindingCode;
    const struct {
        std::string name;
        std::string format;
        std::uint64_t size;
        std::vector<Finding> findings;
    } cases[] = {
        {"ring.mid", "MIDI", media::Midi().size(), {}},
        {"ring.MP3", "MP3", media::Mp3(true).size(), {}},
        {"mp3.mid", "MP3", media::Mp3(false).size(), {Finding(F::ExtensionMismatch, "mid")}},
        {"ring", "MIDI", media::Midi().size(), {Finding(F::ExtensionMismatch, "")}},
        {"text.mid", "", 13, {Finding(F::NotAMelody)}},
        {"empty.mid", "", 0, {Finding(F::EmptyFile)}},
        {"pipe.mid", "", 0, {Finding(F::NotAFile)}},
        {"none.mid", "", 0, {Finding(F::Unreadable, "No such file or directory")}},
        {"", "", 0, {Finding(F::NotAFile)}}, // the folder itself
    };
    for (const auto& c : cases) {
        ElementReport report = CheckMelodyFile(37, folder / c.name);
        EXPECT_EQ(report.slot, 37);
        EXPECT_EQ(report.facts.format, c.format) << c.name;
        EXPECT_EQ(report.facts.fileSize, c.size) << c.name;
        EXPECT_EQ(test::FindingLines(report.findings), test::FindingLines(c.findings)) << c.name;
    }
    ElementReport missing = CheckMelodyFile(0, "");
    EXPECT_TRUE(missing.Missing());
    EXPECT_TRUE(missing.findings.empty());
}
