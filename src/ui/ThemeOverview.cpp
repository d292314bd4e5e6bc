#include "ThemeOverview.h"

#include "FindingTexts.h"
#include "MelodyPlayer.h"
#include "OverviewRow.h"
#include "picture/StandbyScreen.h"
#include "picture/ThemeCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

struct Group {
    const char* title;
    SlotKind kind;
};

constexpr std::array<Group, 3> Groups{{
    {QT_TRANSLATE_NOOP("ThemeOverview", "Мелодии"), skMelody},
    {QT_TRANSLATE_NOOP("ThemeOverview", "Картинки"), skPicture},
    {QT_TRANSLATE_NOOP("ThemeOverview", "Анимация"), skAnimation},
}};

bool OnStandbyScreen(int slot) {
    return std::find(StandbySlots.begin(), StandbySlots.end(), slot) != StandbySlots.end();
}

} // namespace

ThemeOverview::ThemeOverview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("ThemeOverview");
    setWindowTitle(tr("Обзор темы"));
    CreateControls();
    for (int slot = 0; slot < SlotCount; ++slot) {
        slots_[slot].report.slot = slot;
        rows_[slot]->SetReport(slots_[slot].report, QImage());
    }
    ComposeStandby();
    tally_->setText(TallyText(Tally(ThemeReport())));
    resize(920, 720);
}

ThemeOverview::~ThemeOverview() {
    StopPlaying();
}

void ThemeOverview::CreateControls() {
    auto* list = new QWidget;
    auto* listLayout = new QVBoxLayout(list);
    for (const Group& group : Groups) {
        auto* box = new QGroupBox(tr(group.title));
        auto* boxLayout = new QVBoxLayout(box);
        boxLayout->setSpacing(4);
        for (int slot = 0; slot < SlotCount; ++slot) {
            if (SlotLayouts[slot].kind != group.kind)
                continue;
            auto* row = new OverviewRow(slot, box);
            connect(row, &OverviewRow::activated, this, &ThemeOverview::elementActivated);
            connect(row, &OverviewRow::playClicked, this, &ThemeOverview::TogglePlay);
            boxLayout->addWidget(row);
            rows_[slot] = row;
        }
        listLayout->addWidget(box);
    }
    listLayout->addStretch();

    scroll_ = new QScrollArea;
    scroll_->setObjectName("Elements");
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(list);

    tally_ = new QLabel;
    tally_->setObjectName("Tally");
    playerStatus_ = new QLabel;
    playerStatus_->setObjectName("PlayerStatus");
    playerStatus_->setWordWrap(true);
    auto* left = new QVBoxLayout;
    left->addWidget(tally_);
    left->addWidget(scroll_, 1);
    left->addWidget(playerStatus_);

    auto* standbyTitle = new QLabel(tr("Экран ожидания"));
    standbyView_ = new QLabel;
    standbyView_->setObjectName("StandbyScreen");
    standbyView_->setFrameShape(QFrame::Box);
    standbyView_->setLineWidth(1);
    standbyView_->setFixedSize(ScreenWidth + 2, ScreenHeight + 2);
    standbyView_->setAlignment(Qt::AlignCenter);
    auto* caption = new QLabel(tr("Приблизительный вид: составлен из картинок по положениям "
                                  "элементов, а не нарисован самим телефоном."));
    caption->setObjectName("StandbyCaption");
    caption->setWordWrap(true);
    caption->setFixedWidth(ScreenWidth + 2);
    auto* right = new QVBoxLayout;
    right->addWidget(standbyTitle);
    right->addWidget(standbyView_);
    right->addWidget(caption);
    right->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);
}

