#pragma once
// The about box and the help document.

#include "Captions.h"

#include <QDialog>

class ClickLabel;
class UserDialogs;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    TAboutBox(UserDialogs& dialogs, QWidget* parent);

    void Label1Click();
    void Label1MouseMove();
    void Label1MouseLeave();

protected:
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Captions captions_{"TAboutBox"};
    UserDialogs& dialogs_;
    ClickLabel* Label1;
};

/// Opens the help document (a bare name is looked up in the current folder), or reports it
/// missing.
void OpenHelpFile(UserDialogs& dialogs, QWidget* owner, const QString& path);
