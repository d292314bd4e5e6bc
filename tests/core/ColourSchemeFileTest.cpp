#include "package/ColourSchemeFile.h"

#include "TestSupport.h"
#include "package/ColourScheme.h"
#include "package/Errors.h"

#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <zlib.h>

namespace fs = std::filesystem;

namespace {

const std::string DeepBlue(DefaultColourScheme);
const std::string DeepBlueData = DeepBlue.substr(80);

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}

std::string ReplacedEverywhere(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// DeepBlue's data lines with row `row` (from 1) replaced by `line`.
std::string RowsWith(int row, const std::string& line) {
    return DeepBlueData.substr(0, std::size_t(row - 1) * 16) + line + "\n" +
           DeepBlueData.substr(std::size_t(row) * 16);
}

// A header whose Length and CRC agree with the data, so a case shows one fault alone.
std::string SchemeWith(const std::string& data) {
    const auto crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size()));
    return "ColourScheme Test\nID      5\nVersion 1.2\nLength  " + std::to_string(data.size()) +
           "\nCRC     " + std::to_string(crc) + "\nData\n" + data;
}

std::string Binary() {
    std::string bytes;
    for (int i = 0; i < 4 * 256; ++i)
        bytes += static_cast<char>(i);
    return bytes;
}

} // namespace

TEST(ColourSchemeFile, DeepBlueReadAndWrittenIsByteIdentical) {
    const ColourSchemeReading reading = ReadColourScheme(DeepBlue);
    EXPECT_TRUE(reading.FollowsFormat());
    EXPECT_TRUE(reading.LengthMatches);
    EXPECT_TRUE(reading.CrcMatches);
    EXPECT_EQ(reading.Length, "960");
    EXPECT_EQ(reading.Crc, "2220169258");
    EXPECT_EQ(reading.Scheme.Name, "DeepBlue");
    EXPECT_EQ(reading.Scheme.Id, "5");
    EXPECT_EQ(reading.Scheme.Version, "1.2");
    EXPECT_EQ(reading.Scheme.Rows[1], (ColourSchemeRow{5, 17, 26, 100}));
    EXPECT_EQ(reading.Scheme.Rows[59], (ColourSchemeRow{255, 0, 153, 100}));
    EXPECT_EQ(reading.Scheme, DefaultColourSchemeModel());

    EXPECT_EQ(WriteColourScheme(reading.Scheme), DeepBlue);
}

