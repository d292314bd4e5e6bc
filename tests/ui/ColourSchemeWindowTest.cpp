// The colour-scheme window: swatches and numbers, opening and saving .col files, handing the
// saved file to the theme, and the status line after a scheme file is chosen.

#include "ui/ColourSchemeWindow.h"

#include "TestWorkspace.h"
#include "package/ColourScheme.h"
#include "package/ColourSchemeFile.h"
#include "ui/ColourSchemeProblems.h"
#include "ui/FileFilters.h"
#include "ui/MainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QListWidget>
#include <QProcess>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

namespace {

enum { Swatch, Red, Green, Blue, Fourth };

const QByteArray DeepBlue(DefaultColourScheme.data(), qsizetype(DefaultColourScheme.size()));

QString Cell(QTableWidget* table, int row, int column) {
    return table->item(row, column)->text();
}

QStringList RowTexts(QTableWidget* table, int row) {
    return {Cell(table, row, Red), Cell(table, row, Green), Cell(table, row, Blue),
            Cell(table, row, Fourth)};
}

void DoubleClickCell(QTableWidget* table, int row, int column) {
    table->scrollToItem(table->item(row, column));
    const QPoint centre = table->visualItemRect(table->item(row, column)).center();
    // The view takes a double-click only on the item that was pressed, and the test's
    // double-click sends no press of its own.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, centre);
}

// Typed one character at a time, as a keyboard layout delivers them; the test's own key clicks
// know only ASCII.
void Type(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

ColourSchemeReading ReadSaved(const QString& path) {
    return ReadColourScheme(ReadColourSchemeBytes(path.toStdString()));
}

QByteArray Replaced(QByteArray bytes, const QByteArray& from, const QByteArray& to) {
    return bytes.replace(bytes.indexOf(from), from.size(), to);
}

QStringList ListedProblems(ColourSchemeWindow& window) {
    auto* list = Find<QListWidget>(window, "ProblemsList");
    if (list->isHidden())
        return {};
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void Click(ColourSchemeWindow& window, const char* button) {
    QTest::mouseClick(Find(window, button), Qt::LeftButton);
}

} // namespace

class ColourSchemeWindowTest : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheBuiltInScheme();
    void editSwatchesNumbersAndNameThenSave();
    void defaultRestoresDeepBlue();
    void openingAFile_data();
    void openingAFile();
    void useInThemeSavesFirstAndCallsBack();
    void theBuildPacksTheSchemeUsedInTheTheme();
    void statusAfterAChoice_data();
    void statusAfterAChoice();
    void realSaveDialog_data();
    void realSaveDialog();
    void realColourDialog_data();
    void realColourDialog();
};

void ColourSchemeWindowTest::opensOnTheBuiltInScheme() {
    FakeDialogs dialogs;
    ColourSchemeWindow window(dialogs, DefaultColourScheme, {});
    window.show();
    auto* table = Find<QTableWidget>(window, "RowsTable");

    QCOMPARE(window.windowTitle(), QString("Цветовая схема"));
    QCOMPARE(Text(Find(window, "NameEdit")), QString("DeepBlue"));
    QCOMPARE(table->rowCount(), 60);
    QCOMPARE(table->model()->headerData(59, Qt::Vertical).toString(), QString("60"));
    QCOMPARE(table->item(1, Swatch)->background().color(), QColor(5, 17, 26));
    QCOMPARE(RowTexts(table, 1), (QStringList{"005", "017", "026", "100"}));
    QCOMPARE(RowTexts(table, 6), (QStringList{"000", "000", "000", "000"}));
    QCOMPARE(Text(Find(window, "LengthAndCrc")), QString("Length 960, CRC 2220169258"));
    QCOMPARE(ListedProblems(window), QStringList());
    QVERIFY(Find(window, "ProblemsCaption")->isHidden());
    QCOMPARE(window.SavedPath(), QString());
    const QStringList buttons = {"Открыть…", "По умолчанию", "Сохранить как…",
                                 "Использовать в теме", "Закрыть"};
    QStringList shown;
    for (const char* name :
         {"OpenButton", "DefaultButton", "SaveAsButton", "UseInThemeButton", "CloseButton"})
        shown << Text(Find(window, name));
    QCOMPARE(shown, buttons);
}

void ColourSchemeWindowTest::editSwatchesNumbersAndNameThenSave() {
    Workspace workspace;
    FakeDialogs dialogs;
    ColourSchemeWindow window(dialogs, DefaultColourScheme, {});
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto* table = Find<QTableWidget>(window, "RowsTable");

    // A double-click on a swatch opens the colour dialog on the row's colour.
    dialogs.colourAnswers << QColor(1, 2, 3);
    DoubleClickCell(table, 1, Swatch);
    QCOMPARE(dialogs.colourRequests, QList<QColor>{QColor(5, 17, 26)});
    QCOMPARE(dialogs.colourTitles, QStringList{"Цвет строки 2"});
    QCOMPARE(RowTexts(table, 1), (QStringList{"001", "002", "003", "100"}));
    QCOMPARE(table->item(1, Swatch)->background().color(), QColor(1, 2, 3));
    // Cancelled: nothing changes.
    DoubleClickCell(table, 59, Swatch);
    QCOMPARE(dialogs.colourRequests.size(), 2);
    QCOMPARE(RowTexts(table, 59), (QStringList{"255", "000", "153", "100"}));

    // A number typed into its cell's editor.
    DoubleClickCell(table, 6, Fourth);
    auto* editor = table->findChild<QSpinBox*>("NumberEditor");
    QVERIFY(editor);
    QCOMPARE(editor->maximum(), 999);
    editor->selectAll();
    QTest::keyClicks(editor, "100");
    QTest::keyClick(editor, Qt::Key_Return);
    // The editor hands its value over once the key press has been handled.
    QTRY_COMPARE(Cell(table, 6, Fourth), QString("100"));
    QCOMPARE(window.Scheme().Rows[6], (ColourSchemeRow{0, 0, 0, 100}));
    // A component beyond 255 put into a cell by other means is put back.
    table->item(0, Red)->setText("256");
    QCOMPARE(Cell(table, 0, Red), QString("255"));
    QCOMPARE(int(window.Scheme().Rows[0].Red), 255);

    // The name is held in Windows-1251; a character it lacks cannot be typed.
    auto* name = Find<QLineEdit>(window, "NameEdit");
    name->selectAll();
    Type(name, "Осень✓");
    QCOMPARE(name->text(), QString("Осень"));
    QCOMPARE(window.Scheme().Name, std::string("\xCE\xF1\xE5\xED\xFC"));

    const ColourSchemeModel edited = window.Scheme();
    const std::string data = ColourSchemeDataLines(edited);
    QCOMPARE(Text(Find(window, "LengthAndCrc")),
             QString("Length 960, CRC %1").arg(ColourSchemeCrc(data)));

    const QString path = workspace.Media("autumn.col");
    dialogs.saveAnswers << path;
    Click(window, "SaveAsButton");
    QVERIFY2(dialogs.errorTexts.isEmpty(), qPrintable(dialogs.errorTexts.join('\n')));
    const FileRequest& request = dialogs.saveRequests.first();
    QCOMPARE(request.title, QString("Сохранить цветовую схему"));
    QCOMPARE(request.filters.first().text, QString("Цветовая схема (*.col)"));
    QCOMPARE(request.defaultSuffix, QString("col"));
    QCOMPARE(request.lastFile, QString("Осень.col"));
    QCOMPARE(window.SavedPath(), path);

    const ColourSchemeReading saved = ReadSaved(path);
    QVERIFY(saved.FollowsFormat());
    QVERIFY(saved.LengthMatches);
    QVERIFY(saved.CrcMatches);
    QCOMPARE(saved.Scheme, edited);
    QCOMPARE(saved.Scheme.Rows[1], (ColourSchemeRow{1, 2, 3, 100}));
    QCOMPARE(saved.Scheme.Id, std::string("5"));
    for (int row : {0, 2, 5, 7, 59})
        QCOMPARE(saved.Scheme.Rows[row], DefaultColourSchemeModel().Rows[row]);
}

void ColourSchemeWindowTest::defaultRestoresDeepBlue() {
    FakeDialogs dialogs;
    // The window opens on a broken scheme of another name, its faults listed.
    const QByteArray broken =
        Replaced(Replaced(DeepBlue, "DeepBlue", "Mine"), "005 017 026 100", "001 002 003 000")
            .left(1040 - 16 - 4);
    ColourSchemeWindow window(dialogs, std::string_view(broken.data(), broken.size()), {});
    window.show();
    auto* table = Find<QTableWidget>(window, "RowsTable");
    QCOMPARE(Text(Find(window, "NameEdit")), QString("Mine"));
    QCOMPARE(RowTexts(table, 1), (QStringList{"001", "002", "003", "000"}));
    QVERIFY(!ListedProblems(window).isEmpty());

    Click(window, "DefaultButton");

    QCOMPARE(WriteColourScheme(window.Scheme()), std::string(DefaultColourScheme));
    QCOMPARE(Text(Find(window, "NameEdit")), QString("DeepBlue"));
    QCOMPARE(RowTexts(table, 1), (QStringList{"005", "017", "026", "100"}));
    QCOMPARE(table->item(1, Swatch)->background().color(), QColor(5, 17, 26));
    QCOMPARE(Text(Find(window, "LengthAndCrc")), QString("Length 960, CRC 2220169258"));
    QCOMPARE(ListedProblems(window), QStringList());
}

void ColourSchemeWindowTest::openingAFile_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: a folder is chosen
    QTest::addColumn<QStringList>("problems");
    QTest::addColumn<bool>("saved"); // the opened file can go to the theme as it is

