// The editor window, driven through its controls with the file dialogs and message boxes
// replaced by FakeDialogs.

#include "FakeDialogs.h"
#include "package/Errors.h"
#include "package/ThemeBuild.h"
#include "ui/ErrorBox.h"
#include "ui/FileFilters.h"
#include "ui/HelpUnit.h"
#include "ui/MainForm.h"
#include "ui/PictureDialog.h"
#include "ui/WebLinks.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

/// A program folder with its staging folder, a separate current folder for the log and the
/// help file, and a folder of media to choose from.
class Workspace {
public:
    Workspace() {
        QDir root(dir_.path());
        root.mkpath("program/temp");
        root.mkpath("cwd");
        root.mkpath("media");
        saved_ = QDir::currentPath();
        QDir::setCurrent(Cwd());
    }
    ~Workspace() { QDir::setCurrent(saved_); }

    QString Program() const { return dir_.path() + "/program/"; }
    QString Temp() const { return dir_.path() + "/program/temp"; }
    QString Cwd() const { return dir_.path() + "/cwd"; }
    QString Media(const QString& name) const { return dir_.path() + "/media/" + name; }

    QString Picture(const QString& name, int width = 32, int height = 16) const {
        if (name.endsWith(".gif")) // Qt reads GIF but cannot write it: a 1 x 1 picture
            return File(name, QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff"
                                         "\xff\xff,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02"
                                         "\x02D\x01\x00;",
                                         35));
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString format = QFileInfo(name).suffix().toUpper();
        image.save(Media(name), format == "JPG" ? "JPEG" : format.toLatin1().constData());
        return Media(name);
    }
    QString File(const QString& name, const QByteArray& bytes) const {
        QFile file(Media(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return Media(name);
    }
    QString Log() const {
        QFile file(Cwd() + "/trelvask.log");
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }

private:
    QTemporaryDir dir_;
    QString saved_;
};

template <class T = QWidget> T* Find(QWidget& form, const QString& name) {
    T* widget = form.findChild<T*>(name);
    if (!widget)
        qWarning("no control %s", qPrintable(name));
    return widget;
}

QString Text(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    return {};
}

void DoubleClick(QWidget* field) {
    QTest::mouseDClick(field, Qt::LeftButton);
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void controlInventory_data();
    void controlInventory();
    void windowFrameAndMenu();
    void startState();
    void focusOrderOnEachPage_data();
    void focusOrderOnEachPage();
    void slotChoice_data();
    void slotChoice();
    void cancelledChoiceChangesNothing_data();
    void cancelledChoiceChangesNothing();
    void choiceFailures_data();
    void choiceFailures();
    void colourSchemeControls();
    void pictureDialogFiltersAndPreviewPane();
    void buildChecksAndCompleteBuild();
    void inputDuringBuildWaitsForItsEnd();
    void helpFile_data();
    void helpFile();
    void fieldExitLogging();
    void aboutBox();
    void bannersOpenTheirPages();
    void errorBoxPeriodRule_data();
    void errorBoxPeriodRule();
    void startAndEndFailuresShowTheBox();
};

void MainWindowTest::controlInventory_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("text");
    auto row = [](const char* name, QRect geometry, const char* text = "") {
        QTest::newRow(name) << QString(name) << geometry << QString::fromUtf8(text);
    };
    row("Client", {0, 0, 946, 510});
    row("Panel1", {10, 8, 174, 311});
    row("Image1", {10, 10, 154, 291});
    row("TCButton", {8, 328, 177, 49}, "Создать тему");
    row("GroupBox3", {8, 384, 833, 81}, "Цветовая схема");
    row("CheckBox1", {8, 24, 361, 17},
        "Использовать цветовую схему по умолчанию (из темы DeepBlue)");
    row("CSEdit", {136, 46, 633, 21});
    row("SpeedButton2", {776, 46, 41, 22}, "...");
    row("Image3", {848, 392, 88, 31});
    row("Image4", {848, 430, 88, 31});
    row("TabbedNotebook1", {192, 8, 745, 369});
    row("ProgressBar1", {0, 472, 946, 19});
    row("StatusBar1", {0, 491, 946, 19});
    row("TNEdit", {16, 48, 161, 21});
    row("TAEdit", {16, 120, 161, 21});
    row("TDEdit", {16, 192, 161, 21});
    row("TVEdit", {240, 48, 161, 21}, "1.0");
    row("TREdit", {240, 120, 161, 21}, "240x320 pixels");
    row("TVendEdit", {240, 192, 161, 21});
    row("TPEdit", {472, 48, 161, 21}, "0");
    row("TUEdit", {472, 120, 161, 21});
    row("Edit0", {8, 32, 697, 21});
    row("Edit37", {8, 288, 697, 21});
    row("Edit6", {8, 16, 225, 21});
    row("Edit21", {8, 304, 225, 21});
    row("Edit22", {248, 16, 225, 21});
    row("Edit35", {248, 304, 225, 21});
    row("Panel2", {480, 5, 250, 330});
    row("Image2", {5, 5, 240, 320});
    row("Edit4", {16, 24, 689, 21});
    row("Edit17", {16, 144, 689, 21});
    row("Edit13", {16, 224, 689, 21});
    row("Edit36", {16, 264, 689, 21});
}