void ThemeOverview::SetTheme(const OverviewSlots& theme) {
    bool standbyChanged = false;
    bool anyChanged = false;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const OverviewSlot& given = theme[slot];
        ShownSlot& shown = slots_[slot];
        if (given.description != shown.description || given.resourceName != shown.resourceName ||
            !shown.drawn) {
            shown.description = given.description;
            shown.resourceName = given.resourceName;
            rows_[slot]->SetHeading(given.description, given.resourceName);
        }
        // A file changed in place counts as a new choice.
        const QFileInfo info(given.path);
        const qint64 size = given.path.isEmpty() || !info.exists() ? -1 : info.size();
        const QDateTime modified = size < 0 ? QDateTime() : info.lastModified();
        if (shown.drawn && given.path == shown.path && size == shown.size &&
            modified == shown.modified)
            continue;
        if (slot == playing_)
            StopPlaying();
        shown.path = given.path;
        shown.size = size;
        shown.modified = modified;
        shown.drawn = true;
        shown.picture = QImage();
        shown.report =
            CheckElement(slot, QFile::encodeName(given.path).toStdString(), &shown.picture);
        rows_[slot]->SetReport(shown.report, shown.picture);
        if (!OnStandbyScreen(slot))
            shown.picture = QImage();
        standbyChanged = standbyChanged || OnStandbyScreen(slot);
        anyChanged = true;
    }
    if (standbyChanged)
        ComposeStandby();
    if (anyChanged) {
        ThemeReport report;
        for (int slot = 0; slot < SlotCount; ++slot)
            report.elements[slot] = slots_[slot].report;
        tally_->setText(TallyText(Tally(report)));
    }
}

void ThemeOverview::ScrollToSlot(int slot) {
    if (slot < 0 || slot >= SlotCount)
        return;
    // Laid out now: a window just made or refilled would scroll to stale places.
    QWidget* list = scroll_->widget();
    list->layout()->activate();
    scroll_->verticalScrollBar()->setValue(rows_[slot]->mapTo(list, QPoint(0, 0)).y() -
                                           list->layout()->spacing());
    rows_[slot]->setFocus(Qt::OtherFocusReason);
}

int ThemeOverview::ScrollToFirstMissing() {
    for (const Group& group : Groups)
        for (int slot = 0; slot < SlotCount; ++slot)
            if (SlotLayouts[slot].kind == group.kind && slots_[slot].report.Missing()) {
                ScrollToSlot(slot);
                return slot;
            }
    return -1;
}

void ThemeOverview::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    for (OverviewRow* row : rows_)
        row->SetAnimating(true);
}

void ThemeOverview::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    for (OverviewRow* row : rows_)
        row->SetAnimating(false);
    StopPlaying();
}

void ThemeOverview::ComposeStandby() {
    std::array<QImage, SlotCount> pictures;
    for (int slot : StandbySlots)
        pictures[slot] = slots_[slot].picture;
    standby_ = ComposeStandbyScreen(pictures);
    standbyView_->setPixmap(QPixmap::fromImage(standby_));
}

void ThemeOverview::SetMelodyPlayer(MelodyPlayer* player) {
    StopPlaying();
    delete player_;
    player_ = player;
    player_->setParent(this);
    connect(player_, &MelodyPlayer::finished, this, &ThemeOverview::StopPlaying);
    connect(player_, &MelodyPlayer::failed, this, [this](const QString& reason) {
        if (playing_ < 0)
            return;
        playerStatus_->setText(
            tr("Не удалось воспроизвести «%1»: %2").arg(slots_[playing_].resourceName, reason));
        StopPlaying();
    });
}

void ThemeOverview::TogglePlay(int slot) {
    const bool again = slot == playing_;
    StopPlaying();
    if (again)
        return;
    if (!player_)
        SetMelodyPlayer(new MediaMelodyPlayer);
    playerStatus_->clear();
    playing_ = slot;
    rows_[slot]->SetPlaying(true);
    player_->Play(slots_[slot].path);
}

void ThemeOverview::StopPlaying() {
    if (playing_ < 0)
        return;
    rows_[playing_]->SetPlaying(false);
    playing_ = -1;
    if (player_)
        player_->Stop();
}
