#include "package/ThemeArchiveReader.h"

#include "TestSupport.h"
#include "ZipWriterFixture.h"
#include "app/ThemeUnpack.h"
#include "package/DescriptorReader.h"
#include "package/DosTime.h"
#include "package/Errors.h"
#include "package/SlotMatching.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace {

using namespace test;
namespace fs = std::filesystem;

// The archives of tests/tools/make_test_archives.py, made once for all tests here.
class TestArchives : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = new TempFolder();
        CommandResult made = test::Run(std::string("/usr/bin/python3 ") + KESTROVA_TEST_TOOLS +
                                       "/make_test_archives.py " + ShellQuote(Folder()));
        ASSERT_EQ(made.exitCode, 0) << made.output;
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    static std::string Folder() { return folder_->Path().string(); }
    static std::string Archive(const std::string& name) { return Folder() + "/" + name + ".sdt"; }

private:
    static TempFolder* folder_;
};

TempFolder* TestArchives::folder_ = nullptr;

std::vector<std::string> Names(const ThemeArchive& archive) {
    std::vector<std::string> names;
    for (const ThemeArchiveEntry& entry : archive.entries)
        names.push_back(entry.name);
    return names;
}

TEST_F(TestArchives, HostileOrDamagedArchivesAreRefusedAndNothingIsWritten) {
    ThemeArchiveLimits threeEntries;
    threeEntries.entries = 3;
    ThemeArchiveLimits smallEntry;
    smallEntry.entrySize = 1 << 20;
    ThemeArchiveLimits smallTotal;
    smallTotal.totalSize = 1 << 20;
    struct Case {
        std::string archive;
        ThemeArchiveLimits limits;
        std::string reason;
    };
    const Case cases[] = {
        {"dotdot",
         {},
         "The entry name \"../x\" leads out of its folder; a theme holds bare file names only"},
        {"absolute",
         {},
         "The entry name \"/tmp/x\" is an absolute path; a theme holds bare file names only"},
        {"folder",
         {},
         "The entry name \"a/b.png\" has a folder part; a theme holds bare file names only"},
        {"backslash",
         {},
         "The entry name \"a\\b.png\" has a folder part; a theme holds bare file names only"},
        {"drive",
         {},
         "The entry name \"C:x.png\" names a drive; a theme holds bare file names only"},
        {"duplicate", {}, "It holds two entries named \"IDLE_WALLPAPER.JPG\""},
        {"four-entries", threeEntries, "It holds 4 entries, more than the 3 a theme may hold"},
        {"thousand-and-one", {}, "It holds 1001 entries, more than the 1000 a theme may hold"},
        {"bomb-small", smallEntry,
         "The entry \"idle_wallpaper.jpg\" inflates to 2097152 bytes, more than the 1 MiB an entry "
         "may take"},
        {"bomb",
         {},
         "The entry \"idle_wallpaper.jpg\" inflates to 68157440 bytes, more than the 64 MiB an "
         "entry may take"},
        {"total", smallTotal, "Its entries inflate to more than the 1 MiB a theme may take in all"},
        {"liar",
         {},
         "The entry \"idle_wallpaper.jpg\" is damaged: it inflates to more than the 1000 bytes it "
         "states"},
        {"implausible",
         {},
         "The entry \"idle_wallpaper.jpg\" is damaged: its 62 bytes of data cannot hold the "
         "10485760 it states"},
        {"crc", {}, "The entry \"idle_wallpaper.jpg\" is damaged: its CRC-32 does not match"},
        {"truncated-entry",
         {},
         "The entry \"idle_wallpaper.jpg\" is damaged: its compressed data are invalid or cut "
         "short"},
        {"encrypted",
         {},
         "The entry \"idle_wallpaper.jpg\" is encrypted; Kestrova opens no encrypted theme"},
        {"bzip2",
         {},
         "The entry \"idle_wallpaper.jpg\" is compressed with method 12; Kestrova reads only "
         "stored (0) and deflated (8) entries"},
        {"cut-short", {}, "Incomplete Zip File"},
        {"not-zip", {}, "Incomplete Zip File"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.archive);
        std::string path = Archive(c.archive);
        std::string message = "Cannot open theme \"" + path + "\". " + c.reason;
        try {
            ReadThemeArchive(path, c.limits);
            ADD_FAILURE() << "opened";
        } catch (const ZipError& error) {
            EXPECT_EQ(error.what(), message);
        }
        // Unpacking reads everything before it writes: not even the folder is made.
        TempFolder out;
        std::string into = out / "theme";
        try {
            UnpackTheme(path, into, c.limits);
            ADD_FAILURE() << "unpacked";
        } catch (const ZipError& error) {
            EXPECT_EQ(error.what(), message);
        }
        EXPECT_FALSE(fs::exists(into));
        EXPECT_FALSE(fs::exists(out.Path() / "x"));
    }
}

