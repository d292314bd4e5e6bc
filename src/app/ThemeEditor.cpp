#include "ThemeEditor.h"

#include "package/ColourScheme.h"
#include "package/Staging.h"

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

} // namespace

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
