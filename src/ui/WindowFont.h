#pragma once
// The windows are laid out in pixels for an 11-pixel-high "MS Sans Serif".

#include <QFont>

/// "MS Sans Serif" or the nearest sans serif installed, at 11 pixels either way.
QFont WindowFont();
