// The theme overview: every element with its facts and findings, following each new choice,
// choosing on a double-click, and the standby screen beside the list.

#include "ui/ThemeOverview.h"

#include "TestMedia.h"
#include "ui/MelodyPlayer.h"
#include "ui/OverviewRow.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMovie>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <chrono>
#include <filesystem>

namespace {

// A folder of media for the overview to show.
class Media {
public:
    QString Picture(const QString& name, int width, int height, QColor colour = Qt::darkCyan) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        image.save(Path(name), "PNG");
        return Path(name);
    }
    QString File(const QString& name, const std::string& bytes) {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), qsizetype(bytes.size()));
        return Path(name);
    }
    QString Path(const QString& name) const { return dir_.path() + "/" + name; }

private:
    QTemporaryDir dir_;
};

class FakePlayer : public MelodyPlayer {
public:
    QStringList played;
    int stops = 0;
    void Play(const QString& path) override { played << path; }
    void Stop() override { ++stops; }
};

OverviewSlots EmptyTheme() {
    OverviewSlots theme;
    for (int slot = 0; slot < SlotCount; ++slot) {
        theme[slot].description = QStringLiteral("Элемент %1").arg(slot);
        theme[slot].resourceName =
            QString::fromLatin1(SlotNames[slot].data(), qsizetype(SlotNames[slot].size()));
    }
    return theme;
}

OverviewRow* Row(ThemeOverview& overview, int slot) {
    return overview.findChild<OverviewRow*>(QStringLiteral("Element%1").arg(slot));
}

QString Label(ThemeOverview& overview, int slot, const char* name) {
    return Row(overview, slot)->findChild<QLabel*>(name)->text();
}

// "grade: text" of each finding shown for the slot.
QStringList Findings(ThemeOverview& overview, int slot) {
    QStringList findings;
    for (QWidget* line : Row(overview, slot)->findChildren<QWidget*>("Finding"))
        findings << line->property("grade").toString() + ": " +
                        line->findChild<QLabel*>("FindingText")->text();
    return findings;
}

} // namespace

class ThemeOverviewTest : public QObject {
    Q_OBJECT

private slots:
    void listsEveryElementInGroupsInSlotOrder();
    void showsTheFindingsOfATheme();
    void thumbnailsKeepTheirSizeOrAreMarkedScaled();
    void followsEachNewChoiceAtOnce();
    void doubleClickAsksForAChoice();
    void scrollsToAnElement();
    void playsAMelody();
    void realPlayerNeverTakesTheWindowDown();
    void composesTheStandbyScreen();
};

void ThemeOverviewTest::listsEveryElementInGroupsInSlotOrder() {
    ThemeOverview overview;
    overview.SetTheme(EmptyTheme());
    QVERIFY(overview.isWindow());
    QVERIFY(!overview.isModal());
    QCOMPARE(overview.findChildren<OverviewRow*>().size(), SlotCount);

    const QList<QGroupBox*> groups = overview.findChildren<QGroupBox*>();
    QCOMPARE(groups.size(), 3);
    const QStringList titles{"Мелодии", "Картинки", "Анимация"};
    const SlotKind kinds[] = {skMelody, skPicture, skAnimation};
    for (int group = 0; group < 3; ++group) {
        QCOMPARE(groups[group]->title(), titles[group]);
        QList<int> shown, expected;
        for (OverviewRow* row : groups[group]->findChildren<OverviewRow*>())
            shown << row->Slot();
        for (int slot = 0; slot < SlotCount; ++slot)
            if (SlotLayouts[slot].kind == kinds[group])
                expected << slot;
        QCOMPARE(shown, expected);
    }
    for (int slot = 0; slot < SlotCount; ++slot) {
        QVERIFY(Row(overview, slot)->property("missing").toBool());
        QCOMPARE(Label(overview, slot, "Description"), QStringLiteral("Элемент %1").arg(slot));
        QCOMPARE(Label(overview, slot, "ResourceName").toStdString(), SlotNames[slot]);
        QCOMPARE(Label(overview, slot, "Facts"), QString("Файл не выбран."));
    }
    QCOMPARE(overview.findChild<QLabel*>("Tally")->text(),
             QString("Ошибок: 0, предупреждений: 0, замечаний: 0, не выбрано: 38"));
}

