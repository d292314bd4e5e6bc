#pragma once
// "Создать тему": checks the editor state, writes the scheme and the descriptor, packs the
// staged files into <title>.sdt and removes what it packed from the staging folder.

#include "model/EditorState.h"

#include <functional>
#include <string>
#include <string_view>

inline constexpr std::string_view StatusNotEnoughElements = "Не хватает элементов темы!";
inline constexpr std::string_view StatusNotAllSettings = "Не все настройки темы установлены!";
inline constexpr std::string_view StatusInProgress = "В процессе...";
inline constexpr std::string_view StatusDone = "Сделано!!!";

/// Where a build reports: status panel 0 and the progress bar in the window, stdout on the
/// command line.
class BuildReporter {
public:
    virtual ~BuildReporter() = default;
    virtual void SetStatus(std::string_view text) = 0;
    virtual void SetProgress(int position) = 0;
};

struct BuildOptions {
    bool useDefaultScheme = true;          // CheckBox1
    std::string outputDir;                 // the archive goes to outputDir/<title>.sdt
    std::function<void()> processMessages; // handed to the archive writer
    int packThreads = 0;                   // the archive writer's PackThreads
};

/// Runs one build. Returns true when it reached "Сделано!!!"; an incomplete theme returns false
/// with its status set. Failures are thrown (StreamError, InOutError, ZipError, EncodingError).
bool BuildTheme(EditorState& state, const BuildOptions& options, BuildReporter& reporter);
