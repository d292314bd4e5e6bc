#pragma once
// "Создать тему": checks the editor state, writes the scheme and the descriptor, packs the
// staged files into <title>.sdt and removes what it packed from the staging folder.

#include "model/ThemeDocument.h"

#include <functional>
#include <string>
#include <string_view>

/// What a build tells the user; each view words it in its own language.
enum class BuildStatus {
    NotEnoughElements, // fewer than 10 package-list entries
    NotAllSettings,    // some slot has no file
    InProgress,
    Done,
};

/// Where a build reports: status panel 0 and the progress bar in the window, stdout on the
/// command line.
class BuildReporter {
public:
    virtual ~BuildReporter() = default;
    virtual void SetStatus(BuildStatus status) = 0;
    virtual void SetProgress(int position) = 0;
};

struct BuildOptions {
    std::string outputDir;                 // the archive goes to outputDir/<title>.sdt
    std::function<void()> processMessages; // handed to the archive writer
    int packThreads = 0;                   // the archive writer's PackThreads
};

/// outputDir/<title>.sdt; a bare name when outputDir is empty.
std::string ThemeArchivePath(const std::string& outputDir, const std::string& title);

/// Runs one build. Returns true when it reached BuildStatus::Done; an incomplete theme returns
/// false with its status set. Failures are thrown (StreamError, InOutError, ZipError,
/// EncodingError).
bool BuildTheme(ThemeDocument& document, const BuildOptions& options, BuildReporter& reporter);
