#pragma once
// Writing a whole file into a folder so that no one is ever left with half of it: the bytes go
// to a temporary name beside the target, are flushed, and are renamed over it. A symbolic link or
// a folder in the target's place is refused, never written through.

#include "StagedFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

/// Throws StreamError when path is a symbolic link or a folder, so callers can check every
/// target before they write the first.
void CheckReplaceable(const std::string& path);

/// Writes bytes as the whole of path, with the DOS date and time as modification time when one
/// is given. Throws StreamError; on failure path is as it was and no temporary file is left.
void ReplaceFile(const std::string& path, std::string_view bytes,
                 std::optional<std::uint32_t> dosDateTime = std::nullopt);

/// The same in the staging folder, which is ours: a link in the file's place is replaced, not
/// refused.
void StageFileBytes(const std::string& path, std::string_view bytes,
                    std::optional<std::uint32_t> dosDateTime, Flush flush);
