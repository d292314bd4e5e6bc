#include "ZipWriter.h"

#include "ArchiveOutput.h"
#include "DeflateAhead.h"
#include "EntryCompression.h"
#include "Errors.h"
#include "ExistingArchive.h"
#include "PackPlan.h"
#include "PackageListResolution.h"
#include "PathNames.h"
#include "SystemCalls.h"
#include "WorkerPool.h"
#include "ZipRecords.h"

#include <algorithm>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <system_error>

namespace {

constexpr std::uint16_t AttributeText = 1;
constexpr std::size_t CopyChunk = 1 << 20;
// Files held open ahead of the writer, well below any limit on open files.
constexpr std::size_t MostAhead = 128;

StreamError NotRegularFile(const std::string& path) {
    return StreamError("Cannot open file \"" + FullPath(path) + "\". Not a regular file");
}

/// Opens the archive an update starts from; false when there is none. Anything but a regular
/// file is refused before it is opened: a named pipe would wait for a writer for ever, and a
/// device has no archive to give.
bool OpenExistingArchive(const std::string& zipName, FileHandle& file, struct stat& info) {
    if (Sys.Stat(zipName.c_str(), &info) != 0)
        return false;
    if (S_ISDIR(info.st_mode))
        throw StreamError::Create(zipName, EISDIR);
    if (!S_ISREG(info.st_mode))
        throw NotRegularFile(zipName);
    // Non-blocking, in case a pipe took the file's place since it was looked at.
    file = FileHandle::Open(zipName.c_str(), O_RDONLY | O_NONBLOCK);
    if (!file.IsOpen() || Sys.Fstat(file.Fd(), &info) != 0)
        throw StreamError::Open(zipName, errno);
    if (!S_ISREG(info.st_mode))
        throw NotRegularFile(zipName);
    return true;
}

/// What one pack writes: the archive and its directory so far.
class PackRun {
public:
    PackRun(ArchiveOutput& out, FileHandle& oldFile, const std::string& zipName)
        : out_(out), oldFile_(oldFile), zipName_(zipName) {}

    void Write(PlannedEntry& entry, EntryCompressor& compressor, DeflateAhead* ahead) {
        switch (entry.kind) {
        case PlannedEntry::Kind::Keep:
            KeepEntry(*entry.old);
            break;
        case PlannedEntry::Kind::InMemory: {
            CompressedEntry data =
                ahead ? ahead->TakeNext() : compressor.Compress(entry.file, entry.size);
            entry.file.Close();
            WriteFile(entry, [&] {
                out_.Write(data.bytes.get(), static_cast<std::size_t>(data.data.compressedSize));
                return data.data;
            });
            // Buffers of entries deflated ahead are not reused: they came from many threads.
            if (!ahead)
                compressor.Recycle(std::move(data));
            break;
        }
        case PlannedEntry::Kind::Streamed:
            WriteFile(entry, [&] {
                return compressor.WriteStreaming(entry.file, entry.size, out_, entry.path);
            });
            entry.file.Close();
            break;
        }
    }

    void Finish(const std::string& comment) {
        out_.SetSubject(zipName_);
        std::uint64_t offset = out_.Offset();
        out_.Write(directory_);
        out_.Write(zip::EncodeEndRecord(entries_, static_cast<std::uint32_t>(directory_.size()),
                                        static_cast<std::uint32_t>(offset), comment));
    }

private:
    void AddToDirectory(const std::string& header, const std::string& name) {
        if (entries_ == zip::MaxEntries)
            throw ZipError("Too many files for a theme archive: \"" + name + "\"");
        directory_ += header;
        ++entries_;
    }

    /// The local header, the data that writeData writes, the local header again with the final
    /// values, and the central header.
    template <typename WriteData> void WriteFile(PlannedEntry& entry, WriteData writeData) {
        zip::EntryFields& fields = entry.fields;
        std::uint64_t offset = out_.Offset();
        out_.SetSubject(entry.path);
        out_.Write(zip::EncodeLocalHeader(fields));
        EntryData data = writeData();
        fields.method = data.method;
        fields.crc = data.crc;
        fields.compressedSize = static_cast<std::uint32_t>(data.compressedSize);
        fields.size = static_cast<std::uint32_t>(data.size);
        out_.WriteAt(zip::EncodeLocalHeader(fields), offset);
        AddToDirectory(zip::EncodeCentralHeader(fields, data.text ? AttributeText : 0,
                                                entry.externalAttributes,
                                                static_cast<std::uint32_t>(offset)),
                       entry.name);
    }

