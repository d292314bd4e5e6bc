#include "UserDialogs.h"

#include "OpenFileDialog.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QGridLayout>
#include <QMessageBox>
#include <QScreen>
#include <QShowEvent>
#include <QUrl>

namespace {

// Room the title bar takes besides the caption's text: the icon and the close box.
constexpr int CaptionMargin = 120;

// A message box wide enough for its whole caption, shown over its window, or in the middle of
// the screen while there is no window to show it over.
class ErrorMessageBox : public QMessageBox {
public:
    ErrorMessageBox(const QString& caption, const QString& text, QWidget* parent)
        : QMessageBox(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent) {
        // The box sizes itself from its text alone; a spacer across the grid widens it.
        if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
            const int width = fontMetrics().horizontalAdvance(caption) + CaptionMargin;
            grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                          grid->rowCount(), 0, 1, grid->columnCount());
        }
    }

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);
        QWidget* over = parentWidget() ? parentWidget()->window() : nullptr;
        const QRect area =
            over && over->isVisible() ? over->frameGeometry() : screen()->availableGeometry();
        move(area.center() - rect().center());
    }
};

} // namespace

QString QtUserDialogs::ChooseFile(QWidget* parent, const FileRequest& request) {
    OpenFileDialog dialog(parent, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QString QtUserDialogs::ChooseSaveFile(QWidget* parent, const FileRequest& request) {
    // The open dialog's type list and folder, turned round to save.
    OpenFileDialog dialog(parent, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

QColor QtUserDialogs::ChooseColour(QWidget* parent, const QColor& initial, const QString& title) {
    // The toolkit's own dialog, as with the file dialogs, so every platform shows the same one.
    return QColorDialog::getColor(initial, parent, title, QColorDialog::DontUseNativeDialog);
}

void QtUserDialogs::ShowError(QWidget* parent, const QString& caption, const QString& text) {
    ErrorMessageBox box(caption, text, parent);
    box.exec();
}

void QtUserDialogs::ShowMessage(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtUserDialogs::Ask(QWidget* parent, const QString& caption, const QString& question) {
    return QMessageBox::question(parent, caption, question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

void QtUserDialogs::RunModal(QDialog& dialog) {
    dialog.exec();
}

void QtUserDialogs::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}
