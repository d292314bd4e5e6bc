#include "ThemeCheckCommand.h"

#include "CheckReportText.h"
#include "CommandLineBuild.h"
#include "app/PrivateStagingFolder.h"
#include "app/StartTime.h"
#include "app/ThemeEditor.h"
#include "package/AsciiCase.h"
#include "package/PathNames.h"
#include "package/QuickCheck.h"

#include <algorithm>
#include <cctype>
#include <exception>

namespace {

constexpr std::string_view CheckHelpText =
    "\n"
    "kestrova-build --check MANIFEST.ini (or THEME.sdt, a theme already built) checks the\n"
    "theme's files instead of building it: one line per element with its format, size, frames\n"
    "and file size, and what the phone would make of it (errors, warnings, notes). Exit status:\n"
    "0 when the theme is fit for the phone, 1 when an element has an error or has no file.\n"
    "A build first takes a quick look, without decoding the pictures, prints the errors and\n"
    "warnings it finds, and builds all the same.\n";

bool EndsWithSdt(std::string_view path) {
    return SameIgnoringAsciiCase(FileExtension(path), ".sdt");
}

// The manifest a build's arguments name: the first argument that is neither an option nor the
// folder after -o.
std::string ManifestArgument(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o")
            ++i;
        else if (!args[i].empty() && args[i][0] != '-')
            return args[i];
    }
    return {};
}

} // namespace

ThemeFiles ArchiveFiles(const std::string& archivePath, const std::string& stagingFolder) {
    ThemeEditor editor(stagingFolder);
    editor.OpenTheme(archivePath);
    ThemeFiles files;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (const SlotFile* file = editor.Document().CurrentFile(slot))
            files[slot] = file->stagedPath;
    return files;
}

ThemeFiles ManifestFiles(const BuildManifest& manifest) {
    ThemeFiles files;
    for (const SlotChoice& choice : manifest.Choices)
        files[choice.slot] = choice.path;
    return files;
}

int RunThemeCheck(const std::string& path, const ThemeChecker& check, std::ostream& out,
                  std::ostream& err) {
    ThemeReport report;
    try {
        // A theme is opened as the editor opens it, into a staging folder of this run's own.
        std::optional<PrivateStagingFolder> staging;
        report = check(EndsWithSdt(path) ? ArchiveFiles(path, staging.emplace().Path())
                                         : ManifestFiles(ReadBuildManifest(path, ReadUtcClock())));
    } catch (const std::exception& error) {
        err << "kestrova-build: " << error.what() << '\n';
        return 1;
    }
    for (const ElementReport& element : report.elements)
        out << ElementLine(element) << '\n';
    out << TallyLine(Tally(report)) << '\n';
    return ThemeUnfit(report) ? 1 : 0;
}

bool AsksForCheck(const std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--check") != args.end();
}

int RunCheckCommand(const std::vector<std::string>& args, const ThemeChecker& check,
                    std::ostream& out, std::ostream& err) {
    if (args.size() != 2 || args[0] != "--check") {
        err << "kestrova-build: --check takes one manifest or theme and nothing else\n"
            << CheckUsage;
        return 2;
    }
    return RunThemeCheck(args[1], check, out, err);
}

void PrintBuildFindings(const std::string& manifestPath, std::ostream& err) {
    ThemeReport report;
    try {
        report = QuickCheckTheme(ManifestFiles(ReadBuildManifest(manifestPath, ReadUtcClock())));
    } catch (const std::exception&) {
        return;
    }
    for (const ElementReport& element : report.elements)
        for (const Finding& finding : element.findings)
            if (GradeOf(finding.code) != CheckGrade::Note)
                err << "kestrova-build: " << SlotNames[element.slot] << " (" << element.slot
                    << "): " << FindingLine(element, finding) << '\n';
}

int RunBuildProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const bool help = std::find(args.begin(), args.end(), "--help") != args.end() ||
                      std::find(args.begin(), args.end(), "-h") != args.end();
    if (help) {
        const int status = RunCommandLineBuild(args, out, err);
        out << CheckHelpText;
        return status;
    }
    const std::string manifest = ManifestArgument(args);
    if (!manifest.empty())
        PrintBuildFindings(manifest, err);
    return RunCommandLineBuild(args, out, err);
}
