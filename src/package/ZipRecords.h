#pragma once
// The ZIP records a theme archive is made of, in PKWARE's little-endian layout: local file
// header, central directory file header and end of central directory record.

#include <cstdint>
#include <string>
#include <string_view>

namespace zip {

constexpr std::uint32_t LocalHeaderSignature = 0x04034b50;
constexpr std::uint32_t CentralHeaderSignature = 0x02014b50;
constexpr std::uint32_t EndRecordSignature = 0x06054b50;
constexpr std::uint32_t DataDescriptorSignature = 0x08074b50;

constexpr std::size_t LocalHeaderSize = 30;
constexpr std::size_t CentralHeaderSize = 46;
constexpr std::size_t EndRecordSize = 22;
/// Where a central header keeps the offset of its local header.
constexpr std::size_t CentralOffsetField = 42;

/// 2.0 in the low byte, MS-DOS (FAT) in the high byte.
constexpr std::uint16_t VersionMadeBy = 20;
constexpr std::uint16_t VersionNeeded = 20;
/// 6.3, the newest version of the format; an entry that claims to need more is damaged.
constexpr std::uint16_t NewestVersionNeeded = 63;
constexpr std::uint16_t MethodStored = 0;
constexpr std::uint16_t MethodDeflated = 8;
constexpr std::uint16_t FlagDataDescriptor = 1 << 3;
constexpr std::uint16_t FlagUtf8Name = 1 << 11;

/// Without ZIP64 no offset or size may reach 0xFFFFFFFF, the value that announces ZIP64 fields.
constexpr std::uint64_t Limit = 0xFFFFFFFFu;
constexpr std::size_t MaxEntries = 0xFFFF;

/// The values a local header and its central header share.
struct EntryFields {
    std::uint16_t flags = 0;
    std::uint16_t method = MethodDeflated;
    std::uint32_t dosDateTime = 0; // date in the high half, time in the low half
    std::uint32_t crc = 0;
    std::uint32_t compressedSize = 0;
    std::uint32_t size = 0;
    std::string name; // as stored: CP866 bytes
};

std::string EncodeLocalHeader(const EntryFields& entry);

std::string EncodeCentralHeader(const EntryFields& entry, std::uint16_t internalAttributes,
                                std::uint32_t externalAttributes, std::uint32_t localOffset);

std::string EncodeEndRecord(std::size_t entries, std::uint32_t directorySize,
                            std::uint32_t directoryOffset, std::string_view comment);

inline std::uint16_t Read16(const unsigned char* at) {
    return static_cast<std::uint16_t>(at[0] | at[1] << 8);
}

inline std::uint32_t Read32(const unsigned char* at) {
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value);

} // namespace zip
