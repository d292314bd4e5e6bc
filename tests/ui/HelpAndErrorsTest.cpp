// The help file, the about box and the error box.

#include "TestWorkspace.h"
#include "package/Errors.h"
#include "ui/ErrorBox.h"
#include "ui/HelpUnit.h"
#include "ui/MainForm.h"
#include "ui/UserDialogs.h"
#include "ui/WebLinks.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>

class HelpAndErrorsTest : public QObject {
    Q_OBJECT

private slots:
    void helpFile_data();
    void helpFile();
    void aboutBox();
    void errorBoxPeriodRule_data();
    void errorBoxPeriodRule();
    void errorBoxShowsItsCaptionOverTheWindow();
};

void HelpAndErrorsTest::helpFile_data() {
    QTest::addColumn<QString>("present"); // "file", "folder" or ""
    QTest::newRow("missing") << "";
    QTest::newRow("present") << "file";
    QTest::newRow("folder of that name") << "folder";
}

void HelpAndErrorsTest::helpFile() {
    QFETCH(QString, present);
    Workspace workspace;
    // The program's folder does not count: help is looked up in the current folder.
    QFile(workspace.Program() + "help.chm").open(QIODevice::WriteOnly);
    if (present == "file")
        QFile(workspace.Cwd() + "/help.chm").open(QIODevice::WriteOnly);
    if (present == "folder")
        QDir(workspace.Cwd()).mkdir("help.chm");
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());

    form.findChild<QAction*>("N10")->trigger();

    if (present == "file") {
        QVERIFY(dialogs.errorTexts.isEmpty());
        QCOMPARE(dialogs.openedUrls, QList<QUrl>{QUrl::fromLocalFile(
                                         QDir(workspace.Cwd()).absoluteFilePath("help.chm"))});
    } else {
        QVERIFY(dialogs.openedUrls.isEmpty());
        QCOMPARE(dialogs.errorCaptions, QStringList{"Error"});
        QCOMPARE(dialogs.errorTexts, QStringList{"Файл справки отсутствует!!!"});
    }
}

void HelpAndErrorsTest::aboutBox() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    // The box is centred on the screen, not on the window that opens it.
    form.show();
    form.move(0, 0);
    QStringList looks;
    auto look = [&looks](QLabel* link) {
        looks << QString("%1 %2").arg(link->palette().color(QPalette::WindowText).name(),
                                      link->font().underline() ? "underlined" : "plain");
    };
    dialogs.onModal = [&](QDialog& box) {
        QCOMPARE(box.windowTitle(), QString("About Benq-Siemens EL71 Kestrova"));
        QCOMPARE(box.size(), QSize(434, 328));
        auto* link = box.findChild<QLabel*>("Label1");
        QCOMPARE(link->text(), QString("Morvane"));
        QCOMPARE(link->geometry().topLeft(), QPoint(176, 94));
        look(link);
        box.show();
        // Within the few pixels of a window frame the toolkit may add.
        const QPoint offCentre =
            box.geometry().center() - box.screen()->availableGeometry().center();
        QVERIFY2(offCentre.manhattanLength() <= 8,
                 qPrintable(QString("%1, %2").arg(offCentre.x()).arg(offCentre.y())));
        // The panel is etched: a lowered outer line, then a raised inner one.
        const QImage shot = box.grab().toImage();
        auto grey = [&shot](int x, int y) { return qGray(shot.pixel(x, y)); };
        QVERIFY(grey(8, 8) < grey(9, 9));
        QVERIFY(grey(8 + 416, 8 + 280) > grey(8 + 415, 8 + 279));
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(link, &enter);
        look(link);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(link, &leave);
        look(link);
        QTest::mouseMove(link, QPoint(3, 3));
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), link->mapToGlobal(QPointF(3, 3)),
                         Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(link, &move);
        look(link);
        QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::keyClick(&box, Qt::Key_Escape);
        QVERIFY(box.isVisible()); // no cancel button, so Escape does nothing
    };

    form.findChild<QAction*>("N11")->trigger();
    form.findChild<QAction*>("N11")->trigger();

    QCOMPARE(dialogs.modalRuns, 2);
    const QStringList once{"#0000ff plain", "#ff0000 underlined", "#0000ff plain",
                           "#ff0000 underlined"};
    QCOMPARE(looks, once + once);
    QCOMPARE(dialogs.openedUrls, QList<QUrl>({QUrl(MakerSiteUrl), QUrl(MakerSiteUrl)}));
}

void HelpAndErrorsTest::errorBoxPeriodRule_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Stream write error"
                            << "Stream write error.";
    QTest::newRow("digit") << "I/O error 32"
                           << "I/O error 32.";
    QTest::newRow("Cyrillic") << "Ошибка"
                              << "Ошибка.";
    QTest::newRow("period") << "Done."
                            << "Done.";
    QTest::newRow("exclamation") << "Стоп!"
                                 << "Стоп!";
    QTest::newRow("parenthesis") << "Unknown picture file extension (.mp3)"
                                 << "Unknown picture file extension (.mp3)";
    QTest::newRow("blank") << "trailing "
                           << "trailing ";
    QTest::newRow("empty") << ""
                           << "";
}

void HelpAndErrorsTest::errorBoxPeriodRule() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    FakeDialogs dialogs;
    bool after = false;
    RunHandler(dialogs, nullptr, [&] {
        throw StreamError(message.toStdString());
        after = true;
    });
    QVERIFY(!after);
    QCOMPARE(dialogs.errorCaptions, QStringList{"EL71 Kestrova by Morvane"});
    QCOMPARE(dialogs.errorTexts, QStringList{shown});
}

void HelpAndErrorsTest::errorBoxShowsItsCaptionOverTheWindow() {
    QWidget window;
    window.setGeometry(300, 200, 500, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget hidden; // a window still being made, as at start-up
    hidden.setGeometry(0, 0, 500, 400);
    QtUserDialogs dialogs;
    // Over the window once it is shown; before that, in the middle of the screen.
    for (QWidget* owner : {&window, &hidden, static_cast<QWidget*>(nullptr)}) {
        QRect shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            shown = box->frameGeometry();
            box->accept();
        });
        ShowErrorBox(dialogs, owner, "I/O error 32");
        const QRect area =
            owner == &window ? window.frameGeometry() : window.screen()->availableGeometry();
        // Within the few pixels a window frame adds.
        QVERIFY((shown.center() - area.center()).manhattanLength() <= 8);
        // The whole caption fits beside the title bar's icon and close box.
        QVERIFY(shown.width() >= window.fontMetrics().horizontalAdvance(ApplicationTitle) + 120);
    }
}

QTEST_MAIN(HelpAndErrorsTest)
#include "HelpAndErrorsTest.moc"
