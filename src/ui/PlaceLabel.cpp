#include "PlaceLabel.h"

#include <QLabel>

QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void SetCaption(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}
