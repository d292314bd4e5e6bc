#include "SlotField.h"

void SlotField::mouseDoubleClickEvent(QMouseEvent* event) {
    QLineEdit::mouseDoubleClickEvent(event);
    emit DoubleClicked();
}
