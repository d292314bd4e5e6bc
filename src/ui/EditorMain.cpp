// The editor: names the application, opens the main window and runs it until it is closed.

#include "ErrorBox.h"
#include "FirstPaintProbe.h"
#include "MainForm.h"
#include "Translations.h"
#include "UserDialogs.h"
#include "WindowFont.h"
#include "app/FolderLayout.h"
#include "app/ProgramFolder.h"

#include <QApplication>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // Before any window or box, so that all of them open in the language chosen last time.
    SetLanguage(RememberedLanguage());
    QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    QApplication::setFont(WindowFont());
    // Lets the desktop match the window with its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.morvane.Kestrova"));

    QtUserDialogs dialogs;
    const FolderLayout layout =
        ChooseFolderLayout(ProgramFolder(), CurrentFolder(), ReadEnvironment());
    // Without its folders the window still opens; every choice then names what is missing.
    RunHandler(dialogs, nullptr, [&] { CreateUserFolders(layout); });
    int result;
    {
        TForm1 form(dialogs, layout);
        form.adjustSize();
        const QRect screen = form.screen()->availableGeometry();
        form.move(screen.center() - form.rect().center());
        form.show();
        WatchFirstPaint(form);
        // "kestrova THEME.sdt", as a desktop entry passes a file it opens.
        const QStringList arguments = QCoreApplication::arguments();
        if (arguments.size() > 1)
            QTimer::singleShot(
                0, &form, [&form, path = QFileInfo(arguments.at(1)).absoluteFilePath()] {
                    RunHandler(form.Dialogs(), &form, [&] { form.OpenThemeFile(path); });
                });
        result = QApplication::exec();
    } // FormDestroy runs here, while the application still stands
    return result;
}
