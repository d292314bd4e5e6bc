#pragma once
// kestrova-build --check: tells what is wrong with a theme's files before the phone does. The
// picture decoders live above the core, so the program hands the check in; a build takes its
// own quick look, which needs none.

#include "app/BuildManifest.h"
#include "package/ElementCheck.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

using ThemeChecker = std::function<ThemeReport(const ThemeFiles&)>;

inline constexpr std::string_view CheckUsage =
    "usage: kestrova-build --check MANIFEST.ini|THEME.sdt\n";

/// The chosen file of each slot: a slot chosen more than once keeps its last file.
ThemeFiles ManifestFiles(const BuildManifest& manifest);

/// The files of a theme archive, opened into stagingFolder as the editor opens a theme.
/// Throws what opening throws.
ThemeFiles ArchiveFiles(const std::string& archivePath, const std::string& stagingFolder);

/// Prints one line per element in slot order and a tally. Returns 0 for a theme fit for the
/// phone, 1 when an element has an error or is missing, or when the theme cannot be read.
int RunThemeCheck(const std::string& path, const ThemeChecker& check, std::ostream& out,
                  std::ostream& err);

/// True when the arguments ask for a check rather than a build.
bool AsksForCheck(const std::vector<std::string>& args);

/// kestrova-build's arguments when they ask for a check: "--check PATH" and nothing else.
int RunCheckCommand(const std::vector<std::string>& args, const ThemeChecker& check,
                    std::ostream& out, std::ostream& err);

/// The errors and warnings a quick look finds in the manifest's files, one line each, for a
/// build that goes on regardless. Silent when the manifest cannot be read: the build says why.
void PrintBuildFindings(const std::string& manifestPath, std::ostream& err);

/// kestrova-build's arguments when they ask for no check: builds, after printing the findings of
/// the manifest's files.
int RunBuildProgram(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
