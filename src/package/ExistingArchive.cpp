#include "ExistingArchive.h"

#include "CodePage.h"
#include "Errors.h"
#include "ZipRecords.h"

#include <algorithm>
#include <optional>
#include <unistd.h>

const char* const IncompleteZipFile = "Incomplete Zip File";

namespace {

constexpr std::uint64_t EndSearchSpan = zip::EndRecordSize + 0xFFFF;

[[noreturn]] void Incomplete() {
    throw ZipError(IncompleteZipFile);
}

const unsigned char* Bytes(const std::string& text, std::size_t at = 0) {
    return reinterpret_cast<const unsigned char*>(text.data()) + at;
}

struct EndRecord {
    std::uint64_t at = 0;
    std::size_t entries = 0;
    std::uint64_t directorySize = 0;
    std::uint64_t directoryOffset = 0;
    std::string comment;
};

EndRecord FindEndRecord(FileHandle& file, std::uint64_t fileSize) {
    if (fileSize < zip::EndRecordSize)
        Incomplete();
    std::uint64_t span = std::min(fileSize, EndSearchSpan);
    std::uint64_t start = fileSize - span;
    std::string tail = ReadArchiveBytes(file, start, static_cast<std::size_t>(span));
    // A record whose comment ends exactly at the end of the file is the real one; only when
    // there is none is one followed by stray bytes accepted.
    for (bool exact : {true, false}) {
        for (std::size_t at = tail.size() - zip::EndRecordSize + 1; at-- > 0;) {
            const unsigned char* record = Bytes(tail, at);
            if (zip::Read32(record) != zip::EndRecordSignature)
                continue;
            std::size_t commentLength = zip::Read16(record + 20);
            std::size_t recordEnd = at + zip::EndRecordSize + commentLength;
            if (exact ? recordEnd != tail.size() : recordEnd > tail.size())
                continue; // a signature inside a comment, or a damaged record
            EndRecord end;
            end.at = start + at;
            std::uint16_t disk = zip::Read16(record + 4);
            std::uint16_t directoryDisk = zip::Read16(record + 6);
            std::uint16_t entriesHere = zip::Read16(record + 8);
            end.entries = zip::Read16(record + 10);
            end.directorySize = zip::Read32(record + 12);
            end.directoryOffset = zip::Read32(record + 16);
            end.comment = tail.substr(at + zip::EndRecordSize, commentLength);
            // One disk only, and the directory must lie wholly before its end record.
            if (disk != 0 || directoryDisk != 0 || entriesHere != end.entries ||
                end.directoryOffset + end.directorySize > end.at)
                Incomplete();
            return end;
        }
    }
    Incomplete();
}

struct Zip64Sizes {
    std::uint64_t size;
    std::uint64_t compressedSize;
};

// The sizes in a local header's ZIP64 extra field. Info-ZIP, packing from a pipe, writes its
// sizes there and 0xFFFFFFFF in the header, even when the central header holds the true ones.
std::optional<Zip64Sizes> LocalZip64Sizes(const std::string& extra) {
    constexpr std::uint16_t Zip64ExtraId = 0x0001;
    for (std::size_t at = 0; extra.size() - at >= 4;) {
        std::size_t length = zip::Read16(Bytes(extra, at + 2));
        if (extra.size() - at - 4 < length)
            break;
        if (zip::Read16(Bytes(extra, at)) == Zip64ExtraId && length >= 16) {
            auto read64 = [&](std::size_t from) {
                return zip::Read32(Bytes(extra, from)) |
                       static_cast<std::uint64_t>(zip::Read32(Bytes(extra, from + 4))) << 32;
            };
            return Zip64Sizes{read64(at + 4), read64(at + 12)};
        }
        at += 4 + length;
    }
    return std::nullopt;
}

/// Finds the entry's local header and measures what a copy of it must take along.
void MeasureLocalEntry(FileHandle& file, OldEntry& entry, std::uint16_t flags,
                       const unsigned char* central, std::uint64_t dataEnd) {
    if (entry.localOffset + zip::LocalHeaderSize > dataEnd)
        Incomplete();
    std::string header = ReadArchiveBytes(file, entry.localOffset, zip::LocalHeaderSize);
    const unsigned char* local = Bytes(header);
    if (zip::Read32(local) != zip::LocalHeaderSignature)
        Incomplete();
    std::uint64_t nameLength = zip::Read16(local + 26);
    std::uint64_t extraLength = zip::Read16(local + 28);
    std::uint64_t compressedSize = zip::Read32(central + 20);
    std::uint64_t dataStart = entry.localOffset + zip::LocalHeaderSize + nameLength + extraLength;
    if (dataStart + compressedSize > dataEnd)
        Incomplete();
    std::string nameAndExtra = ReadArchiveBytes(file, entry.localOffset + zip::LocalHeaderSize,
                                                static_cast<std::size_t>(nameLength + extraLength));
    if (nameAndExtra.compare(0, nameLength, entry.storedName) != 0)
        Incomplete();
    std::optional<Zip64Sizes> zip64 = LocalZip64Sizes(nameAndExtra.substr(nameLength));
    // A kept entry is copied as it stands, so its two headers must agree, or the new archive
    // would carry the disagreement on to every reader.
    bool descriptor = flags & zip::FlagDataDescriptor;
    auto agrees32 = [&](std::size_t localAt, std::size_t centralAt) {
        std::uint32_t value = zip::Read32(local + localAt);
        // With a data descriptor the local header may leave crc and sizes as zero.
        return value == zip::Read32(central + centralAt) || (descriptor && value == 0);
    };
    auto agreesSize = [&](std::size_t localAt, std::size_t centralAt, auto zip64Size) {
        return agrees32(localAt, centralAt) ||
               (zip::Read32(local + localAt) == zip::Limit && zip64 &&
                (*zip64).*zip64Size == zip::Read32(central + centralAt));
    };
    if (zip::Read16(central + 6) > zip::NewestVersionNeeded ||
        zip::Read16(local + 4) != zip::Read16(central + 6) || zip::Read16(local + 6) != flags ||
        zip::Read16(local + 8) != zip::Read16(central + 10) ||
        zip::Read32(local + 10) != zip::Read32(central + 12) || !agrees32(14, 16) ||
        !agreesSize(18, 20, &Zip64Sizes::compressedSize) || !agreesSize(22, 24, &Zip64Sizes::size))
        Incomplete();
    std::uint64_t end = dataStart + compressedSize;
    if (descriptor) {
        // crc and sizes, with or without a signature in front of them
        std::string after = ReadArchiveBytes(
            file, end, static_cast<std::size_t>(std::min<std::uint64_t>(16, dataEnd - end)));
        std::size_t skip =
            after.size() >= 4 && zip::Read32(Bytes(after)) == zip::DataDescriptorSignature ? 4 : 0;
        if (after.size() < skip + 12 ||
            zip::Read32(Bytes(after, skip)) != zip::Read32(central + 16) ||
            zip::Read32(Bytes(after, skip + 4)) != zip::Read32(central + 20) ||
            zip::Read32(Bytes(after, skip + 8)) != zip::Read32(central + 24))
            Incomplete();
        end += skip + 12;
    }
    entry.localLength = end - entry.localOffset;
}

} // namespace