    const QByteArray crlf = QByteArray(DeepBlue).replace("\n", "\r\n");
    const QByteArray crlfData = crlf.mid(crlf.indexOf("Data\r\n") + 6);
    QTest::newRow("DeepBlue") << DeepBlue << QStringList() << true;
    QTest::newRow("59 rows") << DeepBlue.left(1040 - 16)
                             << QStringList{"строка 66: файл кончается: строк цветов 59 из 60",
                                            "строка 4: Length 960, а данные занимают 944 байт",
                                            QString("строка 5: CRC 2220169258, а у данных CRC %1")
                                                .arg(ColourSchemeCrc(
                                                    DeepBlue.mid(80, 944).toStdString()))}
                             << false;
    QTest::newRow("CR LF") << crlf
                           << QStringList{"строка 1: строки кончаются на CR LF, а не на LF",
                                          "строка 4: Length 960, а данные занимают 1020 байт",
                                          QString("строка 5: CRC 2220169258, а у данных CRC %1")
                                              .arg(ColourSchemeCrc(crlfData.toStdString()))}
                           << false;
    QTest::newRow("a binary file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)
                                   << QStringList{"строка 1: строки кончаются на CR LF, а не на LF",
                                                  "строка 1: ожидается «ColourScheme» и имя схемы",
                                                  "строка 2: ожидается ключ «ID» в колонке из 8 "
                                                  "знаков",
                                                  "строка 3: ожидается ключ «Version» в колонке "
                                                  "из 8 знаков",
                                                  "строка 4: файл кончается в заголовке"}
                                   << false;
    QTest::newRow("a folder") << QByteArray() << QStringList() << false;
}

void ColourSchemeWindowTest::openingAFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, problems);
    QFETCH(bool, saved);
    Workspace workspace;
    FakeDialogs dialogs;
    const QString path = bytes.isEmpty() ? workspace.Media("") : workspace.File("mine.col", bytes);
    dialogs.answers << path;
    ColourSchemeWindow window(dialogs, WriteColourScheme(ColourSchemeModel{"Other", "1", "1.0"}),
                              {});
    window.show();

    Click(window, "OpenButton");

    QCOMPARE(dialogs.requests.first().title, QString("Открыть цветовую схему"));
    QVERIFY(dialogs.requests.first().mustExist);
    if (bytes.isEmpty()) {
        // The error box, and the scheme shown stays.
        QCOMPARE(dialogs.errorTexts.size(), 1);
        QVERIFY2(dialogs.errorTexts.first().startsWith("Cannot open file"),
                 qPrintable(dialogs.errorTexts.first()));
        QCOMPARE(Text(Find(window, "NameEdit")), QString("Other"));
        return;
    }
    QVERIFY2(dialogs.errorTexts.isEmpty(), qPrintable(dialogs.errorTexts.join('\n')));
    QCOMPARE(ListedProblems(window), problems);
    QCOMPARE(Find(window, "ProblemsCaption")->isHidden(), problems.isEmpty());
    QCOMPARE(window.SavedPath(), saved ? path : QString());
    QCOMPARE(window.Scheme(), ReadColourScheme(bytes.toStdString()).Scheme);
}

