#include "ColourSchemeFile.h"

#include "ColourScheme.h"
#include "Errors.h"
#include "FileHandle.h"
#include "PathNames.h"
#include "SystemCalls.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

namespace {

constexpr int LastLine = ColourSchemeHeaderLines + ColourSchemeRowCount;
constexpr std::string_view SchemeWord = "ColourScheme";
constexpr std::size_t KeyColumn = 8;
constexpr std::size_t RowLength = 15; // "255 255 255 100"

bool HasControlCharacters(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7F;
    });
}

template <typename Number> std::optional<Number> DecimalNumber(std::string_view text) {
    Number value{};
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line.resize(KeyColumn, ' ');
    line += value;
    line += '\n';
    return line;
}

void AppendThreeDigits(std::string& text, unsigned value) {
    value = std::min(value, 999u);
    text += static_cast<char>('0' + value / 100);
    text += static_cast<char>('0' + value / 10 % 10);
    text += static_cast<char>('0' + value % 10);
}

// Reads one line's text, without its line end, into the reading, and names the fault when the
// line breaks the format. Length and CRC are kept to be compared with the data at the end.
class LineReader {
public:
    explicit LineReader(ColourSchemeReading& reading) : reading_(reading) {}

    std::optional<SchemeFault> Read(int line, std::string_view text) {
        if (line == 1)
            return ReadTitle(text);
        if (line < ColourSchemeHeaderLines)
            return ReadKeyLine(line, text);
        if (line == ColourSchemeHeaderLines)
            return text == "Data" ? std::nullopt : std::optional(sfNoDataLine);
        return ReadRow(line - ColourSchemeHeaderLines - 1, text);
    }

    // Length and CRC when they were read as numbers.
    bool lengthRead = false;
    bool crcRead = false;
    std::uint64_t length = 0;
    std::uint32_t crc = 0;

private:
    std::optional<SchemeFault> ReadTitle(std::string_view text) {
        if (!text.starts_with(SchemeWord))
            return sfNotAScheme;
        text.remove_prefix(SchemeWord.size());
        if (text.empty())
            return sfBadName;
        if (text.front() != ' ')
            return sfNotAScheme;
        text.remove_prefix(1);
        if (text.empty() || HasControlCharacters(text))
            return sfBadName;
        reading_.Scheme.Name = text;
        return std::nullopt;
    }

    std::optional<SchemeFault> ReadKeyLine(int line, std::string_view text) {
        const std::string_view key = ColourSchemeKeys[line - 2];
        if (text.size() < KeyColumn || !text.starts_with(key) ||
            text.substr(key.size(), KeyColumn - key.size()).find_first_not_of(' ') !=
                std::string_view::npos)
            return sfBadKey;
        const std::string_view value = text.substr(KeyColumn);
        if (key == "Length")
            reading_.Length = value;
        if (key == "CRC")
            reading_.Crc = value;
        if (value.empty() || value.front() == ' ' || HasControlCharacters(value))
            return sfBadValue;
        if (key == "ID")
            reading_.Scheme.Id = value;
        else if (key == "Version")
            reading_.Scheme.Version = value;
        else if (key == "Length")
            return Keep(DecimalNumber<std::uint64_t>(value), length, lengthRead);
        else if (key == "CRC")
            return Keep(DecimalNumber<std::uint32_t>(value), crc, crcRead);
        return std::nullopt;
    }

    template <typename Number>
    static std::optional<SchemeFault> Keep(std::optional<Number> value, Number& into, bool& read) {
        if (!value)
            return sfBadValue;
        into = *value;
        read = true;
        return std::nullopt;
    }

    std::optional<SchemeFault> ReadRow(int row, std::string_view text) {
        if (text.size() != RowLength)
            return sfBadRow;
        unsigned values[4];
        for (int i = 0; i < 4; ++i) {
            const std::string_view digits = text.substr(std::size_t(i) * 4, 3);
            if (i < 3 && text[std::size_t(i) * 4 + 3] != ' ')
                return sfBadRow;
            if (digits.find_first_not_of("0123456789") != std::string_view::npos)
                return sfBadRow;
            values[i] = *DecimalNumber<unsigned>(digits);
        }
        if (std::max({values[0], values[1], values[2]}) > 255)
            return sfComponentOver255;
        reading_.Scheme.Rows[std::size_t(row)] = {std::uint8_t(values[0]), std::uint8_t(values[1]),
                                                  std::uint8_t(values[2]),
                                                  std::uint16_t(values[3])};
        return std::nullopt;
    }

    ColourSchemeReading& reading_;
};

