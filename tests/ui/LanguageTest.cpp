// The interface in Russian and in English: the menu "Язык" puts every text of the window and
// the about box in the other language at once, the choice outlives the run, every caption fits
// its control in either language, and what the program writes into files is the same in both.

#include "TestWorkspace.h"
#include "ui/HelpUnit.h"
#include "ui/MainForm.h"
#include "ui/SlotField.h"
#include "ui/Translations.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

// Texts that read the same in both languages: names, numbers, and what was English already.
const QStringList SameInBothLanguages{
    "Benq-Siemens EL71 Kestrova by Morvane (beta version)",
    "About Benq-Siemens EL71 Kestrova",
    "Benq-Siemens EL71 Kestrova by Morvane",
    "Version 1.0.3.0 (beta-version)",
    "30.07.2007",
    "Morvane",
    "Comments:",
    "OK",
    "URL:",
    "...",
    "Русский",
    "English",
};

void CopyDescriptions(const Workspace& workspace) {
    for (const char* name : {"descr.ini", "descr_en.ini"})
        QVERIFY(QFile::copy(QString(KESTROVA_SOURCE_DIR) + "/resources/" + name,
                            workspace.Program() + name));
}

void Settle() {
    // A change of language reaches the windows through posted events.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void ChooseInMenu(QWidget& form, const char* item) {
    QAction* action = form.findChild<QAction*>(item);
    QVERIFY(action);
    action->trigger();
    Settle();
}

/// Every text the user reads in a window, by where it stands. The metadata fields hold the
/// user's own texts, so only the slot fields, which show their descriptions, are among them.
QMap<QString, QString> InterfaceTexts(QWidget& window) {
    QMap<QString, QString> texts;
    texts["window title"] = window.windowTitle();
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const QString name = widget->objectName();
        if (!widget->toolTip().isEmpty())
            texts[name + " hint"] = widget->toolTip();
        if (qobject_cast<QLineEdit*>(widget) && !qobject_cast<SlotField*>(widget))
            continue;
        if (!Text(widget).isEmpty())
            texts[name] = Text(widget);
    }
    if (auto* notebook = window.findChild<QTabWidget*>())
        for (int page = 0; page < notebook->count(); ++page)
            texts[QString("tab %1").arg(page)] = notebook->tabText(page);
    if (auto* main = qobject_cast<QMainWindow*>(&window))
        for (QAction* title : main->menuBar()->actions()) {
            texts[title->menu()->objectName()] = title->text();
            for (QAction* item : title->menu()->actions())
                if (!item->isSeparator())
                    texts[item->objectName()] = item->text();
        }
    return texts;
}

QString Shown(const QString& text) {
    return QString(text).remove(QRegularExpression("&(?!&)"));
}