void ColourSchemeWindowTest::useInThemeSavesFirstAndCallsBack() {
    Workspace workspace;
    FakeDialogs dialogs;
    QStringList used;
    ColourSchemeWindow window(dialogs, DefaultColourScheme,
                              [&used](const QString& path) { used << path; });
    window.show();

    // Not in a file yet: the save dialog asks first, and a cancel hands nothing over.
    Click(window, "UseInThemeButton");
    QCOMPARE(dialogs.saveRequests.size(), 1);
    QCOMPARE(used, QStringList());

    const QString first = workspace.Media("first.col");
    dialogs.saveAnswers << first;
    Click(window, "UseInThemeButton");
    QCOMPARE(used, QStringList{first});
    QCOMPARE(ReadColourSchemeBytes(first.toStdString()), std::string(DefaultColourScheme));

    // Saved and unchanged: handed over again without asking.
    Click(window, "UseInThemeButton");
    QCOMPARE(dialogs.saveRequests.size(), 2);
    QCOMPARE(used, (QStringList{first, first}));

    // Changed since: saved again first.
    dialogs.colourAnswers << QColor(9, 9, 9);
    window.ChooseRowColour(0);
    QCOMPARE(window.SavedPath(), QString());
    const QString second = workspace.Media("second.col");
    dialogs.saveAnswers << second;
    Click(window, "UseInThemeButton");
    QCOMPARE(used, (QStringList{first, first, second}));
    QCOMPARE(ReadSaved(second).Scheme.Rows[0], (ColourSchemeRow{9, 9, 9, 100}));

    // A file that cannot be saved goes to the error box and is not handed over.
    window.ChooseRowColour(1); // cancelled: no change
    dialogs.colourAnswers << QColor(8, 8, 8);
    window.ChooseRowColour(1);
    dialogs.saveAnswers << workspace.Media("no/such/folder.col");
    Click(window, "UseInThemeButton");
    QCOMPARE(dialogs.errorTexts.size(), 1);
    QVERIFY2(dialogs.errorTexts.first().startsWith("Cannot create file"),
             qPrintable(dialogs.errorTexts.first()));
    QCOMPARE(used.size(), 3);
    QCOMPARE(window.SavedPath(), QString());
}