void ReadArchiveBytes(FileHandle& file, std::uint64_t offset, char* buffer, std::size_t size) {
    if (lseek(file.Fd(), static_cast<off_t>(offset), SEEK_SET) < 0)
        throw StreamError::Read();
    ssize_t got = file.ReadFull(buffer, size);
    if (got < 0)
        throw StreamError::Read();
    if (static_cast<std::size_t>(got) != size)
        Incomplete();
}

std::string ReadArchiveBytes(FileHandle& file, std::uint64_t offset, std::size_t size) {
    std::string bytes(size, '\0');
    ReadArchiveBytes(file, offset, bytes.data(), size);
    return bytes;
}

ExistingArchive ReadExistingArchive(FileHandle& file, std::uint64_t fileSize) {
    EndRecord end = FindEndRecord(file, fileSize);
    std::string directory =
        ReadArchiveBytes(file, end.directoryOffset, static_cast<std::size_t>(end.directorySize));
    ExistingArchive archive;
    archive.comment = end.comment;
    archive.entries.reserve(end.entries);
    std::size_t at = 0;
    for (std::size_t i = 0; i < end.entries; ++i) {
        if (directory.size() - at < zip::CentralHeaderSize)
            Incomplete();
        const unsigned char* central = Bytes(directory, at);
        if (zip::Read32(central) != zip::CentralHeaderSignature)
            Incomplete();
        std::size_t nameLength = zip::Read16(central + 28);
        std::size_t length = zip::CentralHeaderSize + nameLength + zip::Read16(central + 30) +
                             zip::Read16(central + 32);
        if (directory.size() - at < length || zip::Read16(central + 34) != 0)
            Incomplete();
        OldEntry entry;
        entry.centralHeader = directory.substr(at, length);
        entry.storedName = directory.substr(at + zip::CentralHeaderSize, nameLength);
        std::uint16_t flags = zip::Read16(central + 8);
        entry.name = (flags & zip::FlagUtf8Name) ? entry.storedName
                                                 : ToUtf8(entry.storedName, CodePage::Cp866);
        entry.dosDateTime =
            static_cast<std::uint32_t>(zip::Read16(central + 14)) << 16 | zip::Read16(central + 12);
        entry.localOffset = zip::Read32(central + zip::CentralOffsetField);
        MeasureLocalEntry(file, entry, flags, central, end.directoryOffset);
        archive.entries.push_back(std::move(entry));
        at += length;
    }
    // A directory longer than its entries means the count is wrong.
    if (at != directory.size())
        Incomplete();
    return archive;
}
