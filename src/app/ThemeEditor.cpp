#include "ThemeEditor.h"

#include "package/ColourScheme.h"
#include "package/Errors.h"
#include "package/NamePattern.h"
#include "package/PathNames.h"
#include "package/ReplaceFile.h"
#include "package/Staging.h"
#include "package/ThemeContents.h"

#include <algorithm>
#include <cerrno>
#include <limits>

namespace {

// Runs a function when the scope ends, however it ends.
template <typename F> class OnExit {
public:
    explicit OnExit(F f) : f_(std::move(f)) {}
    ~OnExit() { f_(); }
    OnExit(const OnExit&) = delete;
    OnExit& operator=(const OnExit&) = delete;

private:
    F f_;
};

// The first resource line (after text_colors) that names a file; npos when none does.
std::size_t LineNaming(const std::vector<ResourceLine>& lines, std::string_view file) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].name != "text_colors" && SameEntryName(FileNamePart(lines[i].src), file))
            return i;
    return std::numeric_limits<std::size_t>::max();
}

// The archive's base name: the title of a theme whose descriptor does not give one.
std::string ArchiveTitle(const std::string& archivePath) {
    std::string name(FileNamePart(archivePath));
    if (std::size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}

} // namespace

bool OpenedTheme::AllPlaced() const {
    return descriptor == DescriptorStatus::Read && unmatchedEntries.empty() &&
           unknownResources.empty() && emptySlots.empty();
}

ThemeEditor::ThemeEditor(std::string tempDir, std::unique_ptr<ActivityLog> log)
    : log_(std::move(log)) {
    document_.TempDir = std::move(tempDir);
}

void ThemeEditor::Subscribe(std::function<void()> observer) {
    observers_.push_back(std::move(observer));
}

void ThemeEditor::Notify() const {
    for (const auto& observer : observers_)
        observer();
}

void ThemeEditor::OpenLog(const UtcTime& startTime) {
    if (log_)
        log_->OpenLog(startTime);
}

void ThemeEditor::CloseLog() {
    if (log_)
        log_->CloseLog();
}

void ThemeEditor::NewTheme(const ThemeMetadata& metadata) {
    startTexts_ = metadata;
    document_.Metadata = metadata;
    Notify();
}

bool ThemeEditor::HasWork() const {
    const auto picked = [](const std::string& path) { return !path.empty(); };
    const ThemeMetadata& texts = document_.Metadata;
    bool textsChanged = false;
    for (const MetadataFieldInfo& field : MetadataFields)
        textsChanged = textsChanged || texts.*field.text != startTexts_.*field.text;
    return textsChanged || !document_.Scheme.useDefault || !document_.Scheme.pickedPath.empty() ||
           std::any_of(document_.PickedPaths.begin(), document_.PickedPaths.end(), picked);
}

std::optional<OpenedTheme> ThemeEditor::OpenTheme(const std::string& archivePath) {
    if (building_)
        return std::nullopt;
    const ThemeContents contents = ReadThemeContents(archivePath);
    const ThemeArchive& archive = contents.archive;
    const DescriptorContents& descriptor = contents.descriptor;
    const SlotMatching& matching = contents.matching;

    OpenedTheme opened;
    static_cast<ThemeGaps&>(opened) = contents.gaps;

    // From here on the theme is the archive's; what is staged before a failure stays, as the
    // steps of a choice do.
    OnExit notify([this] { Notify(); });
    ThemeMetadata texts = startTexts_;
    if (descriptor.status == DescriptorStatus::Read) {
        texts = descriptor.metadata;
        texts.Resolution = ThemeMetadata{}.Resolution; // the phone's, never the file's
    } else {
        texts.Title = ArchiveTitle(archivePath);
    }
    ThemeDocument fresh;
    fresh.TempDir = document_.TempDir;
    fresh.Metadata = texts;
    document_ = std::move(fresh);
    startTexts_ = texts;

    // A scheme other than DeepBlue is a custom choice, made where its line stands.
    const ThemeArchiveEntry* scheme = archive.Find(ColourSchemeFileName);
    const bool customScheme = scheme && scheme->data != DefaultColourScheme;
    const std::size_t schemeLine =
        customScheme ? LineNaming(descriptor.resources, ColourSchemeFileName) : 0;
    bool schemeStaged = !customScheme;
    const auto stageScheme = [&] {
        const std::string staged = JoinPath(document_.TempDir, ColourSchemeFileName);
        StageFileBytes(staged, scheme->data, scheme->dosDateTime, Flush::ToDisk);
        document_.FilesList.push_back(staged);
        document_.Scheme = {false, archivePath + "/" + scheme->name, staged};
        schemeStaged = true;
    };

    for (const SlotAssignment& assignment : matching.assignments) {
        const ThemeArchiveEntry& entry = archive.entries[assignment.entry];
        if (!schemeStaged && LineNaming(descriptor.resources, entry.name) > schemeLine)
            stageScheme();
        const int slot = assignment.slot;
        const std::string shown = archivePath + "/" + entry.name;
        const std::string staged = StagedSlotPath(document_.TempDir, slot, entry.name);
        document_.PickedPaths[slot] = shown;
        CheckStagedNameEncodable(entry.name);
        StageFileBytes(staged, entry.data, entry.dosDateTime, Flush::NotNeeded);
        document_.FilesList.push_back(staged);
        document_.Choices[slot].push_back(SlotFile{shown, staged});
        if (log_)
            log_->WriteLog(ChoiceLogEntry(shown, SlotNames[slot]));
        document_.SlotChosen[slot] = 1;
        if (SlotLayouts[slot].kind == skPicture)
            opened.lastPicture = slot;
    }
    if (!schemeStaged)
        stageScheme();
    return opened;
}

void ThemeEditor::SetText(MetadataField field, std::string text) {
    std::string& current = document_.Metadata.*FieldInfo(field).text;
    if (current == text)
        return;
    current = std::move(text);
    Notify();
}

void ThemeEditor::LogFieldExit(MetadataField field) {
    const MetadataFieldInfo& info = FieldInfo(field);
    if (log_)
        log_->WriteLog(FieldLogEntry(info.logPrefix, document_.Metadata.*info.text));
}

bool ThemeEditor::ChooseSlotFile(int slot, const std::string& path) {
    // A choice in the middle of packing would add to the list the build is walking.
    if (building_)
        return false;
    OnExit notify([this] { Notify(); });
    document_.PickedPaths[slot] = path;
    document_.Choices[slot].push_back(SlotFile{path, StageSlotFile(document_, slot, path)});
    if (log_)
        log_->WriteLog(ChoiceLogEntry(path, SlotNames[slot]));
    document_.SlotChosen[slot] = 1;
    return true;
}

bool ThemeEditor::ChooseColourScheme(const std::string& path) {
    if (building_)
        return false;
    OnExit notify([this] { Notify(); });
    document_.Scheme.pickedPath = path;
    document_.Scheme.stagedPath = StageColourScheme(document_, path);
    return true;
}

void ThemeEditor::SetUseDefaultScheme(bool useDefault) {
    if (document_.Scheme.useDefault == useDefault)
        return;
    document_.Scheme.useDefault = useDefault;
    Notify();
}

bool ThemeEditor::Build(const BuildOptions& options, BuildReporter& reporter) {
    if (building_)
        return false;
    building_ = true;
    OnExit end([this] {
        building_ = false;
        Notify();
    });
    return BuildTheme(document_, options, reporter);
}