TEST(ColourSchemeFile, OneColourChangedKeepsLengthAndCrcRightForPython) {
    ColourSchemeModel scheme = DefaultColourSchemeModel();
    scheme.Rows[4].Red = 17;
    const std::string written = WriteColourScheme(scheme);

    ASSERT_EQ(written.size(), 1040u);
    EXPECT_EQ(written.substr(80 + 4 * 16, 16), "017 255 255 100\n");
    test::TempFolder folder;
    test::WriteFile(folder / "changed.col", written);
    // Python's zlib is the judge of the CRC, over exactly the bytes after the "Data" line.
    const test::CommandResult python =
        test::Run("/usr/bin/python3 -c " + test::ShellQuote(R"(import sys, zlib
raw = open(sys.argv[1], "rb").read()
head, _, data = raw.partition(b"Data\n")
keys = {line[:8].strip(): line[8:] for line in head.split(b"\n")[1:5]}
assert len(data) == 960 == int(keys[b"Length"]), keys
assert zlib.crc32(data) == int(keys[b"CRC"]), keys
print(zlib.crc32(data), end="")
)") + " " + test::ShellQuote(folder / "changed.col"));
    ASSERT_EQ(python.exitCode, 0) << python.output;
    EXPECT_NE(python.output, "2220169258");
    EXPECT_EQ(python.output, std::to_string(ColourSchemeCrc(written.substr(80))));

    const ColourSchemeReading back = ReadColourScheme(written);
    EXPECT_TRUE(back.FollowsFormat());
    EXPECT_EQ(back.Scheme, scheme);
}

TEST(ColourSchemeFile, BadFilesNameTheLineAndTheFault) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<SchemeProblem> problems;
        bool lengthMatches;
        bool crcMatches;
    };
    const Case cases[] = {
        {"59 rows", SchemeWith(DeepBlueData.substr(0, 59 * 16)), {{66, sfTooShort}}, true, true},
        {"a component of 256",
         SchemeWith(RowsWith(3, "256 000 000 100")),
         {{9, sfComponentOver255}},
         true,
         true},
        {"a two-digit number",
         SchemeWith(RowsWith(1, "255 55 255 100")),
         {{7, sfBadRow}},
         true,
         true},
        {"letters in a row",
         SchemeWith(RowsWith(60, "255 0x0 153 100")),
         {{66, sfBadRow}},
         true,
         true},
        {"two spaces in a row",
         SchemeWith(RowsWith(2, "005  17 026 100")),
         {{8, sfBadRow}},
         true,
         true},
        {"CR LF line ends",
         ReplacedEverywhere(DeepBlue, "\n", "\r\n"),
         {{1, sfCarriageReturn}, {4, sfLengthMismatch}, {5, sfCrcMismatch}},
         false,
         false},
        {"a wrong CRC",
         Replaced(DeepBlue, "2220169258", "2220169259"),
         {{5, sfCrcMismatch}},
         true,
         false},
        {"a wrong Length",
         Replaced(DeepBlue, "Length  960", "Length  961"),
         {{4, sfLengthMismatch}},
         false,
         true},
        {"a CRC beyond 32 bits",
         Replaced(DeepBlue, "2220169258", "6515136554"),
         {{5, sfBadValue}},
         true,
         false},
        {"a Length that is no number",
         Replaced(DeepBlue, "Length  960", "Length  96O"),
         {{4, sfBadValue}},
         false,
         true},
        {"an empty file", "", {{0, sfEmpty}}, false, false},
        {"a binary file",
         Binary(),
         {{1, sfNotAScheme},
          {2, sfBadKey},
          {3, sfBadKey},
          {4, sfBadKey},
          {5, sfBadKey},
          {6, sfTooShort}},
         false,
         false},
        {"a file far too large",
         std::string(MaxColourSchemeFileSize + 1, '0'),
         {{0, sfTooLarge}},
         false,
         false},
        {"no name",
         Replaced(DeepBlue, "ColourScheme DeepBlue", "ColourScheme "),
         {{1, sfBadName}},
         true,
         true},
        {"a key out of its column",
         Replaced(DeepBlue, "ID      5", "ID     5"),
         {{2, sfBadKey}},
         true,
         true},
        {"no Data line", Replaced(DeepBlue, "Data\n", "Date\n"), {{6, sfNoDataLine}}, true, true},
        {"no LF after the last row",
         DeepBlue.substr(0, 1039),
         {{66, sfNoFinalLineBreak}, {4, sfLengthMismatch}, {5, sfCrcMismatch}},
         false,
         false},
        {"a line after the rows",
         DeepBlue + "\n",
         {{67, sfExtraLines}, {4, sfLengthMismatch}, {5, sfCrcMismatch}},
         false,
         false},
    };
    for (const Case& c : cases) {
        const ColourSchemeReading reading = ReadColourScheme(c.bytes);
        EXPECT_EQ(reading.Problems, c.problems) << c.name;
        EXPECT_EQ(reading.LengthMatches, c.lengthMatches) << c.name;
        EXPECT_EQ(reading.CrcMatches, c.crcMatches) << c.name;
        EXPECT_FALSE(reading.FollowsFormat()) << c.name;
        // Whatever was read, the model always writes a file that follows the format.
        EXPECT_TRUE(ReadColourScheme(WriteColourScheme(reading.Scheme)).FollowsFormat()) << c.name;
    }
}

