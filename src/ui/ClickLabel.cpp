#include "ClickLabel.h"

#include <QMouseEvent>

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
}

void ClickLabel::mouseMoveEvent(QMouseEvent* event) {
    QLabel::mouseMoveEvent(event);
    emit MouseMoved();
}

void ClickLabel::enterEvent(QEnterEvent* event) {
    QLabel::enterEvent(event);
    emit MouseMoved();
}

void ClickLabel::leaveEvent(QEvent* event) {
    QLabel::leaveEvent(event);
    emit MouseLeft();
}
