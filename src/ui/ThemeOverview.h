#pragma once
// The theme overview: all 38 elements at once, each with its thumbnail, facts and the check's
// findings, beside the standby screen composed from the chosen pictures. It is a view: whoever
// owns the theme hands it the slots after every change.

#include "package/ElementCheck.h"

#include <QDateTime>
#include <QImage>
#include <QString>
#include <QWidget>
#include <array>

class MelodyPlayer;
class OverviewRow;
class QLabel;
class QScrollArea;

/// What the overview shows of one slot.
struct OverviewSlot {
    QString description;
    QString resourceName;
    QString path; // the chosen file; empty when none is
};

using OverviewSlots = std::array<OverviewSlot, SlotCount>;

class ThemeOverview : public QWidget {
    Q_OBJECT
public:
    /// A window of its own, not modal; parent owns it.
    explicit ThemeOverview(QWidget* parent = nullptr);
    ~ThemeOverview() override;

    /// Shows the theme. Only slots whose path, or whose file's size or time, changed since the
    /// last call are checked and drawn again.
    void SetTheme(const OverviewSlots& theme);
    /// Brings the slot's element to the top of the list and gives it the focus.
    void ScrollToSlot(int slot);
    /// Scrolls to the first element without a file, in the list's order; returns its slot, or
    /// -1 when every element has one.
    int ScrollToFirstMissing();

    const ElementReport& Report(int slot) const { return slots_[slot].report; }
    const QImage& StandbyScreen() const { return standby_; }
    /// The melody slot being played, or -1.
    int PlayingSlot() const { return playing_; }
    /// Plays melodies through this player from now on, and owns it. Without one, Qt
    /// Multimedia's is made at the first play.
    void SetMelodyPlayer(MelodyPlayer* player);

signals:
    /// A double-click (or Enter) on an element: the owner chooses its file.
    void elementActivated(int slot);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct ShownSlot {
        QString description;
        QString resourceName;
        QString path;
        qint64 size = -1;
        QDateTime modified;
        bool drawn = false;
        ElementReport report;
        QImage picture; // the first frame, kept for the standby screen
    };

    void CreateControls();
    void TogglePlay(int slot);
    void StopPlaying();
    void ComposeStandby();

    std::array<ShownSlot, SlotCount> slots_;
    std::array<OverviewRow*, SlotCount> rows_{};
    QScrollArea* scroll_ = nullptr;
    QLabel* tally_ = nullptr;
    QLabel* standbyView_ = nullptr;
    QLabel* playerStatus_ = nullptr;
    QImage standby_;
    MelodyPlayer* player_ = nullptr;
    int playing_ = -1;
};