TEST_F(TestArchives, LimitsAreBoundsNotTargets) {
    // Exactly at each limit still opens.
    ThemeArchiveLimits limits;
    limits.entries = 4;
    EXPECT_EQ(ReadThemeArchive(Archive("four-entries"), limits).entries.size(), 4u);
    limits = {};
    limits.entrySize = 2 << 20;
    EXPECT_EQ(ReadThemeArchive(Archive("bomb-small"), limits).entries.at(0).data,
              std::string(2 << 20, '\0'));
    limits = {};
    limits.totalSize = 3 * (400 << 10);
    EXPECT_EQ(ReadThemeArchive(Archive("total"), limits).entries.size(), 3u);
}

TEST_F(TestArchives, ADescriptorThatDoesNotHelpStillLetsTheThemeOpen) {
    ThemeArchive notXml = ReadThemeArchive(Archive("descriptor-not-xml"));
    DescriptorContents unreadable = ReadArchiveDescriptor(notXml);
    EXPECT_EQ(unreadable.status, DescriptorStatus::Unreadable);
    EXPECT_EQ(unreadable.problem, "syntax error at line 1, column 1");
    SlotMatching byName = MatchSlots(notXml, unreadable.resources);
    ASSERT_EQ(byName.assignments.size(), 1u);
    EXPECT_EQ(byName.assignments[0].slot, 7);

    // 10,000 lines that all name the one wallpaper: read, and the file is staged once.
    ThemeArchive many = ReadThemeArchive(Archive("descriptor-10000-lines"));
    DescriptorContents lines = ReadArchiveDescriptor(many);
    EXPECT_EQ(lines.status, DescriptorStatus::Read);
    EXPECT_EQ(lines.resources.size(), 10000u);
    SlotMatching once = MatchSlots(many, lines.resources);
    ASSERT_EQ(once.assignments.size(), 1u);
    EXPECT_TRUE(once.unknownResources.empty());
}

// Media, a descriptor and their times, packed by other programs the way people pack themes.
class ForeignArchives : public TestArchives {
protected:
    ScopedTimeZone zone{"MSK-3"};
    TempFolder folder;
    std::vector<std::pair<std::string, std::string>> media = {
        {"idle_wallpaper.jpg", RandomBytes(20000, 7)},
        {"progressbar.png", TextBytes(3000)},
        {"standard_ringtone.mid", ""},
        {"config.spc", "<package/>\n"},
    };

    void SetUp() override {
        fs::create_directories(folder / "media");
        for (const auto& [name, bytes] : media) {
            WriteFile(folder / ("media/" + name), bytes);
            SetLocalMTime(folder / ("media/" + name), 2023, 11, 5, 18, 42, 36);
        }
    }

    /// Runs a command in the media folder with NAMES replaced by the media's names.
    void Pack(std::string command) {
        std::string names;
        for (const auto& item : media)
            names += (names.empty() ? "" : " ") + item.first;
        command.replace(command.find("NAMES"), 5, names);
        fs::remove(folder / "out.sdt");
        CommandResult packed = test::Run("cd " + ShellQuote(folder / "media") + " && " + command);
        ASSERT_EQ(packed.exitCode, 0) << command << ": " << packed.output;
    }
};

TEST_F(ForeignArchives, ArchivesOfOtherToolsOpenWithAllTheirEntries) {
    std::string out = ShellQuote(folder / "out.sdt");
    WriteFile(folder / "comment", "A theme packed by hand\n");
    const std::string commands[] = {
        "zip -q " + out + " NAMES", // extra fields (UT, ux) in every header
        "zip -q -z " + out + " NAMES < " + ShellQuote(folder / "comment"),
        "zip -q - NAMES | cat > " + out, // into a pipe: data descriptors
        "7z a -tzip -bd -bso0 " + out + " NAMES",
    };
    for (const std::string& command : commands) {
        SCOPED_TRACE(command);
        Pack(command);
        ASSERT_EQ(test::Run("unzip -tqq " + out).exitCode, 0);
        ThemeArchive archive = ReadThemeArchive(folder / "out.sdt");
        ASSERT_EQ(archive.entries.size(), media.size());
        // 7-Zip packs in an order of its own.
        for (const auto& [name, bytes] : media) {
            const ThemeArchiveEntry* entry = archive.Find(name);
            ASSERT_TRUE(entry) << name;
            EXPECT_EQ(entry->data, bytes);
            EXPECT_EQ(UnixFromDosDateTime(entry->dosDateTime), LocalTime(2023, 11, 5, 18, 42, 36));
        }
    }
}