void ThemeOverviewTest::showsTheFindingsOfATheme() {
    Media media;
    OverviewSlots theme = EmptyTheme();
    theme[0].path = media.File("ring.mid", media::Midi());
    theme[3].path = media.File("off.mid", "words, not a melody");
    theme[4].path = media.File("on.gif", media::Gif(20, 10, 1));
    theme[7].path = media.Picture("wall.png", 200, 300);
    theme[9].path = media.Picture("head.png", 250, 10);
    theme[11].path = media.File("popup.jpg", "");
    ThemeOverview overview;
    overview.SetTheme(theme);

    QCOMPARE(Findings(overview, 0), QStringList());
    QCOMPARE(Label(overview, 0, "Facts"), QString("ring.mid, MIDI, 34 Б"));
    QCOMPARE(Findings(overview, 3), QStringList{"error: Это не MIDI, не AAC (ADTS) и не MP3."});
    QCOMPARE(Findings(overview, 4), QStringList{"warning: В анимации всего один кадр."});
    QVERIFY(Label(overview, 4, "Facts").startsWith("on.gif, GIF, 20 × 10, кадров: 1, "));
    QCOMPARE(Findings(overview, 7),
             QStringList{"note: Обои 200 × 300, а не 240 × 320: телефон показывает их от "
                         "левого верхнего угла экрана, меньшие оставят поля, большие обрежутся."});
    QCOMPARE(Findings(overview, 9),
             QStringList{"warning: Выходит за экран 240 × 320 справа на 10 пикс.; телефон это "
                         "обрежет."});
    QCOMPARE(Findings(overview, 11), QStringList{"error: Файл пуст."});
    QVERIFY(!Row(overview, 0)->property("missing").toBool());
    QVERIFY(Row(overview, 1)->property("missing").toBool());
    QCOMPARE(overview.findChild<QLabel*>("Tally")->text(),
             QString("Ошибок: 2, предупреждений: 2, замечаний: 1, не выбрано: 32"));
    // Every finding has its grade's icon.
    for (QWidget* line : Row(overview, 9)->findChildren<QWidget*>("Finding"))
        QVERIFY(!line->findChild<QLabel*>("GradeIcon")->pixmap().isNull());
}

void ThemeOverviewTest::thumbnailsKeepTheirSizeOrAreMarkedScaled() {
    Media media;
    OverviewSlots theme = EmptyTheme();
    theme[6].path = media.Picture("bar.png", 120, 40);
    theme[7].path = media.Picture("wall.png", 240, 320);
    theme[5].path = media.File("off.gif", media::Gif(240, 60, 3));
    theme[10].path = media.File("wait.gif", media::Gif(48, 48, 2));
    ThemeOverview overview;
    overview.SetTheme(theme);
    overview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&overview));

    auto thumbnail = [&](int slot) { return Row(overview, slot)->findChild<QLabel*>("Thumbnail"); };
    auto scaledMark = [&](int slot) {
        return Row(overview, slot)->findChild<QLabel*>("ScaledMark")->isVisible();
    };
    QCOMPARE(thumbnail(6)->pixmap().size(), QSize(120, 40));
    QVERIFY(!scaledMark(6));
    QCOMPARE(thumbnail(7)->pixmap().size(), QSize(90, 120));
    QVERIFY(scaledMark(7));
    QVERIFY(thumbnail(5)->movie());
    QCOMPARE(thumbnail(5)->movie()->scaledSize(), QSize(120, 30));
    QVERIFY(scaledMark(5));
    QVERIFY(thumbnail(10)->movie());
    QCOMPARE(thumbnail(10)->movie()->state(), QMovie::Running);
    QVERIFY(!scaledMark(10));
    overview.hide();
    QCOMPARE(thumbnail(10)->movie()->state(), QMovie::Paused);
    overview.show();
    QCOMPARE(thumbnail(10)->movie()->state(), QMovie::Running);
}

