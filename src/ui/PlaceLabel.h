#pragma once
// Both windows are laid out in pixels; their labels stand at a point and take their caption's size.

#include <QString>

class QLabel;
class QWidget;

QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, int x, int y);
