// Makes docs/screenshot.png: the editor with the demo theme's files chosen, on the pictures page
// with the wallpaper in the phone-screen preview; then, switched to English,
// docs/screenshot-en.png. Prints how long each picture choice took from the double-click to the
// preview being painted. Run under a real display:
//   xvfb-run -a build/bin/docs_screenshot demo docs/screenshot.png docs/screenshot-en.png

#include "FakeDialogs.h"
#include "ui/MainForm.h"
#include "ui/Translations.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: docs_screenshot DEMO_FOLDER RUSSIAN.png ENGLISH.png\n");
        return 2;
    }
    // Both are named relative to where the program was started, which it leaves below.
    const QDir demo(QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath());
    const QString russian = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    const QString english = QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath();
    QTemporaryDir program;
    QDir(program.path()).mkdir("temp");
    for (const char* descriptions : {"descr.ini", "descr_en.ini"})
        QFile::copy(QString(KESTROVA_SOURCE_DIR) + "/resources/" + descriptions,
                    program.path() + "/" + descriptions);
    QDir::setCurrent(program.path());

    FakeDialogs dialogs;
    TForm1 form(dialogs, program.path() + "/");
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    auto* notebook = form.findChild<QTabWidget*>("TabbedNotebook1");
    notebook->setCurrentIndex(2);
    form.findChild<QLineEdit*>("TNEdit")->setText("Demo Kestrova");

    // The wallpaper last, so that it is the picture left in the preview.
    QList<int> order;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (slot != 7)
            order << slot;
    order << 7;
    for (int slot : order) {
        const QStringList found = demo.entryList(
            {QString::fromLatin1(SlotNames[slot].data(), qsizetype(SlotNames[slot].size())) +
             ".*"});
        if (found.isEmpty())
            continue;
        dialogs.answers << demo.absoluteFilePath(found.first());
        auto* field = form.findChild<QLineEdit*>(QString::fromStdString(SlotFieldName(slot)));
        QElapsedTimer timer;
        timer.start();
        if (SlotLayouts[slot].kind == skMelody)
            form.ChooseMelodyClick(field);
        else
            form.ChoosePictureClick(field);
        if (SlotLayouts[slot].kind == skPicture) {
            form.findChild<QLabel*>("Image2")->repaint();
            std::printf("%-45s %6.2f ms to preview\n", qPrintable(found.first()),
                        timer.nsecsElapsed() / 1e6);
        }
    }
    for (const QString& error : dialogs.errorTexts)
        std::fprintf(stderr, "error: %s\n", qPrintable(error));
    QTest::qWait(200);
    if (!form.grab().save(russian, "PNG"))
        return 1;
    SetLanguage(Language::English);
    QTest::qWait(200);
    return form.grab().save(english, "PNG") ? 0 : 1;
}
