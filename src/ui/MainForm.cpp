#include "MainForm.h"

#include "Artwork.h"
#include "ColourSchemeProblems.h"
#include "ColourSchemeWindow.h"
#include "ErrorBox.h"
#include "FileFilters.h"
#include "HelpUnit.h"
#include "SlotField.h"
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
    editor_.SetText(MetadataField::Published, DefaultPublicationDate(start));
    Refresh();
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
    // Staged as it is; the phone may still refuse a scheme that breaks the format.
    const ColourSchemeReading reading =
        ReadColourScheme(ReadColourSchemeBytes(editor_.Document().Scheme.stagedPath));
    if (!ColourSchemeStatus(chosen, reading).isEmpty())
        ShowStatus([chosen, reading] { return ColourSchemeStatus(chosen, reading); });
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