void ColourSchemeWindowTest::theBuildPacksTheSchemeUsedInTheTheme() {
    Workspace workspace;
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    auto* check = Find<QCheckBox>(form, "CheckBox1");
    // Handed to the theme the way a file chosen with "..." is.
    ColourSchemeWindow window(dialogs, DefaultColourScheme, [&](const QString& path) {
        if (check->isChecked())
            QTest::mouseClick(check, Qt::LeftButton);
        dialogs.answers << path;
        QTest::mouseClick(Find(form, "SpeedButton2"), Qt::LeftButton);
    });
    dialogs.colourAnswers << QColor(10, 20, 30);
    window.ChooseRowColour(4);
    const QString saved = workspace.Media("theme.col");
    dialogs.saveAnswers << saved;
    Click(window, "UseInThemeButton");
    QVERIFY(!check->isChecked());
    QCOMPARE(Text(Find(form, "CSEdit")), saved);
    QCOMPARE(form.State().FilesList,
             PackageList{(workspace.Temp() + "/SkinScheme.col").toStdString()});

    ChooseEverySlot(workspace, dialogs, form);
    Find<QLineEdit>(form, "TNEdit")->setText("Scheme");
    QTest::mouseClick(Find(form, "TCButton"), Qt::LeftButton);
    QVERIFY2(dialogs.errorTexts.isEmpty(), qPrintable(dialogs.errorTexts.join('\n')));
    QCOMPARE(form.StatusText(), QString("Сделано!!!"));

    // Python reads the archive and the descriptor on its own.
    QProcess python;
    python.start(PYTHON, {"-c",
                          "import sys, zipfile, xml.etree.ElementTree as ET\n"
                          "z = zipfile.ZipFile(sys.argv[1])\n"
                          "assert z.testzip() is None\n"
                          "same = z.read('SkinScheme.col') == open(sys.argv[2], 'rb').read()\n"
                          "root = ET.fromstring(z.read('config.spc'))\n"
                          "res = [(r.get('name'), r.get('src')) for r in root.iter('res')]\n"
                          "print(same, res.count(('text_colors', 'SkinScheme.col')),\n"
                          "      res.count(('SkinScheme', 'SkinScheme.col')))\n",
                          workspace.Program() + "Scheme.sdt", saved});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.readAllStandardError(), QByteArray());
    QCOMPARE(python.readAllStandardOutput().trimmed(), QByteArray("True 1 1"));
}

