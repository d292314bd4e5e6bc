#include "MainForm.h"

#include "Artwork.h"
#include "ColourSchemeProblems.h"
#include "ColourSchemeWindow.h"
#include "ErrorBox.h"
#include "FileFilters.h"
#include "HelpUnit.h"
#include "SlotField.h"
#include "ThemeOverview.h"
#include "Translations.h"
#include "UserDialogs.h"
#include "WebLinks.h"
#include "app/SlotDescriptions.h"
#include "app/StartTime.h"
#include "package/ColourScheme.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace {

// Repainting more often than the screen refreshes only slows the packing down.
constexpr qint64 RepaintIntervalMs = 16;

class WindowBuildReporter : public BuildReporter {
public:
    WindowBuildReporter(TForm1& form, QProgressBar* progress) : form_(form), progress_(progress) {}
    void SetStatus(BuildStatus status) override {
        form_.ShowStatus([status] { return StatusText(status); });
        if (status == BuildStatus::NotAllSettings)
            form_.ShowFirstMissing();
    }
    void SetProgress(int position) override { progress_->setValue(position); }

    static QString StatusText(BuildStatus status) {
        switch (status) {
        case BuildStatus::NotEnoughElements:
            return TForm1::tr("Не хватает элементов темы!");
        case BuildStatus::NotAllSettings:
            return TForm1::tr("Не все настройки темы установлены!");
        case BuildStatus::InProgress:
            return TForm1::tr("В процессе...");
        case BuildStatus::Done:
            return TForm1::tr("Сделано!!!");
        }
        return {};
    }

private:
    TForm1& form_;
    QProgressBar* progress_;
};

// What opening a theme left out, in one message.
QString OpenedThemeText(const OpenedTheme& opened) {
    QStringList parts;
    if (opened.descriptor == DescriptorStatus::Missing)
        parts << TForm1::tr("В теме нет описания config.spc: файлы разложены по элементам по их "
                            "именам.");
    if (opened.descriptor == DescriptorStatus::Unreadable)
        parts << TForm1::tr("Описание config.spc не читается (%1): файлы разложены по элементам "
                            "по их именам.")
                     .arg(QString::fromStdString(opened.descriptorProblem));
    const auto list = [](const std::vector<std::string>& names) {
        QStringList shown;
        for (const std::string& name : names)
            shown << QString::fromStdString(name);
        return shown.join(", ");
    };
    if (!opened.unmatchedEntries.empty())
        parts << TForm1::tr("Файлы, которые не относятся ни к одному элементу: %1.")
                     .arg(list(opened.unmatchedEntries));
    if (!opened.unknownResources.empty())
        parts << TForm1::tr("Файлы, которые описание называет, но которых нет в теме: %1.")
                     .arg(list(opened.unknownResources));
    if (!opened.emptySlots.empty()) {
        std::vector<std::string> names;
        for (int slot : opened.emptySlots)
            names.emplace_back(SlotNames[slot]);
        parts << TForm1::tr("Элементы без файла: %1.").arg(list(names));
    }
    return parts.join("\n\n");
}

std::string ToStd(const QString& text) {
    return text.toStdString();
}

QString FromStd(const std::string& text) {
    return QString::fromStdString(text);
}

// Only an edit that differs is written, so the caret stays where the user is typing.
enum class Caret { AtEnd, AtStart };
void ShowText(QLineEdit* edit, const QString& text, Caret caret = Caret::AtEnd) {
    if (edit->text() == text)
        return;
    edit->setText(text);
    if (caret == Caret::AtStart)
        edit->setCursorPosition(0);
}

} // namespace

TForm1::TForm1(UserDialogs& dialogs, QString programFolder, QWidget* parent)
    : TForm1(dialogs, PortableLayout(ToStd(programFolder)), parent) {}

TForm1::TForm1(UserDialogs& dialogs, FolderLayout layout, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), layout_(std::move(layout)),
      dialogFolder_(layout_.installed ? QDir::homePath() + "/" : FromStd(layout_.dataFolder)),
      editor_(layout_.tempDir, std::make_unique<ActivityLog>(layout_.logPath)) {
    InitArtwork();
    CreateControls();
    ShowStatus([] { return tr("Вас приветствует Kestrova для Benq-Siemens EL71!"); });
    editor_.Subscribe([this] { Refresh(); });
    Guarded(&TForm1::FormCreate);
}

TForm1::~TForm1() {
    // The window is going away, so the box has no owner.
    RunHandler(dialogs_, nullptr, [this] { FormDestroy(); });
}

QString TForm1::StatusText() const {
    return statusPanel0_->text();
}

void TForm1::ShowStatus(std::function<QString()> text) {
    status_ = std::move(text);
    statusPanel0_->setText(status_());
}

void TForm1::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        captions_.Retranslate();
        if (status_)
            statusPanel0_->setText(status_());
        CheckLanguageItem();
        // The slot fields that show their description show it in the new language.
        ReadDescriptions();
        Refresh();
    }
    QMainWindow::changeEvent(event);
}

