#pragma once
// The check of a theme's files through Qt's decoders, every frame decoded, for the window's
// overview and for kestrova-build --check.

#include "package/ElementCheck.h"

#include <string>

class QImage;

/// Checks the file chosen for a slot; an empty path is a missing element. For a picture or an
/// animation, firstFrame, when given, receives its first decoded frame.
ElementReport CheckElement(int slot, const std::string& path, QImage* firstFrame = nullptr);

/// One element after another on the calling thread: Qt's decoders are loaded as plugins, whose
/// objects belong to the thread that first loads them and must not outlive it.
ThemeReport CheckTheme(const ThemeFiles& files);