/// Every control whose text does not fit the room the control gives it, measured in the
/// control's own font, and every label that runs into a control beside it.
QStringList Clipped(QWidget& window) {
    QStringList clipped;
    auto check = [&](QWidget* widget, const QString& text, int needed, int room) {
        if (needed > room)
            clipped << QString("%1 \"%2\" needs %3 px, has %4")
                           .arg(widget->objectName(), text)
                           .arg(needed)
                           .arg(room);
    };
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        const QFontMetrics metrics(widget->font());
        QStyle* style = widget->style();
        if (auto* label = qobject_cast<QLabel*>(widget); label && !label->text().isEmpty()) {
            const QRect room = label->contentsRect();
            if (label->wordWrap()) {
                const QRect needed = metrics.boundingRect(
                    room, int(label->alignment()) | Qt::TextWordWrap, label->text());
                check(label, label->text(), needed.height(), room.height());
            } else {
                check(label, label->text(), metrics.horizontalAdvance(label->text()), room.width());
                check(label, label->text(), metrics.height(), room.height());
            }
            for (QObject* object : label->parentWidget()->children()) {
                auto* sibling = qobject_cast<QWidget*>(object);
                if (sibling && sibling != label &&
                    sibling->geometry().intersects(label->geometry()))
                    clipped << QString("%1 \"%2\" runs into %3")
                                   .arg(label->objectName(), label->text(), sibling->objectName());
            }
        } else if (auto* box = qobject_cast<QCheckBox*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            const QRect room = style->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
            check(box, box->text(), metrics.horizontalAdvance(Shown(box->text())), room.width());
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            if (button->isDefault())
                option.features |= QStyleOptionButton::DefaultButton;
            const QRect room =
                style->subElementRect(QStyle::SE_PushButtonContents, &option, button);
            check(button, button->text(), metrics.horizontalAdvance(Shown(button->text())),
                  room.width());
        } else if (auto* tool = qobject_cast<QToolButton*>(widget);
                   tool && !tool->text().isEmpty()) {
            const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tool);
            check(tool, tool->text(), metrics.horizontalAdvance(Shown(tool->text())),
                  tool->width() - 2 * frame);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            QStyleOptionGroupBox option;
            option.initFrom(group);
            option.text = group->title();
            option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
            option.textAlignment = group->alignment();
            option.lineWidth = 1;
            const QRect label = style->subControlRect(QStyle::CC_GroupBox, &option,
                                                      QStyle::SC_GroupBoxLabel, group);
            // The title keeps the same margin from the right edge as from the left.
            check(group, group->title(), metrics.horizontalAdvance(group->title()),
                  group->width() - 2 * label.left());
        } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            const int padding = style->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, tabs);
            for (int tab = 0; tab < tabs->count(); ++tab) {
                check(tabs, tabs->tabText(tab),
                      metrics.horizontalAdvance(tabs->tabText(tab)) + padding,
                      tabs->tabRect(tab).width());
                check(tabs, tabs->tabText(tab), tabs->tabRect(tab).right() + 1, tabs->width());
            }
        } else if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
            // A title that does not fit the bar is moved into the bar's overflow menu.
            for (QAction* title : bar->actions()) {
                const QRect place = bar->actionGeometry(title);
                check(bar, title->text(), place.isEmpty() ? bar->width() + 1 : place.right() + 1,
                      bar->width());
            }
        }
    }
    return clipped;
}

const QRegularExpression LogTime("^\\d+\\.\\d+\\.\\d+ \\d+:\\d+:\\d+ - ",
                                 QRegularExpression::MultilineOption);

} // namespace

class LanguageTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void switchingChangesEveryText();
    void captionsFitTheirControls_data();
    void captionsFitTheirControls();
    void choiceSurvivesARestart();
    void filesAreTheSameInBothLanguages();

private:
    QTemporaryDir config_;
};

void LanguageTest::initTestCase() {
    // Before anything reads the settings, which are then looked for here and never in the
    // user's own configuration.
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
}

void LanguageTest::cleanup() {
    SetLanguage(Language::Russian);
    QSettings("Kestrova", "Kestrova").clear();
    Settle();
}

void LanguageTest::switchingChangesEveryText() {
    Workspace workspace;
    CopyDescriptions(workspace);
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    // A slot with its file chosen goes on showing the file in either language.
    const QString melody = workspace.File("ring.mid", "MThd");
    dialogs.answers << melody;
    DoubleClick(Find(form, "Edit0"));
    TAboutBox box(dialogs, nullptr);
    const QMap<QString, QString> russian = InterfaceTexts(form);
    const QMap<QString, QString> russianAbout = InterfaceTexts(box);
    QCOMPARE(russian["Edit5"], QString("Анимация выключения телефона на весь экран: "
                                       "анимированный GIF 240x320"));
    QVERIFY(Find<QAction>(form, "RussianItem")->isChecked());

    ChooseInMenu(form, "EnglishItem");
    const QMap<QString, QString> english = InterfaceTexts(form);
    const QMap<QString, QString> englishAbout = InterfaceTexts(box);
    QCOMPARE(english.keys(), russian.keys());
    QCOMPARE(englishAbout.keys(), russianAbout.keys());
    QStringList unchanged;
    for (const auto& [before, after] :
         {std::pair{&russian, &english}, std::pair{&russianAbout, &englishAbout}})
        for (auto text = before->cbegin(); text != before->cend(); ++text)
            if (after->value(text.key()) == text.value() &&
                !SameInBothLanguages.contains(text.value()) && text.key() != "Edit0")
                unchanged << text.key() + ": " + text.value();
    QVERIFY2(unchanged.isEmpty(), qPrintable(unchanged.join('\n')));
    QCOMPARE(english["Edit0"], melody);
    QCOMPARE(english["Edit0 hint"], QString("Default ringtone for incoming calls: plays when "
                                            "someone calls you. MIDI, MP3 or AAC"));
    QCOMPARE(english["Edit5"], QString("Full-screen switch-off animation: animated GIF 240x320"));
    QCOMPARE(english["StatusPanel0"], QString("Kestrova for Benq-Siemens EL71 welcomes you!"));
    QCOMPARE(english["LanguageMenu"], QString("&Language"));
    QCOMPARE(englishAbout["Label9"], QString("Release date:"));
    QVERIFY(Find<QAction>(form, "EnglishItem")->isChecked());
    QVERIFY(!Find<QAction>(form, "RussianItem")->isChecked());
    // The field shows its description from the start, whatever its length.
    QCOMPARE(Find<QLineEdit>(form, "Edit5")->cursorPosition(), 0);

    // And back: every text is again the one it was.
    ChooseInMenu(form, "RussianItem");
    QCOMPARE(InterfaceTexts(form), russian);
    QCOMPARE(InterfaceTexts(box), russianAbout);
}

