#include "BuildManifest.h"

#include "IniFile.h"
#include "model/WorkUnit.h"
#include "package/AsciiCase.h"
#include "package/CodePage.h"
#include "package/Errors.h"
#include "package/PathNames.h"
#include "package/Utf8.h"

#include <algorithm>
#include <limits>
#include <map>
#include <sys/stat.h>

namespace {

std::string ManifestFolder(const std::string& manifestPath) {
    std::string_view name = FileNamePart(manifestPath);
    if (name.size() == manifestPath.size())
        return ".";
    return manifestPath.substr(0, manifestPath.size() - name.size());
}

std::string Resolve(const std::string& folder, const std::string& path) {
    if (!path.empty() && path.front() == PathSeparator)
        return path;
    if (!folder.empty() && folder.back() == PathSeparator)
        return folder + path;
    return JoinPath(folder, path);
}

// 1-based; 0 when every line is UTF-8. A line break is never part of a longer character.
int FirstLineNotUtf8(std::string_view text) {
    int line = 1;
    for (std::size_t start = 0; start <= text.size(); ++line) {
        std::size_t end = std::min(text.find('\n', start), text.size());
        if (!IsValidUtf8(text.substr(start, end - start)))
            return line;
        start = end + 1;
    }
    return 0;
}

class ManifestReader {
public:
    explicit ManifestReader(std::string path) : path_(std::move(path)) {}

    [[noreturn]] void Fail(int line, const std::string& problem) const {
        throw KestrovaError(path_ + ":" + std::to_string(line) + ": " + problem);
    }

    // A file the manifest names must be there before anything is staged.
    std::string ExistingFile(const IniEntry& entry) const {
        if (entry.value.empty())
            Fail(entry.line, "no file given for \"" + entry.key + "\"");
        std::string resolved = Resolve(ManifestFolder(path_), entry.value);
        struct stat info {};
        if (stat(resolved.c_str(), &info) != 0)
            Fail(entry.line, "file not found: \"" + entry.value + "\"");
        if (!S_ISREG(info.st_mode))
            Fail(entry.line, "not a file: \"" + entry.value + "\"");
        return resolved;
    }

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

} // namespace

int SlotFromManifestKey(std::string_view key) {
    if (!key.empty() && key.size() <= 2 &&
        std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        int slot = std::stoi(std::string(key));
        return slot < SlotCount ? slot : -1;
    }
    std::string lower = AsciiLowered(key);
    for (int slot = 0; slot < SlotCount; ++slot)
        if (SlotNames[slot] == lower)
            return slot;
    return -1;
}

BuildManifest ReadBuildManifest(const std::string& manifestPath, const UtcTime& today) {
    std::string text;
    try {
        text = IniFile::ReadExisting(manifestPath);
    } catch (const InOutError& error) {
        throw KestrovaError("cannot read manifest \"" + manifestPath + "\": " + error.what());
    }
    ManifestReader reader(manifestPath);
    // The ini reader would take the whole file as Windows-1251 for one stray byte, and a
    // Cyrillic title would come out garbled without a word.
    if (int line = FirstLineNotUtf8(text))
        reader.Fail(line, "a byte on this line is not UTF-8; save the manifest as UTF-8");
    IniFile ini = IniFile::Parse(text, InlineComments::Stripped);

    BuildManifest manifest;
    manifest.Metadata.Published = DefaultPublicationDate(today);
    ThemeMetadata& m = manifest.Metadata;
    const std::map<std::string, std::string*> themeKeys = {
        {"title", &m.Title},     {"author", &m.Author}, {"published", &m.Published},
        {"version", &m.Version}, {"vendor", &m.Vendor}, {"price", &m.Price},
        {"url", &m.Url}};
    std::map<std::string, int> seen; // [theme] and [scheme] keys given once only

    // The profile reader passes over stray lines; here they are mistakes, told in line order
    // among the entries' own.
    auto stray = ini.StrayLines().begin();
    auto failAtStrayLineBefore = [&](int line) {
        if (stray == ini.StrayLines().end() || stray->line >= line)
            return;
        if (stray->beforeAnySection)
            reader.Fail(stray->line, "\"" + stray->text + "\" stands before any section");
        reader.Fail(stray->line, "no \"=\" on this line: \"" + stray->text + "\"");
    };

    for (const IniEntry& entry : ini.Entries()) {
        failAtStrayLineBefore(entry.line);
        const std::string section = AsciiLowered(entry.section);
        const std::string key = AsciiLowered(entry.key);
        if (section == "theme" || section == "scheme") {
            std::string where = "[" + section + "] " + key;
            if (auto [it, fresh] = seen.emplace(where, entry.line); !fresh)
                reader.Fail(entry.line, "\"" + entry.key + "\" is already given on line " +
                                            std::to_string(it->second));
        }
        if (section == "theme") {
            auto field = themeKeys.find(key);
            if (field == themeKeys.end())
                reader.Fail(entry.line, "unknown key \"" + entry.key + "\" in [theme]");
            *field->second = entry.value;
        } else if (section == "slots") {
            int slot = SlotFromManifestKey(entry.key);
            if (slot < 0)
                reader.Fail(entry.line, "unknown slot \"" + entry.key + "\"");
            manifest.Choices.push_back(SlotChoice{slot, reader.ExistingFile(entry), entry.line});
        } else if (section == "scheme") {
            if (key != "file")
                reader.Fail(entry.line, "unknown key \"" + entry.key + "\" in [scheme]");
            manifest.SchemeFile = reader.ExistingFile(entry);
            manifest.SchemeLine = entry.line;
        } else {
            reader.Fail(entry.line, "unknown section [" + entry.section + "]");
        }
    }
    failAtStrayLineBefore(std::numeric_limits<int>::max());
    // Without it the title is empty and the archive a hidden ".sdt"; "title=" alone is a choice.
    if (std::none_of(ini.Sections().begin(), ini.Sections().end(),
                     [](const IniSection& s) { return AsciiLowered(s.name) == "theme"; }))
        throw KestrovaError(manifestPath + ": the manifest has no [theme] section");
    return manifest;
}
