// The check of an element's file through Qt's decoders, and kestrova-build --check on a
// manifest, over small files made here.

#include "picture/ThemeCheck.h"

#include "TestMedia.h"
#include "cli/ThemeCheckCommand.h"
#include "core/TestSupport.h"
#include "package/QuickCheck.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>
#include <sstream>

namespace {

std::string Encoded(int width, int height, const char* format, QColor colour = Qt::darkCyan) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes.toStdString();
}

} // namespace

TEST(CheckElement, FactsAndFindingsOfEachKindOfFile) {
    test::TempFolder folder;
    const std::string jpeg = Encoded(240, 320, "JPEG");
    const std::string png = Encoded(240, 320, "PNG");
    const std::string gif = media::Gif(20, 10, 3);
    const std::string text = "just some words\n";
    using F = FindingCode;
    const struct {
        const char* name;
        int slot;
        std::string file;
        std::string bytes;
        ElementFacts facts;
        std::vector<Finding> findings;
    } cases[] = {
        {"wallpaper of the screen's size", 7, "wall.png", png, {"PNG", 240, 320, 1}, {}},
        {"headline 10 pixels too wide",
         9,
         "head.png",
         Encoded(250, 10, "PNG"),
         {"PNG", 250, 10, 1},
         {Finding(F::BeyondScreen, 10, 0)}},
        {"popup of the screen's width at 40, 4",
         11,
         "popup.jpg",
         Encoded(240, 100, "JPEG"),
         {"JPEG", 240, 100, 1},
         {Finding(F::BeyondScreen, 40, 0)}},
        {"PNG named .jpg",
         6,
         "bar.jpg",
         Encoded(20, 10, "PNG"),
         {"PNG", 20, 10, 1},
         {Finding(F::ExtensionMismatch, "jpg")}},
        {"JPEG cut short",
         18,
         "bottom.jpeg",
         jpeg.substr(0, jpeg.size() / 2),
         {"JPEG", 240, 320, 1},
         {Finding(F::DamagedPicture)}},
        {"PNG cut short",
         7,
         "wall.PNG",
         png.substr(0, png.size() / 2),
         {"PNG", 240, 320, 0},
         {Finding(F::DamagedPicture)}},
        {"empty file", 12, "status.png", "", {"", 0, 0, 0}, {Finding(F::EmptyFile)}},
        {"animation of one frame",
         4,
         "on.gif",
         media::Gif(20, 10, 1),
         {"GIF", 20, 10, 1},
         {Finding(F::SingleFrame)}},
        {"animation of three frames", 4, "on.gif", gif, {"GIF", 20, 10, 3}, {}},
        {"animation cut short",
         5,
         "off.gif",
         gif.substr(0, gif.size() - 12),
         {"GIF", 20, 10, 3},
         {Finding(F::DamagedPicture)}},
        {"sound in a picture slot",
         15,
         "hint.png",
         media::Mp3(true),
         {"MP3", 0, 0, 0},
         {Finding(F::NotAPicture)}},
        {"MIDI", 0, "ring.mid", media::Midi(), {"MIDI", 0, 0, 0}, {}},
        {"MP3 with an ID3 tag", 1, "message.mp3", media::Mp3(true), {"MP3", 0, 0, 0}, {}},
        {"ADTS AAC", 37, "list.aac", media::Adts(), {"AAC", 0, 0, 0}, {}},
        {"text named .mid", 2, "on.mid", text, {"", 0, 0, 0}, {Finding(F::NotAMelody)}},
        {"picture in a melody slot", 3, "off.mid", png, {"", 0, 0, 0}, {Finding(F::NotAMelody)}},
    };
    for (const auto& c : cases) {
        const std::string path = folder / c.file;
        test::WriteFile(path, c.bytes);
        QImage first;
        ElementReport report = CheckElement(c.slot, path, &first);
        EXPECT_EQ(report.slot, c.slot);
        EXPECT_EQ(report.path, path);
        EXPECT_EQ(report.facts.format, c.facts.format) << c.name;
        EXPECT_EQ(report.facts.width, c.facts.width) << c.name;
        EXPECT_EQ(report.facts.height, c.facts.height) << c.name;
        EXPECT_EQ(report.facts.frames, c.facts.frames) << c.name;
        EXPECT_EQ(report.facts.fileSize, c.bytes.size()) << c.name;
        EXPECT_EQ(test::FindingLines(report.findings), test::FindingLines(c.findings)) << c.name;
        // The first frame comes with every picture that decodes, for the overview to show.
        EXPECT_EQ(first.isNull(), c.facts.frames == 0) << c.name;
    }
}

