#include "ZipWriter.h"

#include "ArchiveOutput.h"
#include "CodePage.h"
#include "DosTime.h"
#include "EntryCompression.h"
#include "Errors.h"
#include "ExistingArchive.h"
#include "NamePattern.h"
#include "PackageListResolution.h"
#include "PathNames.h"
#include "SystemCalls.h"
#include "ZipRecords.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/stat.h>

namespace {

constexpr std::uint32_t AttributeReadOnly = 1;
constexpr std::uint32_t AttributeArchive = 32;
constexpr std::uint16_t AttributeText = 1;
constexpr std::size_t CopyChunk = 1 << 20;

/// A DOS time for any file time: times before 1980 take the first DOS time, times after 2107
/// the last, as other ZIP writers do.
std::uint32_t DosTimeOf(std::time_t time) {
    if (std::optional<std::uint32_t> dos = DosDateTimeFromUnix(time))
        return *dos;
    std::tm local{};
    localtime_r(&time, &local);
    return local.tm_year + 1900 < 1980
               ? (0u << 25 | 1u << 21 | 1u << 16)
               : (127u << 25 | 12u << 21 | 31u << 16 | 23u << 11 | 59u << 5 | 29u);
}

StreamError NotRegularFile(const std::string& path) {
    return StreamError("Cannot open file \"" + FullPath(path) + "\". Not a regular file");
}

/// What one pack writes: the archive, its directory so far and the names already in it.
struct PackRun {
    ArchiveOutput& out;
    EntryCompressor compressor;
    std::string directory;
    std::size_t entries = 0;
    std::vector<std::string> names; // UTF-8, to compare with SameEntryName
    std::unique_ptr<char[]> copyBuffer;

    bool HasName(std::string_view name) const {
        for (const std::string& known : names)
            if (SameEntryName(known, name))
                return true;
        return false;
    }

    void AddToDirectory(const std::string& header, std::string name) {
        if (entries == zip::MaxEntries)
            throw ZipError("Too many files for a theme archive: \"" + name + "\"");
        directory += header;
        ++entries;
        names.push_back(std::move(name));
    }

    /// Packs the file as a new entry. False when it is skipped: gone, no regular file, not to
    /// be opened, its name already packed, or not later than notAfter.
    bool PackFile(const std::string& path, std::optional<std::uint32_t> notAfter = {}) {
        // Non-blocking, so a named pipe in the list is skipped instead of waiting for a writer.
        FileHandle file = FileHandle::Open(path.c_str(), O_RDONLY | O_NONBLOCK);
        struct stat info {};
        if (!file.IsOpen() || fstat(file.Fd(), &info) != 0 || !S_ISREG(info.st_mode))
            return false;
        std::string name(FileNamePart(path));
        if (HasName(name))
            return false;
        zip::EntryFields fields;
        fields.dosDateTime = DosTimeOf(info.st_mtime);
        if (notAfter && fields.dosDateTime <= *notAfter)
            return false;
        fields.name = FromUtf8(name, CodePage::Cp866).bytes;

        std::uint64_t offset = out.Offset();
        out.SetSubject(path);
        out.Write(zip::EncodeLocalHeader(fields));
        EntryData data =
            compressor.Write(file, static_cast<std::uint64_t>(info.st_size), out, path);
        fields.method = data.method;
        fields.crc = data.crc;
        fields.compressedSize = static_cast<std::uint32_t>(data.compressedSize);
        fields.size = static_cast<std::uint32_t>(data.size);
        out.WriteAt(zip::EncodeLocalHeader(fields), offset);

        std::uint32_t external =
            AttributeArchive | ((info.st_mode & S_IWUSR) ? 0 : AttributeReadOnly);
        AddToDirectory(zip::EncodeCentralHeader(fields, data.text ? AttributeText : 0, external,
                                                static_cast<std::uint32_t>(offset)),
                       std::move(name));
        return true;
    }

    /// Copies an old entry's local header and data as they are; its central header changes
    /// only in the offset.
    void KeepEntry(FileHandle& old, const OldEntry& entry, const std::string& zipName) {
        std::uint64_t offset = out.Offset();
        out.SetSubject(zipName);
        // One buffer for every copy: a fresh one per entry costs more in page faults than the
        // copy itself.
        if (!copyBuffer)
            copyBuffer = std::make_unique_for_overwrite<char[]>(CopyChunk);
        for (std::uint64_t done = 0; done < entry.localLength;) {
            std::size_t piece = static_cast<std::size_t>(
                std::min<std::uint64_t>(CopyChunk, entry.localLength - done));
            ReadArchiveBytes(old, entry.localOffset + done, copyBuffer.get(), piece);
            out.Write(copyBuffer.get(), piece);
            done += piece;
        }
        std::string header = entry.centralHeader;
        zip::Put32(header, zip::CentralOffsetField, static_cast<std::uint32_t>(offset));
        AddToDirectory(header, entry.name);
    }

    void Finish(const std::string& comment, const std::string& zipName) {
        out.SetSubject(zipName);
        std::uint64_t offset = out.Offset();
        out.Write(directory);
        out.Write(zip::EncodeEndRecord(entries, static_cast<std::uint32_t>(directory.size()),
                                       static_cast<std::uint32_t>(offset), comment));
    }
};

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
    PackRun run{out, {}, {}, 0, {}, {}};
    int packed = 0;
    if (old) {
        for (const OldEntry& entry : old->entries) {
            auto match =
                std::find_if(FilesList.begin(), FilesList.end(), [&](const std::string& path) {
                    return SameEntryName(FileNamePart(path), entry.name);
                });
            if (match != FilesList.end()) {
                std::string path = std::move(*match);
                FilesList.erase(match);
                // A file that cannot be read now leaves the old entry in place.
                if (run.PackFile(path, entry.dosDateTime)) {
                    ++packed;
                    continue;
                }
            }
            run.KeepEntry(oldFile, entry, zipName_);
        }
    }
    for (const std::string& path : FilesList)
        if (run.PackFile(path))
            ++packed;
    run.Finish(old ? old->comment : std::string(), zipName_);
    oldFile.Close();
    out.Commit();
    return packed;
}
