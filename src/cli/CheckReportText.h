#pragma once
// kestrova-build's English wording of a theme check: one line per element.

#include "package/ElementCheck.h"

#include <string>

/// "error: the file is empty", "warning: reaches 10 pixels beyond the 240x320 screen on the
/// right; the phone cuts it off" and so on.
std::string FindingLine(const ElementReport& report, const Finding& finding);

/// The element's resource name and slot, then its file name and facts, then its findings:
/// "idle_wallpaper (7): wall.jpg, JPEG 240x320, 6509 bytes; note: ..."; "... : missing".
std::string ElementLine(const ElementReport& report);

/// "2 errors, 1 warning, 0 notes, 3 missing"
std::string TallyLine(const CheckTally& tally);
