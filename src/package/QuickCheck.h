#pragma once
// The look a build takes at the theme's files before it packs them: what the headers and the end
// marks say, no frame decoded and no decoder loaded, so a build starts and ends quickly. The
// window's overview and kestrova-build --check decode every frame (src/picture).

#include "ElementCheck.h"

#include <string>

/// Knows the picture formats the phone shows: PNG, JPEG, GIF, BMP and ICO; any other content
/// is no picture to it.
ElementReport QuickCheckElement(int slot, const std::string& path);

ThemeReport QuickCheckTheme(const ThemeFiles& files);
