#include "StandbyScreen.h"

#include "package/ElementCheck.h"

#include <QPainter>

QImage ComposeStandbyScreen(const std::array<QImage, SlotCount>& pictures) {
    QImage screen(ScreenWidth, ScreenHeight, QImage::Format_RGB32);
    screen.fill(StandbyBackground);
    QPainter painter(&screen);
    for (int slot : StandbySlots) {
        const QImage& picture = pictures[slot];
        if (!picture.isNull())
            painter.drawImage(SlotLayouts[slot].x, SlotLayouts[slot].y, picture);
    }
    return screen;
}
