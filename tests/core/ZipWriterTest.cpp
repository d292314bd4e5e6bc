#include "package/ZipWriter.h"

#include "TestSupport.h"
#include "ZipReaders.h"
#include "ZipWriterFixture.h"
#include "model/WorkUnit.h"
#include "package/Errors.h"
#include "package/NamePattern.h"
#include "package/SystemCalls.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace test;

const ZipEntryInfo* Find(const ZipListing& listing, const std::string& name) {
    for (const ZipEntryInfo& entry : listing.entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

TEST_F(ZipWriterTest, FortyEntriesInChoiceOrderWithTheirHeaderFields) {
    // Slots chosen in an order of their own, then the two names the build appends.
    std::vector<int> order(SlotCount);
    for (int slot = 0; slot < SlotCount; ++slot)
        order[static_cast<std::size_t>(slot)] = (slot * 7 + 3) % SlotCount;
    std::vector<std::string> expected;
    std::vector<std::string> contents;
    for (int slot : order) {
        std::string name =
            std::string(SlotNames[static_cast<std::size_t>(slot)]) +
            (SlotLayouts[static_cast<std::size_t>(slot)].kind == skMelody ? ".mid" : ".gif");
        contents.push_back(slot % 2 ? TextBytes(300 + 97 * static_cast<std::size_t>(slot))
                                    : RandomBytes(500 + 1000 * static_cast<std::size_t>(slot),
                                                  static_cast<unsigned>(slot)));
        list.push_back(Stage(name, contents.back()));
        expected.push_back(name);
    }
    contents.push_back(TextBytes(1040));
    Stage("SkinScheme.col", contents.back());
    contents.push_back(TextBytes(700));
    Stage("config.spc", contents.back());
    list.push_back("SkinScheme.col");
    list.push_back("config.spc");
    expected.push_back("SkinScheme.col");
    expected.push_back("config.spc");

    EXPECT_EQ(Pack(), 40);
    ZipListing listing = test::ReadBackZip(zipName);
    ASSERT_EQ(listing.Names(), expected);
    EXPECT_EQ(listing.commentHex, "");
    EXPECT_EQ(list.size(), 40u);
    EXPECT_EQ(list[38], tempDir + "/SkinScheme.col");
    EXPECT_EQ(listing.entries[0].offset, 0u);
    for (std::size_t i = 0; i < listing.entries.size(); ++i) {
        const ZipEntryInfo& entry = listing.entries[i];
        SCOPED_TRACE(entry.name);
        EXPECT_EQ(entry.crc, test::Crc32(contents[i]));
        EXPECT_EQ(entry.contentCrc, entry.crc);
        EXPECT_EQ(entry.size, contents[i].size());
        EXPECT_EQ(entry.versionMadeBy, 20);
        EXPECT_EQ(entry.madeOnSystem, 0);
        EXPECT_EQ(entry.versionNeeded, 20);
        EXPECT_EQ(entry.flags, 0);
        EXPECT_EQ(entry.externalAttributes, 32u);
        EXPECT_EQ(entry.centralExtraLength, 0);
        EXPECT_EQ(entry.localExtraLength, 0);
        EXPECT_TRUE(entry.localHeaderAgrees);
        EXPECT_EQ(entry.time, "2024-05-01 12:30:10");
    }
    EXPECT_EQ(FolderContents(programDir), (std::vector<std::string>{"Theme.sdt", "temp"}));
}

TEST_F(ZipWriterTest, SameNamesAreSkippedAndMissingFilesDropped) {
    struct Case {
        const char* what;
        std::vector<std::string> staged;   // files in the staging folder
        std::vector<std::string> listed;   // package list; bare names or staged names with "/"
        std::vector<std::string> entries;  // archive entries expected
        std::vector<std::string> resolved; // file names the list holds afterwards
    };
    const std::vector<Case> cases = {
        {"a custom scheme between two slots keeps its place; the bare name later is skipped",
         {"wallpaper.jpg", "SkinScheme.col", "logo.png", "config.spc"},
         {"/wallpaper.jpg", "/SkinScheme.col", "/logo.png", "SkinScheme.col", "config.spc"},
         {"wallpaper.jpg", "SkinScheme.col", "logo.png", "config.spc"},
         {"wallpaper.jpg", "SkinScheme.col", "logo.png", "SkinScheme.col", "config.spc"}},
        {"one staged file listed twice gives one entry",
         {"standard_ringtone.mid"},
         {"/standard_ringtone.mid", "/standard_ringtone.mid"},
         {"standard_ringtone.mid"},
         {"standard_ringtone.mid", "standard_ringtone.mid"}},
        {"names that differ only in letter case are the same name",
         {"standard_ringtone.mid", "standard_ringtone.MID"},
         {"/standard_ringtone.MID", "/standard_ringtone.mid"},
         {"standard_ringtone.MID"},
         {"standard_ringtone.MID", "standard_ringtone.mid"}},
        {"two extensions give two entries",
         {"standard_ringtone.mid", "standard_ringtone.mp3"},
         {"/standard_ringtone.mid", "/standard_ringtone.mp3"},
         {"standard_ringtone.mid", "standard_ringtone.mp3"},
         {"standard_ringtone.mid", "standard_ringtone.mp3"}},
        {"a scheme that is not there drops out of the list",
         {"logo.png", "config.spc"},
         {"/logo.png", "/gone.gif", "SkinScheme.col", "config.spc"},
         {"logo.png", "config.spc"},
         {"logo.png", "config.spc"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(tempDir);
        fs::create_directories(tempDir);
        fs::remove(zipName);
        for (const std::string& name : c.staged)
            Stage(name, "content of " + name);
        list.clear();
        for (const std::string& entry : c.listed)
            list.push_back(entry[0] == '/' ? tempDir + entry : entry);
        EXPECT_EQ(Pack(), static_cast<int>(c.entries.size()));
        ZipListing listing = test::ReadBackZip(zipName);
        EXPECT_EQ(listing.Names(), c.entries);
        for (const ZipEntryInfo& entry : listing.entries)
            EXPECT_EQ(entry.crc, test::Crc32("content of " + entry.name)) << entry.name;
        std::vector<std::string> resolved;
        for (const std::string& entry : list)
            resolved.push_back(fs::path(entry).filename().string());
        EXPECT_EQ(resolved, c.resolved);
        for (const std::string& entry : list)
            EXPECT_EQ(entry.rfind(tempDir + "/", 0), 0u) << entry;
    }
}

TEST_F(ZipWriterTest, ANamedPipeInTheListIsSkippedWithoutWaiting) {
    std::string pipe = tempDir + "/standard_ringtone.mid";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    list = {pipe, Stage("config.spc", "descriptor")};
    int exitCode = ExitCodeInChild([&] {
        if (Pack() != 1)
            _exit(3);
    });
    ASSERT_NE(exitCode, -1) << "packing waited for a writer on the pipe";
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(ReadBackZip(zipName).Names(), std::vector<std::string>{"config.spc"});
}

TEST_F(ZipWriterTest, StoredRuleAndTextJudgement) {
    struct Case {
        const char* name;
        std::string bytes;
        int method;
        int internal;
    };
    std::string jpeg = "\xFF\xD8\xFF\xE0" + RandomBytes(100 * 1024 - 4, 1);
    const std::vector<Case> cases = {
        {"empty.mid", "", 0, 1},
        {"photo.jpg", jpeg, 8, 0},
        {"small.gif", RandomBytes(900, 2), 0, 0},
        {"edge.gif", RandomBytes(32 * 1024, 3), 0, 0},
        {"beyond.gif", RandomBytes(32 * 1024 + 1, 4), 8, 0},
        {"config.spc", TextBytes(20000), 8, 1},
        {"tiny.txt", "a", 0, 1},
        // Three text bytes to one binary byte is text; two to one is not.
        {"quarter.dat", "abcdefgh\x01\x02", 0, 1},
        {"third.dat", "abcdefgh\x01\x02\x03", 0, 0},
    };
    for (const Case& c : cases)
        list.push_back(Stage(c.name, c.bytes));
    EXPECT_EQ(Pack(), static_cast<int>(cases.size()));
    ZipListing listing = test::ReadBackZip(zipName);
    ASSERT_EQ(listing.entries.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const ZipEntryInfo& entry = listing.entries[i];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(entry.name, c.name);
        EXPECT_EQ(entry.method, c.method);
        EXPECT_EQ(entry.internalAttributes, c.internal);
        EXPECT_EQ(entry.size, c.bytes.size());
        EXPECT_EQ(entry.crc, test::Crc32(c.bytes));
        EXPECT_EQ(entry.contentCrc, entry.crc);
        if (c.method == 0) {
            EXPECT_EQ(entry.compressedSize, entry.size);
        }
    }
    EXPECT_EQ(listing.entries[0].crc, 0u);
    EXPECT_EQ(listing.entries[0].compressedSize, 0u);
}

TEST_F(ZipWriterTest, EntriesCarryTheFilesTimesAndReadOnlyAttribute) {
    struct Case {
        const char* name;
        int year, month, day, hour, minute, second;
        bool readOnly;
        const char* time; // as the entry holds it: two-second steps, local time
        std::uint32_t external;
    };
    const Case cases[] = {
        {"a.mid", 2024, 5, 17, 14, 23, 16, false, "2024-05-17 14:23:16", 32},
        {"b.mid", 2024, 5, 17, 14, 23, 17, true, "2024-05-17 14:23:16", 33},
        {"c.mid", 1980, 1, 1, 0, 0, 0, false, "1980-01-01 00:00:00", 32},
        {"d.mid", 2107, 12, 31, 23, 59, 58, false, "2107-12-31 23:59:58", 32},
        {"e.mid", 1975, 6, 1, 10, 0, 0, false, "1980-01-01 00:00:00", 32},
    };
    for (const Case& c : cases) {
        std::string path = tempDir + "/" + c.name;
        test::WriteFile(path, c.name);
        test::SetLocalMTime(path, c.year, c.month, c.day, c.hour, c.minute, c.second);
        if (c.readOnly)
            chmod(path.c_str(), 0444);
        list.push_back(path);
    }
    Pack();
    ZipListing listing = test::ReadBackZip(zipName);
    ASSERT_EQ(listing.entries.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(listing.entries[i].time, cases[i].time);
        EXPECT_EQ(listing.entries[i].externalAttributes, cases[i].external);
    }
}

TEST_F(ZipWriterTest, EntryNamesAreWrittenInCp866) {
    list.push_back(Stage("Мелодия.mid", "melody"));
    list.push_back(Stage("日本.gif", "no CP866 letters"));
    Pack();
    ZipListing listing = test::ReadBackZip(zipName);
    EXPECT_EQ(listing.Names(), (std::vector<std::string>{"Мелодия.mid", "__.gif"}));
    EXPECT_EQ(listing.entries[0].flags, 0);
}

TEST_F(ZipWriterTest, UpdateKeepsReplacesAndAppendsInOrder) {
    // The old archive comes from Python, with extra fields, a comment and an entry no list names.
    std::string script = R"(
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED) as z:
    z.comment = b"made elsewhere"
    for name, text in [("config.spc", "old config"), ("keep.gif", "old keep"),
                       ("standard_ringtone.mid", "old ring"), ("SkinScheme.col", "old scheme")]:
        info = zipfile.ZipInfo(name, (2024, 5, 10, 12, 0, 0))
        info.compress_type = zipfile.ZIP_DEFLATED
        info.extra = b"\x99\x99\x04\x00abcd"
        z.writestr(info, text * 50)
)";
    std::string scriptPath = folder / "old.py";
    test::WriteFile(scriptPath, script);
    ASSERT_EQ(test::Run("/usr/bin/python3 " + scriptPath + " " + zipName).exitCode, 0);
    std::string oldBytes = test::ReadFile(zipName);

    // Ringtone older than its old entry: kept. Scheme and descriptor newer: replaced in place.
    list.push_back(Stage("standard_ringtone.mid", "new ring", 12, 5));
    list.push_back(Stage("wallpaper.jpg", "new wallpaper", 12, 5));
    list.push_back(Stage("SkinScheme.col", "new scheme", 12, 20));
    list.push_back(Stage("config.spc", "new config", 12, 20));
    list.push_back("SkinScheme.col");

    EXPECT_EQ(Pack(), 3);
    ZipListing listing = test::ReadBackZip(zipName);
    ASSERT_EQ(listing.Names(),
              (std::vector<std::string>{"config.spc", "keep.gif", "standard_ringtone.mid",
                                        "SkinScheme.col", "wallpaper.jpg"}));
    EXPECT_EQ(listing.commentHex, "6d61646520656c73657768657265");
    std::string oldRing;
    for (int i = 0; i < 50; ++i)
        oldRing += "old ring";
    EXPECT_EQ(Find(listing, "standard_ringtone.mid")->crc, test::Crc32(oldRing));
    EXPECT_EQ(Find(listing, "config.spc")->crc, test::Crc32("new config"));
    EXPECT_EQ(Find(listing, "config.spc")->time, "2024-05-20 12:30:10");
    EXPECT_EQ(Find(listing, "SkinScheme.col")->crc, test::Crc32("new scheme"));
    EXPECT_EQ(Find(listing, "wallpaper.jpg")->crc, test::Crc32("new wallpaper"));
    // Kept entries are the old bytes: extra fields and all.
    EXPECT_EQ(Find(listing, "keep.gif")->centralExtraLength, 8);
    EXPECT_EQ(Find(listing, "keep.gif")->localExtraLength, 8);

    // Entries that matched old ones are out of the list; the second scheme entry and the new
    // file stay.
    std::vector<std::string> left;
    for (const std::string& entry : list)
        left.push_back(fs::path(entry).filename().string());
    EXPECT_EQ(left, (std::vector<std::string>{"wallpaper.jpg", "SkinScheme.col"}));
    EXPECT_EQ(FolderContents(programDir), (std::vector<std::string>{"Theme.sdt", "temp"}));
}

TEST_F(ZipWriterTest, UpdateOfOurOwnArchiveCopiesKeptEntriesByteForByte) {
    list.push_back(Stage("a.gif", RandomBytes(50000, 7)));
    list.push_back(Stage("b.txt", TextBytes(40000)));
    Pack();
    std::string first = test::ReadFile(zipName);
    ZipListing before = test::ReadBackZip(zipName);

    list = {Stage("c.mid", "new")};
    EXPECT_EQ(Pack(), 1);
    std::string second = test::ReadFile(zipName);
    ZipListing after = test::ReadBackZip(zipName);
    ASSERT_EQ(after.Names(), (std::vector<std::string>{"a.gif", "b.txt", "c.mid"}));
    std::size_t keptLength = static_cast<std::size_t>(after.entries[2].offset);
    EXPECT_EQ(second.substr(0, keptLength), first.substr(0, keptLength));
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(after.entries[i].crc, before.entries[i].crc);
        EXPECT_EQ(after.entries[i].internalAttributes, before.entries[i].internalAttributes);
        EXPECT_EQ(after.entries[i].time, before.entries[i].time);
    }
}

TEST_F(ZipWriterTest, BracketFolderTurnsFullPathsIntoPatternsPackedLast) {
    tempDir = programDir + "/te[m]p";
    fs::create_directories(tempDir);
    std::vector<std::string> chosen = {"wallpaper.jpg", "standard_ringtone.mid", "logo.png"};
    for (const std::string& name : chosen)
        list.push_back(Stage(name, name));
    Stage("SkinScheme.col", "scheme");
    Stage("config.spc", "config");
    list.push_back("SkinScheme.col");
    list.push_back("config.spc");
    EXPECT_EQ(Pack(), 5);
    ZipListing listing = test::ReadBackZip(zipName);
    EXPECT_EQ(listing.Names(),
              (std::vector<std::string>{"SkinScheme.col", "config.spc", "wallpaper.jpg",
                                        "standard_ringtone.mid", "logo.png"}));
}

TEST_F(ZipWriterTest, PatternsAddTheirMatchesSortedButNeverTheArchive) {
    Stage("b.gif", "b");
    Stage("A.GIF", "A");
    Stage("c.png", "c");
    Stage("first.mid", "first");
    test::WriteFile(programDir + "/x.gif", "beside the archive");
    list = {tempDir + "/*.gif", "first.mid", programDir + "/?.gif"};
    EXPECT_EQ(Pack(), 4);
    ZipListing listing = test::ReadBackZip(zipName);
    EXPECT_EQ(listing.Names(), (std::vector<std::string>{"first.mid", "A.GIF", "b.gif", "x.gif"}));

    // An update: the archive itself is no match, and x.gif, no newer, keeps its old entry.
    list = {programDir + "/*"};
    EXPECT_EQ(Pack(), 0);
    listing = test::ReadBackZip(zipName);
    EXPECT_EQ(listing.entries.size(), 4u);
}

TEST(NamePattern, MatchesLikeTheFileSystemSearch) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.gif", "logo.GIF", true},
        {"*.gif", "logo.gif.bak", false},
        {"*", "", true},
        {"?.mid", "a.mid", true},
        {"?.mid", "ab.mid", false},
        {"?.mid", "я.mid", true},
        {"[a-c]*", "Bell.mid", true},
        {"[a-c]*", "dot.mid", false},
        {"[!a-c]*", "dot.mid", true},
        {"[^a-c]*", "bell.mid", false},
        {"[xyz].gif", "y.gif", true},
        {"[]x].gif", "].gif", true},
        {"a[b", "a[b", true},
        {"a[b", "ab", false},
        {"*ring*.mid", "standard_ringtone.mid", true},
        {"*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        {"config.spc", "CONFIG.SPC", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(MatchesNamePattern(c.pattern, c.name), c.matches)
            << c.pattern << " vs " << c.name;
}

TEST_F(ZipWriterTest, UpdateReadsAnArchiveFollowedByStrayBytes) {
    std::string script = "import sys, zipfile\n"
                         "with zipfile.ZipFile(sys.argv[1], 'w') as z:\n"
                         "    z.comment = b'kept'\n"
                         "    z.writestr('old.mid', 'old entry')\n"
                         "open(sys.argv[1], 'ab').write(b'\\n\\n')\n";
    std::string scriptPath = folder / "old.py";
    WriteFile(scriptPath, script);
    ASSERT_EQ(test::Run("/usr/bin/python3 " + scriptPath + " " + zipName).exitCode, 0);
    list = {Stage("new.gif", "new entry")};
    EXPECT_EQ(Pack(), 1);
    ZipListing listing = ReadBackZip(zipName);
    EXPECT_EQ(listing.Names(), (std::vector<std::string>{"old.mid", "new.gif"}));
    EXPECT_EQ(listing.commentHex, "6b657074");
}

} // namespace
