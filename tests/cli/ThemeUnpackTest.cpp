#include "app/ThemeUnpack.h"

#include "app/BuildManifest.h"
#include "cli/CommandLineBuild.h"
#include "core/TestSupport.h"
#include "core/ZipWriterFixture.h"
#include "package/ColourScheme.h"
#include "package/Errors.h"
#include "package/SystemCalls.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>

namespace {

using namespace test;
namespace fs = std::filesystem;

class ThemeUnpackTest : public ZipWriterTest {
protected:
    std::string out = folder / "unpacked/theme";

    /// Packs the files, each with its own hour of 1 May 2024, as Theme.sdt.
    void PackTheme(const std::vector<std::pair<std::string, std::string>>& files) {
        list.clear();
        int hour = 8;
        for (const auto& [name, bytes] : files)
            list.push_back(Stage(name, bytes, hour++));
        Pack();
    }

    BuildManifest Manifest() { return ReadBuildManifest(out + "/theme.ini", UtcTime{}); }
};

TEST_F(ThemeUnpackTest, WithoutDescriptorFilesGoByNameAndTheTitleByTheArchive) {
    PackTheme({{"idle_wallpaper.jpg", RandomBytes(5000, 1)},
               {"readme.txt", "not a slot"},
               {"standard_ringtone.mid", ""},
               {"SkinScheme.col", std::string(DefaultColourScheme)}});
    UnpackResult result = UnpackTheme(zipName, out);
    EXPECT_EQ(result.descriptor, DescriptorStatus::Missing);
    EXPECT_EQ(result.written, (std::vector<std::string>{"idle_wallpaper.jpg",
                                                        "standard_ringtone.mid", "theme.ini"}));
    EXPECT_EQ(
        FolderContents(out),
        (std::vector<std::string>{"idle_wallpaper.jpg", "standard_ringtone.mid", "theme.ini"}));
    EXPECT_EQ(result.scheme, UnpackedScheme::Default);
    EXPECT_EQ(result.unmatchedEntries, (std::vector<std::string>{"readme.txt"}));
    EXPECT_EQ(result.emptySlots.size(), 36u);

    EXPECT_EQ(ReadFile(out + "/idle_wallpaper.jpg"), RandomBytes(5000, 1));
    // Each file keeps its entry's time.
    std::tm wallpaper = LocalMTime(out + "/idle_wallpaper.jpg");
    EXPECT_EQ(wallpaper.tm_hour, 8);
    EXPECT_EQ(wallpaper.tm_sec, 10);
    EXPECT_EQ(LocalMTime(out + "/standard_ringtone.mid").tm_hour, 10);

    BuildManifest manifest = Manifest();
    EXPECT_EQ(manifest.Metadata.Title, "Theme");
    ASSERT_EQ(manifest.Choices.size(), 2u);
    EXPECT_EQ(manifest.Choices[0].slot, 7);
    EXPECT_EQ(manifest.Choices[0].path, out + "/idle_wallpaper.jpg");
    EXPECT_EQ(manifest.Choices[1].slot, 0);
    EXPECT_TRUE(manifest.SchemeFile.empty());
}

TEST_F(ThemeUnpackTest, TheCommandTellsWhatItCouldNotCarryOver) {
    std::string descriptor = "<package><txt name=\"Title:\" content=\"Two&#10;lines\"/>"
                             "<res name=\"progressbar\" src=\"progressbar.png\"/>"
                             "<res name=\"idle_wallpaper\" src=\"idle_wallpaper.jpg\"/></package>";
    PackTheme({{"idle_wallpaper.jpg", "jpeg"},
               {"notes.txt", "notes"},
               {"config.spc", descriptor},
               {"SkinScheme.col", "ColourScheme Mine"}});
    std::string expected = "config.spc names \"progressbar.png\", which the archive does not "
                           "hold.\n"
                           "\"notes.txt\" belongs to no slot and is left out.\n"
                           "theme.ini cannot hold the title exactly as the theme has it (line "
                           "breaks become blanks).\n";
    for (int slot = 0; slot < SlotCount; ++slot)
        if (slot != 7)
            expected += "No file for slot " + std::to_string(slot) + " " +
                        std::string(SlotNames[slot]) +
                        ": kestrova-build needs one before it builds the theme.\n";
    expected += "Wrote 3 files into " + out + ": " + out + "/theme.ini builds the theme again.\n";
    std::ostringstream stdOut, stdErr;
    EXPECT_EQ(RunCommandLineBuild({"--unpack", zipName, out}, stdOut, stdErr), 0);
    EXPECT_EQ(stdOut.str(), expected);
    EXPECT_EQ(stdErr.str(), "");
    EXPECT_EQ(ReadFile(out + "/SkinScheme.col"), "ColourScheme Mine");
    BuildManifest manifest = Manifest();
    EXPECT_EQ(manifest.Metadata.Title, "Two lines");
    EXPECT_EQ(manifest.SchemeFile, out + "/SkinScheme.col");
}

TEST_F(ThemeUnpackTest, AnUnreadableOrMissingDescriptorIsSaid) {
    PackTheme({{"idle_wallpaper.jpg", "jpeg"}, {"config.spc", "Title: not XML"}});
    std::ostringstream stdOut, stdErr;
    EXPECT_EQ(RunThemeUnpack({zipName, out}, stdOut, stdErr), 0);
    EXPECT_TRUE(stdOut.str().starts_with(
        "config.spc cannot be read (syntax error at line 1, column 1): its files are matched to "
        "slots by their names, and the title is taken from the archive's name.\n"
        "The archive has no SkinScheme.col: a rebuilt theme carries the default DeepBlue "
        "scheme.\n"))
        << stdOut.str();
    EXPECT_EQ(Manifest().Metadata.Title, "Theme");
}

TEST_F(ThemeUnpackTest, NeverWritesThroughASymbolicLink) {
    PackTheme({{"idle_wallpaper.jpg", "jpeg"}, {"progressbar.png", "png"}});
    std::string outside = folder / "outside.txt";
    WriteFile(outside, "keep me");
    for (std::string name : {"progressbar.png", "theme.ini"}) {
        SCOPED_TRACE(name);
        fs::remove_all(out);
        fs::create_directories(out);
        fs::create_symlink(outside, out + "/" + name);
        try {
            UnpackTheme(zipName, out);
            ADD_FAILURE() << "unpacked";
        } catch (const StreamError& error) {
            EXPECT_EQ(error.what(), "Cannot create file \"" + out + "/" + name +
                                        "\". It is a symbolic link, which is never written "
                                        "through");
        }
        EXPECT_EQ(ReadFile(outside), "keep me");
        // Refused before the first file was written.
        EXPECT_EQ(FolderContents(out), std::vector<std::string>{name});
    }
}

TEST_F(ThemeUnpackTest, ReplacesFilesWholeOrNotAtAll) {
    PackTheme({{"idle_wallpaper.jpg", RandomBytes(3000, 2)}, {"progressbar.png", "new png"}});
    fs::create_directories(out);
    WriteFile(out + "/progressbar.png", "old png");
    WriteFile(out + "/theme.ini", "old manifest");

    // The second file's write fails: the first is in place, the second as it was.
    ScopedSystemCalls restore;
    static int writes;
    writes = 0;
    Sys.Write = [](int fd, const void* data, size_t size) -> ssize_t {
        if (++writes == 2)
            return errno = ENOSPC, -1;
        return RealSystemCalls.Write(fd, data, size);
    };
    try {
        UnpackTheme(zipName, out);
        ADD_FAILURE() << "unpacked";
    } catch (const StreamError& error) {
        EXPECT_STREQ(error.what(), "Stream write error");
    }
    EXPECT_EQ(FolderContents(out),
              (std::vector<std::string>{"idle_wallpaper.jpg", "progressbar.png", "theme.ini"}));
    EXPECT_EQ(ReadFile(out + "/progressbar.png"), "old png");
    EXPECT_EQ(ReadFile(out + "/theme.ini"), "old manifest");

    Sys = RealSystemCalls;
    UnpackTheme(zipName, out);
    EXPECT_EQ(ReadFile(out + "/progressbar.png"), "new png");
    EXPECT_EQ(Manifest().Choices.size(), 2u);
}

TEST(ThemeUnpackCommand, WrongCommandLines) {
    const std::vector<std::string> cases[] = {{"--unpack"},
                                              {"--unpack", "a.sdt"},
                                              {"--unpack", "a.sdt", "b", "c"},
                                              {"--unpack", "", "b"}};
    for (const std::vector<std::string>& args : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(RunCommandLineBuild(args, out, err), 2);
        EXPECT_EQ(err.str(), "kestrova-build: --unpack needs a theme archive and a folder\n"
                             "usage: kestrova-build --unpack THEME.sdt DIR\n");
    }
    TempFolder folder;
    std::ostringstream out, err;
    EXPECT_EQ(RunCommandLineBuild({"--unpack", folder / "none.sdt", folder / "x"}, out, err), 1);
    EXPECT_EQ(err.str(), "kestrova-build: Cannot open file \"" + (folder / "none.sdt") +
                             "\". No such file or directory\n");
    EXPECT_FALSE(fs::exists(folder / "x"));
}

} // namespace
