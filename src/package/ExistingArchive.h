#pragma once
// Reading the archive that an update replaces. Its bytes are untrusted: every count, length and
// offset is checked against the file before it is used, and anything that does not add up ends
// the update with "Incomplete Zip File".

#include "FileHandle.h"

#include <cstdint>
#include <string>
#include <vector>

struct OldEntry {
    /// The whole central header as stored: fixed part, name, extra field and comment.
    std::string centralHeader;
    /// The stored name, as the archive's bytes.
    std::string storedName;
    /// The stored name as UTF-8: CP866 unless the entry says its name is UTF-8.
    std::string name;
    std::uint32_t dosDateTime = 0;
    /// Local header, data and data descriptor, which a kept entry copies unchanged.
    std::uint64_t localOffset = 0;
    std::uint64_t localLength = 0;
};

struct ExistingArchive {
    std::vector<OldEntry> entries;
    std::string comment;
};

/// The end of central directory record is looked for in the file's last 65,557 bytes, room for
/// the longest archive comment.
ExistingArchive ReadExistingArchive(FileHandle& file, std::uint64_t fileSize);

/// Reads size bytes at offset; a read that fails is "Stream read error", one that comes up short
/// means the file is not what its directory says: "Incomplete Zip File".
std::string ReadArchiveBytes(FileHandle& file, std::uint64_t offset, std::size_t size);
/// The same into the caller's buffer.
void ReadArchiveBytes(FileHandle& file, std::uint64_t offset, char* buffer, std::size_t size);

/// "Incomplete Zip File"
extern const char* const IncompleteZipFile;
