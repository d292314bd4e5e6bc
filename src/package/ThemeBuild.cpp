#include "ThemeBuild.h"

#include "ColourScheme.h"
#include "Errors.h"
#include "PathNames.h"
#include "SystemCalls.h"
#include "ThemeDescriptor.h"
#include "ZipWriter.h"

#include <cerrno>

namespace {

constexpr std::size_t MinimumPackageEntries = 10;

// A bare name in the package list stands for the file of that name in the staging folder.
std::string ListedFile(const std::string& entry, const std::string& tempDir) {
    if (entry.find_first_of(PathSeparators) == std::string::npos)
        return JoinPath(tempDir, entry);
    return entry;
}

void RemovePackedFiles(const ThemeDocument& document) {
    for (const std::string& entry : document.FilesList) {
        // A file that has vanished or cannot be removed is no reason to fail the build.
        Sys.Unlink(ListedFile(entry, document.TempDir).c_str());
    }
}

} // namespace

std::string ThemeArchivePath(const std::string& outputDir, const std::string& title) {
    std::string name = title + ".sdt";
    if (outputDir.empty())
        return name;
    if (outputDir.back() == PathSeparator)
        return outputDir + name;
    return JoinPath(outputDir, name);
}

bool BuildTheme(ThemeDocument& document, const BuildOptions& options, BuildReporter& reporter) {
    if (document.FilesList.size() < MinimumPackageEntries) {
        reporter.SetStatus(BuildStatus::NotEnoughElements);
        return false;
    }
    if (!document.AllSlotsChosen()) {
        reporter.SetStatus(BuildStatus::NotAllSettings);
        return false;
    }
    reporter.SetStatus(BuildStatus::InProgress);
    CheckThemeTexts(document.Metadata);

    if (document.Scheme.useDefault)
        SaveDefaultColourScheme(document.TempDir);
    WriteThemeDescriptor(document.Metadata, document.FilesList, document.TempDir);

    ZipWriter VCLZip1(document.FilesList);
    VCLZip1.SetRootDir(document.TempDir);
    const PackageList listBeforeBuild = document.FilesList;
    document.FilesList.push_back(std::string(ColourSchemeFileName));
    document.FilesList.push_back(std::string(ThemeDescriptorFileName));
    const std::string zipName = ThemeArchivePath(options.outputDir, document.Metadata.Title);
    VCLZip1.SetZipName(zipName);
    VCLZip1.ProcessMessages = options.processMessages;
    VCLZip1.PackThreads = options.packThreads;
    try {
        // A separator in the title would put the archive into another folder.
        if (document.Metadata.Title.find_first_of(PathSeparators) != std::string::npos)
            throw StreamError::Create(zipName, EINVAL);
        VCLZip1.PackArchive();
    } catch (...) {
        // A retry must not find the two names of this attempt listed as resources of their own.
        document.FilesList = listBeforeBuild;
        throw;
    }
    reporter.SetProgress(80);

    RemovePackedFiles(document);
    reporter.SetProgress(100);
    reporter.SetStatus(BuildStatus::Done);

    // The packed files are gone from the staging folder, so the state no longer describes a
    // theme that can be built again until the user chooses anew.
    document.FilesList.clear();
    document.SlotChosen.fill(0);
    for (auto& choices : document.Choices)
        choices.clear();
    document.Scheme.stagedPath.clear();
    return true;
}
