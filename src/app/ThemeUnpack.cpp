#include "ThemeUnpack.h"

#include "IniFile.h"
#include "model/WorkUnit.h"
#include "package/ColourScheme.h"
#include "package/Errors.h"
#include "package/NamePattern.h"
#include "package/PathNames.h"
#include "package/ReplaceFile.h"
#include "package/ThemeContents.h"
#include "package/ThemeDescriptor.h"

#include <filesystem>
#include <sys/stat.h>

namespace {

constexpr std::string_view ManifestFileName = "theme.ini";

constexpr std::string_view UnpackUsage = "usage: kestrova-build --unpack THEME.sdt DIR\n";

bool ReadsBackAs(const std::string& written, const std::string& text) {
    IniFile ini = IniFile::Parse("[s]\nk=" + written + "\n", InlineComments::Stripped);
    return ini.Entries().size() == 1 && ini.Entries()[0].value == text;
}

// A manifest value that reads back as the text: bare when it can be, else in whichever quotes
// keep blanks at its ends and a " ;" inside from being taken for a remark. A line cannot hold
// a line break, so those become blanks and the caller is told.
std::string ManifestValue(std::string text, bool& exact) {
    exact = true;
    for (char& c : text)
        if (c == '\n' || c == '\r') {
            c = ' ';
            exact = false;
        }
    for (std::string written : {text, "\"" + text + "\"", "'" + text + "'"})
        if (ReadsBackAs(written, text))
            return written;
    exact = false;
    return text;
}

class ManifestWriter {
public:
    void Section(std::string_view name) {
        if (!text_.empty())
            text_ += "\n";
        // Appended piece by piece: GCC 12 at -O3 warns wrongly about "[" + std::string.
        text_ += '[';
        text_ += name;
        text_ += "]\n";
    }
    void Line(std::string_view key, const std::string& value) {
        bool exact = true;
        text_ += std::string(key) + "=" + ManifestValue(value, exact) + "\n";
        if (!exact)
            inexact_.push_back(std::string(key));
    }
    void Comment(std::string_view text) { text_ += "; " + std::string(text) + "\n"; }

    const std::string& Text() const { return text_; }
    const std::vector<std::string>& Inexact() const { return inexact_; }

private:
    std::string text_;
    std::vector<std::string> inexact_;
};

// A theme archive is named after its title.
std::string TitleFromArchiveName(const std::string& archivePath) {
    std::string name(FileNamePart(archivePath));
    std::string_view extension = FileExtension(name);
    if (SameEntryName(extension, ".sdt"))
        name.resize(name.size() - extension.size());
    return name;
}

void MakeFolder(const std::string& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0)
        throw StreamError::Create(folder, error ? error.value() : errno);
    if (!S_ISDIR(info.st_mode))
        throw StreamError::Create(folder, ENOTDIR);
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

} // namespace

UnpackResult UnpackTheme(const std::string& archivePath, const std::string& folder,
                         const ThemeArchiveLimits& limits) {
    const ThemeContents contents = ReadThemeContents(archivePath, limits);
    const ThemeArchive& archive = contents.archive;
    const DescriptorContents& descriptor = contents.descriptor;
    const SlotMatching& matching = contents.matching;

    UnpackResult result;
    static_cast<ThemeGaps&>(result) = contents.gaps;

    ManifestWriter manifest;
    manifest.Comment("Written by kestrova-build --unpack; kestrova-build -o OUTPUT_DIR theme.ini "
                     "builds the theme again.");
    manifest.Section("theme");
    const ThemeMetadata& texts = descriptor.metadata;
    if (descriptor.status == DescriptorStatus::Read) {
        manifest.Line("title", texts.Title);
        manifest.Line("author", texts.Author);
        manifest.Line("published", texts.Published);
        manifest.Line("version", texts.Version);
        manifest.Line("vendor", texts.Vendor);
        manifest.Line("price", texts.Price);
        manifest.Line("url", texts.Url);
    } else {
        manifest.Line("title", TitleFromArchiveName(archivePath));
    }

    // The entries to write, in the order the manifest names them.
    std::vector<const ThemeArchiveEntry*> files;
    manifest.Section("slots");
    for (const SlotAssignment& assignment : matching.assignments) {
        const ThemeArchiveEntry& entry = archive.entries[assignment.entry];
        manifest.Line(SlotNames[assignment.slot], entry.name);
        files.push_back(&entry);
    }
    if (const ThemeArchiveEntry* scheme = archive.Find(ColourSchemeFileName)) {
        result.scheme =
            scheme->data == DefaultColourScheme ? UnpackedScheme::Default : UnpackedScheme::Custom;
        if (result.scheme == UnpackedScheme::Custom) {
            manifest.Section("scheme");
            manifest.Line("file", scheme->name);
            files.push_back(scheme);
        }
    }
    result.inexactValues = manifest.Inexact();

    MakeFolder(folder);
    // Every target is checked before the first is written, so a refusal leaves the folder as
    // it was.
    std::string manifestPath = JoinPath(folder, ManifestFileName);
    for (const ThemeArchiveEntry* file : files)
        CheckReplaceable(JoinPath(folder, file->name));
    CheckReplaceable(manifestPath);
    for (const ThemeArchiveEntry* file : files) {
        ReplaceFile(JoinPath(folder, file->name), file->data, file->dosDateTime);
        result.written.push_back(file->name);
    }
    ReplaceFile(manifestPath, manifest.Text());
    result.written.push_back(std::string(ManifestFileName));
    return result;
}

int RunThemeUnpack(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() != 2 || args[0].empty() || args[1].empty()) {
        err << "kestrova-build: --unpack needs a theme archive and a folder\n" << UnpackUsage;
        return 2;
    }
    const std::string& archive = args[0];
    const std::string& folder = args[1];
    UnpackResult result;
    try {
        result = UnpackTheme(archive, folder);
    } catch (const std::exception& error) {
        err << "kestrova-build: " << error.what() << '\n';
        return 1;
    }

    if (result.descriptor == DescriptorStatus::Missing)
        out << "The archive has no config.spc: its files are matched to slots by their names, "
               "and the title is taken from the archive's name.\n";
    else if (result.descriptor == DescriptorStatus::Unreadable)
        out << "config.spc cannot be read (" << result.descriptorProblem
            << "): its files are matched to slots by their names, and the title is taken from "
               "the archive's name.\n";
    for (const std::string& src : result.unknownResources)
        out << "config.spc names " << Quoted(src) << ", which the archive does not hold.\n";
    for (const std::string& name : result.unmatchedEntries)
        out << Quoted(name) << " belongs to no slot and is left out.\n";
    if (result.scheme == UnpackedScheme::Missing)
        out << "The archive has no " << ColourSchemeFileName
            << ": a rebuilt theme carries the default DeepBlue scheme.\n";
    for (const std::string& key : result.inexactValues)
        out << "theme.ini cannot hold the " << key
            << " exactly as the theme has it (line breaks become blanks).\n";
    for (int slot : result.emptySlots)
        out << "No file for slot " << slot << " " << SlotNames[slot]
            << ": kestrova-build needs one before it builds the theme.\n";
    out << "Wrote " << result.written.size() << " files into " << folder << ": "
        << JoinPath(folder, ManifestFileName) << " builds the theme again.\n";
    return 0;
}