void ColourSchemeWindowTest::statusAfterAChoice_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("status");
    QTest::newRow("follows the format") << DeepBlue << QString();
    QTest::newRow("a component of 256")
        << Replaced(DeepBlue, "\n255 255 255 100\n005", "\n256 255 255 100\n005")
        << QString("Схема «mine.col»: строка 7: составляющая цвета больше 255");
    QTest::newRow("a wrong CRC")
        << Replaced(DeepBlue, "2220169258", "1")
        << QString("Схема «mine.col»: длина или CRC не совпадают с данными — телефон может её "
                   "отвергнуть");
    QTest::newRow("a wrong Length")
        << Replaced(DeepBlue, "Length  960", "Length  0")
        << QString("Схема «mine.col»: длина или CRC не совпадают с данными — телефон может её "
                   "отвергнуть");
    QTest::newRow("empty") << QByteArray() << QString("Схема «mine.col»: файл пуст");
}

void ColourSchemeWindowTest::statusAfterAChoice() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, status);
    QCOMPARE(ColourSchemeStatus("/somewhere/mine.col", ReadColourScheme(bytes.toStdString())),
             status);
}

void ColourSchemeWindowTest::realSaveDialog_data() {
    QTest::addColumn<QString>("typed"); // empty: the proposed name is kept
    QTest::addColumn<bool>("accept");
    QTest::addColumn<QString>("returned"); // relative to the media folder
    QTest::newRow("a name without its suffix") << "autumn" << true << "autumn.col";
    QTest::newRow("the proposed name") << "" << true << "proposed.col";
    QTest::newRow("cancelled") << "autumn" << false << "";
}

void ColourSchemeWindowTest::realSaveDialog() {
    QFETCH(QString, typed);
    QFETCH(bool, accept);
    QFETCH(QString, returned);
    Workspace workspace;
    FileRequest request;
    request.filters = ColourSchemeFilters();
    request.defaultSuffix = "col";
    request.lastFile = workspace.Media("proposed.col");

    // The toolkit's dialog runs its own loop; answer it from inside that loop.
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        QVERIFY(name);
        if (!typed.isEmpty())
            name->setText(typed);
        if (accept)
            QTest::keyClick(name, Qt::Key_Return);
        else
            dialog->reject();
    });
    QtUserDialogs dialogs;
    const QString chosen = dialogs.ChooseSaveFile(nullptr, request);
    QCOMPARE(chosen, returned.isEmpty() ? QString() : workspace.Media(returned));
}

void ColourSchemeWindowTest::realColourDialog_data() {
    QTest::addColumn<bool>("accept");
    QTest::newRow("chosen") << true;
    QTest::newRow("cancelled") << false;
}

void ColourSchemeWindowTest::realColourDialog() {
    QFETCH(bool, accept);
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QString("Цвет строки 2"));
        QCOMPARE(dialog->currentColor(), QColor(5, 17, 26));
        dialog->setCurrentColor(QColor(1, 2, 3));
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });
    QtUserDialogs dialogs;
    const QColor chosen = dialogs.ChooseColour(nullptr, QColor(5, 17, 26), "Цвет строки 2");
    QCOMPARE(chosen, accept ? QColor(1, 2, 3) : QColor());
}

QTEST_MAIN(ColourSchemeWindowTest)
#include "ColourSchemeWindowTest.moc"
