// Choosing a file for a slot: staging, listing, logging, marking and the phone-screen preview.

#include "TestWorkspace.h"
#include "ui/FileFilters.h"
#include "ui/MainForm.h"
#include "ui/OpenFileDialog.h"
#include "ui/Translations.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

class SlotChoiceTest : public QObject {
    Q_OBJECT

private slots:
    void slotChoice_data();
    void slotChoice();
    void cancelledChoiceChangesNothing_data();
    void cancelledChoiceChangesNothing();
    void choiceFailures_data();
    void choiceFailures();
    void pictureDialogFiltersAndPreviewPane();
    void realDialogAnswers_data();
    void realDialogAnswers();
    void dialogWithoutFolder();
    void toolkitDialogsSpeakRussian();
};

void SlotChoiceTest::slotChoice_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("staged");
    QTest::addColumn<QPoint>("preview"); // (-1, -1): the preview stays as it was
    QTest::newRow("melody") << "Edit0"
                            << "Ring.MID"
                            << "standard_ringtone.MID" << QPoint(-1, -1);
    QTest::newRow("melody 37") << "Edit37"
                               << "list.mp3"
                               << "standard_distlist_ringtone.mp3" << QPoint(-1, -1);
    QTest::newRow("progress bar") << "Edit6"
                                  << "bar.png"
                                  << "progressbar.png" << QPoint(19, 139);
    QTest::newRow("wallpaper") << "Edit7"
                               << "wall.jpg"
                               << "idle_wallpaper.jpg" << QPoint(5, 5);
    QTest::newRow("upper-case PNG") << "Edit8"
                                    << "BOTTOM.PNG"
                                    << "background_picture_bottom_fullscreen.PNG" << QPoint(5, 293);
    QTest::newRow("bitmap icon") << "Edit15"
                                 << "hint.bmp"
                                 << "feedback_icon_hint.bmp" << QPoint(96, 88);
    QTest::newRow("GIF") << "Edit31"
                         << "thumb.gif"
                         << "thumbnail_icon.gif" << QPoint(5, 5);
    QTest::newRow("picture in animation slot") << "Edit4"
                                               << "on.gif"
                                               << "switch_on_animation.gif" << QPoint(-1, -1);
}

void SlotChoiceTest::slotChoice() {
    QFETCH(QString, field);
    QFETCH(QString, file);
    QFETCH(QString, staged);
    QFETCH(QPoint, preview);
    Workspace workspace;
    const bool melody = file.endsWith(".MID") || file.endsWith(".mp3");
    const QString source = melody ? workspace.File(file, "MThd") : workspace.Picture(file);
    FakeDialogs dialogs;
    dialogs.answers << source;
    TForm1 form(dialogs, workspace.Program());
    auto* image2 = Find<QLabel>(form, "Image2");
    const QString logBefore = workspace.Log();

    DoubleClick(Find(form, field));

    QVERIFY2(dialogs.errorTexts.isEmpty(), qPrintable(dialogs.errorTexts.join('\n')));
    QCOMPARE(dialogs.requests.size(), 1);
    const FileRequest& request = dialogs.requests.first();
    QCOMPARE(request.directory, workspace.Program());
    QCOMPARE(request.title, melody ? QString("Выберите файл...") : QString());
    QCOMPARE(request.filters.first().text,
             melody ? QString("Музыкальные файлы")
                    : QString("All (*.gif;*.png;*.jpg;*.jpeg;*.bmp;*.ico)"));
    QCOMPARE(Text(Find(form, field)), source);
    const QString stagedPath = workspace.Temp() + "/" + staged;
    QVERIFY(QFileInfo(stagedPath).isFile());
    QCOMPARE(QFileInfo(stagedPath).size(), QFileInfo(source).size());
    QCOMPARE(form.State().FilesList, PackageList{stagedPath.toStdString()});
    const QString resource = staged.left(staged.indexOf('.'));
    QCOMPARE(workspace.Log(), logBefore + "\"" + source + "\" is choosed as " + resource + "\n");
    const int slot = field.mid(4).toInt();
    for (int n = 0; n < SlotCount; ++n)
        QCOMPARE(int(form.State().SlotChosen[n]), n == slot ? 1 : 0);
    if (preview == QPoint(-1, -1)) {
        QCOMPARE(image2->pos(), QPoint(5, 5));
        QVERIFY(image2->pixmap().isNull());
    } else {
        QCOMPARE(image2->pos(), preview);
        QVERIFY(!image2->isHidden());
        // Drawn at its own size, not stretched to the screen.
        QCOMPARE(image2->pixmap().size(), QImage(source).size());
    }

    // A second choice proposes the last file again and adds a second entry.
    dialogs.answers << source;
    DoubleClick(Find(form, field));
    QCOMPARE(dialogs.requests.last().lastFile, source);
    QCOMPARE(form.State().FilesList.size(), 2u);
}

