#pragma once
// Letter case as ZIP names, ini keys and file extensions compare it: ASCII letters only, so a
// Cyrillic name is never folded by the locale of the moment.

#include <string>
#include <string_view>

constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string AsciiLowered(std::string_view text);

/// Equal with ASCII letters compared without regard to case.
bool SameIgnoringAsciiCase(std::string_view a, std::string_view b);
