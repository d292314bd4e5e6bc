// The colour-scheme controls and "Создать тему" run from the window.

#include "TestWorkspace.h"
#include "app/FolderLayout.h"
#include "package/ThemeBuild.h"
#include "ui/MainForm.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QTest>

class BuildTest : public QObject {
    Q_OBJECT

private slots:
    void colourSchemeControls();
    void buildChecksAndCompleteBuild();
    void failedBuildShowsTheBoxAndFreesTheButton();
    void inputDuringBuildWaitsForItsEnd();
    void installedCopyWritesIntoTheUsersFolders();
};

void BuildTest::colourSchemeControls() {
    Workspace workspace;
    const QString scheme = workspace.File("blue.col", "ColourScheme Blue\n");
    FakeDialogs dialogs;
    dialogs.answers << "" << scheme << scheme;
    TForm1 form(dialogs, workspace.Program());
    auto* check = Find<QCheckBox>(form, "CheckBox1");
    auto* edit = Find<QLineEdit>(form, "CSEdit");
    auto* button = Find<QAbstractButton>(form, "SpeedButton2");
    form.show();

    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(!check->isChecked());
    QVERIFY(edit->isEnabled());
    QVERIFY(button->isEnabled());

    QTest::mouseClick(button, Qt::LeftButton); // cancelled
    QCOMPARE(edit->text(), QString());
    QVERIFY(form.State().FilesList.empty());
    const FileRequest& request = dialogs.requests.first();
    QCOMPARE(request.title, QString("Выберите файл цветовой схемы"));
    QCOMPARE(request.filters.size(), 1);
    QCOMPARE(request.filters.first().text, QString("Цветовая схема (*.col)"));
    QVERIFY(request.mustExist);

    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(edit->text(), scheme);
    const std::string staged = (workspace.Temp() + "/SkinScheme.col").toStdString();
    QCOMPARE(form.State().FilesList, PackageList({staged, staged}));
    QFile copy(QString::fromStdString(staged));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("ColourScheme Blue\n"));

    // Checking the box again only disables the controls; the path stays.
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(!edit->isEnabled());
    QVERIFY(!button->isEnabled());
    QCOMPARE(edit->text(), scheme);
    QCOMPARE(form.State().FilesList.size(), 2u);
    QVERIFY(!workspace.Log().contains("SkinScheme"));
}

void BuildTest::buildChecksAndCompleteBuild() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    auto* button = Find(form, "TCButton");
    auto* progress = Find<QProgressBar>(form, "ProgressBar1");

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(form.StatusText(), QString("Не хватает элементов темы!"));

    for (int choice = 0; choice < 10; ++choice)
        dialogs.answers << workspace.File("ring.mid", "MThd");
    for (int choice = 0; choice < 10; ++choice)
        DoubleClick(Find(form, "Edit0"));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(form.StatusText(), QString("Не все настройки темы установлены!"));
    QCOMPARE(progress->value(), 0);

    ChooseEverySlot(workspace, dialogs, form);
    QVERIFY(dialogs.errorTexts.isEmpty());
    Find<QLineEdit>(form, "TNEdit")->setText("Северное сияние");
    Find<QLineEdit>(form, "TAEdit")->setText("Morvane");
    QTest::mouseClick(button, Qt::LeftButton);

    QVERIFY2(dialogs.errorTexts.isEmpty(), qPrintable(dialogs.errorTexts.join('\n')));
    QCOMPARE(form.StatusText(), QString("Сделано!!!"));
    QCOMPARE(progress->value(), 100);
    QVERIFY(button->isEnabled());
    const QString archive = workspace.Program() + "Северное сияние.sdt";
    QVERIFY(QFileInfo(archive).isFile());
    QVERIFY(QDir(workspace.Temp()).entryList(QDir::Files).isEmpty());

    // Python's zipfile reads the archive back on its own.
    QProcess python;
    python.start(PYTHON, {"-c",
                          "import sys, zipfile\n"
                          "z = zipfile.ZipFile(sys.argv[1])\n"
                          "assert z.testzip() is None\n"
                          "names = z.namelist()\n"
                          "spc = z.read('config.spc').decode('cp1251')\n"
                          "assert 'Morvane' in spc, spc\n"
                          "print(len(names), 'SkinScheme.col' in names)\n",
                          archive});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.readAllStandardError(), QByteArray());
    QCOMPARE(python.readAllStandardOutput().trimmed(), QByteArray("40 True"));
}

