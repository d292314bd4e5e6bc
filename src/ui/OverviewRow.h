#pragma once
// One element in the theme overview: its description and resource name, a thumbnail (a playing
// animation, a play button for a melody), the facts of its file and the check's findings.

#include "package/ElementCheck.h"

#include <QFrame>
#include <memory>

class QLabel;
class QMovie;
class QToolButton;
class QVBoxLayout;

/// The thumbnail's cell: smaller pictures show at their own size, larger ones scaled down.
inline constexpr int ThumbnailCell = 120;

class OverviewRow : public QFrame {
    Q_OBJECT
public:
    OverviewRow(int slot, QWidget* parent);
    ~OverviewRow() override;

    int Slot() const { return slot_; }
    void SetHeading(const QString& description, const QString& resourceName);
    /// picture: the file's first frame, null when there is none to show.
    void SetReport(const ElementReport& report, const QImage& picture);
    /// Whether the thumbnail is shown smaller than the picture.
    bool Scaled() const { return scaled_; }
    void SetPlaying(bool playing);
    /// Animations run only while the overview is shown.
    void SetAnimating(bool animating);

signals:
    void activated(int slot);
    void playClicked(int slot);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ShowThumbnail(const ElementReport& report, const QImage& picture);
    void ShowFindings(const ElementReport& report);
    void MarkMissing(bool missing);

    int slot_;
    bool scaled_ = false;
    bool animating_ = false;
    QLabel* thumbnail_ = nullptr;
    QLabel* scaledMark_ = nullptr;
    QToolButton* play_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* resourceName_ = nullptr;
    QLabel* facts_ = nullptr;
    QVBoxLayout* findings_ = nullptr;
    std::unique_ptr<QMovie> movie_;
};
