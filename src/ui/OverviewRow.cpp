#include "OverviewRow.h"

#include "FindingTexts.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QStyle::StandardPixmap GradeIcon(CheckGrade grade) {
    switch (grade) {
    case CheckGrade::Error:
        return QStyle::SP_MessageBoxCritical;
    case CheckGrade::Warning:
        return QStyle::SP_MessageBoxWarning;
    case CheckGrade::Note:
        return QStyle::SP_MessageBoxInformation;
    }
    return QStyle::SP_MessageBoxInformation;
}

QSize FitCell(QSize size) {
    return size.scaled(ThumbnailCell, ThumbnailCell, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

bool FitsCell(QSize size) {
    return size.width() <= ThumbnailCell && size.height() <= ThumbnailCell;
}

} // namespace

OverviewRow::OverviewRow(int slot, QWidget* parent) : QFrame(parent), slot_(slot) {
    setObjectName(QStringLiteral("Element%1").arg(slot));
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);

    auto* cell = new QVBoxLayout;
    cell->setSpacing(2);
    thumbnail_ = new QLabel;
    thumbnail_->setObjectName("Thumbnail");
    const bool melody = SlotLayouts[slot].kind == skMelody;
    // A melody's cell holds only its play button.
    const int cellHeight = melody ? 56 : ThumbnailCell;
    thumbnail_->setFixedSize(ThumbnailCell, cellHeight);
    thumbnail_->setAlignment(Qt::AlignCenter);
    thumbnail_->setFrameShape(QFrame::Box);
    cell->addWidget(thumbnail_);
    if (melody) {
        play_ = new QToolButton(thumbnail_);
        play_->setObjectName("Play");
        play_->setIconSize(QSize(32, 32));
        play_->setAutoRaise(true);
        play_->setGeometry(ThumbnailCell / 2 - 24, cellHeight / 2 - 24, 48, 48);
        connect(play_, &QToolButton::clicked, this, [this] { emit playClicked(slot_); });
        SetPlaying(false);
    }
    scaledMark_ = new QLabel(tr("уменьшено"));
    scaledMark_->setObjectName("ScaledMark");
    scaledMark_->setAlignment(Qt::AlignCenter);
    scaledMark_->setVisible(false);
    cell->addWidget(scaledMark_);
    cell->addStretch();

    auto* text = new QVBoxLayout;
    text->setSpacing(3);
    title_ = new QLabel;
    title_->setObjectName("Description");
    title_->setWordWrap(true);
    QFont bold = title_->font();
    bold.setBold(true);
    title_->setFont(bold);
    resourceName_ = new QLabel;
    resourceName_->setObjectName("ResourceName");
    resourceName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    facts_ = new QLabel;
    facts_->setObjectName("Facts");
    facts_->setWordWrap(true);
    findings_ = new QVBoxLayout;
    findings_->setSpacing(2);
    text->addWidget(title_);
    text->addWidget(resourceName_);
    text->addWidget(facts_);
    text->addLayout(findings_);
    text->addStretch();

    auto* row = new QHBoxLayout(this);
    row->addLayout(cell);
    row->addLayout(text, 1);
    MarkMissing(true);
}

OverviewRow::~OverviewRow() = default;

void OverviewRow::SetHeading(const QString& description, const QString& resourceName) {
    title_->setText(description.isEmpty() ? tr("(без описания)") : description);
    resourceName_->setText(resourceName);
}

void OverviewRow::SetReport(const ElementReport& report, const QImage& picture) {
    MarkMissing(report.Missing());
    facts_->setText(FactsText(report));
    facts_->setToolTip(QFile::decodeName(QByteArray::fromStdString(report.path)));
    ShowThumbnail(report, picture);
    ShowFindings(report);
    if (play_) {
        play_->setEnabled(!report.Missing() && !report.HasError());
        SetPlaying(false);
    }
}

void OverviewRow::SetPlaying(bool playing) {
    if (!play_)
        return;
    play_->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
    play_->setToolTip(playing ? tr("Остановить") : tr("Прослушать"));
    play_->setProperty("playing", playing);
}

void OverviewRow::SetAnimating(bool animating) {
    animating_ = animating;
    if (!movie_)
        return;
    if (animating)
        movie_->start();
    else
        movie_->setPaused(true);
}

void OverviewRow::ShowThumbnail(const ElementReport& report, const QImage& picture) {
    thumbnail_->setMovie(nullptr);
    movie_.reset();
    thumbnail_->clear();
    scaled_ = false;
    if (!picture.isNull()) {
        scaled_ = !FitsCell(picture.size());
        if (SlotLayouts[report.slot].kind == skAnimation && report.facts.frames > 1)
            movie_ = std::make_unique<QMovie>(QString::fromStdString(report.path));
        if (movie_ && movie_->isValid()) {
            if (scaled_)
                movie_->setScaledSize(FitCell(picture.size()));
            thumbnail_->setMovie(movie_.get());
            if (animating_)
                movie_->start();
            else
                movie_->jumpToFrame(0);
        } else {
            movie_.reset();
            thumbnail_->setPixmap(QPixmap::fromImage(
                scaled_ ? picture.scaled(FitCell(picture.size()), Qt::IgnoreAspectRatio,
                                         Qt::SmoothTransformation)
                        : picture));
        }
    }
    scaledMark_->setVisible(scaled_);
    thumbnail_->setToolTip(scaled_ ? tr("Показано уменьшенным: настоящий размер %1 × %2")
                                         .arg(picture.width())
                                         .arg(picture.height())
                                   : QString());
}

void OverviewRow::ShowFindings(const ElementReport& report) {
    while (QLayoutItem* item = findings_->takeAt(0)) {
        delete item->widget();
        delete item->layout();
        delete item;
    }
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize);
    for (const Finding& finding : report.findings) {
        const CheckGrade grade = GradeOf(finding.code);
        auto* line = new QWidget;
        line->setObjectName("Finding");
        line->setProperty("grade", GradeName(grade));
        auto* layout = new QHBoxLayout(line);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* icon = new QLabel;
        icon->setObjectName("GradeIcon");
        icon->setPixmap(style()->standardIcon(GradeIcon(grade)).pixmap(iconSize, iconSize));
        icon->setAlignment(Qt::AlignTop);
        auto* text = new QLabel(FindingText(report, finding));
        text->setObjectName("FindingText");
        text->setWordWrap(true);
        layout->addWidget(icon);
        layout->addWidget(text, 1);
        findings_->addWidget(line);
    }
}

void OverviewRow::MarkMissing(bool missing) {
    setProperty("missing", missing);
    QPalette colours = QApplication::palette(this);
    if (missing) {
        colours.setColor(QPalette::Window, QColor(255, 228, 225));
        colours.setColor(QPalette::WindowText, QColor(140, 0, 0));
    }
    setPalette(colours);
    QFont font = facts_ ? facts_->font() : QFont();
    font.setBold(missing);
    if (facts_)
        facts_->setFont(font);
}

void OverviewRow::mouseDoubleClickEvent(QMouseEvent* event) {
    QFrame::mouseDoubleClickEvent(event);
    emit activated(slot_);
}

void OverviewRow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit activated(slot_);
        return;
    }
    QFrame::keyPressEvent(event);
}

void OverviewRow::focusInEvent(QFocusEvent* event) {
    QFrame::focusInEvent(event);
    setFrameShape(QFrame::Box);
    setLineWidth(2);
}

void OverviewRow::focusOutEvent(QFocusEvent* event) {
    QFrame::focusOutEvent(event);
    setFrameShape(QFrame::StyledPanel);
    setLineWidth(1);
}
