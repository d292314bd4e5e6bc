#include "UserDialogs.h"

#include "OpenFileDialog.h"

#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

QString QtUserDialogs::ChooseFile(QWidget* parent, const FileRequest& request) {
    OpenFileDialog dialog(parent, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
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
