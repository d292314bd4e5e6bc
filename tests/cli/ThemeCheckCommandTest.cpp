// kestrova-build --check, with a stand-in for the picture check so that only the command is
// under test, and the findings of the quick look a build takes.

#include "cli/ThemeCheckCommand.h"

#include "TestMedia.h"
#include "cli/CheckReportText.h"
#include "cli/CommandLineBuild.h"
#include "core/TestSupport.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

class ThemeCheckCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder / "out");
        fs::create_directories(tmp);
        tmpdir.emplace("TMPDIR", tmp);
    }

    Outcome Run(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        int status = AsksForCheck(args) ? RunCheckCommand(args, checker, out, err)
                                        : RunBuildProgram(args, out, err);
        return {status, out.str(), err.str()};
    }

    // A manifest choosing "<slot>.bin" for the given slots, in that order.
    std::string Manifest(const std::vector<int>& slots) {
        std::string text = "[theme]\ntitle=Demo\n[slots]\n";
        for (int slot : slots) {
            std::string name = std::to_string(slot) + ".bin";
            test::WriteFile(folder / name, "slot " + std::to_string(slot));
            text += std::string(SlotNames[slot]) + "=" + name + "\n";
        }
        test::WriteFile(folder / "theme.ini", text);
        return folder / "theme.ini";
    }

    // A manifest choosing for every slot a file the quick look finds nothing wrong with: a
    // melody, an animation of two frames, a picture of one pixel.
    std::string FitManifest() {
        std::string text = "[theme]\ntitle=Demo\n[slots]\n";
        for (int slot = 0; slot < SlotCount; ++slot) {
            const auto kind = SlotLayouts[slot].kind;
            const std::string name = std::to_string(slot) + (kind == skMelody ? ".mid" : ".gif");
            test::WriteFile(folder / name, kind == skMelody      ? media::Midi()
                                           : kind == skAnimation ? media::Gif(1, 1, 2)
                                                                 : media::Gif(1, 1, 1));
            text += std::string(SlotNames[slot]) + "=" + name + "\n";
        }
        test::WriteFile(folder / "theme.ini", text);
        return folder / "theme.ini";
    }

    std::vector<int> AllSlots() {
        std::vector<int> slots;
        for (int slot = 0; slot < SlotCount; ++slot)
            slots.push_back(slot);
        return slots;
    }

    // Each file is reported as a 1-byte file; slot 8 carries the finding under test.
    ThemeReport Check(const ThemeFiles& files) {
        received = files;
        ThemeReport report;
        for (int slot = 0; slot < SlotCount; ++slot) {
            ElementReport& element = report.elements[slot];
            element.slot = slot;
            element.path = files[slot].value_or("");
            if (!element.Missing())
                element.facts.fileSize = 1;
        }
        if (finding)
            report.elements[8].findings.push_back(*finding);
        return report;
    }

    test::TempFolder folder;
    std::string tmp = folder / "tmp";
    std::optional<test::ScopedEnvironment> tmpdir;
    std::optional<Finding> finding;
    ThemeFiles received;
    ThemeChecker checker = [this](const ThemeFiles& files) { return Check(files); };
};

} // namespace

TEST_F(ThemeCheckCommandTest, ExitStatusFollowsTheWorstFinding) {
    const std::string manifest = Manifest(AllSlots());
    const struct {
        const char* name;
        std::optional<Finding> finding;
        int status;
        std::string tally;
    } cases[] = {
        {"clean", std::nullopt, 0, "0 errors, 0 warnings, 0 notes, 0 missing"},
        {"a note", Finding(FindingCode::WallpaperSize), 0,
         "0 errors, 0 warnings, 1 note, 0 missing"},
        {"a warning", Finding(FindingCode::SingleFrame), 0,
         "0 errors, 1 warning, 0 notes, 0 missing"},
        {"an error", Finding(FindingCode::EmptyFile), 1, "1 error, 0 warnings, 0 notes, 0 missing"},
    };
    for (const auto& c : cases) {
        finding = c.finding;
        Outcome outcome = Run({"--check", manifest});
        EXPECT_EQ(outcome.status, c.status) << c.name;
        EXPECT_EQ(outcome.err, "") << c.name;
        std::istringstream lines(outcome.out);
        std::string line;
        for (int slot = 0; slot < SlotCount; ++slot) {
            std::getline(lines, line);
            EXPECT_EQ(line.rfind(std::string(SlotNames[slot]) + " (" + std::to_string(slot) +
                                     "): " + std::to_string(slot) + ".bin",
                                 0),
                      0u)
                << line;
        }
        std::getline(lines, line);
        EXPECT_EQ(line, c.tally) << c.name;
    }
}

