#pragma once
// The staging folder: every file that goes into a theme is first copied there under the name it
// will carry in the package.

#include "model/ThemeDocument.h"

#include <string>
#include <string_view>

/// Copies source to destination, replacing its contents, and stamps the copy with the source's
/// modification time at DOS resolution. Both files are held exclusively while copying: a source
/// another process holds locked fails to open, and a file cannot be copied onto itself.
/// Throws StreamError.
void CopyFileKeepDate(const std::string& source, const std::string& destination);

/// Stages the file chosen for a slot as TempDir/<resource name><extension> and appends the
/// staged path to FilesList. On failure FilesList is unchanged. Returns the staged path.
std::string StageSlotFile(ThemeDocument& document, int slot, const std::string& chosenPath);

/// Where StageSlotFile puts the file chosen for a slot.
std::string StagedSlotPath(const std::string& tempDir, int slot, std::string_view chosenPath);
