#pragma once
// The open dialogs: the toolkit's own (non-native) file dialog, so every platform shows the same
// type list, and for pictures a pane beside the file list with the selected picture and its size.

#include "UserDialogs.h"

#include <QFileDialog>

class QLabel;

class OpenFileDialog : public QFileDialog {
    Q_OBJECT
public:
    OpenFileDialog(QWidget* parent, const FileRequest& request);

private:
    void ApplyFilter(const QString& text);
    void ShowPreview(const QString& path);

    QList<FileFilter> filters_;
    QLabel* picture_ = nullptr;
    QLabel* size_ = nullptr;
};
