// The standby screen composed from four pictures of one colour each.

#include "picture/StandbyScreen.h"

#include <gtest/gtest.h>

namespace {

QImage Solid(int width, int height, QColor colour) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(ComposeStandbyScreen, PicturesLieAtTheirPlacesInTheirOrder) {
    const QColor grey = QColor::fromRgb(StandbyBackground);
    const QColor wallpaper = Qt::red, headline = Qt::green, status = Qt::blue, bottom = Qt::yellow;
    std::array<QImage, SlotCount> pictures;
    pictures[7] = Solid(200, 300, wallpaper); // smaller than the screen: the frame shows
    pictures[9] = Solid(240, 24, headline);
    pictures[35] = Solid(240, 20, status);
    // Wider and higher than the room below 288: cut at the screen's edges.
    pictures[8] = Solid(260, 40, bottom);
    // Clear on its right half: the headline shows through.
    for (int y = 0; y < 20; ++y)
        for (int x = 120; x < 240; ++x)
            pictures[35].setPixelColor(x, y, Qt::transparent);
    // Not part of the standby screen.
    pictures[11] = Solid(240, 320, Qt::magenta);

    const QImage screen = ComposeStandbyScreen(pictures);
    ASSERT_EQ(screen.size(), QSize(240, 320));
    const struct {
        QPoint point;
        QColor colour;
    } cases[] = {
        {{10, 10}, status},      {{130, 10}, headline}, {{10, 22}, headline}, {{10, 24}, wallpaper},
        {{199, 287}, wallpaper}, {{200, 100}, grey},    {{100, 299}, bottom}, {{239, 319}, bottom},
        {{10, 287}, wallpaper},  {{230, 200}, grey},
    };
    for (const auto& c : cases)
        EXPECT_EQ(screen.pixelColor(c.point), c.colour)
            << c.point.x() << ", " << c.point.y() << ": "
            << screen.pixelColor(c.point).name().toStdString();
}

TEST(ComposeStandbyScreen, NoPicturesLeaveTheBareFrame) {
    const QImage screen = ComposeStandbyScreen({});
    ASSERT_EQ(screen.size(), QSize(240, 320));
    EXPECT_EQ(screen.pixel(0, 0), StandbyBackground);
    EXPECT_EQ(screen.pixel(239, 319), StandbyBackground);
}
