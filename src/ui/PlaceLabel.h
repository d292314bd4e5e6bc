#pragma once
// Both windows are laid out in pixels; their labels stand at a point and take their caption's size.

#include <QString>

class QLabel;
class QWidget;

QLabel* PlaceLabel(QWidget* parent, const char* name, const QString& text, int x, int y);

/// A new caption for a placed label, which takes the caption's size again.
void SetCaption(QLabel* label, const QString& text);
