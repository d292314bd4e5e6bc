#pragma once
// The standby screen as the phone composes it from the theme's pictures, near enough: each
// picture at its slot's place, one over the other. The phone's own drawing may differ.

#include "model/WorkUnit.h"

#include <QImage>
#include <array>

/// The pictures of the standby screen, from the bottom up: idle wallpaper, headline, status bar,
/// bottom bar.
inline constexpr std::array<int, 4> StandbySlots{7, 9, 35, 8};

/// Where no picture covers the screen: the grey of the main window's preview.
inline constexpr QRgb StandbyBackground = qRgb(160, 160, 164);

/// A 240x320 picture of the screen; pictures[slot] may be null for a slot without one.
QImage ComposeStandbyScreen(const std::array<QImage, SlotCount>& pictures);
