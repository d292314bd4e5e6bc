#pragma once
// The staging folder: every file that goes into a theme is first copied there under the name it
// will carry in the package.

#include "StagedFile.h"
#include "model/ThemeDocument.h"

#include <string>
#include <string_view>

/// Copies source to destination and stamps the copy with the source's modification time at DOS
/// resolution. The copy replaces destination whole once complete (see StagedFile), so a failure
/// leaves an earlier copy as it was. The source is held under a shared lock and the staged file
/// under an exclusive one while copying: a source another process holds locked exclusively fails
/// to open, an earlier staged file someone else holds fails to be replaced, and a file cannot be
/// copied onto itself. Throws StreamError.
/// flush says whether the copy must be on disk before it replaces an earlier one.
void CopyFileKeepDate(const std::string& source, const std::string& destination,
                      Flush flush = Flush::NotNeeded);

/// Refuses, with an EncodingError naming the character, a chosen file whose extension the
/// package cannot carry: the archive names the staged file in CP866 and the descriptor names it
/// in Windows-1251, and both must name the same file, so a character either lacks, or a
/// control character, would leave the phone unable to find it.
void CheckStagedNameEncodable(std::string_view chosenPath);

/// Stages the file chosen for a slot as TempDir/<resource name><extension> and appends the
/// staged path to FilesList. An extension the package cannot name is refused before anything is
/// copied (CheckStagedNameEncodable). On failure FilesList is unchanged. Returns the staged path.
std::string StageSlotFile(ThemeDocument& document, int slot, const std::string& chosenPath);

/// Where StageSlotFile puts the file chosen for a slot.
std::string StagedSlotPath(const std::string& tempDir, int slot, std::string_view chosenPath);
