#include "MainForm.h"

#include "Artwork.h"
#include "ErrorBox.h"
#include "FileFilters.h"
#include "HelpUnit.h"
#include "SlotField.h"
#include "UserDialogs.h"
#include "WebLinks.h"
#include "app/SlotDescriptions.h"
#include "app/StartTime.h"
#include "package/ColourScheme.h"
#include "package/ThemeBuild.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
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
    WindowBuildReporter(QLabel* status, QProgressBar* progress)
        : status_(status), progress_(progress) {}
    void SetStatus(std::string_view text) override {
        status_->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
    }
    void SetProgress(int position) override { progress_->setValue(position); }

private:
    QLabel* status_;
    QProgressBar* progress_;
};

std::string ToStd(const QString& text) {
    return text.toStdString();
}

} // namespace

TForm1::TForm1(UserDialogs& dialogs, QString programFolder, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), programFolder_(std::move(programFolder)) {
    InitArtwork();
    CreateControls();
    Guarded(&TForm1::FormCreate);
}

TForm1::~TForm1() {
    // The window is going away, so the box has no owner.
    RunHandler(dialogs_, nullptr, [this] { FormDestroy(); });
}

QString TForm1::StatusText() const {
    return statusPanel0_->text();
}

void TForm1::Guarded(void (TForm1::*handler)()) {
    RunHandler(dialogs_, this, [this, handler] { (this->*handler)(); });
}

void TForm1::FormCreate() {
    const auto descriptions =
        ReadSlotDescriptions(ToStd(programFolder_) + std::string(DescriptionsFileName));
    for (int slot = 0; slot < SlotCount; ++slot) {
        const QString text = QString::fromStdString(descriptions[slot]);
        slotFields_[slot]->setText(text);
        // A description longer than the field is read from its beginning, not its end.
        slotFields_[slot]->setCursorPosition(0);
        slotFields_[slot]->setToolTip(text);
    }
    state_.SlotChosen.fill(0);
    TabbedNotebook1->setCurrentIndex(0);
    state_.TempDir = ToStd(programFolder_) + "temp";
    const UtcTime start = ReadUtcClock();
    TDEdit->setText(QString::fromStdString(DefaultPublicationDate(start)));
    LogFile.OpenLog(start);
}

void TForm1::FormDestroy() {
    LogFile.CloseLog();
}

void TForm1::CopyMetadataIntoState() {
    ThemeMetadata& metadata = state_.Metadata;
    metadata.Title = ToStd(TNEdit->text());
    metadata.Author = ToStd(TAEdit->text());
    metadata.Published = ToStd(TDEdit->text());
    metadata.Version = ToStd(TVEdit->text());
    metadata.Resolution = ToStd(TREdit->text());
    metadata.Vendor = ToStd(TVendEdit->text());
    metadata.Price = ToStd(TPEdit->text());
    metadata.Url = ToStd(TUEdit->text());
}

void TForm1::TCButtonClick() {
    if (building_)
        return;
    CopyMetadataIntoState();
    building_ = true;
    TCButton->setEnabled(false);
    const auto end = qScopeGuard([this] { EndBuild(); });

    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    BuildOptions options;
    options.useDefaultScheme = CheckBox1->isChecked();
    options.outputDir = ToStd(programFolder_);
    // The window repaints while the archive is packed, but user input waits until it is done.
    options.processMessages = [&sinceRepaint] {
        if (sinceRepaint.elapsed() < RepaintIntervalMs)
            return;
        sinceRepaint.restart();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    WindowBuildReporter reporter(statusPanel0_, ProgressBar1);
    BuildTheme(state_, options, reporter);
}

void TForm1::EndBuild() {
    // Input that arrived while packing is delivered now, while the guard still refuses slot and
    // scheme choices and the button is still disabled, so none of it reaches this build's list.
    QCoreApplication::processEvents();
    building_ = false;
    TCButton->setEnabled(true);
    if (closePending_) {
        closePending_ = false;
        QTimer::singleShot(0, this, &QWidget::close);
    }
}

void TForm1::CheckBox1Click() {
    CSEdit->setEnabled(!CheckBox1->isChecked());
    SpeedButton2->setEnabled(!CheckBox1->isChecked());
}

void TForm1::SpeedButton2Click() {
    if (building_)
        return;
    FileRequest request;
    request.title = QStringLiteral("Выберите файл цветовой схемы");
    request.filters = ColourSchemeFilters();
    request.lastFile = lastSchemeFile_;
    request.mustExist = true;
    const QString chosen = dialogs_.ChooseFile(this, request);
    if (chosen.isEmpty())
        return;
    lastSchemeFile_ = chosen;
    CSEdit->setText(chosen);
    StageColourScheme(state_, ToStd(CSEdit->text()));
}

void TForm1::LogFieldExit(const QLineEdit* field, std::string_view prefix) {
    LogFile.WriteLog(FieldLogEntry(prefix, ToStd(field->text())));
}

void TForm1::TNEditExit() {
    LogFieldExit(TNEdit, LogTitlePrefix);
}
void TForm1::TAEditExit() {
    LogFieldExit(TAEdit, LogAuthorPrefix);
}
void TForm1::TDEditExit() {
    LogFieldExit(TDEdit, LogPublishedPrefix);
}
void TForm1::TVEditExit() {
    LogFieldExit(TVEdit, LogVersionPrefix);
}
void TForm1::TVendEditExit() {
    LogFieldExit(TVendEdit, LogVendorPrefix);
}
void TForm1::TPEditExit() {
    LogFieldExit(TPEdit, LogPricePrefix);
}
void TForm1::TUEditExit() {
    LogFieldExit(TUEdit, LogUrlPrefix);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut)
        return QMainWindow::eventFilter(watched, event);
    // Only a move to another control of this window counts as leaving the field; switching to
    // another program or opening a menu does not.
    const auto reason = static_cast<QFocusEvent*>(event)->reason();
    QWidget* next = QApplication::focusWidget();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || !next ||
        next == watched || next->window() != this || !isActiveWindow())
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

void TForm1::N6Click() {
    close();
}

void TForm1::N10Click() {
    OpenHelpFile(dialogs_, this);
}

void TForm1::N11Click() {
    TAboutBox box(dialogs_, this);
    dialogs_.RunModal(box);
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
