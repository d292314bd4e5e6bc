#pragma once
// config.spc: the XML text that tells the phone what the package is.

#include "model/ThemeDocument.h"

#include <string>

constexpr std::string_view ThemeDescriptorFileName = "config.spc";

/// The descriptor's bytes, in Windows-1251 with LF line ends. Throws EncodingError naming the
/// field or file whose text Windows-1251 cannot hold.
std::string ThemeDescriptorText(const ThemeMetadata& metadata, const PackageList& filesList);

/// Writes tempDir/config.spc. Throws EncodingError before creating the file, InOutError when
/// it cannot be created or written.
void WriteThemeDescriptor(const ThemeMetadata& metadata, const PackageList& filesList,
                          const std::string& tempDir);
