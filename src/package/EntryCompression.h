#pragma once
// An entry's data: the file's bytes deflated at level 6, or stored when a small file does not
// compress, written to the archive with their CRC-32 and text judgement.

#include "ArchiveOutput.h"
#include "FileHandle.h"

#include <cstdint>
#include <memory>
#include <string>

struct EntryData {
    std::uint16_t method = 0;
    std::uint32_t crc = 0;
    std::uint64_t compressedSize = 0;
    std::uint64_t size = 0;
    bool text = true;
};

/// Holds the deflate state one pack reuses for all its entries.
class EntryCompressor {
public:
    EntryCompressor();
    ~EntryCompressor();
    EntryCompressor(const EntryCompressor&) = delete;
    EntryCompressor& operator=(const EntryCompressor&) = delete;

    /// Files up to this size are deflated in memory at once; larger ones are streamed.
    static constexpr std::uint64_t InMemoryLimit = 64u << 20;

    /// Reads the open file (expected to hold size bytes) from its current position to its end
    /// and writes its data to out. Throws "Stream read error", "Stream write error" or the
    /// too-large ZipError naming path.
    EntryData Write(FileHandle& file, std::uint64_t size, ArchiveOutput& out,
                    const std::string& path);

private:
    EntryData WriteInMemory(FileHandle& file, std::uint64_t size, ArchiveOutput& out);
    EntryData WriteStreaming(FileHandle& file, ArchiveOutput& out, const std::string& path);

    struct Deflater;
    std::unique_ptr<Deflater> deflater_;
};
