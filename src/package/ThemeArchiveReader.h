#pragma once
// Reading a theme archive the user opens to edit. The file may come from anywhere, so it is read
// as hostile: the central directory through ExistingArchive, then every entry inflated in memory
// with its CRC-32 checked, within limits that keep a zip bomb harmless. Names are taken as bare
// file names only, so whatever an entry calls itself, it can only land inside the folder it is
// written to.

#include "FileHandle.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// How much an archive may hold once inflated. A test passes small ones.
struct ThemeArchiveLimits {
    std::size_t entries = 1000;
    std::uint64_t entrySize = std::uint64_t{64} << 20;
    std::uint64_t totalSize = std::uint64_t{256} << 20;
};

struct ThemeArchiveEntry {
    /// The name as the archive's bytes.
    std::string storedName;
    /// The name as UTF-8: CP866 unless the entry says its name is UTF-8. Always a bare file name.
    std::string name;
    /// Date in the high half, time in the low half, local time.
    std::uint32_t dosDateTime = 0;
    /// The inflated bytes, their CRC-32 checked.
    std::string data;
};

struct ThemeArchive {
    /// In the order of the central directory; no two share a name, letter case ignored.
    std::vector<ThemeArchiveEntry> entries;

    /// The entry of that name, ASCII letter case ignored; null when there is none.
    const ThemeArchiveEntry* Find(std::string_view name) const;
};

/// Reads and inflates the whole archive. Throws StreamError when the file cannot be opened or
/// read, and ZipError, "Cannot open theme "<full path>". <reason>", for an archive that is
/// damaged or breaks a limit; nothing is written either way.
ThemeArchive ReadThemeArchive(const std::string& path, const ThemeArchiveLimits& limits = {});

/// The same from an open file of the given size; path only names it in messages.
ThemeArchive ReadThemeArchive(FileHandle& file, std::uint64_t size, const std::string& path,
                              const ThemeArchiveLimits& limits = {});