TEST(ColourSchemeFile, ABadFileKeepsWhatItCouldReadAndDeepBlueForTheRest) {
    std::string data = RowsWith(2, "001 002 003 000");
    data = data.substr(0, 2 * 16) + "256 000 000 100\n" + data.substr(3 * 16);
    const std::string bytes = Replaced(SchemeWith(data), "ID      5", "ID      77");

    const ColourSchemeReading reading = ReadColourScheme(bytes);

    EXPECT_EQ(reading.Problems, (std::vector<SchemeProblem>{{9, sfComponentOver255}}));
    EXPECT_EQ(reading.Scheme.Name, "Test");
    EXPECT_EQ(reading.Scheme.Id, "77");
    EXPECT_EQ(reading.Scheme.Rows[1], (ColourSchemeRow{1, 2, 3, 0}));
    EXPECT_EQ(reading.Scheme.Rows[2], DefaultColourSchemeModel().Rows[2]);
    EXPECT_EQ(reading.DataSize, 960u);
}

TEST(ColourSchemeFile, SavingReplacesTheFileWholeOrLeavesItAsItWas) {
    struct Case {
        const char* name;
        void (*breakCalls)();
        const char* message; // empty: saved
    };
    const Case cases[] = {
        {"saved", [] {}, ""},
        {"disk full",
         [] {
             Sys.Write = [](int, const void*, size_t) -> ssize_t {
                 errno = ENOSPC;
                 return -1;
             };
         },
         "Stream write error"},
        {"flush fails",
         [] {
             Sys.Fsync = [](int) {
                 errno = EIO;
                 return -1;
             };
         },
         "Stream write error"},
        {"rename refused",
         [] {
             Sys.Rename = [](const char*, const char*) {
                 errno = EACCES;
                 return -1;
             };
         },
         "Cannot create file \"%s\". Permission denied"},
    };
    for (const Case& c : cases) {
        test::TempFolder folder;
        const std::string path = folder / "mine.col";
        test::WriteFile(path, "an earlier scheme, longer than the new one");
        std::string error;
        {
            test::ScopedSystemCalls restore;
            c.breakCalls();
            try {
                SaveColourSchemeFile(path, "new");
            } catch (const StreamError& e) {
                error = e.what();
            }
        }
        std::string expected = c.message;
        if (const auto at = expected.find("%s"); at != std::string::npos)
            expected.replace(at, 2, path);
        EXPECT_EQ(error, expected) << c.name;
        EXPECT_EQ(test::ReadFile(path),
                  error.empty() ? "new" : "an earlier scheme, longer than the new one")
            << c.name;
        // No temporary file is left beside it.
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1)
            << c.name;
    }
}

TEST(ColourSchemeFile, ReadingAFileStopsAtTheSizeLimitAndNamesFailures) {
    test::TempFolder folder;
    test::WriteFile(folder / "huge.col", std::string(3 * MaxColourSchemeFileSize, '1'));
    const std::string bytes = ReadColourSchemeBytes(folder / "huge.col");
    EXPECT_EQ(bytes.size(), MaxColourSchemeFileSize + 1);
    EXPECT_EQ(ReadColourScheme(bytes).Problems, (std::vector<SchemeProblem>{{0, sfTooLarge}}));

    test::WriteFile(folder / "deepblue.col", DeepBlue);
    EXPECT_EQ(ReadColourSchemeBytes(folder / "deepblue.col"), DeepBlue);

    for (const auto& [name, reason] :
         {std::pair{"missing.col", "No such file or directory"}, std::pair{"", "Is a directory"}}) {
        const std::string path = folder / name;
        try {
            ReadColourSchemeBytes(path);
            ADD_FAILURE() << "no error for " << path;
        } catch (const StreamError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot open file \"" + path + "\". " + std::string(reason));
        }
    }
}