void TForm1::Guarded(void (TForm1::*handler)()) {
    RunHandler(dialogs_, this, [this, handler] { (this->*handler)(); });
}

void TForm1::FormCreate() {
    ReadDescriptions();
    TabbedNotebook1->setCurrentIndex(0);
    const UtcTime start = ReadUtcClock();
    ThemeMetadata texts;
    texts.Published = DefaultPublicationDate(start);
    editor_.NewTheme(texts);
    editor_.OpenLog(start);
}

void TForm1::ReadDescriptions() {
    const auto descriptions = ReadSlotDescriptions(
        layout_.dataFolder + std::string(SlotDescriptionsFile(CurrentLanguage())));
    for (int slot = 0; slot < SlotCount; ++slot) {
        descriptions_[slot] = FromStd(descriptions[slot]);
        slotFields_[slot]->setToolTip(descriptions_[slot]);
    }
}

void TForm1::FormDestroy() {
    editor_.CloseLog();
}

void TForm1::Refresh() {
    const ThemeDocument& document = editor_.Document();
    for (const MetadataFieldInfo& field : MetadataFields)
        ShowText(metadataEdits_[static_cast<std::size_t>(field.field)],
                 FromStd(document.Metadata.*field.text));
    for (int slot = 0; slot < SlotCount; ++slot) {
        // A description longer than its field is read from its beginning; a path shows the
        // file's name at its end.
        const std::string& picked = document.PickedPaths[slot];
        if (picked.empty())
            ShowText(slotFields_[slot], descriptions_[slot], Caret::AtStart);
        else
            ShowText(slotFields_[slot], FromStd(picked));
    }
    const SchemeChoice& scheme = document.Scheme;
    CheckBox1->setChecked(scheme.useDefault);
    CSEdit->setEnabled(!scheme.useDefault);
    SpeedButton2->setEnabled(!scheme.useDefault);
    ShowText(CSEdit, FromStd(scheme.pickedPath));
    RefreshOverview();
}

