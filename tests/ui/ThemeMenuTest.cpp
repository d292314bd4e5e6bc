// The "Тема" menu's windows and the files dropped on the main window.

#include "TestWorkspace.h"
#include "package/ColourScheme.h"
#include "ui/ColourSchemeWindow.h"
#include "ui/MainForm.h"
#include "ui/ThemeOverview.h"

#include <QApplication>
#include <QCheckBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QProgressBar>
#include <QTest>

class ThemeMenuTest : public QObject {
    Q_OBJECT

private slots:
    void colourSchemeWindowUsedInTheTheme();
    void schemeBreakingTheFormatIsNamedInTheStatusBar();
    void themesFolderOpensInTheFileManager();
    void droppedFiles_data();
    void droppedFiles();
    void dropDuringABuildIsRefused();
    void overviewFollowsTheDocument();
    void openingATheme();
    void droppedThemeOpensAndAsksFirst();
};

namespace {

// What a file manager hands over when a file is dropped on target.
bool Drop(QWidget* target, const QString& file) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(file)});
    const QPointF at = QRect(QPoint(), target->size()).center();
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

// A small theme made by Python's zipfile: a wallpaper, a melody, a file of no slot, and a
// descriptor that also names a file the archive lacks.
QString SmallTheme(const Workspace& workspace) {
    const QString wallpaper = workspace.Picture("wall.png", 240, 320);
    const QString archive = workspace.Media("Зима.sdt");
    const char* script = R"(import sys, zipfile
wallpaper, archive = sys.argv[1], sys.argv[2]
config = ('<?xml version="1.0"?>\n<package>\n<summary>\n'
          '<txt name="Title:" content="Зимняя"/>\n<txt name="Author:" content="Морвейн"/>\n'
          '</summary>\n<format type="theme" version="1.1">\n'
          '<res name="text_colors" src="SkinScheme.col"/>\n'
          '<res name="standard_ringtone" src="standard_ringtone.mid"/>\n'
          '<res name="idle_wallpaper" src="idle_wallpaper.png"/>\n'
          '<res name="wait_animation" src="wait_animation.gif"/>\n'
          '</format>\n</package>\n').encode('cp1251')
with zipfile.ZipFile(archive, 'w') as z:
    z.write(wallpaper, 'idle_wallpaper.png')
    z.writestr('standard_ringtone.mid', b'MThd')
    z.writestr('readme.txt', b'not a slot')
    z.writestr('config.spc', config)
)";
    QProcess python;
    python.start(PYTHON, {"-c", QString::fromUtf8(script), wallpaper, archive});
    python.waitForFinished();
    if (python.exitCode() != 0)
        qWarning("%s", python.readAllStandardError().constData());
    return archive;
}

std::string Staged(const Workspace& workspace, const char* name) {
    return (workspace.Temp() + "/" + name).toStdString();
}

} // namespace

void ThemeMenuTest::colourSchemeWindowUsedInTheTheme() {
    Workspace workspace;
    FakeDialogs dialogs;
    const QString saved = workspace.Media("mine.col");
    dialogs.saveAnswers << saved;
    dialogs.colourAnswers << QColor(1, 2, 3);
    dialogs.onModal = [](QDialog& dialog) {
        auto* window = qobject_cast<ColourSchemeWindow*>(&dialog);
        QVERIFY(window);
        QCOMPARE(window->Scheme().Name, std::string("DeepBlue")); // the scheme in use
        window->ChooseRowColour(0);
        window->UseInThemeClick();
    };
    TForm1 form(dialogs, workspace.Program());

    form.findChild<QAction*>("ColourSchemeItem")->trigger();

    QCOMPARE(dialogs.modalRuns, 1);
    QVERIFY(!Find<QCheckBox>(form, "CheckBox1")->isChecked());
    QCOMPARE(Find<QLineEdit>(form, "CSEdit")->text(), saved);
    QVERIFY(Find<QLineEdit>(form, "CSEdit")->isEnabled());
    const std::string staged = Staged(workspace, "SkinScheme.col");
    QCOMPARE(form.State().FilesList, PackageList{staged});
    QFile file(QString::fromStdString(staged));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().startsWith("ColourScheme DeepBlue\n"));

    // Opened again, the window shows the custom scheme now in use.
    dialogs.onModal = [](QDialog& dialog) {
        auto* window = qobject_cast<ColourSchemeWindow*>(&dialog);
        QCOMPARE(window->Scheme().Rows[0].Red, std::uint8_t(1));
    };
    form.findChild<QAction*>("ColourSchemeItem")->trigger();
    QCOMPARE(dialogs.modalRuns, 2);
    // The build packs the saved bytes, and the descriptor lists the scheme as a custom choice.
    form.show();
    ChooseEverySlot(workspace, dialogs, form);
    Find<QLineEdit>(form, "TNEdit")->setText("Своя");
    QTest::mouseClick(Find(form, "TCButton"), Qt::LeftButton);
    QCOMPARE(form.StatusText(), QString("Сделано!!!"));
    QProcess python;
    python.start(PYTHON, {"-c",
                          "import sys, zipfile\n"
                          "z = zipfile.ZipFile(sys.argv[1])\n"
                          "assert z.read('SkinScheme.col') == open(sys.argv[2], 'rb').read()\n"
                          "spc = z.read('config.spc').decode('cp1251')\n"
                          "assert '<res name=\"SkinScheme\"\\tsrc=\"SkinScheme.col\"/>' in spc\n",
                          workspace.Program() + "Своя.sdt", saved});
    QVERIFY(python.waitForFinished());
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
}

