#pragma once
// config.spc: the XML text that tells the phone what the package is.

#include "model/ThemeDocument.h"

#include <string>

constexpr std::string_view ThemeDescriptorFileName = "config.spc";

/// Refuses, with an EncodingError naming the field, a text the descriptor cannot carry: one with
/// a character Windows-1251 lacks or a control character. A build runs it before it writes.
void CheckThemeTexts(const ThemeMetadata& metadata);

/// The descriptor's bytes, in Windows-1251 with LF line ends. Throws EncodingError naming the
/// field or file whose text the descriptor cannot carry (see CheckThemeTexts).
std::string ThemeDescriptorText(const ThemeMetadata& metadata, const PackageList& filesList);

/// Writes tempDir/config.spc. Throws EncodingError before creating the file, InOutError when
/// it cannot be created or written.
void WriteThemeDescriptor(const ThemeMetadata& metadata, const PackageList& filesList,
                          const std::string& tempDir);