TEST(CheckElement, GifFrameIsTheFirstOne) {
    test::TempFolder folder;
    test::WriteFile(folder / "wait.gif", media::Gif(4, 2, 2, 3));
    QImage first;
    CheckElement(10, folder / "wait.gif", &first);
    ASSERT_EQ(first.size(), QSize(4, 2));
    EXPECT_EQ(QColor(first.pixel(3, 1)), QColor(0, 0, 255));
}

// What a build's quick look finds from the headers alone, against what the decoders find.
TEST(QuickCheckElement, FindsAllButTheDamageOnlyADecoderSees) {
    test::TempFolder folder;
    std::string damaged = Encoded(64, 64, "PNG", Qt::red);
    // Bytes of the image data changed, the file's end mark kept.
    const std::size_t data = damaged.find("IDAT") + 8;
    for (std::size_t i = data; i < data + 6 && i < damaged.size(); ++i)
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
    const std::string jpeg = Encoded(240, 320, "JPEG");
    const struct {
        int slot;
        const char* name;
        std::string bytes;
        bool decoderOnly; // damage only decoding finds
    } cases[] = {
        {7, "wide.png", Encoded(250, 10, "PNG"), false},
        {11, "popup.jpg", jpeg, false},
        {11, "cut.jpg", jpeg.substr(0, jpeg.size() / 2), false},
        {9, "head.bmp", Encoded(250, 30, "BMP"), false},
        {15, "hint.ico", Encoded(16, 16, "ICO"), false},
        {13, "still.gif", media::Gif(8, 8, 1), false},
        {10, "wait.gif", media::Gif(300, 8, 3), false},
        {14, "named.png", Encoded(8, 8, "JPEG"), false},
        {16, "sound.png", media::Mp3(true), false},
        {6, "damaged.png", damaged, true},
    };
    for (const auto& c : cases) {
        test::WriteFile(folder / c.name, c.bytes);
        const ElementReport quick = QuickCheckElement(c.slot, folder / c.name);
        const ElementReport full = CheckElement(c.slot, folder / c.name);
        EXPECT_EQ(quick.facts.format, full.facts.format) << c.name;
        EXPECT_EQ(quick.facts.width, full.facts.width) << c.name;
        EXPECT_EQ(quick.facts.height, full.facts.height) << c.name;
        if (c.decoderOnly) {
            EXPECT_EQ(test::FindingLines(quick.findings), "") << c.name;
            EXPECT_TRUE(full.HasError()) << test::FindingLines(full.findings);
        } else {
            EXPECT_EQ(quick.facts.frames, full.facts.frames) << c.name;
            EXPECT_EQ(test::FindingLines(quick.findings), test::FindingLines(full.findings))
                << c.name;
        }
    }
}

TEST(CheckTheme, MissingSlotsAreListedAsMissing) {
    test::TempFolder folder;
    test::WriteFile(folder / "wall.png", Encoded(240, 320, "PNG"));
    ThemeFiles files;
    files[7] = folder / "wall.png";
    files[8] = "";
    ThemeReport report = CheckTheme(files);
    for (int slot = 0; slot < SlotCount; ++slot) {
        EXPECT_EQ(report.elements[slot].slot, slot);
        EXPECT_EQ(report.elements[slot].Missing(), slot != 7) << slot;
    }
    EXPECT_EQ(report.elements[7].facts.format, "PNG");
    const CheckTally tally = Tally(report);
    EXPECT_EQ(tally.missing, SlotCount - 1);
    EXPECT_EQ(tally.errors + tally.warnings + tally.notes, 0);
}