void SlotChoiceTest::cancelledChoiceChangesNothing_data() {
    QTest::addColumn<QString>("field");
    QTest::newRow("melody dialog") << "Edit1";
    QTest::newRow("picture dialog") << "Edit7";
}

void SlotChoiceTest::cancelledChoiceChangesNothing() {
    QFETCH(QString, field);
    Workspace workspace;
    FakeDialogs dialogs;
    dialogs.answers << workspace.Picture("first.png") << "";
    TForm1 form(dialogs, workspace.Program());
    DoubleClick(Find(form, "Edit9")); // a preview to keep
    const QString text = Text(Find(form, field));
    const QString log = workspace.Log();
    const ThemeDocument before = form.State();
    const QPoint previewAt = Find(form, "Image2")->pos();

    DoubleClick(Find(form, field));

    QCOMPARE(dialogs.requests.size(), 2);
    QCOMPARE(Text(Find(form, field)), text);
    QCOMPARE(form.State().FilesList, before.FilesList);
    QVERIFY(form.State().SlotChosen == before.SlotChosen);
    QCOMPARE(workspace.Log(), log);
    QCOMPARE(QDir(workspace.Temp()).entryList(QDir::Files).size(), 1);
    QCOMPARE(Find(form, "Image2")->pos(), previewAt);
    QVERIFY(!Find(form, "Image2")->isHidden());
    QVERIFY(dialogs.errorTexts.isEmpty());
}

void SlotChoiceTest::choiceFailures_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("broken");  // "staging folder" or "log": made unusable beforehand
    QTest::addColumn<QString>("message"); // "%1" stands for the chosen path, "%2" the staged one
    QTest::addColumn<bool>("chosen");     // logged and marked, besides staged and listed
    QTest::newRow("MP3 typed into a picture slot")
        << "Edit7"
        << "song.mp3"
        << ""
        << "Unknown picture file extension (.mp3)" << true;
    QTest::newRow("picture without extension") << "Edit12"
                                               << "noext"
                                               << ""
                                               << "Unknown picture file extension (.)" << true;
    QTest::newRow("damaged PNG") << "Edit7"
                                 << "broken.png"
                                 << ""
                                 << "Cannot show picture \"%2\": " << true;
    QTest::newRow("missing file typed in")
        << "Edit0"
        << ""
        << ""
        << "Cannot open file \"%1\". No such file or directory." << false;
    QTest::newRow("staging folder missing")
        << "Edit6"
        << "bar.png"
        << "staging folder"
        << "Cannot create file \"%2\". No such file or directory." << false;
    // Staged and listed, but neither logged nor marked, and the preview is left alone.
    QTest::newRow("log not open") << "Edit6"
                                  << "bar.png"
                                  << "log"
                                  << "I/O error 103." << false;
}

void SlotChoiceTest::choiceFailures() {
    QFETCH(QString, field);
    QFETCH(QString, file);
    QFETCH(QString, broken);
    QFETCH(QString, message);
    QFETCH(bool, chosen);
    Workspace workspace;
    QString source;
    if (file.isEmpty())
        source = workspace.Media("nothing-here.mid");
    else if (file.endsWith(".png") && !file.startsWith("broken"))
        source = workspace.Picture(file);
    else
        source = workspace.File(file, "not a picture at all");
    if (broken == "staging folder")
        QDir(workspace.Temp()).removeRecursively();
    if (broken == "log") // a folder in the log's place: the log cannot be opened
        QDir(workspace.Cwd()).mkdir("trelvask.log");
    FakeDialogs dialogs;
    dialogs.answers << workspace.Picture("shown.png") << source;
    TForm1 form(dialogs, workspace.Program());
    DoubleClick(Find(form, "Edit9"));
    // What the broken folder or log did before the choice under test is not its subject.
    dialogs.errorCaptions.clear();
    dialogs.errorTexts.clear();
    const std::size_t listed = form.State().FilesList.size();

    DoubleClick(Find(form, field));

    const int slot = field.mid(4).toInt();
    const QString staged = workspace.Temp() + "/" +
                           QString::fromStdString(SlotResourceName(field.toStdString())) +
                           (file.contains('.') ? file.mid(file.lastIndexOf('.')) : "");
    QCOMPARE(dialogs.errorCaptions, QStringList{"EL71 Kestrova by Morvane"});
    QVERIFY2(dialogs.errorTexts.first().startsWith(
                 QString(message).replace("%1", source).replace("%2", staged)),
             qPrintable(dialogs.errorTexts.first()));
    QCOMPARE(Text(Find(form, field)), source);
    QCOMPARE(form.State().FilesList.size(), listed + (chosen || broken == "log" ? 1 : 0));
    QCOMPARE(int(form.State().SlotChosen[slot]), chosen ? 1 : 0);
    QCOMPARE(workspace.Log().contains("\"" + source + "\" is choosed as "), chosen);
    // A failed load leaves the preview hidden; a failure before it leaves the preview alone.
    QCOMPARE(Find(form, "Image2")->isHidden(), chosen && slot != 0);
}

