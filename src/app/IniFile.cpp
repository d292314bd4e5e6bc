#include "IniFile.h"

#include "package/AsciiCase.h"
#include "package/CodePage.h"
#include "package/Errors.h"
#include "package/FileHandle.h"
#include "package/Utf8.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>

namespace {

constexpr std::string_view Blanks = " \t";

std::string_view Trim(std::string_view text) {
    std::size_t first = text.find_first_not_of(Blanks);
    if (first == std::string_view::npos)
        return {};
    std::size_t last = text.find_last_not_of(Blanks);
    return text.substr(first, last - first + 1);
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// A value up to a ";" that starts it or follows a blank, outside an enclosing pair of quotes.
std::string_view WithoutInlineComment(std::string_view value) {
    std::size_t from = 0;
    if (!value.empty() && (value.front() == '"' || value.front() == '\'')) {
        std::size_t close = value.find(value.front(), 1);
        if (close != std::string_view::npos)
            from = close + 1;
    }
    for (std::size_t i = from; i < value.size(); ++i)
        if (value[i] == ';' && (i == 0 || value[i - 1] == ' ' || value[i - 1] == '\t'))
            return value.substr(0, i);
    return value;
}

// The first maxChars characters of valid UTF-8 text; continuation bytes never start one.
std::string CutToCharacters(const std::string& text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); i += Utf8SequenceAt(text, i).length) {
        if (chars == maxChars)
            return text.substr(0, i);
        ++chars;
    }
    return text;
}

std::string ReadWholeFile(const std::string& path, int& error) {
    FileHandle file = FileHandle::Open(path.c_str(), O_RDONLY);
    if (!file.IsOpen()) {
        error = errno;
        return {};
    }
    std::string content;
    char buffer[8192];
    for (;;) {
        ssize_t n = file.ReadFull(buffer, sizeof buffer);
        if (n < 0) {
            error = errno;
            return {};
        }
        content.append(buffer, static_cast<std::size_t>(n));
        if (static_cast<std::size_t>(n) < sizeof buffer)
            break;
    }
    error = 0;
    return content;
}

} // namespace

IniFile IniFile::Parse(std::string_view text, InlineComments comments) {
    constexpr std::string_view Bom = "\xEF\xBB\xBF";
    if (text.substr(0, Bom.size()) == Bom)
        text.remove_prefix(Bom.size());
    // Files made on a Russian Windows system come in its ANSI code page.
    std::string utf8 = IsValidUtf8(text) ? std::string(text) : ToUtf8(text, CodePage::Windows1251);

    IniFile ini;
    std::string section;
    bool inSection = false;
    std::string_view rest = utf8;
    int lineNumber = 0;
    while (!rest.empty()) {
        std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = Trim(line);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            std::size_t close = line.find(']');
            section = std::string(Trim(line.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
            inSection = true;
            ini.sections_.push_back(IniSection{section, lineNumber});
            continue;
        }
        std::size_t equals = line.find('=');
        // Lines outside any section and lines without "=" carry no value.
        if (!inSection || equals == std::string_view::npos) {
            ini.strayLines_.push_back(IniStrayLine{lineNumber, !inSection, std::string(line)});
            continue;
        }
        std::string_view value = Trim(line.substr(equals + 1));
        if (comments == InlineComments::Stripped)
            value = Trim(WithoutInlineComment(value));
        ini.entries_.push_back(IniEntry{section, std::string(Trim(line.substr(0, equals))),
                                        std::string(Unquote(value)), lineNumber});
    }
    return ini;
}

IniFile IniFile::Load(const std::string& path) {
    int error = 0;
    std::string content = ReadWholeFile(path, error);
    return error == 0 ? Parse(content) : IniFile();
}

IniFile IniFile::LoadExisting(const std::string& path, InlineComments comments) {
    return Parse(ReadExisting(path), comments);
}

std::string IniFile::ReadExisting(const std::string& path) {
    int error = 0;
    std::string content = ReadWholeFile(path, error);
    if (error != 0)
        throw InOutError::FromErrno(error);
    return content;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key) const {
    for (const IniEntry& entry : entries_)
        if (SameIgnoringAsciiCase(entry.section, section) && SameIgnoringAsciiCase(entry.key, key))
            return CutToCharacters(entry.value, MaxValueLength);
    return {};
}
