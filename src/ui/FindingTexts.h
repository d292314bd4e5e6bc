#pragma once
// The window's wording of a theme check, through tr() like every text on screen.

#include "package/ElementCheck.h"

#include <QString>

/// One finding, as a sentence.
QString FindingText(const ElementReport& report, const Finding& finding);

/// The facts of a chosen file: "PNG, 240 × 320, 6 509 Б"; for animations with their frames.
QString FactsText(const ElementReport& report);

/// "Ошибок: 1, предупреждений: 0, замечаний: 2, не выбрано: 3"
QString TallyText(const CheckTally& tally);
