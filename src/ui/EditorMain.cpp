// The editor: names the application, opens the main window and runs it until it is closed.

#include "ErrorBox.h"
#include "FirstPaintProbe.h"
#include "MainForm.h"
#include "Translations.h"
#include "UserDialogs.h"
#include "WindowFont.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    InstallToolkitTranslations(application);
    QApplication::setApplicationName(QString::fromUtf8(ApplicationTitle));
    QApplication::setFont(WindowFont());

    QtUserDialogs dialogs;
    int result;
    {
        TForm1 form(dialogs, QCoreApplication::applicationDirPath() + "/");
        form.adjustSize();
        const QRect screen = form.screen()->availableGeometry();
        form.move(screen.center() - form.rect().center());
        form.show();
        WatchFirstPaint(form);
        result = QApplication::exec();
    } // FormDestroy runs here, while the application still stands
    return result;
}