void TForm1::TCButtonClick() {
    if (building_)
        return;
    building_ = true;
    TCButton->setEnabled(false);
    const auto end = qScopeGuard([this] { EndBuild(); });

    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    BuildOptions options;
    options.outputDir = layout_.themesFolder;
    // The window repaints while the archive is packed, but user input waits until it is done.
    options.processMessages = [&sinceRepaint] {
        if (sinceRepaint.elapsed() < RepaintIntervalMs)
            return;
        sinceRepaint.restart();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    WindowBuildReporter reporter(*this, ProgressBar1);
    editor_.Build(options, reporter);
}

void TForm1::EndBuild() {
    // Input that arrived while packing is delivered now, while the guard still refuses slot and
    // scheme choices and the button is still disabled, so none of it acts on this build.
    QCoreApplication::processEvents();
    building_ = false;
    TCButton->setEnabled(true);
    if (closePending_) {
        closePending_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TForm1::CheckBox1Click() {
    editor_.SetUseDefaultScheme(CheckBox1->isChecked());
}

void TForm1::SpeedButton2Click() {
    if (building_)
        return;
    FileRequest request;
    request.title = tr("Выберите файл цветовой схемы");
    request.filters = ColourSchemeFilters();
    request.lastFile = lastSchemeFile_;
    request.mustExist = true;
    const QString chosen = dialogs_.ChooseFile(this, request);
    if (chosen.isEmpty())
        return;
    lastSchemeFile_ = chosen;
    editor_.ChooseColourScheme(ToStd(chosen));
    WarnAboutScheme(chosen);
}

void TForm1::TakeColourScheme(const QString& path) {
    if (building_)
        return;
    editor_.SetUseDefaultScheme(false);
    editor_.ChooseColourScheme(ToStd(path));
    WarnAboutScheme(path);
}

void TForm1::WarnAboutScheme(const QString& path) {
    // Staged as it is; the phone may still refuse a scheme that breaks the format.
    const ColourSchemeReading reading =
        ReadColourScheme(ReadColourSchemeBytes(editor_.Document().Scheme.stagedPath));
    if (!ColourSchemeStatus(path, reading).isEmpty())
        ShowStatus([path, reading] { return ColourSchemeStatus(path, reading); });
}

void TForm1::TNEditExit() {
    editor_.LogFieldExit(MetadataField::Title);
}
void TForm1::TAEditExit() {
    editor_.LogFieldExit(MetadataField::Author);
}
void TForm1::TDEditExit() {
    editor_.LogFieldExit(MetadataField::Published);
}
void TForm1::TVEditExit() {
    editor_.LogFieldExit(MetadataField::Version);
}
void TForm1::TVendEditExit() {
    editor_.LogFieldExit(MetadataField::Vendor);
}
void TForm1::TPEditExit() {
    editor_.LogFieldExit(MetadataField::Price);
}
void TForm1::TUEditExit() {
    editor_.LogFieldExit(MetadataField::Url);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut)
        return QMainWindow::eventFilter(watched, event);
    // Only a move to another control of this window counts as leaving the field; switching to
    // another program or opening a menu, with Alt or a click, does not.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    QWidget* next = QApplication::focusWidget();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason || !next || next == watched || next->window() != this ||
        qobject_cast<QMenuBar*>(next) || !isActiveWindow())
        return false;
    const std::pair<QLineEdit*, void (TForm1::*)()> handlers[] = {
        {TNEdit, &TForm1::TNEditExit},       {TAEdit, &TForm1::TAEditExit},
        {TDEdit, &TForm1::TDEditExit},       {TVEdit, &TForm1::TVEditExit},
        {TVendEdit, &TForm1::TVendEditExit}, {TPEdit, &TForm1::TPEditExit},
        {TUEdit, &TForm1::TUEditExit},
    };
    for (const auto& [field, handler] : handlers)
        if (field == watched)
            Guarded(handler);
    return false;
}

void TForm1::OpenThemeClick() {
    if (building_)
        return;
    FileRequest request;
    request.title = tr("Открыть тему");
    request.filters = {{tr("Тема EL71 (*.sdt)"), {"*.sdt"}}};
    request.directory = FromStd(layout_.themesFolder);
    request.lastFile = lastThemeFile_;
    request.mustExist = true;
    const QString chosen = dialogs_.ChooseFile(this, request);
    if (chosen.isEmpty())
        return;
    lastThemeFile_ = chosen;
    OpenThemeFile(chosen);
}

void TForm1::OpenThemeFile(const QString& path) {
    if (building_)
        return;
    if (editor_.HasWork() &&
        !dialogs_.Ask(this, windowTitle(), tr("Открыть тему и отказаться от текущих изменений?")))
        return;
    const std::optional<OpenedTheme> opened = editor_.OpenTheme(ToStd(path));
    if (!opened)
        return;
    if (opened->lastPicture >= 0)
        ShowInPreview(opened->lastPicture);
    if (!opened->AllPlaced())
        dialogs_.ShowMessage(this, windowTitle(), OpenedThemeText(*opened));
}

void TForm1::OverviewClick() {
    if (!overview_) {
        overview_ = new ThemeOverview(this);
        connect(overview_, &ThemeOverview::elementActivated, this,
                [this](int slot) { SlotFieldDoubleClick(slot); });
        RefreshOverview();
    }
    overview_->show();
    overview_->raise();
    overview_->activateWindow();
}

void TForm1::RefreshOverview() {
    if (!overview_)
        return;
    // The overview judges the files the theme will pack: the staged copies.
    const ThemeDocument& document = editor_.Document();
    OverviewSlots theme;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const SlotFile* file = document.CurrentFile(slot);
        theme[slot] = {descriptions_[slot], QString::fromLatin1(SlotNames[slot]),
                       file ? FromStd(file->stagedPath) : QString()};
    }
    overview_->SetTheme(theme);
}

void TForm1::ShowFirstMissing() {
    if (overview_ && overview_->isVisible())
        overview_->ScrollToFirstMissing();
}

void TForm1::ColourSchemeClick() {
    const SchemeChoice& scheme = editor_.Document().Scheme;
    // The scheme in use: the built-in one, or the custom one while its copy is staged.
    std::string bytes(DefaultColourScheme);
    if (!scheme.useDefault && !scheme.stagedPath.empty())
        bytes = ReadColourSchemeBytes(scheme.stagedPath);
    ColourSchemeWindow window(
        dialogs_, bytes,
        [this](const QString& savedPath) {
            editor_.SetUseDefaultScheme(false);
            editor_.ChooseColourScheme(ToStd(savedPath));
        },
        this);
    dialogs_.RunModal(window);
}

void TForm1::ThemesFolderClick() {
    dialogs_.OpenUrl(QUrl::fromLocalFile(FromStd(layout_.themesFolder)));
}

void TForm1::N6Click() {
    close();
}

void TForm1::N10Click() {
    OpenHelpFile(dialogs_, this, FromStd(layout_.helpPath));
}

void TForm1::N11Click() {
    TAboutBox box(dialogs_, this);
    dialogs_.RunModal(box);
}

void TForm1::LanguageClick(Language language) {
    SetLanguage(language);
    RememberLanguage(language);
}

void TForm1::CheckLanguageItem() {
    (CurrentLanguage() == Language::English ? englishItem_ : russianItem_)->setChecked(true);
}

void TForm1::Image3Click() {
    dialogs_.OpenUrl(QUrl(MakerSiteUrl));
}

void TForm1::Image4Click() {
    dialogs_.OpenUrl(QUrl(FanClubUrl));
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing in the middle of packing would tear the window down under the running build;
    // the close is carried out as soon as the build ends.
    if (building_) {
        closePending_ = true;
        event->ignore();
        return;
    }
    event->accept();
}