void ThemeOverviewTest::followsEachNewChoiceAtOnce() {
    Media media;
    OverviewSlots theme = EmptyTheme();
    theme[3].path = media.File("off.mid", "words");
    theme[9].path = media.Picture("head.png", 250, 10);
    ThemeOverview overview;
    overview.SetTheme(theme);
    QPointer<QWidget> untouched = Row(overview, 3)->findChild<QWidget*>("Finding");
    QVERIFY(untouched);

    theme[9].path = media.Picture("head2.png", 240, 24);
    theme[12].path = media.Picture("status.png", 200, 24);
    overview.SetTheme(theme);
    QCOMPARE(Findings(overview, 9), QStringList());
    QVERIFY(Label(overview, 9, "Facts").startsWith("head2.png, PNG, 240 × 24, "));
    QVERIFY(!Row(overview, 12)->property("missing").toBool());
    QCOMPARE(overview.findChild<QLabel*>("Tally")->text(),
             QString("Ошибок: 1, предупреждений: 0, замечаний: 0, не выбрано: 35"));
    // Slots that did not change are not drawn again.
    QVERIFY(untouched);

    // The same path with new content, as when a file is chosen again after editing it.
    media.File("off.mid", media::Midi());
    std::filesystem::last_write_time(media.Path("off.mid").toStdString(),
                                     std::filesystem::file_time_type::clock::now() +
                                         std::chrono::seconds(10));
    overview.SetTheme(theme);
    QCOMPARE(Findings(overview, 3), QStringList());
    QCOMPARE(Label(overview, 3, "Facts"), QString("off.mid, MIDI, 34 Б"));

    theme[9].path.clear();
    overview.SetTheme(theme);
    QVERIFY(Row(overview, 9)->property("missing").toBool());
    QCOMPARE(Label(overview, 9, "Facts"), QString("Файл не выбран."));
}

void ThemeOverviewTest::doubleClickAsksForAChoice() {
    ThemeOverview overview;
    overview.SetTheme(EmptyTheme());
    overview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&overview));
    QSignalSpy activated(&overview, &ThemeOverview::elementActivated);
    overview.ScrollToSlot(12);
    QTest::mouseDClick(Row(overview, 12)->findChild<QLabel*>("Description"), Qt::LeftButton);
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated.takeFirst().at(0).toInt(), 12);
    overview.ScrollToSlot(37);
    QTest::keyClick(Row(overview, 37), Qt::Key_Return);
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated.takeFirst().at(0).toInt(), 37);
}

void ThemeOverviewTest::scrollsToAnElement() {
    ThemeOverview overview;
    overview.SetTheme(EmptyTheme());
    overview.resize(800, 400);
    overview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&overview));
    auto* scroll = overview.findChild<QScrollArea*>("Elements");
    QCOMPARE(scroll->verticalScrollBar()->value(), 0);
    overview.ScrollToSlot(20);
    QVERIFY(scroll->verticalScrollBar()->value() > 0);
    // The element comes to the top of the list, whole.
    OverviewRow* row = Row(overview, 20);
    QCOMPARE(row->visibleRegion().boundingRect(), row->rect());
    QVERIFY(row->mapTo(scroll->viewport(), QPoint(0, 0)).y() < 20);
    QVERIFY(row->hasFocus());

    // After a refused build: the first element without a file in the list's order, a picture
    // here, since every melody has one.
    Media media;
    OverviewSlots theme = EmptyTheme();
    for (int slot : {0, 1, 2, 3, 37, 6, 7})
        theme[slot].path = media.File(QStringLiteral("%1.bin").arg(slot), media::Midi());
    overview.SetTheme(theme);
    QCOMPARE(overview.ScrollToFirstMissing(), 8);
    QVERIFY(Row(overview, 8)->hasFocus());
    for (int slot = 0; slot < SlotCount; ++slot)
        theme[slot].path = media.Path("0.bin");
    overview.SetTheme(theme);
    QCOMPARE(overview.ScrollToFirstMissing(), -1);
}

