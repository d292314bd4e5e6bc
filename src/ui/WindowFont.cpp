#include "WindowFont.h"

#include <QFontDatabase>

QFont WindowFont() {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setFamily("Sans Serif");
    // Arial's metrics are closest to "MS Sans Serif"; Liberation Sans shares them. The usual
    // DejaVu Sans runs wider than the captions' places, its condensed cut does not.
    for (const char* family :
         {"MS Sans Serif", "Arial", "Liberation Sans", "DejaVu Sans Condensed"}) {
        if (QFontDatabase::hasFamily(family)) {
            font.setFamily(family);
            break;
        }
    }
    // Pixels, not points, so the captions fit the fixed layout at any screen resolution.
    font.setPixelSize(11);
    return font;
}
