#include "EntryCompression.h"

#include "Errors.h"
#include "TextJudgement.h"
#include "ZipRecords.h"

#include <algorithm>
#include <libdeflate.h>
#include <vector>
#include <zlib.h>

namespace {

constexpr int PackLevel = 6;
constexpr std::size_t StreamChunk = 256 * 1024;

} // namespace

/// Grows as needed and is never cleared: zero-filling a buffer the next read overwrites would
/// cost more page faults than the deflating it serves.
class ScratchBuffer {
public:
    unsigned char* Get(std::size_t size) {
        if (size > capacity_ || !data_) {
            data_ = std::make_unique_for_overwrite<unsigned char[]>(size);
            capacity_ = size;
        }
        return data_.get();
    }
    /// Hands the buffer to an entry that keeps its bytes; the next Get allocates anew.
    std::unique_ptr<unsigned char[]> Take(std::size_t& capacity) {
        capacity = capacity_;
        capacity_ = 0;
        return std::move(data_);
    }
    void ReleaseBeyond(std::size_t size) {
        if (capacity_ > size) {
            data_.reset();
            capacity_ = 0;
        }
    }
    /// Takes a buffer back when it is larger than the one held.
    bool Adopt(std::unique_ptr<unsigned char[]>& data, std::size_t capacity) {
        if (data_ && capacity <= capacity_)
            return false;
        data_ = std::move(data);
        capacity_ = capacity;
        return true;
    }

private:
    std::unique_ptr<unsigned char[]> data_;
    std::size_t capacity_ = 0;
};

struct EntryCompressor::Deflater {
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(PackLevel);
    ScratchBuffer input;
    ScratchBuffer output;
    ~Deflater() { libdeflate_free_compressor(compressor); }
};

EntryCompressor::EntryCompressor() : deflater_(std::make_unique<Deflater>()) {
    if (!deflater_->compressor)
        throw std::bad_alloc();
}

EntryCompressor::~EntryCompressor() = default;

std::uint64_t EntryCompressor::InMemoryCost(std::uint64_t size) {
    return size + libdeflate_deflate_compress_bound(nullptr, static_cast<std::size_t>(size));
}

CompressedEntry EntryCompressor::Compress(FileHandle& file, std::uint64_t size) {
    unsigned char* input = deflater_->input.Get(static_cast<std::size_t>(size));
    ssize_t got = file.ReadFull(input, static_cast<std::size_t>(size));
    if (got < 0)
        throw StreamError::Read();
    // A file that shrank since it was measured is packed as it now reads.
    std::size_t length = static_cast<std::size_t>(got);

    CompressedEntry entry;
    EntryData& data = entry.data;
    data.size = length;
    data.crc = libdeflate_crc32(0, input, length);
    data.text = LooksLikeText(input, std::min(length, FirstBlockSize));

    std::size_t bound = libdeflate_deflate_compress_bound(deflater_->compressor, length);
    unsigned char* output = deflater_->output.Get(bound);
    std::size_t packed =
        libdeflate_deflate_compress(deflater_->compressor, input, length, output, bound);
    // A file that ends within the first block and does not shrink there is stored as it is.
    if (length <= FirstBlockSize && packed >= length) {
        data.method = zip::MethodStored;
        data.compressedSize = length;
        entry.bytes = deflater_->input.Take(entry.capacity);
    } else {
        data.method = zip::MethodDeflated;
        data.compressedSize = packed;
        entry.bytes = deflater_->output.Take(entry.capacity);
    }
    return entry;
}

void EntryCompressor::ReleaseBeyond(std::size_t size) {
    deflater_->input.ReleaseBeyond(size);
}

void EntryCompressor::Recycle(CompressedEntry&& entry) {
    if (!deflater_->input.Adopt(entry.bytes, entry.capacity))
        deflater_->output.Adopt(entry.bytes, entry.capacity);
}

EntryData EntryCompressor::WriteStreaming(FileHandle& file, std::uint64_t size, ArchiveOutput& out,
                                          const std::string& path) {
    out.SetSubject(path);
    if (size >= zip::Limit)
        throw ZipError(TooLargeMessage(path));
    struct Stream {
        z_stream z{};
        bool open = false;
        ~Stream() {
            if (open)
                deflateEnd(&z);
        }
    } stream;
    if (deflateInit2(&stream.z, PackLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    stream.open = true;

    std::vector<unsigned char> input(StreamChunk);
    std::vector<unsigned char> output(StreamChunk);
    EntryData data;
    data.method = zip::MethodDeflated;
    bool first = true;
    int flush = Z_NO_FLUSH;
    while (flush != Z_FINISH) {
        ssize_t got = file.ReadFull(input.data(), input.size());
        if (got < 0)
            throw StreamError::Read();
        std::size_t count = static_cast<std::size_t>(got);
        if (first) {
            data.text = LooksLikeText(input.data(), std::min(count, FirstBlockSize));
            first = false;
        }
        data.size += count;
        // The file may have grown since it was measured.
        if (data.size >= zip::Limit)
            throw ZipError(TooLargeMessage(path));
        data.crc = libdeflate_crc32(data.crc, input.data(), count);
        flush = count < input.size() ? Z_FINISH : Z_NO_FLUSH;
        stream.z.next_in = input.data();
        stream.z.avail_in = static_cast<uInt>(count);
        do {
            stream.z.next_out = output.data();
            stream.z.avail_out = static_cast<uInt>(output.size());
            deflate(&stream.z, flush);
            std::size_t produced = output.size() - stream.z.avail_out;
            out.Write(output.data(), produced);
            data.compressedSize += produced;
        } while (stream.z.avail_out == 0);
    }
    return data;
}
