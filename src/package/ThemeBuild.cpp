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

std::string ArchivePath(const std::string& outputDir, const std::string& title) {
    std::string name = title + ".sdt";
    if (outputDir.empty())
        return name;
    if (outputDir.back() == PathSeparator)
        return outputDir + name;
    return JoinPath(outputDir, name);
}

// A bare name in the package list stands for the file of that name in the staging folder.
std::string ListedFile(const std::string& entry, const std::string& tempDir) {
    if (entry.find_first_of(PathSeparators) == std::string::npos)
        return JoinPath(tempDir, entry);
    return entry;
}

void RemovePackedFiles(const EditorState& state) {
    for (const std::string& entry : state.FilesList) {
        // A file that has vanished or cannot be removed is no reason to fail the build.
        Sys.Unlink(ListedFile(entry, state.TempDir).c_str());
    }
}

} // namespace

bool BuildTheme(EditorState& state, const BuildOptions& options, BuildReporter& reporter) {
    if (state.FilesList.size() < MinimumPackageEntries) {
        reporter.SetStatus(StatusNotEnoughElements);
        return false;
    }
    if (!state.AllSlotsChosen()) {
        reporter.SetStatus(StatusNotAllSettings);
        return false;
    }
    reporter.SetStatus(StatusInProgress);

    if (options.useDefaultScheme)
        SaveDefaultColourScheme(state.TempDir);
    WriteThemeDescriptor(state.Metadata, state.FilesList, state.TempDir);

    ZipWriter VCLZip1(state.FilesList);
    VCLZip1.SetRootDir(state.TempDir);
    const PackageList listBeforeBuild = state.FilesList;
    state.FilesList.push_back(std::string(ColourSchemeFileName));
    state.FilesList.push_back(std::string(ThemeDescriptorFileName));
    const std::string zipName = ArchivePath(options.outputDir, state.Metadata.Title);
    VCLZip1.SetZipName(zipName);
    VCLZip1.ProcessMessages = options.processMessages;
    VCLZip1.PackThreads = options.packThreads;
    try {
        // A separator in the title would put the archive into another folder.
        if (state.Metadata.Title.find_first_of(PathSeparators) != std::string::npos)
            throw StreamError::Create(zipName, EINVAL);
        VCLZip1.PackArchive();
    } catch (...) {
        // A retry must not find the two names of this attempt listed as resources of their own.
        state.FilesList = listBeforeBuild;
        throw;
    }
    reporter.SetProgress(80);

    RemovePackedFiles(state);
    reporter.SetProgress(100);
    reporter.SetStatus(StatusDone);

    // The packed files are gone from the staging folder, so the state no longer describes a
    // theme that can be built again until the user chooses anew.
    state.FilesList.clear();
    state.SlotChosen.fill(0);
    return true;
}
