#pragma once
// What is wrong in a colour scheme file, in the window's words.

#include "package/ColourSchemeFile.h"

#include <QString>

/// "строка 7: …", or the reason alone when it concerns the file as a whole.
QString ColourSchemeProblemText(const ColourSchemeReading& reading, const SchemeProblem& problem);

/// One line for status panel 0 after a scheme file is chosen: its first fault, or that its
/// Length or CRC disagree with its data; empty when the file follows the format.
QString ColourSchemeStatus(const QString& path, const ColourSchemeReading& reading);