void ThemeMenuTest::schemeBreakingTheFormatIsNamedInTheStatusBar() {
    Workspace workspace;
    FakeDialogs dialogs;
    const QString good = workspace.File(
        "good.col", QByteArray(DefaultColourScheme.data(), DefaultColourScheme.size()));
    const QString bad = workspace.File("bad.col", "ColourScheme Bad\n");
    dialogs.answers << good << bad;
    TForm1 form(dialogs, workspace.Program());
    const QString welcome = form.StatusText();
    QTest::mouseClick(Find(form, "CheckBox1"), Qt::LeftButton);

    QTest::mouseClick(Find(form, "SpeedButton2"), Qt::LeftButton);
    QCOMPARE(form.StatusText(), welcome);
    QTest::mouseClick(Find(form, "SpeedButton2"), Qt::LeftButton);
    QVERIFY2(form.StatusText().contains("bad.col"), qPrintable(form.StatusText()));
    // Staged all the same, byte for byte.
    QFile staged(QString::fromStdString(Staged(workspace, "SkinScheme.col")));
    QVERIFY(staged.open(QIODevice::ReadOnly));
    QCOMPARE(staged.readAll(), QByteArray("ColourScheme Bad\n"));
}

void ThemeMenuTest::themesFolderOpensInTheFileManager() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.findChild<QAction*>("ThemesFolderItem")->trigger();
    QCOMPARE(dialogs.openedUrls, QList<QUrl>{QUrl::fromLocalFile(workspace.Program())});
}

void ThemeMenuTest::droppedFiles_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("staged"); // empty: nothing is taken
    QTest::newRow("picture on its field") << "Edit7"
                                          << "sky.png"
                                          << "idle_wallpaper.png";
    QTest::newRow("melody on its field") << "Edit0"
                                         << "ring.mid"
                                         << "standard_ringtone.mid";
    QTest::newRow("scheme on the scheme group") << "GroupBox3"
                                                << "mine.col"
                                                << "SkinScheme.col";
    QTest::newRow("scheme on the check box") << "CheckBox1"
                                             << "mine.col"
                                             << "SkinScheme.col";
    QTest::newRow("picture on the scheme group") << "GroupBox3"
                                                 << "sky.png"
                                                 << "";
}

void ThemeMenuTest::droppedFiles() {
    QFETCH(QString, target);
    QFETCH(QString, file);
    QFETCH(QString, staged);
    Workspace workspace;
    const QString path =
        file.endsWith(".png") ? workspace.Picture(file) : workspace.File(file, "data\n");
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();

    Drop(Find(form, target), path);

    QVERIFY(dialogs.errorTexts.isEmpty());
    QVERIFY(dialogs.requests.isEmpty()); // no dialog: the drop is the choice
    if (staged.isEmpty()) {
        QVERIFY(form.State().FilesList.empty());
        return;
    }
    QCOMPARE(form.State().FilesList, PackageList{Staged(workspace, qPrintable(staged))});
    if (target.startsWith("Edit")) {
        const int slot = target.mid(4).toInt();
        QCOMPARE(Find<QLineEdit>(form, target)->text(), path);
        QCOMPARE(int(form.State().SlotChosen[slot]), 1);
        QVERIFY(workspace.Log().contains("\"" + path + "\" is choosed as "));
        // A picture shows in the preview as after a double-click.
        QCOMPARE(!Find<QLabel>(form, "Image2")->pixmap().isNull(), slot == 7);
    } else {
        QVERIFY(!Find<QCheckBox>(form, "CheckBox1")->isChecked());
        QCOMPARE(Find<QLineEdit>(form, "CSEdit")->text(), path);
    }
}

void ThemeMenuTest::dropDuringABuildIsRefused() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    ChooseEverySlot(workspace, dialogs, form);
    Find<QLineEdit>(form, "TNEdit")->setText("busy");
    const QString late = workspace.Picture("late.png");
    std::size_t listedDuringBuild = 0;
    // The first repaint while packing stands for a drop arriving then.
    bool dropped = false;
    QObject::connect(Find<QProgressBar>(form, "ProgressBar1"), &QProgressBar::valueChanged, &form,
                     [&] {
                         if (dropped)
                             return;
                         dropped = true;
                         Drop(Find(form, "Edit7"), late);
                         listedDuringBuild = form.State().FilesList.size();
                     });
    QTest::mouseClick(Find(form, "TCButton"), Qt::LeftButton);
    QVERIFY(dropped);
    QVERIFY(listedDuringBuild > 0);
    QVERIFY(!Find<QLineEdit>(form, "Edit7")->text().endsWith("late.png"));
    QVERIFY(!workspace.Log().contains("late.png"));
}

