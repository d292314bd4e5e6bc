#pragma once
// An entry's data: the file's bytes deflated at level 6, or stored when a small file does not
// compress, with their CRC-32 and text judgement.

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

/// An entry deflated in memory: its values and the bytes that follow its local header.
struct CompressedEntry {
    EntryData data;
    std::unique_ptr<unsigned char[]> bytes; // data.compressedSize of them
    std::size_t capacity = 0;
};

/// Holds the deflate state and the buffers that one thread reuses for all its entries.
class EntryCompressor {
public:
    EntryCompressor();
    ~EntryCompressor();
    EntryCompressor(const EntryCompressor&) = delete;
    EntryCompressor& operator=(const EntryCompressor&) = delete;

    /// Files up to this size are deflated in memory at once; larger ones are streamed.
    static constexpr std::uint64_t DefaultInMemoryLimit = 64u << 20;

    /// Reads the open file (expected to hold size bytes, which fit in memory) from its current
    /// position to its end and deflates it whole. Throws "Stream read error".
    CompressedEntry Compress(FileHandle& file, std::uint64_t size);
    /// Takes back the buffer of an entry that has been written, to spare the next one the
    /// page faults of a fresh buffer.
    void Recycle(CompressedEntry&& entry);
    /// Lets go of a reading buffer larger than this, so that threads that took a large entry
    /// each do not keep its size in memory after it.
    void ReleaseBeyond(std::size_t size);

    /// Streams the open file (expected to hold size bytes) through zlib into out, for files too
    /// large to hold in memory. Throws "Stream read error", "Stream write error" or the
    /// too-large ZipError naming path.
    EntryData WriteStreaming(FileHandle& file, std::uint64_t size, ArchiveOutput& out,
                             const std::string& path);

    /// The memory an entry of this size takes while it is deflated in memory.
    static std::uint64_t InMemoryCost(std::uint64_t size);

private:
    struct Deflater;
    std::unique_ptr<Deflater> deflater_;
};
