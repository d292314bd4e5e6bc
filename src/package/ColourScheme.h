#pragma once
// The theme's colour scheme "SkinScheme.col": the DeepBlue scheme the program carries, or a
// file the user chose. The program never reads or checks a scheme's contents.

#include "model/ThemeDocument.h"

#include <string>
#include <string_view>

constexpr std::string_view ColourSchemeFileName = "SkinScheme.col";

/// The 1040 bytes of the default DeepBlue scheme.
extern const std::string_view DefaultColourScheme;

/// Writes the default scheme to tempDir/SkinScheme.col. Throws StreamError.
void SaveDefaultColourScheme(const std::string& tempDir);

/// Stages a chosen scheme file as TempDir/SkinScheme.col and lists it. On failure FilesList is
/// unchanged. Returns the staged path.
std::string StageColourScheme(ThemeDocument& document, const std::string& chosenPath);
