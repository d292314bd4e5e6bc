#include "cli/CommandLineBuild.h"

#include "core/TestSupport.h"
#include "model/WorkUnit.h"

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

class CommandLineBuildTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder / "media");
        fs::create_directories(folder / "out");
        fs::create_directories(tmp);
        // The command's private staging folder lands here, so the test can see it go.
        tmpdir.emplace("TMPDIR", tmp);
    }

    Outcome Run(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        int status = RunCommandLineBuild(args, out, err);
        return {status, out.str(), err.str()};
    }

    // A manifest choosing files for the first `slots` slots.
    std::string Manifest(int slots, const std::string& extra = "") {
        std::string text = "[theme]\ntitle=Demo\n" + extra + "[slots]\n";
        for (int slot = 0; slot < slots; ++slot) {
            std::string name = "media/" + std::to_string(slot) + ".bin";
            test::WriteFile(folder / name, "slot " + std::to_string(slot));
            text += std::string(SlotNames[slot]) + "=" + name + "\n";
        }
        test::WriteFile(folder / "theme.ini", text);
        return folder / "theme.ini";
    }

    test::TempFolder folder;
    std::string tmp = folder / "tmp";
    std::optional<test::ScopedEnvironment> tmpdir;
};

} // namespace

TEST_F(CommandLineBuildTest, CommandLine) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {{}, 2, "kestrova-build: no manifest given\n" + std::string(CommandLineUsage)},
        {{"-o"}, 2, "kestrova-build: -o needs an output folder\n" + std::string(CommandLineUsage)},
        {{"-x", "a.ini"}, 2, "kestrova-build: unknown option -x\n" + std::string(CommandLineUsage)},
        {{"-j", "0", "a.ini"},
         2,
         "kestrova-build: -j needs a number of threads from 1 up\n" +
             std::string(CommandLineUsage)},
        {{"-j", "2x", "a.ini"},
         2,
         "kestrova-build: -j needs a number of threads from 1 up\n" +
             std::string(CommandLineUsage)},
        {{"a.ini", "b.ini"},
         2,
         "kestrova-build: only one manifest, please\n" + std::string(CommandLineUsage)},
        {{folder / "none.ini"},
         1,
         "kestrova-build: cannot read manifest \"" + (folder / "none.ini") +
             "\": File not found\n"},
    };
    for (const Case& c : cases) {
        Outcome outcome = Run(c.args);
        EXPECT_EQ(outcome.status, c.status) << outcome.err;
        EXPECT_EQ(outcome.err, c.err);
    }
    Outcome help = Run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind(CommandLineUsage, 0), 0u);
}

TEST_F(CommandLineBuildTest, IncompleteThemeNamesTheMissingSlots) {
    std::string manifest = Manifest(SlotCount - 1);
    Outcome outcome = Run({"-o", folder / "out", manifest});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.out, "Не все настройки темы установлены!\n");
    EXPECT_EQ(outcome.err, "kestrova-build: the theme is incomplete; no file is chosen for slot "
                           "37 standard_distlist_ringtone\n");
    EXPECT_TRUE(fs::is_empty(folder / "out"));
    EXPECT_TRUE(fs::is_empty(tmp));
}

TEST_F(CommandLineBuildTest, BuildsIntoTheOutputFolderAndLeavesNoStagingBehind) {
    test::WriteFile(folder / "mine.col", "ColourScheme Mine\n");
    std::string manifest = Manifest(SlotCount, "[scheme]\nfile=mine.col\n");
    Outcome outcome = Run({"-o", folder / "out", manifest});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::string archive = folder / "out/Demo.sdt";
    EXPECT_EQ(outcome.out, "В процессе...\nСделано!!!\nTheme archive: " + archive + "\n");
    EXPECT_EQ(outcome.err, "");
    EXPECT_TRUE(fs::is_empty(tmp));

    auto check =
        test::Run("/usr/bin/python3 -c 'import sys, zipfile\n"
                  "z = zipfile.ZipFile(sys.argv[1])\n"
                  "assert z.testzip() is None\n"
                  "n = z.namelist()\n"
                  "assert len(n) == 40 and n[-2:] == [\"SkinScheme.col\", \"config.spc\"], n\n"
                  "assert z.read(\"SkinScheme.col\") == b\"ColourScheme Mine\\n\"' " +
                  test::ShellQuote(archive));
    EXPECT_EQ(check.exitCode, 0) << check.output;
}

TEST_F(CommandLineBuildTest, FailedBuildStillRemovesItsStaging) {
    std::string manifest = Manifest(SlotCount);
    Outcome outcome = Run({"-o", folder / "out/missing", manifest});
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.err.rfind("kestrova-build: Cannot create file \"", 0), 0u) << outcome.err;
    EXPECT_TRUE(fs::is_empty(tmp));
}
