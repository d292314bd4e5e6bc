// The editor: names the application, opens the main window and runs it until it is closed.

#include "ui/ErrorBox.h"
#include "ui/FirstPaintProbe.h"
#include "ui/MainForm.h"
#include "ui/UserDialogs.h"
#include "ui/WindowFont.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
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