void ThemeMenuTest::overviewFollowsTheDocument() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    QVERIFY(!form.Overview());

    form.findChild<QAction*>("OverviewItem")->trigger();
    ThemeOverview* overview = form.Overview();
    QVERIFY(overview && overview->isVisible());
    QVERIFY(overview->Report(7).Missing());

    // A choice in the main window shows at once.
    dialogs.answers << workspace.Picture("wide.png", 250, 10);
    DoubleClick(Find(form, "Edit7"));
    QVERIFY(!overview->Report(7).Missing());
    QCOMPARE(overview->Report(7).facts.width, 250);

    // Activating an element chooses its file as a double-click on its field does.
    dialogs.answers << workspace.Picture("bar.png", 240, 32);
    emit overview->elementActivated(8);
    QCOMPARE(dialogs.requests.size(), 2);
    QVERIFY(dialogs.requests.last().previewPane);
    QCOMPARE(int(form.State().SlotChosen[8]), 1);
    QCOMPARE(overview->Report(8).facts.height, 32);
}

void ThemeMenuTest::openingATheme() {
    Workspace workspace;
    const QString archive = SmallTheme(workspace);
    FakeDialogs dialogs;
    dialogs.answers << archive;
    TForm1 form(dialogs, workspace.Program());
    form.show();

    auto* open = form.findChild<QAction*>("OpenThemeItem");
    QCOMPARE(open->shortcut(), QKeySequence(QKeySequence::Open));
    open->trigger();

    // Nothing was chosen yet, so nothing is asked.
    QVERIFY(dialogs.questions.isEmpty());
    QCOMPARE(dialogs.requests.last().filters.first().patterns, QStringList{"*.sdt"});
    QCOMPARE(Find<QLineEdit>(form, "TNEdit")->text(), QString("Зимняя"));
    QCOMPARE(Find<QLineEdit>(form, "TAEdit")->text(), QString("Морвейн"));
    QCOMPARE(Find<QLineEdit>(form, "Edit7")->text(), archive + "/idle_wallpaper.png");
    QCOMPARE(Find<QLineEdit>(form, "Edit0")->text(), archive + "/standard_ringtone.mid");
    QCOMPARE(int(form.State().SlotChosen[7]), 1);
    QCOMPARE(int(form.State().SlotChosen[0]), 1);
    QCOMPARE(form.State().FilesList, PackageList({Staged(workspace, "standard_ringtone.mid"),
                                                  Staged(workspace, "idle_wallpaper.png")}));
    QVERIFY(Find<QCheckBox>(form, "CheckBox1")->isChecked());
    // The wallpaper shows in the preview, at its place.
    QVERIFY(!Find<QLabel>(form, "Image2")->pixmap().isNull());
    QCOMPARE(Find(form, "Image2")->pos(), QPoint(5, 5));
    // One message lists what the theme could not place.
    QCOMPARE(dialogs.messageTexts.size(), 1);
    const QString message = dialogs.messageTexts.first();
    QVERIFY2(message.contains("readme.txt"), qPrintable(message));
    QVERIFY(message.contains("wait_animation.gif"));
    QVERIFY(message.contains("switch_on_animation"));
    QVERIFY(dialogs.errorTexts.isEmpty());
}

void ThemeMenuTest::droppedThemeOpensAndAsksFirst() {
    Workspace workspace;
    const QString archive = SmallTheme(workspace);
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    Find<QLineEdit>(form, "TNEdit")->setText("Моя");

    // Work would be lost: the user is asked, and "No" keeps it.
    dialogs.replies << false;
    Drop(Find(form, "Edit7"), archive); // a theme goes past the slot field to the window
    QCOMPARE(dialogs.questions, QStringList{"Открыть тему и отказаться от текущих изменений?"});
    QCOMPARE(Find<QLineEdit>(form, "TNEdit")->text(), QString("Моя"));
    QVERIFY(form.State().FilesList.empty());

    dialogs.replies << true;
    Drop(Find(form, "TabbedNotebook1"), archive);
    QCOMPARE(dialogs.questions.size(), 2);
    QCOMPARE(Find<QLineEdit>(form, "TNEdit")->text(), QString("Зимняя"));
    QCOMPARE(form.State().FilesList.size(), 2u);
    QVERIFY(dialogs.errorTexts.isEmpty());
}

QTEST_MAIN(ThemeMenuTest)
#include "ThemeMenuTest.moc"
