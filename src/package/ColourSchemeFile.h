#pragma once
// A ".col" colour scheme as data: reading one (and saying what in it breaks the format the
// DeepBlue scheme fixes), and writing one in exactly that format with Length and CRC computed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int ColourSchemeRowCount = 60;
/// Six header lines, then the rows: the line of row r (from 1) is r + 6.
inline constexpr int ColourSchemeHeaderLines = 6;
/// The keys of lines 2 to 5, each left-aligned in a column of 8 characters.
inline constexpr std::array<std::string_view, 4> ColourSchemeKeys = {"ID", "Version", "Length",
                                                                     "CRC"};
/// A scheme is about a kilobyte; anything far larger is not one, and is read no further.
inline constexpr std::size_t MaxColourSchemeFileSize = 64 * 1024;

struct ColourSchemeRow {
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
    /// 100 or 000 in every row of DeepBlue. What the phone makes of it is not known, so any
    /// three-digit number (0 to 999) is kept as it is.
    std::uint16_t Fourth = 0;

    bool operator==(const ColourSchemeRow&) const = default;
};

struct ColourSchemeModel {
    std::string Name;    // single-byte text, as in the file: "DeepBlue"
    std::string Id;      // as written: "5"
    std::string Version; // as written: "1.2"
    std::array<ColourSchemeRow, ColourSchemeRowCount> Rows{};

    bool operator==(const ColourSchemeModel&) const = default;
};

/// What breaks the format. Line 0 stands for the file as a whole.
enum SchemeFault : std::uint16_t {
    sfEmpty,            // the file has no bytes at all (line 0)
    sfTooLarge,         // longer than MaxColourSchemeFileSize (line 0)
    sfCarriageReturn,   // the first line that ends in CR LF instead of LF alone
    sfNoFinalLineBreak, // the last row has no LF after it
    sfNotAScheme,       // line 1 does not begin with "ColourScheme "
    sfBadName,          // the name after "ColourScheme " is empty or holds control characters
    sfBadKey,           // lines 2 to 5: the key is not alone in its column of 8
    sfBadValue,         // lines 2 to 5: no value, or Length or CRC is no decimal number
    sfNoDataLine,       // line 6 is not "Data"
    sfBadRow,           // not four three-digit numbers with single spaces between them
    sfComponentOver255, // a colour component greater than 255
    sfTooShort,         // the file ends before this line
    sfExtraLines,       // lines after the 60th row
    sfLengthMismatch,   // Length is not the number of bytes after the "Data" line
    sfCrcMismatch,      // CRC is not the CRC-32 of the bytes after the "Data" line
};

struct SchemeProblem {
    int Line = 0;
    SchemeFault Fault = sfEmpty;

    bool operator==(const SchemeProblem&) const = default;
};

struct ColourSchemeReading {
    /// What could be read; a line that cannot keeps DeepBlue's value, so the scheme always
    /// writes a file that follows the format.
    ColourSchemeModel Scheme;
    std::string Length; // line 4's value as written
    std::string Crc;    // line 5's value as written
    /// The bytes after the "Data" line, as the phone would count them.
    std::size_t DataSize = 0;
    std::uint32_t DataCrc = 0;
    /// Whether Length and CRC were read and agree with those bytes.
    bool LengthMatches = false;
    bool CrcMatches = false;
    /// Format faults in line order, then the Length and CRC disagreements.
    std::vector<SchemeProblem> Problems;

    bool FollowsFormat() const { return Problems.empty(); }
};

/// Reads untrusted bytes; never throws on what they hold.
ColourSchemeReading ReadColourScheme(std::string_view bytes);

/// The file's bytes in the format of the DeepBlue scheme: LF line ends, the keys in a column
/// of 8, three-digit zero-padded numbers, Length and CRC of the data lines. A Fourth value over
/// 999 is written as 999, the most three digits hold.
std::string WriteColourScheme(const ColourSchemeModel& scheme);

/// The 60 data lines, LFs included: what Length counts and CRC covers.
std::string ColourSchemeDataLines(const ColourSchemeModel& scheme);

/// The CRC-32 of ZIP and zlib.
std::uint32_t ColourSchemeCrc(std::string_view data);

/// The built-in DeepBlue scheme as a model.
const ColourSchemeModel& DefaultColourSchemeModel();

/// A file's bytes, at most MaxColourSchemeFileSize + 1 of them, so ReadColourScheme can tell
/// a file too large. Throws StreamError.
std::string ReadColourSchemeBytes(const std::string& path);

/// Writes a scheme file through a temporary file beside it, flushed and renamed into place, so
/// a failure leaves an earlier file of that name as it was. Throws StreamError.
void SaveColourSchemeFile(const std::string& path, std::string_view bytes);