void BuildTest::failedBuildShowsTheBoxAndFreesTheButton() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    ChooseEverySlot(workspace, dialogs, form);
    // A title naming a folder that does not exist: the archive cannot be created.
    Find<QLineEdit>(form, "TNEdit")->setText("no/such/folder");
    auto* button = Find<QAbstractButton>(form, "TCButton");
    const int staged = QDir(workspace.Temp()).entryList(QDir::Files).size();

    button->click();

    QCOMPARE(dialogs.errorCaptions, QStringList{"EL71 Kestrova by Morvane"});
    QVERIFY2(dialogs.errorTexts.first().startsWith("Cannot create file \"" + workspace.Program() +
                                                   "no/such/folder.sdt"),
             qPrintable(dialogs.errorTexts.first()));
    QCOMPARE(form.StatusText(), QString("В процессе..."));
    QCOMPARE(Find<QProgressBar>(form, "ProgressBar1")->value(), 0);
    // Nothing is deleted: the staged files, the scheme and the descriptor stay.
    QCOMPARE(QDir(workspace.Temp()).entryList(QDir::Files).size(), staged + 2);
    QVERIFY(!form.Building());
    QVERIFY(button->isEnabled());

    // The next press builds again.
    Find<QLineEdit>(form, "TNEdit")->setText("second");
    button->click();
    QCOMPARE(form.StatusText(), QString("Сделано!!!"));
    QVERIFY(QFileInfo(workspace.Program() + "second.sdt").isFile());
}

void BuildTest::inputDuringBuildWaitsForItsEnd() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    ChooseEverySlot(workspace, dialogs, form);
    Find<QLineEdit>(form, "TNEdit")->setText("busy");
    const int requests = dialogs.requests.size();

    // What the event loop delivers while the build runs: a second click, a slot choice, a
    // scheme choice and a close.
    auto* button = Find<QAbstractButton>(form, "TCButton");
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &form, [&] { form.ChoosePictureClick(Find<QLineEdit>(form, "Edit7")); },
        Qt::QueuedConnection);
    QMetaObject::invokeMethod(&form, &TForm1::SpeedButton2Click, Qt::QueuedConnection);
    QMetaObject::invokeMethod(&form, &QWidget::close, Qt::QueuedConnection);
    dialogs.answers << workspace.Picture("late.png");
    button->click();

    QCOMPARE(form.StatusText(), QString("Сделано!!!"));
    QCOMPARE(dialogs.requests.size(), requests); // no dialog opened during the build
    QVERIFY(form.State().FilesList.empty());
    QVERIFY(QFileInfo(workspace.Program() + "busy.sdt").isFile());
    QVERIFY(form.isVisible());
    QTRY_VERIFY(!form.isVisible()); // the deferred close follows
}

void BuildTest::installedCopyWritesIntoTheUsersFolders() {
    Workspace workspace;
    // An install into a prefix: the program in bin/, its data in share/kestrova/, nothing
    // beside the program, and a home of the test's own.
    const QString prefix = workspace.Media("prefix");
    QDir().mkpath(prefix + "/bin");
    QDir().mkpath(prefix + "/share/kestrova");
    QFile ini(prefix + "/share/kestrova/descr.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[descriptions]\nd7=Обои\n");
    ini.close();
    const QString home = workspace.Media("home");
    QDir().mkpath(home);
    Environment env;
    env.home = home.toStdString();
    env.xdgDataHome = (home + "/data").toStdString();
    env.xdgDocumentsDir = (home + "/Документы").toStdString();
    const FolderLayout layout =
        ChooseFolderLayout((prefix + "/bin/").toStdString(), (home + "/").toStdString(), env);
    QVERIFY(layout.installed);
    CreateUserFolders(layout);

    FakeDialogs dialogs;
    {
        TForm1 form(dialogs, layout);
        form.show();
        QCOMPARE(Find<QLineEdit>(form, "Edit7")->toolTip(), QString("Обои"));
        ChooseEverySlot(workspace, dialogs, form);
        Find<QLineEdit>(form, "TNEdit")->setText("Дома");
        QTest::mouseClick(Find(form, "TCButton"), Qt::LeftButton);
        QCOMPARE(form.StatusText(), QString("Сделано!!!"));
        QVERIFY(dialogs.errorTexts.isEmpty());
    }
    // The theme in the documents folder, the log in the data folder (the editor was started in
    // the home folder), nothing beside the program or in the current folder.
    QVERIFY(QFileInfo(home + "/Документы/Kestrova/Дома.sdt").isFile());
    QFile log(home + "/data/kestrova/trelvask.log");
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(log.readAll().contains("is choosed as idle_wallpaper"));
    QVERIFY(QDir(home + "/data/kestrova/temp").exists());
    QCOMPARE(QDir(prefix + "/bin").entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList());
    QVERIFY(!QFileInfo(workspace.Cwd() + "/trelvask.log").exists());
}

QTEST_MAIN(BuildTest)
#include "BuildTest.moc"