ColourSchemeReading ReadOnto(std::string_view bytes, const ColourSchemeModel& base) {
    ColourSchemeReading reading;
    reading.Scheme = base;
    if (bytes.empty() || bytes.size() > MaxColourSchemeFileSize) {
        reading.Problems.push_back({0, bytes.empty() ? sfEmpty : sfTooLarge});
        return reading;
    }

    LineReader reader(reading);
    auto& problems = reading.Problems;
    bool carriageReturnSeen = false;
    std::size_t dataStart = bytes.size();
    std::size_t position = 0;
    int line = 0;
    while (position < bytes.size()) {
        if (++line > LastLine) {
            problems.push_back({line, sfExtraLines});
            break;
        }
        std::size_t end = bytes.find('\n', position);
        const bool lineFeed = end != std::string_view::npos;
        end = lineFeed ? end : bytes.size();
        std::string_view text = bytes.substr(position, end - position);
        position = lineFeed ? end + 1 : end;
        if (line == ColourSchemeHeaderLines)
            dataStart = position;

        // Reported once: a file with CR LF ends has them on every line.
        if (text.ends_with('\r')) {
            if (!carriageReturnSeen)
                problems.push_back({line, sfCarriageReturn});
            carriageReturnSeen = true;
            text.remove_suffix(1);
        }
        if (auto fault = reader.Read(line, text))
            problems.push_back({line, *fault});
        if (line == LastLine && !lineFeed)
            problems.push_back({line, sfNoFinalLineBreak});
    }
    if (line < LastLine)
        problems.push_back({line + 1, sfTooShort});

    const std::string_view data = bytes.substr(dataStart);
    reading.DataSize = data.size();
    reading.DataCrc = ColourSchemeCrc(data);
    if (reader.lengthRead) {
        reading.LengthMatches = reader.length == reading.DataSize;
        if (!reading.LengthMatches)
            problems.push_back({4, sfLengthMismatch});
    }
    if (reader.crcRead) {
        reading.CrcMatches = reader.crc == reading.DataCrc;
        if (!reading.CrcMatches)
            problems.push_back({5, sfCrcMismatch});
    }
    return reading;
}

} // namespace

ColourSchemeReading ReadColourScheme(std::string_view bytes) {
    return ReadOnto(bytes, DefaultColourSchemeModel());
}

std::string ColourSchemeDataLines(const ColourSchemeModel& scheme) {
    std::string data;
    data.reserve(ColourSchemeRowCount * (RowLength + 1));
    for (const ColourSchemeRow& row : scheme.Rows) {
        for (unsigned component : {row.Red, row.Green, row.Blue}) {
            AppendThreeDigits(data, component);
            data += ' ';
        }
        AppendThreeDigits(data, row.Fourth);
        data += '\n';
    }
    return data;
}

std::string WriteColourScheme(const ColourSchemeModel& scheme) {
    const std::string data = ColourSchemeDataLines(scheme);
    std::string text = std::string(SchemeWord) + " " + scheme.Name + "\n";
    text += KeyLine("ID", scheme.Id);
    text += KeyLine("Version", scheme.Version);
    text += KeyLine("Length", std::to_string(data.size()));
    text += KeyLine("CRC", std::to_string(ColourSchemeCrc(data)));
    text += "Data\n";
    return text + data;
}

std::uint32_t ColourSchemeCrc(std::string_view data) {
    return static_cast<std::uint32_t>(
        crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()), data.size()));
}

const ColourSchemeModel& DefaultColourSchemeModel() {
    static const ColourSchemeModel model = ReadOnto(DefaultColourScheme, {}).Scheme;
    return model;
}

std::string ReadColourSchemeBytes(const std::string& path) {
    // A named pipe chosen in the dialog reads as what it holds now.
    struct stat info {};
    FileHandle file = OpenFileToRead(path, info);
    std::string bytes(MaxColourSchemeFileSize + 1, '\0');
    const ssize_t got = file.ReadFull(bytes.data(), bytes.size());
    if (got < 0)
        throw StreamError::Read();
    bytes.resize(static_cast<std::size_t>(got));
    return bytes;
}

void SaveColourSchemeFile(const std::string& path, std::string_view bytes) {
    const std::string_view name = FileNamePart(path);
    const std::string folder = path.substr(0, path.size() - name.size());
    std::string temporary;
    FileHandle file;
    for (int attempt = 0; attempt < 100 && !file.IsOpen(); ++attempt) {
        // Cut short, so a name near the file system's limit still leaves room for the suffix.
        temporary = folder + "." + std::string(name.substr(0, 200)) + "." +
                    std::to_string(getpid()) + "-" + std::to_string(attempt);
        file = FileHandle::Open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
        if (!file.IsOpen() && errno != EEXIST)
            break;
    }
    if (!file.IsOpen())
        throw StreamError::Create(path, errno);

    if (file.WriteAll(bytes.data(), bytes.size()) != 0 || Sys.Fsync(file.Fd()) != 0 ||
        file.Close() != 0) {
        file.Close();
        Sys.Unlink(temporary.c_str());
        throw StreamError::Write();
    }
    if (Sys.Rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        Sys.Unlink(temporary.c_str());
        throw StreamError::Create(path, error);
    }
}