void LanguageTest::captionsFitTheirControls_data() {
    QTest::addColumn<Language>("language");
    QTest::addColumn<QStringList>("statuses"); // as the build shows them, one after another
    QTest::newRow("Russian") << Language::Russian
                             << QStringList{"Не хватает элементов темы!",
                                            "Не все настройки темы установлены!", "В процессе...",
                                            "Сделано!!!"};
    QTest::newRow("English") << Language::English
                             << QStringList{"Not enough theme elements!",
                                            "Not all theme settings are set!", "In progress...",
                                            "Done!!!"};
}

void LanguageTest::captionsFitTheirControls() {
    QFETCH(Language, language);
    QFETCH(QStringList, statuses);
    SetLanguage(language);
    Settle();
    Workspace workspace;
    CopyDescriptions(workspace);
    FakeDialogs dialogs;
    TForm1 form(dialogs, workspace.Program());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TAboutBox box(dialogs, nullptr);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QStringList clipped = Clipped(form) + Clipped(box);

    // Status panel 0 through a build: the welcome text, then each of the build's own.
    auto* button = Find<QAbstractButton>(form, "TCButton");
    QStringList shown;
    auto press = [&] {
        button->click();
        shown << form.StatusText();
        clipped << Clipped(form);
    };
    press();
    // Ten files, enough for the count the build asks for, but all for one slot.
    for (int choice = 0; choice < 10; ++choice) {
        dialogs.answers << workspace.File("ring.mid", "MThd");
        DoubleClick(Find(form, "Edit0"));
    }
    press();
    ChooseEverySlot(workspace, dialogs, form);
    Find<QLineEdit>(form, "TNEdit")->setText("no/such/folder"); // the archive cannot be made
    press();
    Find<QLineEdit>(form, "TNEdit")->setText("Fit");
    press();
    QCOMPARE(shown, statuses);
    clipped.removeDuplicates();
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
}

void LanguageTest::choiceSurvivesARestart() {
    Workspace workspace;
    FakeDialogs dialogs;
    QCOMPARE(RememberedLanguage(), Language::Russian); // nothing chosen yet
    {
        TForm1 form(dialogs, workspace.Program());
        ChooseInMenu(form, "EnglishItem");
    }
    QFile settings(config_.path() + "/Kestrova/Kestrova.conf");
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QVERIFY2(settings.readAll().contains("language=en"), qPrintable(settings.fileName()));

    // The next run starts with no translation of its own and puts in the one remembered.
    SetLanguage(Language::Russian);
    Settle();
    SetLanguage(RememberedLanguage());
    TForm1 next(dialogs, workspace.Program());
    QCOMPARE(Text(Find(next, "TCButton")), QString("Create theme"));
    QVERIFY(Find<QAction>(next, "EnglishItem")->isChecked());

    ChooseInMenu(next, "RussianItem");
    QCOMPARE(RememberedLanguage(), Language::Russian);
    QCOMPARE(Text(Find(next, "TCButton")), QString("Создать тему"));
    // Whatever else the file may say, only "en" means English.
    QSettings("Kestrova", "Kestrova").setValue("language", "de");
    QCOMPARE(RememberedLanguage(), Language::Russian);
}