void MainWindowTest::controlInventory() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, text);
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    QWidget* control = Find(form, name);
    QVERIFY(control);
    QCOMPARE(control->geometry(), geometry);
    if (!text.isEmpty())
        QCOMPARE(Text(control), text);
}

void MainWindowTest::windowFrameAndMenu() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.windowTitle(), QString("Benq-Siemens EL71 Kestrova by Morvane (beta version)"));
    QCOMPARE(form.minimumSize(), form.maximumSize()); // cannot be resized
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(form.centralWidget()->size(), QSize(946, 510));
    QCOMPARE(form.font().pixelSize(), 11);

    auto* notebook = Find<QTabWidget>(form, "TabbedNotebook1");
    QStringList tabs;
    for (int page = 0; page < notebook->count(); ++page)
        tabs << notebook->tabText(page);
    QCOMPARE(tabs, QStringList({"Настройки", "Мелодии", "Картинки", "Анимация"}));

    QStringList menus;
    for (QAction* menu : form.menuBar()->actions()) {
        QStringList items;
        for (QAction* item : menu->menu()->actions())
            items << item->text();
        menus << menu->text() + ": " + items.join(", ");
    }
    QCOMPARE(menus, QStringList({"&Файл: &Выход", "С&правка: Помощь, О программе"}));

    QCOMPARE(form.StatusText(), QString("Вас приветствует Kestrova для Benq-Siemens EL71!"));
    QCOMPARE(Find(form, "StatusPanel0")->width(), 350);
    QCOMPARE(Text(Find(form, "StatusPanel1")), QString());
    QCOMPARE(Find(form, "StatusPanel1")->width(), 50);
    auto* progress = Find<QProgressBar>(form, "ProgressBar1");
    QCOMPARE(progress->minimum(), 0);
    QCOMPARE(progress->maximum(), 100);
    QCOMPARE(progress->value(), 0);
    QVERIFY(Find<QLineEdit>(form, "TREdit")->isReadOnly());
    QCOMPARE(Find(form, "Image3")->toolTip(), QString("Сайт автора"));
    QCOMPARE(Find(form, "Image4")->toolTip(), QString("Фан-клуб e/el71"));
    QVERIFY(!Find<QLabel>(form, "Image1")->pixmap().isNull());

    // "Выход" closes the window without asking.
    form.findChild<QAction*>("N6")->trigger();
    QVERIFY(!form.isVisible());
}

void MainWindowTest::startState() {
    Workspace workspace;
    QFile ini(workspace.Program() + "descr.ini");
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[DESCRIPTIONS]\nd0=Мелодия звонка\nD37=  \"Список рассылки\"  \n");
    ini.close();
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());

    QVERIFY(dialogs.errorTexts.isEmpty());
    QCOMPARE(Text(Find(form, "Edit0")), QString("Мелодия звонка"));
    QCOMPARE(Find(form, "Edit0")->toolTip(), QString("Мелодия звонка"));
    QCOMPARE(Text(Find(form, "Edit37")), QString("Список рассылки"));
    // A slot without a description starts empty and shows no hint.
    QCOMPARE(Text(Find(form, "Edit5")), QString());
    QCOMPARE(Find(form, "Edit5")->toolTip(), QString());
    QCOMPARE(Find<QTabWidget>(form, "TabbedNotebook1")->currentIndex(), 0);
    QCOMPARE(QString::fromStdString(form.State().TempDir), workspace.Temp());
    QVERIFY(form.State().FilesList.empty());
    for (auto flag : form.State().SlotChosen)
        QCOMPARE(flag, 0);
    const QString date = Text(Find(form, "TDEdit"));
    QVERIFY2(QRegularExpression("^\\d{4}-[1-9]\\d?-[1-9]\\d?$").match(date).hasMatch(),
             qPrintable(date));
    QVERIFY(workspace.Log().endsWith(" - program started!\n"));
    QVERIFY(Find<QCheckBox>(form, "CheckBox1")->isChecked());
    QVERIFY(!Find(form, "CSEdit")->isEnabled());
    QVERIFY(!Find(form, "SpeedButton2")->isEnabled());
}

