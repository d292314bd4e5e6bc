#pragma once
// The operations on the theme document that the window and kestrova-build share: each does its
// steps once, in their order, and tells the views when the document has changed.

#include "ActivityLog.h"
#include "model/ThemeDocument.h"
#include "package/ThemeBuild.h"
#include "package/ThemeContents.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

/// What opening a theme could not place, so that nothing is dropped without a word.
struct OpenedTheme : ThemeGaps {
    /// The picture slot opened last, for the preview; -1 when there is none.
    int lastPicture = -1;

    bool AllPlaced() const;
};

class ThemeEditor {
public:
    /// tempDir is the staging folder. Without a log, choices and field exits are not recorded.
    explicit ThemeEditor(std::string tempDir, std::unique_ptr<ActivityLog> log = nullptr);

    const ThemeDocument& Document() const { return document_; }
    bool Building() const { return building_; }

    /// observer runs after every operation that may have changed the document, also one that
    /// failed half-way, since the steps done before a failure stay done.
    void Subscribe(std::function<void()> observer);

    /// Opens the log with its start entry. Throws InOutError; the editor works on without it.
    void OpenLog(const UtcTime& startTime);
    /// Writes the closing entry. Throws InOutError.
    void CloseLog();

    /// A new theme's texts: what the document starts from and HasWork compares against.
    void NewTheme(const ThemeMetadata& metadata);
    /// Whether the user has chosen anything or changed a text since the theme was started or
    /// opened.
    bool HasWork() const;

    /// Replaces the theme with the one in a theme archive, as if its files had been chosen in
    /// the order of its descriptor: each is staged under its slot's name with its entry's time,
    /// listed, logged as "<archive>/<entry>" and marked. The archive is read whole first, so one
    /// that is damaged or breaks a limit throws (StreamError, ZipError) and changes nothing.
    /// Refused (nullopt) while a build runs.
    std::optional<OpenedTheme> OpenTheme(const std::string& archivePath);

    void SetText(MetadataField field, std::string text);
    /// The entry written when the user leaves a metadata field, whatever it holds.
    void LogFieldExit(MetadataField field);

    /// The slot shows path; the file is staged, listed, logged and the slot marked, in that
    /// order. A failure ends it at that step and is thrown; the steps before it stay done.
    /// Refused (false) while a build runs.
    bool ChooseSlotFile(int slot, const std::string& path);
    /// CSEdit shows path; the file is staged as the custom scheme and listed. Throws like
    /// ChooseSlotFile; refused while a build runs.
    bool ChooseColourScheme(const std::string& path);
    /// CheckBox1: the built-in scheme, or whatever custom scheme is staged.
    void SetUseDefaultScheme(bool useDefault);

    /// "Создать тему". False when the theme is incomplete (the status says why) or a build is
    /// already running. Failures are thrown.
    bool Build(const BuildOptions& options, BuildReporter& reporter);

private:
    void Notify() const;

    ThemeDocument document_;
    std::unique_ptr<ActivityLog> log_;
    std::vector<std::function<void()>> observers_;
    ThemeMetadata startTexts_;
    bool building_ = false;
};