void LanguageTest::filesAreTheSameInBothLanguages() {
    Workspace workspace;
    CopyDescriptions(workspace);
    // One set of files for both builds, left untouched between them, so even their times agree.
    QStringList media;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const QString name = QString("slot%1").arg(slot);
        media << (SlotLayouts[slot].kind == skMelody
                      ? workspace.File(name + ".mid", QByteArray(300, char(slot)))
                      : workspace.Picture(name + ".png", 40 + slot, 20));
    }
    QStringList logs;
    QStringList archives;
    for (const auto& [language, done, code] : {std::tuple{Language::Russian, "Сделано!!!", "ru"},
                                               std::tuple{Language::English, "Done!!!", "en"}}) {
        SetLanguage(language);
        Settle();
        const qsizetype logStart = workspace.Log().size();
        {
            FakeDialogs dialogs;
            TForm1 form(dialogs, workspace.Program());
            form.show();
            QApplication::setActiveWindow(&form);
            QVERIFY(QTest::qWaitForWindowActive(&form));
            dialogs.answers = media;
            for (int slot = 0; slot < SlotCount; ++slot)
                DoubleClick(Find(form, QString::fromStdString(SlotFieldName(slot))));
            Find<QLineEdit>(form, "TDEdit")->setText("2008-3-5");
            // Leaving each field writes its entry.
            for (const auto& [field, typed] :
                 {std::pair{"TNEdit", "Aurora"}, std::pair{"TAEdit", "Morvane"},
                  std::pair{"TDEdit", ""}}) {
                QWidget* edit = Find(form, field);
                edit->setFocus(Qt::MouseFocusReason);
                QTest::keyClicks(edit, typed);
            }
            Find(form, "TCButton")->setFocus(Qt::MouseFocusReason);
            Find<QAbstractButton>(form, "TCButton")->click();
            QVERIFY2(dialogs.errorTexts.isEmpty(), qPrintable(dialogs.errorTexts.join('\n')));
            QCOMPARE(form.StatusText(), QString(done));
        } // the closing entry
        QString log = workspace.Log().mid(logStart);
        // A run after the first begins with a blank line; the times are the clock's.
        if (log.startsWith('\n'))
            log.remove(0, 1);
        logs << log.replace(LogTime, "<time> - ");
        archives << workspace.Program() + code + ".sdt";
        QVERIFY(QFile::rename(workspace.Program() + "Aurora.sdt", archives.last()));
    }
    QVERIFY2(logs[0].contains("\" is choosed as standard_ringtone\n"), qPrintable(logs[0]));
    QVERIFY2(logs[0].contains("The Name of theme change to Aurora\n"), qPrintable(logs[0]));
    QCOMPARE(logs[1], logs[0]);

    // Python's zipfile reads both; apart from the times of the files written at build time
    // (the descriptor and the scheme), the archives are the same bytes.
    QProcess python;
    python.start(PYTHON,
                 {"-c",
                  "import struct, sys, zipfile\n"
                  "def without_times(path):\n"
                  "    data = bytearray(open(path, 'rb').read())\n"
                  "    z = zipfile.ZipFile(path)\n"
                  "    assert z.testzip() is None\n"
                  "    at = z.start_dir\n"
                  "    for info in z.infolist():\n"
                  "        data[info.header_offset + 10:info.header_offset + 14] = bytes(4)\n"
                  "        assert data[at:at + 4] == b'PK\\x01\\x02'\n"
                  "        data[at + 12:at + 16] = bytes(4)\n"
                  "        n, m, k = struct.unpack('<HHH', data[at + 28:at + 34])\n"
                  "        at += 46 + n + m + k\n"
                  "    return len(z.infolist()), bytes(data)\n"
                  "(count, ru), (_, en) = [without_times(p) for p in sys.argv[1:]]\n"
                  "print(count, ru == en)\n",
                  archives[0], archives[1]});
    QVERIFY(python.waitForFinished(30000));
    QCOMPARE(python.readAllStandardError(), QByteArray());
    QCOMPARE(python.readAllStandardOutput().trimmed(), QByteArray("40 True"));
}

QTEST_MAIN(LanguageTest)
#include "LanguageTest.moc"
