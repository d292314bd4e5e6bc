#pragma once
// The languages of the interface. The window is Russian; the toolkit's own dialogs (the file
// dialogs' titles and buttons) speak the same language through Qt's translations.

class QCoreApplication;

/// Installs Qt's own Russian texts. False when the toolkit's translations are not installed, in
/// which case its dialogs stay English.
bool InstallToolkitTranslations(QCoreApplication& application);