void SlotChoiceTest::pictureDialogFiltersAndPreviewPane() {
    Workspace workspace;
    const QString picture = workspace.Picture("wall.png", 400, 200);
    FileRequest request;
    request.filters = PictureFilters();
    request.directory = workspace.Media("");
    request.previewPane = true;
    OpenFileDialog dialog(nullptr, request);

    QStringList shown;
    for (const FileFilter& filter : request.filters)
        shown << filter.text;
    QCOMPARE(dialog.nameFilters(), shown);
    QCOMPARE(shown, QStringList({"All (*.gif;*.png;*.jpg;*.jpeg;*.bmp;*.ico)", "GIF-Format (*.gif)",
                                 "Portable Network Graphics (*.png)", "JPEG Image File (*.jpg)",
                                 "JPEG Image File (*.jpeg)", "Bitmaps (*.bmp)", "Icons (*.ico)"}));
    // The joined patterns of "All" match each format, although the text joins them with ";".
    auto* model = dialog.findChild<QFileSystemModel*>();
    QVERIFY(model);
    QCOMPARE(model->nameFilters(), request.filters.first().patterns);
    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    QVERIFY(types);
    types->setCurrentIndex(1);
    emit types->activated(1);
    QCOMPARE(model->nameFilters(), QStringList{"*.gif"});

    emit dialog.currentChanged(picture);
    auto* pane = dialog.findChild<QWidget*>("PreviewPane");
    QVERIFY(pane);
    const auto labels = pane->findChildren<QLabel*>();
    QCOMPARE(labels.size(), 2);
    QCOMPARE(labels[1]->text(), QString("400 x 200"));
    QCOMPARE(labels[0]->pixmap().size(), QSize(200, 100)); // scaled to fit, proportions kept

    // The pane widens the dialog rather than narrowing its file list.
    request.previewPane = false;
    OpenFileDialog plain(nullptr, request);
    plain.show();
    dialog.show();
    QCOMPARE(dialog.findChild<QWidget*>("treeView")->width(),
             plain.findChild<QWidget*>("treeView")->width());
}

void SlotChoiceTest::realDialogAnswers_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("returned"); // relative to the media folder
    QTest::newRow("existing picture") << "shown.png" << true << "shown.png";
    QTest::newRow("name of a missing file") << "missing.mp3" << true << "missing.mp3";
    QTest::newRow("cancelled") << "shown.png" << false << "";
}

void SlotChoiceTest::realDialogAnswers() {
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QString, returned);
    Workspace workspace;
    workspace.Picture("shown.png");
    FileRequest request;
    request.filters = PictureFilters();
    request.directory = workspace.Media("");
    request.previewPane = true;

    // The toolkit's dialog runs its own loop; answer it from inside that loop.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name);
        name->setText(typed);
        if (accept)
            QTest::keyClick(name, Qt::Key_Return);
        else
            dialog->reject();
    });
    QtUserDialogs dialogs;
    const QString chosen = dialogs.ChooseFile(nullptr, request);
    QCOMPARE(chosen, returned.isEmpty() ? QString() : workspace.Media(returned));
}

void SlotChoiceTest::dialogWithoutFolder() {
    // The scheme dialog names no folder: it opens where the toolkit would, never on the list of
    // drives.
    Workspace workspace;
    FileRequest request;
    request.filters = ColourSchemeFilters();
    request.mustExist = true;
    OpenFileDialog dialog(nullptr, request);
    auto* model = dialog.findChild<QFileSystemModel*>();
    QVERIFY(model);
    QVERIFY2(QFileInfo(model->rootPath()).isDir(), qPrintable(model->rootPath()));
    QCOMPARE(model->rootPath(), dialog.directory().absolutePath());
}

void SlotChoiceTest::toolkitDialogsSpeakRussian() {
    QVERIFY(SetLanguage(Language::Russian));
    FileRequest request;
    request.filters = PictureFilters();
    OpenFileDialog dialog(nullptr, request);
    // The picture dialog has no title of its own, so the toolkit's shows, in Russian.
    QCOMPARE(dialog.windowTitle(), QString("Открыть"));
    QCOMPARE(dialog.labelText(QFileDialog::Reject), QString("Отмена"));
}

QTEST_MAIN(SlotChoiceTest)
#include "SlotChoiceTest.moc"
