// The main window's controls, focus order, start and end, and the log lines written when the
// focus leaves a metadata field.

#include "TestWorkspace.h"
#include "ui/HelpUnit.h"
#include "ui/MainForm.h"
#include "ui/WebLinks.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QRegularExpression>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void controlInventory_data();
    void controlInventory();
    void labels_data();
    void labels();
    void windowFrameAndMenu();
    void startState();
    void focusOrderOnEachPage_data();
    void focusOrderOnEachPage();
    void fieldExitLogging();
    void bannersOpenTheirPages();
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

void MainWindowTest::labels_data() {
    // Labels take their caption's size, so only their top-left corner is fixed.
    QTest::addColumn<bool>("about"); // in the about box's panel rather than the main window
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QString>("caption");
    auto row = [](bool about, const char* name, QPoint position, const char* caption) {
        QTest::addRow("%s %s", about ? "about" : "main", name)
            << about << QString(name) << position << QString::fromUtf8(caption);
    };
    row(false, "Label1", {16, 24}, "Название:");
    row(false, "Label2", {16, 96}, "Автор:");
    row(false, "Label3", {16, 168}, "Дата создания:");
    row(false, "Label4", {240, 24}, "Версия темы:");
    row(false, "Label5", {240, 96}, "Разрешение");
    row(false, "Label6", {240, 168}, "Продавец:");
    row(false, "Label7", {472, 24}, "Цена:");
    row(false, "Label8", {472, 96}, "URL:");
    row(false, "Label9", {8, 48}, "Файл цветовой схемы:");
    row(true, "ProductName", {88, 16}, "Benq-Siemens EL71 Kestrova by Morvane");
    row(true, "Version", {88, 42}, "Version 1.0.3.0 (beta-version)");
    row(true, "Label9", {88, 68}, "Дата релиза:");
    row(true, "Label10", {176, 68}, "30.07.2007");
    row(true, "Comments", {88, 120}, "Comments:");
    row(true, "Label2", {8, 136},
        "Данная версия предназначена для тестирования на совместимость с телефонами "
        "Benq-Siemens E71 и EL71.");
    row(true, "Label5", {8, 176},
        "В настоящей версии программы не реализовано много возможностей тем для телефонов "
        "Benq-Siemens. В частности, нет возможности изменить цветовую схему. Если кто-то "
        "владеет информацией по поводу расшифровки цветовой схемы и хочет помочь развитию "
        "проекта, обращайтесь к автору. :-)");
}

void MainWindowTest::labels() {
    QFETCH(bool, about);
    QFETCH(QString, name);
    QFETCH(QPoint, position);
    QFETCH(QString, caption);
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    TAboutBox box(dialogs, nullptr);
    QWidget& window = about ? static_cast<QWidget&>(box) : form;
    auto* label = Find<QLabel>(window, name);
    QVERIFY(label);
    QCOMPARE(label->pos(), position);
    QCOMPARE(label->text(), caption);
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
    // Between "Файл", which keeps its one item, and "Справка": the theme as a whole.
    QCOMPARE(menus, QStringList({"&Файл: &Выход",
                                 "&Тема: &Открыть тему…, , Обзор темы…, Цветовая схема…, , "
                                 "Папка с темами",
                                 "&Язык: Русский, English", "С&правка: Помощь, О программе"}));

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
    // Shown from its beginning: the cursor, and so the visible part, is at the start.
    QCOMPARE(Find<QLineEdit>(form, "Edit0")->cursorPosition(), 0);
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
    QTest::addColumn<bool>("ownScheme"); // the scheme field is enabled and joins the order
    const QStringList settings{"TNEdit", "TAEdit",    "TDEdit", "TVEdit",
                               "TREdit", "TVendEdit", "TPEdit", "TUEdit"};
    QTest::newRow("Настройки") << 0 << settings << false;
    QTest::newRow("Настройки, own scheme") << 0 << settings << true;
    QTest::newRow("Мелодии") << 1 << QStringList{"Edit0", "Edit1", "Edit2", "Edit3", "Edit37"}
                             << false;
    QStringList pictures;
    for (int slot : {6,  7,  8,  9,  11, 12, 14, 15, 16, 18, 19, 20, 21,
                     22, 23, 24, 25, 27, 28, 29, 30, 31, 32, 33, 34, 35})
        pictures << QString("Edit%1").arg(slot);
    QTest::newRow("Картинки") << 2 << pictures << false;
    QTest::newRow("Анимация") << 3 << QStringList{"Edit4",  "Edit5",  "Edit10", "Edit13",
                                                  "Edit36", "Edit26", "Edit17"}
                              << false;
}

void MainWindowTest::focusOrderOnEachPage() {
    QFETCH(int, page);
    QFETCH(QStringList, order);
    QFETCH(bool, ownScheme);
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));
    Find<QTabWidget>(form, "TabbedNotebook1")->setCurrentIndex(page);
    if (ownScheme)
        QTest::mouseClick(Find(form, "CheckBox1"), Qt::LeftButton);

    // Tab from the button runs through the colour-scheme group and the tabs into the page.
    Find(form, "TCButton")->setFocus(Qt::TabFocusReason);
    QList<QWidget*> visited;
    const int group = ownScheme ? 2 : 1;
    for (int step = 0; step < group + 1 + order.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget();
    }
    if (ownScheme)
        QCOMPARE(visited[0]->objectName(), QString("CSEdit"));
    QCOMPARE(visited[group - 1]->objectName(), QString("CheckBox1"));
    QVERIFY(qobject_cast<QTabBar*>(visited[group]));
    QStringList fields;
    for (QWidget* widget : visited.mid(group + 1))
        fields << widget->objectName();
    QCOMPARE(fields, order);
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

    // Nor does opening the menu bar, with Alt or with a click, and closing it again.
    QTest::keyClick(title, Qt::Key_Alt);
    QTest::keyClick(form.menuBar(), Qt::Key_Escape);
    QTest::mouseClick(form.menuBar(), Qt::LeftButton, {},
                      form.menuBar()->actionGeometry(form.menuBar()->actions().first()).center());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QApplication::processEvents();
    QCOMPARE(workspace.Log(), before);
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
