#pragma once
// The check of a theme's files, for the window's overview and for kestrova-build --check.

#include "package/ElementCheck.h"

#include <string>

class QImage;

/// Checks the file chosen for a slot; an empty path is a missing element. For a picture or an
/// animation, firstFrame, when given, receives its first decoded frame.
ElementReport CheckElement(int slot, const std::string& path, QImage* firstFrame = nullptr,
                           CheckDepth depth = CheckDepth::Full);

ThemeReport CheckTheme(const ThemeFiles& files, CheckDepth depth = CheckDepth::Full);