void ThemeOverviewTest::playsAMelody() {
    Media media;
    OverviewSlots theme = EmptyTheme();
    theme[0].path = media.File("ring.mid", media::Midi());
    theme[1].path = media.File("message.mp3", media::Mp3(true));
    theme[3].path = media.File("off.mid", "not a melody");
    ThemeOverview overview;
    auto* player = new FakePlayer;
    overview.SetMelodyPlayer(player);
    overview.SetTheme(theme);
    auto play = [&](int slot) { return Row(overview, slot)->findChild<QToolButton*>("Play"); };
    QVERIFY(!play(2)->isEnabled()); // nothing chosen
    QVERIFY(!play(3)->isEnabled()); // nothing a player could play
    QVERIFY(!Row(overview, 6)->findChild<QToolButton*>("Play"));

    QTest::mouseClick(play(1), Qt::LeftButton);
    QCOMPARE(player->played, QStringList{theme[1].path});
    QCOMPARE(overview.PlayingSlot(), 1);
    QVERIFY(play(1)->property("playing").toBool());
    QTest::mouseClick(play(0), Qt::LeftButton);
    QCOMPARE(player->played, (QStringList{theme[1].path, theme[0].path}));
    QCOMPARE(overview.PlayingSlot(), 0);
    QVERIFY(!play(1)->property("playing").toBool());
    QTest::mouseClick(play(0), Qt::LeftButton); // a second click stops
    QCOMPARE(overview.PlayingSlot(), -1);
    QVERIFY(player->stops > 0);

    QTest::mouseClick(play(0), Qt::LeftButton);
    emit player->finished();
    QCOMPARE(overview.PlayingSlot(), -1);
    QVERIFY(!play(0)->property("playing").toBool());

    QTest::mouseClick(play(1), Qt::LeftButton);
    emit player->failed("no sound device");
    QCOMPARE(overview.PlayingSlot(), -1);
    QCOMPARE(overview.findChild<QLabel*>("PlayerStatus")->text(),
             QString("Не удалось воспроизвести «standard_msg_ringtone»: no sound device"));
}

void ThemeOverviewTest::realPlayerNeverTakesTheWindowDown() {
    Media media;
    OverviewSlots theme = EmptyTheme();
    theme[1].path = media.File("message.mp3", media::Mp3(true));
    ThemeOverview overview;
    overview.SetTheme(theme);
    QTest::mouseClick(Row(overview, 1)->findChild<QToolButton*>("Play"), Qt::LeftButton);
    // Whether a sound is heard depends on the machine: it plays, or the window says why not.
    QTest::qWait(100);
    QVERIFY(overview.PlayingSlot() == 1 ||
            !overview.findChild<QLabel*>("PlayerStatus")->text().isEmpty());
}

void ThemeOverviewTest::composesTheStandbyScreen() {
    Media media;
    OverviewSlots theme = EmptyTheme();
    theme[7].path = media.Picture("wall.png", 240, 320, Qt::red);
    theme[8].path = media.Picture("bottom.png", 240, 32, Qt::yellow);
    ThemeOverview overview;
    overview.SetTheme(theme);
    QCOMPARE(overview.StandbyScreen().pixelColor(100, 100), QColor(Qt::red));
    QCOMPARE(overview.StandbyScreen().pixelColor(100, 300), QColor(Qt::yellow));
    const QPixmap shown = overview.findChild<QLabel*>("StandbyScreen")->pixmap();
    QCOMPARE(shown.size(), QSize(240, 320));

    theme[9].path = media.Picture("head.png", 240, 30, Qt::green);
    overview.SetTheme(theme);
    QCOMPARE(overview.StandbyScreen().pixelColor(100, 10), QColor(Qt::green));
    QCOMPARE(overview.findChild<QLabel*>("StandbyScreen")->pixmap().toImage().pixelColor(100, 10),
             QColor(Qt::green));
    QVERIFY(overview.findChild<QLabel*>("StandbyCaption")
                ->text()
                .contains("приблизительн", Qt::CaseInsensitive));
}

QTEST_MAIN(ThemeOverviewTest)
#include "ThemeOverviewTest.moc"