TEST_F(TestArchives, PythonArchivesWithDescriptorsCommentAndZip64EndOpen) {
    for (std::string name : {"python-descriptors", "python-comment-zip64-end"}) {
        SCOPED_TRACE(name);
        ASSERT_EQ(test::Run("unzip -tqq " + ShellQuote(Archive(name))).exitCode, 0);
        ThemeArchive archive = ReadThemeArchive(Archive(name));
        EXPECT_EQ(Names(archive),
                  (std::vector<std::string>{"idle_wallpaper.jpg", "progressbar.png",
                                            "standard_ringtone.mid", "config.spc"}));
        EXPECT_EQ(archive.entries.at(1).data.size(), 3000u);
        EXPECT_EQ(archive.entries.at(2).data, "");
    }
}

TEST_F(ForeignArchives, ZipPackingFromAPipeWritesZip64FieldsBesideTrueSizes) {
    // Info-ZIP's local header then says 0xFFFFFFFF and keeps the sizes in a ZIP64 extra field,
    // and it adds a ZIP64 end record.
    std::string out = folder / "out.sdt";
    ASSERT_EQ(test::Run("zip -q " + ShellQuote(out) + " - < " +
                        ShellQuote(folder / "media/idle_wallpaper.jpg"))
                  .exitCode,
              0);
    ThemeArchive archive = ReadThemeArchive(out);
    ASSERT_EQ(archive.entries.size(), 1u);
    EXPECT_EQ(archive.entries[0].name, "-");
    EXPECT_EQ(archive.entries[0].data, media[0].second);
}

TEST_F(ZipWriterTest, ReadsBackWhatTheWriterPacks) {
    struct File {
        std::string name;
        std::string bytes;
        int hour;
    };
    const File files[] = {
        {"standard_ringtone.mid", "", 9},                      // stored, empty
        {"feedback_icon_hint.png", "tiny", 10},                // stored
        {"idle_wallpaper.jpg", RandomBytes(100000, 3), 11},    // deflated, with stored blocks
        {"config.spc", TextBytes(5000), 12},                   // deflated
        {"\xD0\xBE\xD0\xB1\xD0\xBE\xD0\xB8.png", "cp866", 13}, // "обои.png"
    };
    for (const File& file : files)
        list.push_back(Stage(file.name, file.bytes, file.hour));
    ASSERT_EQ(Pack(), 5);
    ThemeArchive archive = ReadThemeArchive(zipName);
    ASSERT_EQ(archive.entries.size(), 5u);
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(files[i].name);
        EXPECT_EQ(archive.entries[i].name, files[i].name);
        EXPECT_EQ(archive.entries[i].data, files[i].bytes);
        EXPECT_EQ(UnixFromDosDateTime(archive.entries[i].dosDateTime),
                  LocalTime(2024, 5, 1, files[i].hour, 30, 10));
    }
    EXPECT_EQ(archive.entries[4].storedName, "\xAE\xA1\xAE\xA8.png");
    EXPECT_EQ(archive.Find("CONFIG.SPC"), &archive.entries[3]);
    EXPECT_EQ(archive.Find("config"), nullptr);
}

TEST(ThemeArchiveReader, WhatIsNoArchiveFileFailsToOpen) {
    TempFolder folder;
    std::string missing = folder / "missing.sdt";
    std::string pipe = folder / "pipe.sdt";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<std::string, std::string> cases[] = {
        {missing, "Cannot open file \"" + missing + "\". No such file or directory"},
        {folder.Path().string(),
         "Cannot open file \"" + folder.Path().string() + "\". Is a directory"},
        // Refused at once instead of waiting for a writer.
        {pipe, "Cannot open theme \"" + pipe + "\". It is not a file"},
    };
    for (const auto& [path, message] : cases) {
        try {
            ReadThemeArchive(path);
            ADD_FAILURE() << path << " opened";
        } catch (const KestrovaError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

} // namespace
