#pragma once
// Reading an archive back with independent readers: Python's zipfile, Info-ZIP's unzip -t and
// 7-Zip's 7z t.

#include <cstdint>
#include <string>
#include <vector>

namespace test {

struct ZipEntryInfo {
    std::string name; // decoded from CP866
    int method = -1;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    std::string time; // "YYYY-MM-DD hh:mm:ss"
    int internalAttributes = -1;
    std::uint32_t externalAttributes = 0;
    int versionMadeBy = -1;
    int madeOnSystem = -1;
    int versionNeeded = -1;
    int flags = -1;
    std::uint64_t offset = 0;
    int centralExtraLength = -1;
    int localExtraLength = -1;
    bool localHeaderAgrees = false; // the local header repeats the central one's values
    std::uint32_t contentCrc = 0;   // of the bytes zipfile extracted
    std::uint64_t contentSize = 0;
};

struct ZipListing {
    std::vector<ZipEntryInfo> entries;
    std::string commentHex;
    std::vector<std::string> Names() const;
};

/// Reads the archive with all three readers; a reader that refuses it fails the current test.
ZipListing ReadBackZip(const std::string& path);

std::uint32_t Crc32(const std::string& bytes);

} // namespace test
