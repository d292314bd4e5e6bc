#include "UserDirs.h"

#include "package/FileHandle.h"

#include <fcntl.h>

namespace {

// xdg-user-dirs writes a dozen short lines; anything much larger is not its file.
constexpr std::size_t MaxUserDirsSize = 64 * 1024;

std::string ReadSmallFile(const std::string& path) {
    FileHandle file = FileHandle::Open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (!file.IsOpen())
        return {};
    std::string text(MaxUserDirsSize, '\0');
    ssize_t got = file.ReadFull(text.data(), text.size());
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

std::string_view TrimLeft(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// The value of one line, unquoted and unescaped as the shell that sources the file would;
// empty when the line is not a quoted assignment to key.
std::string QuotedValue(std::string_view line, std::string_view key) {
    line = TrimLeft(line);
    if (line.substr(0, key.size()) != key)
        return {};
    line = TrimLeft(line.substr(key.size()));
    if (line.empty() || line.front() != '=')
        return {};
    line = TrimLeft(line.substr(1));
    if (line.empty() || line.front() != '"')
        return {};
    std::string value;
    for (std::size_t i = 1; i < line.size(); ++i) {
        if (line[i] == '"')
            return value;
        if (line[i] == '\\' && i + 1 < line.size())
            ++i;
        value += line[i];
    }
    return {}; // no closing quote
}

} // namespace

std::string ReadUserDir(const std::string& userDirsPath, std::string_view key,
                        const std::string& home) {
    const std::string text = ReadSmallFile(userDirsPath);
    std::string folder;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);

        std::string value = QuotedValue(line, key);
        constexpr std::string_view homeVariable = "$HOME";
        if (value.compare(0, homeVariable.size(), homeVariable) == 0 &&
            (value.size() == homeVariable.size() || value[homeVariable.size()] == '/'))
            value = (home == "/" ? "" : home) + value.substr(homeVariable.size());
        else if (value.empty() || value.front() != '/')
            continue;
        if (value.empty())
            value = "/";
        while (value.size() > 1 && value.back() == '/')
            value.pop_back();
        folder = value;
    }
    return folder;
}
