#pragma once
// Turning the package list into the files a pack takes, in place: bare names become paths in
// the root folder, missing files drop out and patterns are replaced by the files they match.

#include "model/ThemeDocument.h"

#include <string>

/// rootDir ends with a separator (or is empty for the current folder). Pattern matches are
/// appended at the end, each pattern's sorted by name; the archive at zipName never matches.
void ResolvePackageList(PackageList& list, const std::string& rootDir, const std::string& zipName);
