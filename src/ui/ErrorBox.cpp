#include "ErrorBox.h"

#include "UserDialogs.h"
#include "package/Errors.h"

#include <exception>

void ShowErrorBox(UserDialogs& dialogs, QWidget* parent, const std::string& message) {
    dialogs.ShowError(parent, QString::fromUtf8(ApplicationTitle),
                      QString::fromStdString(ErrorBoxText(message)));
}

void RunHandler(UserDialogs& dialogs, QWidget* parent, const std::function<void()>& handler) {
    // Exceptions must not cross the toolkit's event loop, so every handler ends here.
    try {
        handler();
    } catch (const std::exception& error) {
        ShowErrorBox(dialogs, parent, error.what());
    }
}