    /// Copies an old entry's local header and data as they are; its central header changes
    /// only in the offset.
    void KeepEntry(const OldEntry& entry) {
        std::uint64_t offset = out_.Offset();
        out_.SetSubject(zipName_);
        // One buffer for every copy: a fresh one per entry costs more in page faults than the
        // copy itself.
        if (!copyBuffer_)
            copyBuffer_ = std::make_unique_for_overwrite<char[]>(CopyChunk);
        for (std::uint64_t done = 0; done < entry.localLength;) {
            std::size_t piece = static_cast<std::size_t>(
                std::min<std::uint64_t>(CopyChunk, entry.localLength - done));
            ReadArchiveBytes(oldFile_, entry.localOffset + done, copyBuffer_.get(), piece);
            out_.Write(copyBuffer_.get(), piece);
            done += piece;
        }
        std::string header = entry.centralHeader;
        zip::Put32(header, zip::CentralOffsetField, static_cast<std::uint32_t>(offset));
        AddToDirectory(header, entry.name);
    }

    ArchiveOutput& out_;
    FileHandle& oldFile_;
    const std::string& zipName_;
    std::string directory_;
    std::size_t entries_ = 0;
    std::unique_ptr<char[]> copyBuffer_;
};

} // namespace

void ZipWriter::SetRootDir(const std::string& folder) {
    rootDir_ = folder;
    if (!rootDir_.empty() && rootDir_.back() != PathSeparator)
        rootDir_ += PathSeparator;
}

void ZipWriter::SetZipName(const std::string& path) {
    zipName_ = path;
}

int ZipWriter::PackArchive() {
    ResolvePackageList(FilesList, rootDir_, zipName_);

    FileHandle oldFile;
    std::optional<ExistingArchive> old;
    struct stat oldInfo {};
    if (OpenExistingArchive(zipName_, oldFile, oldInfo))
        old = ReadExistingArchive(oldFile, static_cast<std::uint64_t>(oldInfo.st_size));

    ArchiveOutput out(zipName_, ProcessMessages);
    if (old)
        out.KeepMode(oldInfo.st_mode);
    PackPlan plan(FilesList, old ? &*old : nullptr, InMemoryLimit);
    PackRun run(out, oldFile, zipName_);
    EntryCompressor compressor; // the calling thread's
    // One thread deflates each entry in its turn; more deflate the entries that fit in memory
    // ahead of the writer, which waits for them in the list's order.
    const int threads =
        PackThreads > 0 ? std::min(PackThreads, MostPackThreads) : DefaultPackThreads();
    bool parallel = threads > 1;
    std::optional<DeflateAhead> ahead; // made for the first entry it takes

    std::deque<PlannedEntry> window;
    std::optional<PlannedEntry> next = plan.Next();
    auto fill = [&] {
        while (next && window.size() < (parallel ? MostAhead : 1)) {
            if (parallel && next->kind == PlannedEntry::Kind::InMemory) {
                if (!ahead) {
                    try {
                        ahead.emplace(threads, DeflateAhead::DefaultBudget, ProcessMessages);
                    } catch (const std::system_error&) {
                        // No threads to be had: the calling thread deflates on its own.
                        parallel = false;
                        continue;
                    }
                }
                if (!ahead->HasRoomFor(next->size))
                    return;
                ahead->Add(std::move(next->file), next->size);
            }
            window.push_back(std::move(*next));
            next = plan.Next();
        }
    };
    for (fill(); !window.empty(); fill()) {
        run.Write(window.front(), compressor, ahead ? &*ahead : nullptr);
        window.pop_front();
    }
    run.Finish(old ? old->comment : std::string());
    ahead.reset();
    oldFile.Close();
    out.Commit();
    return plan.Packed();
}