// kestrova-build --check, as the program runs it: the real check behind the command.
TEST(CheckCommand, PrintsOneLinePerElementAndFailsOnErrors) {
    test::TempFolder folder;
    std::string manifest = "[theme]\ntitle=Check\n[slots]\n";
    for (int slot = 0; slot < SlotCount; ++slot) {
        std::string name = std::string(SlotNames[slot]);
        std::string bytes;
        switch (SlotLayouts[slot].kind) {
        case skMelody:
            name += ".mid";
            bytes = media::Midi();
            break;
        case skAnimation:
            name += ".gif";
            bytes = media::Gif(8, 8, 2);
            break;
        default:
            name += ".png";
            bytes = Encoded(8, 8, "PNG");
        }
        test::WriteFile(folder / name, bytes);
        manifest += std::string(SlotNames[slot]) + "=" + name + "\n";
    }
    test::WriteFile(folder / "theme.ini", manifest);
    auto run = [&] {
        std::ostringstream out, err;
        int status = RunCheckCommand({"--check", folder / "theme.ini"}, CheckTheme, out, err);
        EXPECT_EQ(err.str(), "");
        return std::make_pair(status, out.str());
    };

    auto [status, out] = run();
    EXPECT_EQ(status, 0) << out;
    std::istringstream lines(out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "standard_ringtone (0): standard_ringtone.mid, MIDI, 34 bytes");
    std::getline(lines, line);
    std::getline(lines, line);
    std::getline(lines, line);
    std::getline(lines, line);
    EXPECT_EQ(line, "switch_on_animation (4): switch_on_animation.gif, GIF 8x8, 2 frames, " +
                        std::to_string(media::Gif(8, 8, 2).size()) + " bytes");
    std::getline(lines, line);
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("progressbar (6): progressbar.png, PNG 8x8, ", 0), 0u) << line;
    std::getline(lines, line);
    EXPECT_EQ(line.substr(line.find(';')),
              "; note: 8x8, not 240x320: the phone shows it from the screen's top-left corner, "
              "so a smaller one leaves a border and a larger one is cut");
    int count = 8;
    while (std::getline(lines, line) && line.find("errors,") == std::string::npos)
        ++count;
    EXPECT_EQ(count, SlotCount);
    EXPECT_EQ(line, "0 errors, 0 warnings, 1 note, 0 missing");

    test::WriteFile(folder / "idle_wallpaper.png", "");
    test::WriteFile(folder / "screensaver_image.gif", media::Gif(300, 10, 1));
    std::tie(status, out) = run();
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("\nidle_wallpaper (7): idle_wallpaper.png; error: the file is empty\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\nscreensaver_image (36): screensaver_image.gif, GIF 300x10, 1 frame, " +
                       std::to_string(media::Gif(300, 10, 1).size()) +
                       " bytes; warning: an animation of a single frame\n"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("\n1 error, 1 warning, 0 notes, 0 missing\n"), std::string::npos) << out;

    // A build prints the findings and builds all the same; the theme it made checks alike.
    std::ostringstream buildOut, buildErr;
    ASSERT_EQ(
        RunBuildProgram({"-o", folder.Path().string(), folder / "theme.ini"}, buildOut, buildErr),
        0)
        << buildErr.str();
    EXPECT_NE(buildErr.str().find("idle_wallpaper (7): error: the file is empty"),
              std::string::npos)
        << buildErr.str();
    std::ostringstream archiveOut, archiveErr;
    EXPECT_EQ(
        RunCheckCommand({"--check", folder / "Check.sdt"}, CheckTheme, archiveOut, archiveErr), 1);
    EXPECT_EQ(archiveErr.str(), "");
    EXPECT_EQ(archiveOut.str(), out);
}