void MainWindowTest::focusOrderOnEachPage_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("order");
    QTest::newRow("Настройки") << 0 << QStringList{"TNEdit", "TAEdit",    "TDEdit", "TVEdit",
                                                   "TREdit", "TVendEdit", "TPEdit", "TUEdit"};
    QTest::newRow("Мелодии") << 1 << QStringList{"Edit0", "Edit1", "Edit2", "Edit3", "Edit37"};
    QStringList pictures;
    for (int slot : {6,  7,  8,  9,  11, 12, 14, 15, 16, 18, 19, 20, 21,
                     22, 23, 24, 25, 27, 28, 29, 30, 31, 32, 33, 34, 35})
        pictures << QString("Edit%1").arg(slot);
    QTest::newRow("Картинки") << 2 << pictures;
    QTest::newRow("Анимация") << 3 << QStringList{"Edit4",  "Edit5",  "Edit10", "Edit13",
                                                  "Edit36", "Edit26", "Edit17"};
}

void MainWindowTest::focusOrderOnEachPage() {
    QFETCH(int, page);
    QFETCH(QStringList, order);
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Find<QTabWidget>(form, "TabbedNotebook1")->setCurrentIndex(page);

    // Tab from the button runs through the colour-scheme group and the tabs into the page.
    Find(form, "TCButton")->setFocus(Qt::TabFocusReason);
    QList<QWidget*> visited;
    for (int step = 0; step < order.size() + 2; ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    QCOMPARE(visited[0]->objectName(), QString("CheckBox1")); // CSEdit is disabled
    QVERIFY(qobject_cast<QTabBar*>(visited[1]));
    QStringList fields;
    for (QWidget* widget : visited.mid(2))
        fields << widget->objectName();
    QCOMPARE(fields, order);
}

void MainWindowTest::slotChoice_data() {
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

void MainWindowTest::slotChoice() {
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

void MainWindowTest::cancelledChoiceChangesNothing_data() {
    QTest::addColumn<QString>("field");
    QTest::newRow("melody dialog") << "Edit1";
    QTest::newRow("picture dialog") << "Edit7";
}

void MainWindowTest::cancelledChoiceChangesNothing() {
    QFETCH(QString, field);
    Workspace workspace;
    FakeDialogs dialogs;
    dialogs.answers << workspace.Picture("first.png") << "";
    TForm1 form(dialogs, workspace.Program());
    DoubleClick(Find(form, "Edit9")); // a preview to keep
    const QString text = Text(Find(form, field));
    const QString log = workspace.Log();
    const EditorState before = form.State();
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

void MainWindowTest::choiceFailures_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("stagingFolder");
    QTest::addColumn<QString>("message"); // "%1" stands for the chosen path, "%2" the staged one
    QTest::addColumn<bool>("chosen");     // staged, listed, logged and marked
    QTest::newRow("MP3 typed into a picture slot")
        << "Edit7"
        << "song.mp3" << true << "Unknown picture file extension (.mp3)" << true;
    QTest::newRow("picture without extension")
        << "Edit12"
        << "noext" << true << "Unknown picture file extension (.)" << true;
    QTest::newRow("damaged PNG") << "Edit7"
                                 << "broken.png" << true << "Cannot show picture \"%2\": " << true;
    QTest::newRow("missing file typed in")
        << "Edit0"
        << "" << true << "Cannot open file \"%1\". No such file or directory." << false;
    QTest::newRow("staging folder missing")
        << "Edit6"
        << "bar.png" << false << "Cannot create file \"%2\". No such file or directory." << false;
}

void MainWindowTest::choiceFailures() {
    QFETCH(QString, field);
    QFETCH(QString, file);
    QFETCH(bool, stagingFolder);
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
    if (!stagingFolder)
        QDir(workspace.Temp()).removeRecursively();
    FakeDialogs dialogs;
    dialogs.answers << workspace.Picture("shown.png") << source;
    TForm1 form(dialogs, workspace.Program());
    DoubleClick(Find(form, "Edit9"));
    if (!stagingFolder) {
        dialogs.errorCaptions.clear();
        dialogs.errorTexts.clear();
    }
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
    QCOMPARE(form.State().FilesList.size(), listed + (chosen ? 1 : 0));
    QCOMPARE(int(form.State().SlotChosen[slot]), chosen ? 1 : 0);
    QCOMPARE(workspace.Log().contains("\"" + source + "\" is choosed as "), chosen);
    // A failed load leaves the preview hidden; a failure before it leaves the preview alone.
    if (stagingFolder)
        QCOMPARE(Find(form, "Image2")->isHidden(), chosen && slot != 0);
}

void MainWindowTest::colourSchemeControls() {
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

void MainWindowTest::pictureDialogFiltersAndPreviewPane() {
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
}

namespace {

/// Answers one dialog per slot with a file that suits it, in slot order.
void ChooseEverySlot(Workspace& workspace, FakeDialogs& dialogs, TForm1& form) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        const QString name = QString("slot%1").arg(slot);
        dialogs.answers << (SlotLayouts[slot].kind == skMelody
                                ? workspace.File(name + ".mid", QByteArray(300, char(slot)))
                                : workspace.Picture(name + ".png", 40 + slot, 20));
        DoubleClick(Find(form, QString::fromStdString(SlotFieldName(slot))));
    }
}

} // namespace

void MainWindowTest::buildChecksAndCompleteBuild() {
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

void MainWindowTest::inputDuringBuildWaitsForItsEnd() {
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

void MainWindowTest::helpFile_data() {
    QTest::addColumn<QString>("present"); // "file", "folder" or ""
    QTest::newRow("missing") << "";
    QTest::newRow("present") << "file";
    QTest::newRow("folder of that name") << "folder";
}

void MainWindowTest::helpFile() {
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

void MainWindowTest::fieldExitLogging() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto* title = Find<QLineEdit>(form, "TNEdit");
    const QString date = Find<QLineEdit>(form, "TDEdit")->text();
    const QString start = workspace.Log();

    const std::pair<const char*, const char*> visits[] = {
        {"TNEdit", "Aurora"}, {"TAEdit", ""},         {"TNEdit", ""}, {"TCButton", ""},
        {"TDEdit", ""},       {"TVEdit", "2.0"},      {"TREdit", ""}, {"TVendEdit", ""},
        {"TPEdit", "5"},      {"TUEdit", "http://x"}, {"TNEdit", ""},
    };
    for (const auto& [name, typed] : visits) {
        QWidget* control = Find(form, name);
        control->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(control, typed);
    }
    // Every move to another control logs the field left, changed or not; the button and the
    // read-only resolution field log nothing.
    QCOMPARE(workspace.Log(), start +
                                  "The Name of theme change to Aurora\n"
                                  "The Author of theme change to \n"
                                  "The Name of theme change to Aurora\n"
                                  "The Creation date of theme change to " +
                                  date +
                                  "\n"
                                  "The Version of theme change to 1.02.0\n"
                                  "The Vendor of theme change to \n"
                                  "The Price of theme change to 05\n"
                                  "The URL of theme change to http://x\n");

    // Switching to another window and back writes nothing.
    const QString before = workspace.Log();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(title->hasFocus(), true);
    QCOMPARE(workspace.Log(), before);
}

void MainWindowTest::aboutBox() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
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

void MainWindowTest::bannersOpenTheirPages() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    const QString status = form.StatusText();
    QTest::mouseClick(Find(form, "Image3"), Qt::LeftButton);
    QTest::mouseClick(Find(form, "Image4"), Qt::LeftButton);
    QCOMPARE(dialogs.openedUrls, QList<QUrl>({QUrl(MakerSiteUrl), QUrl(FanClubUrl)}));
    QCOMPARE(form.StatusText(), status);
    QVERIFY(form.State().FilesList.empty());
}

void MainWindowTest::errorBoxPeriodRule_data() {
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

void MainWindowTest::errorBoxPeriodRule() {
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

void MainWindowTest::startAndEndFailuresShowTheBox() {
    Workspace workspace;
    // A folder where the log should be: the log cannot be opened.
    QDir(workspace.Cwd()).mkdir("trelvask.log");
    FakeDialogs dialogs;
    {
        TForm1 form(dialogs, workspace.Program());
        QCOMPARE(dialogs.errorTexts.size(), 1);
        // Everything before the log was done, and the window still opens.
        QVERIFY(!Find<QLineEdit>(form, "TDEdit")->text().isEmpty());
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
    }
    QCOMPARE(dialogs.errorTexts.size(), 2);
    QCOMPARE(dialogs.errorTexts.last(), QString("I/O error 103."));
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
