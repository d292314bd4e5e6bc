#include "UserDialogs.h"

#include "OpenFileDialog.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

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
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtUserDialogs::RunModal(QDialog& dialog) {
    dialog.exec();
}

void QtUserDialogs::OpenUrl(const QUrl& url) {
    QDesktopServices::openUrl(url);
}
