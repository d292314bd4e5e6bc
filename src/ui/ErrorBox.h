#pragma once
// The one place where a failure that ends a handler becomes the error box.

#include <functional>
#include <string>

class QWidget;
class UserDialogs;

/// The application's title, also the error box's caption.
inline constexpr char ApplicationTitle[] = "EL71 Kestrova by Morvane";

void ShowErrorBox(UserDialogs& dialogs, QWidget* parent, const std::string& message);

/// Runs an event handler; a failure ends it there and is shown in the error box.
void RunHandler(UserDialogs& dialogs, QWidget* parent, const std::function<void()>& handler);
