#pragma once
// Every file dialog, message box, modal window and shell request of the window goes through
// UserDialogs, so tests can choose or cancel files and read message boxes without blocking.

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class QDialog;
class QUrl;
class QWidget;

/// One entry of a file dialog's type list: the text shown and the patterns it matches.
struct FileFilter {
    QString text;
    QStringList patterns;
};

struct FileRequest {
    QString title; // empty: the toolkit's own title for an open dialog
    QList<FileFilter> filters;
    QString directory;
    QString lastFile;         // proposed again, as one dialog object per kind would
    bool mustExist = false;   // the scheme dialog only accepts existing files
    bool previewPane = false; // the picture dialog
    QString defaultSuffix;    // a save dialog adds it to a name typed without one
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    /// The chosen file's full path, or an empty text when the user cancels.
    virtual QString ChooseFile(QWidget* parent, const FileRequest& request) = 0;
    /// The full path to save under, or an empty text when the user cancels.
    virtual QString ChooseSaveFile(QWidget* parent, const FileRequest& request) = 0;
    /// The chosen colour, or an invalid one when the user cancels.
    virtual QColor ChooseColour(QWidget* parent, const QColor& initial, const QString& title) = 0;
    /// A modal box with the error icon and one "OK" button.
    virtual void ShowError(QWidget* parent, const QString& caption, const QString& text) = 0;
    /// A modal box with the information icon and one "OK" button.
    virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text) = 0;
    /// A question with "Yes" and "No"; true for "Yes".
    virtual bool Ask(QWidget* parent, const QString& caption, const QString& question) = 0;
    virtual void RunModal(QDialog& dialog) = 0;
    /// Opens a document or web page with its associated program; the outcome is not reported.
    virtual void OpenUrl(const QUrl& url) = 0;
};

/// The real dialogs of the toolkit.
class QtUserDialogs : public UserDialogs {
public:
    QString ChooseFile(QWidget* parent, const FileRequest& request) override;
    QString ChooseSaveFile(QWidget* parent, const FileRequest& request) override;
    QColor ChooseColour(QWidget* parent, const QColor& initial, const QString& title) override;
    void ShowError(QWidget* parent, const QString& caption, const QString& text) override;
    void ShowMessage(QWidget* parent, const QString& caption, const QString& text) override;
    bool Ask(QWidget* parent, const QString& caption, const QString& question) override;
    void RunModal(QDialog& dialog) override;
    void OpenUrl(const QUrl& url) override;
};
