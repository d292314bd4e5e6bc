#pragma once
// A label or picture that answers the mouse: the banners and the about box's link.

#include <QLabel>

class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void Clicked();
    void MouseMoved();
    void MouseLeft();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};