TEST_F(ThemeCheckCommandTest, MissingElementsMakeTheThemeUnfit) {
    // Slot 5 is chosen twice: the check looks at the later file.
    const std::string manifest = Manifest({5, 0, 5});
    fs::rename(folder / "5.bin", folder / "later.bin");
    test::WriteFile(folder / "5.bin", "first");
    std::string text = test::ReadFile(manifest);
    text.replace(text.rfind("5.bin"), 5, "later.bin");
    test::WriteFile(manifest, text);

    Outcome outcome = Run({"--check", manifest});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(received[5], folder / "later.bin");
    EXPECT_EQ(received[0], folder / "0.bin");
    EXPECT_FALSE(received[1].has_value());
    EXPECT_NE(outcome.out.find("switch_on_melody (2): missing\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("switch_off_animation (5): later.bin, 1 byte\n"), std::string::npos);
    EXPECT_NE(outcome.out.find("0 errors, 0 warnings, 0 notes, 36 missing\n"), std::string::npos);
}

TEST_F(ThemeCheckCommandTest, CommandLine) {
    const std::string manifest = Manifest({0});
    const struct {
        std::vector<std::string> args;
        int status;
        std::string err;
    } cases[] = {
        {{"--check"},
         2,
         "kestrova-build: --check takes one manifest or theme and nothing else\n" +
             std::string(CheckUsage)},
        {{"--check", manifest, "more.ini"},
         2,
         "kestrova-build: --check takes one manifest or theme and nothing else\n" +
             std::string(CheckUsage)},
        {{"-o", "out", "--check", manifest},
         2,
         "kestrova-build: --check takes one manifest or theme and nothing else\n" +
             std::string(CheckUsage)},
        {{"--check", folder / "Theme.SDT"},
         1,
         "kestrova-build: Cannot open file \"" + (folder / "Theme.SDT") +
             "\". No such file or directory\n"},
        {{"--check", folder / "none.ini"},
         1,
         "kestrova-build: cannot read manifest \"" + (folder / "none.ini") +
             "\": File not found\n"},
    };
    for (const auto& c : cases) {
        Outcome outcome = Run(c.args);
        EXPECT_EQ(outcome.status, c.status) << c.args.size();
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, c.err);
    }
    Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind(CommandLineUsage, 0), 0u);
    EXPECT_NE(help.out.find("kestrova-build --check MANIFEST.ini"), std::string::npos);
}

TEST_F(ThemeCheckCommandTest, BuildPrintsErrorsAndWarningsAndStillBuilds) {
    const std::string manifest = FitManifest();
    const SlotLayout& bottom = SlotLayouts[8];
    const struct {
        int slot;
        std::string bytes;
        std::string err;
    } cases[] = {
        {8, media::Gif(ScreenWidth - bottom.x, ScreenHeight - bottom.y + 8, 1),
         "kestrova-build: background_picture_bottom_fullscreen (8): warning: reaches beyond the "
         "240x320 screen by 8 pixels at the bottom; the phone cuts it off\n"},
        {8, "slot 8",
         "kestrova-build: background_picture_bottom_fullscreen (8): error: cannot be decoded as a "
         "picture\n"},
        {4, media::Gif(1, 1, 1),
         "kestrova-build: switch_on_animation (4): warning: an animation of a single frame\n"},
        // Notes are for --check.
        {7, media::Gif(200, 300, 1), ""},
    };
    for (const auto& c : cases) {
        FitManifest();
        test::WriteFile(folder / (std::to_string(c.slot) + ".gif"), c.bytes);
        fs::remove(folder / "out/Demo.sdt");
        Outcome outcome = Run({"-o", folder / "out", manifest});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err, c.err);
        EXPECT_TRUE(fs::exists(folder / "out/Demo.sdt"));
    }
    // A manifest the build refuses gets the build's own message and no check.
    test::WriteFile(manifest, "[slots]\nno_such_slot=0.bin\n");
    Outcome broken = Run({manifest, "-o", folder / "out"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.err.find("kestrova-build: " + manifest + ":2: "), 0u) << broken.err;
    EXPECT_EQ(broken.err.find('\n'), broken.err.size() - 1) << broken.err;
}

TEST(CheckReportText, SaysEachFindingInAWord) {
    ElementReport picture;
    picture.slot = 6;
    picture.path = "/media/bar.jpg";
    picture.facts = {"PNG", 300, 200, 1, 610};
    picture.findings = {Finding(FindingCode::ExtensionMismatch, "jpg"),
                        Finding(FindingCode::BeyondScreen, 74, 1)};
    EXPECT_EQ(ElementLine(picture),
              "progressbar (6): bar.jpg, PNG 300x200, 610 bytes; error: the content is PNG, but "
              "the name ends in .jpg; warning: reaches beyond the 240x320 screen by 74 pixels on "
              "the right and 1 pixel at the bottom; the phone cuts it off");

    ElementReport animation;
    animation.slot = 4;
    animation.path = "on";
    animation.facts = {"GIF", 20, 10, 1, 1};
    animation.findings = {Finding(FindingCode::ExtensionMismatch, ""),
                          Finding(FindingCode::SingleFrame)};
    EXPECT_EQ(ElementLine(animation),
              "switch_on_animation (4): on, GIF 20x10, 1 frame, 1 byte; error: the content is "
              "GIF, but the name ends in no extension; warning: an animation of a single frame");

    ElementReport wallpaper;
    wallpaper.slot = 7;
    wallpaper.path = "wall.png";
    wallpaper.facts = {"PNG", 200, 300, 1, 99};
    wallpaper.findings = {Finding(FindingCode::WallpaperSize)};
    EXPECT_EQ(ElementLine(wallpaper),
              "idle_wallpaper (7): wall.png, PNG 200x300, 99 bytes; note: 200x300, not 240x320: "
              "the phone shows it from the screen's top-left corner, so a smaller one leaves a "
              "border and a larger one is cut");

    ElementReport unreadable;
    unreadable.slot = 0;
    unreadable.path = "/gone/ring.mid";
    unreadable.findings = {Finding(FindingCode::Unreadable, "No such file or directory")};
    EXPECT_EQ(ElementLine(unreadable), "standard_ringtone (0): ring.mid; error: cannot read the "
                                       "file: No such file or directory");
}
