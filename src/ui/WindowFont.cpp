#include "WindowFont.h"

#include <QFontDatabase>

QFont WindowFont() {
    QFont font;
    if (QFontDatabase::hasFamily("MS Sans Serif")) {
        font.setFamily("MS Sans Serif");
    } else {
        font.setFamily("Sans Serif");
        font.setStyleHint(QFont::SansSerif);
    }
    // Pixels, not points, so the captions fit the fixed layout at any screen resolution.
    font.setPixelSize(11);
    return font;
}
