#pragma once
// For the start-up check and the README's picture: with KESTROVA_SCREENSHOT naming a PNG file,
// the program saves its window once it is first painted, reports when that happened and how
// much memory it used, and ends.

class QWidget;

void WatchFirstPaint(QWidget& window);
