#pragma once
// Package-list entries that name many files at once, and when two entry names are the same.

#include <string_view>

/// An entry holding "*", "?", "[" or "]" is a pattern, whatever part of it holds them.
bool IsNamePattern(std::string_view entry);

/// Matches a file name against a pattern's last component, ASCII letters compared without case:
/// "*" any run of characters, "?" one character, "[...]" one character among those and ranges
/// listed ("[a-c]"), "[!...]" or "[^...]" one outside them. A "[" without its "]" is itself.
bool MatchesNamePattern(std::string_view pattern, std::string_view name);

/// Two entry names are the same when equal with ASCII letters compared without case.
bool SameEntryName(std::string_view a, std::string_view b);
