#pragma once
// Windows profile (ini) files: descr.ini beside the program and the command-line builder's
// manifests. Entries keep their order, and a key may repeat.

#include <string>
#include <string_view>
#include <vector>

struct IniEntry {
    std::string section;
    std::string key;
    std::string value; // blanks around it and one pair of enclosing quotes removed
    int line;          // 1-based, for messages
};

struct IniSection {
    std::string name;
    int line;
};

/// A line that is neither blank, a comment, a section header nor a value in a section: text
/// before the first section, or a line without "=". The system's profile reader passes over it.
struct IniStrayLine {
    int line;
    bool beforeAnySection;
    std::string text; // without the blanks around it
};

/// The system's profile reader knows only whole-line comments, so descr.ini keeps every ";" in
/// a value; a hand-written manifest may end a line with " ; remark".
enum class InlineComments { Kept, Stripped };

class IniFile {
public:
    /// Parses UTF-8 text; text that is not valid UTF-8 is read as Windows-1251.
    static IniFile Parse(std::string_view text, InlineComments comments = InlineComments::Kept);
    /// Reads and parses a file; a missing or unreadable file gives an empty IniFile.
    static IniFile Load(const std::string& path);
    /// Reads and parses a file that must be there. Throws InOutError when it cannot be read.
    static IniFile LoadExisting(const std::string& path,
                                InlineComments comments = InlineComments::Kept);
    /// The bytes of a file that must be there, for a reader with rules of its own to check
    /// before it parses them. Throws InOutError when it cannot be read.
    static std::string ReadExisting(const std::string& path);

    const std::vector<IniEntry>& Entries() const { return entries_; }
    /// Section headers in the order they stand, repeats included.
    const std::vector<IniSection>& Sections() const { return sections_; }
    const std::vector<IniStrayLine>& StrayLines() const { return strayLines_; }

    /// The first value of key in section, both matched without regard to ASCII case; empty when
    /// missing. Values are cut to 2047 characters (not bytes), as the system's profile reader does.
    std::string ReadString(std::string_view section, std::string_view key) const;

    static constexpr std::size_t MaxValueLength = 2047;

private:
    std::vector<IniEntry> entries_;
    std::vector<IniSection> sections_;
    std::vector<IniStrayLine> strayLines_;
};
