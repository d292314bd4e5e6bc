// The parts of the theme check that need no picture decoder: telling sounds apart, finding
// pictures cut short, judging a picture's place on the screen, and the files behind it all.

#include "package/ElementCheck.h"

#include "TestMedia.h"
#include "TestSupport.h"
#include "package/MediaSniffing.h"
#include "package/PictureCompleteness.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (int value : values)
        bytes += static_cast<char>(value);
    return bytes;
}

// Findings as "code right bottom detail" lines, so that a mismatch shows them all.
std::string Describe(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& finding : findings)
        text += std::to_string(static_cast<int>(finding.code)) + " " +
                std::to_string(finding.right) + " " + std::to_string(finding.bottom) + " " +
                finding.detail + "\n";
    return text;
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

TEST(PictureComplete, FindsTheEndMarkOrItsAbsence) {
    const std::string soi = Bytes({0xFF, 0xD8});
    const std::string app0 = Bytes({0xFF, 0xE0, 0x00, 0x06}) + "JFIF";
    // An Exif thumbnail holds a whole JPEG, end mark included, inside the segment.
    const std::string app1 =
        Bytes({0xFF, 0xE1, 0x00, 0x0A, 0xFF, 0xD8, 0x11, 0x22, 0xFF, 0xD9, 0x33, 0x44});
    const std::string sos = Bytes({0xFF, 0xDA, 0x00, 0x04, 0x01, 0x02});
    // Scan data with a stuffed 0xFF and a restart marker, which do not end it.
    const std::string scan = Bytes({0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD3, 0x56});
    const std::string eoi = Bytes({0xFF, 0xD9});
    const std::string jpeg = soi + app0 + app1 + sos + scan + eoi;

    const std::string png = Bytes({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'});
    const std::string ihdr = Bytes({0, 0, 0, 2}) + "IHDR" + "ab" + "crc!";
    const std::string iend = Bytes({0, 0, 0, 0}) + "IEND" + "crc!";
    const std::string gif = media::Gif(3, 2, 3);

    const struct {
        const char* name;
        std::string_view format;
        std::string bytes;
        bool complete;
    } cases[] = {
        {"JPEG", "JPEG", jpeg, true},
        {"JPEG with bytes after its end", "JPEG", jpeg + "trailing", true},
        {"JPEG with fill bytes before its end", "JPEG", soi + sos + scan + "\xFF" + eoi, true},
        {"progressive JPEG: a second scan", "JPEG", soi + sos + scan + sos + scan + eoi, true},
        {"JPEG cut in its scan", "JPEG", soi + app0 + app1 + sos + scan, false},
        {"JPEG cut after a marker's 0xFF", "JPEG", soi + sos + scan + "\xFF", false},
        {"JPEG cut in a segment", "JPEG", soi + app0.substr(0, 6), false},
        {"JPEG segment longer than the file", "JPEG", soi + Bytes({0xFF, 0xE0, 0x10, 0x00}), false},
        {"JPEG segment length below 2", "JPEG", soi + Bytes({0xFF, 0xE0, 0x00, 0x01}) + eoi, false},
        {"no JPEG start", "JPEG", app0 + eoi, false},
        {"PNG", "PNG", png + ihdr + iend, true},
        {"PNG without IEND", "PNG", png + ihdr, false},
        {"PNG cut in a chunk", "PNG", png + ihdr.substr(0, 10), false},
        {"PNG chunk longer than the file", "PNG", png + Bytes({0x7F, 0, 0, 0}) + "IDATcrc!" + iend,
         false},
        {"GIF", "GIF", gif, true},
        {"GIF without its trailer", "GIF", gif.substr(0, gif.size() - 1), false},
        {"GIF cut in a frame", "GIF", gif.substr(0, gif.size() - 10), false},
        {"GIF cut in its colour table", "GIF", gif.substr(0, 20), false},
        {"GIF with a stray block", "GIF", gif.substr(0, gif.size() - 1) + "!", false},
        {"a format without an end mark", "BMP", "BM", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PictureComplete(c.format, c.bytes), c.complete) << c.name;
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
        EXPECT_EQ(Describe(report.findings), Describe(c.findings)) << c.name;
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
        EXPECT_EQ(Describe(report.findings), Describe(c.findings)) << c.name;
    }
    ElementReport missing = CheckMelodyFile(0, "");
    EXPECT_TRUE(missing.Missing());
    EXPECT_TRUE(missing.findings.empty());
}
