#include "ZipRecords.h"

namespace zip {
namespace {

void Append16(std::string& out, std::uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void Append32(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out += static_cast<char>((value >> shift) & 0xFF);
}

/// The fields from "version needed" to "extra field length", shared by both headers.
void AppendSharedFields(std::string& out, const EntryFields& entry) {
    Append16(out, VersionNeeded);
    Append16(out, entry.flags);
    Append16(out, entry.method);
    Append16(out, static_cast<std::uint16_t>(entry.dosDateTime & 0xFFFF));
    Append16(out, static_cast<std::uint16_t>(entry.dosDateTime >> 16));
    Append32(out, entry.crc);
    Append32(out, entry.compressedSize);
    Append32(out, entry.size);
    Append16(out, static_cast<std::uint16_t>(entry.name.size()));
    Append16(out, 0); // extra field length
}

} // namespace

std::string EncodeLocalHeader(const EntryFields& entry) {
    std::string out;
    out.reserve(LocalHeaderSize + entry.name.size());
    Append32(out, LocalHeaderSignature);
    AppendSharedFields(out, entry);
    out += entry.name;
    return out;
}

std::string EncodeCentralHeader(const EntryFields& entry, std::uint16_t internalAttributes,
                                std::uint32_t externalAttributes, std::uint32_t localOffset) {
    std::string out;
    out.reserve(CentralHeaderSize + entry.name.size());
    Append32(out, CentralHeaderSignature);
    Append16(out, VersionMadeBy);
    AppendSharedFields(out, entry);
    Append16(out, 0); // file comment length
    Append16(out, 0); // disk number start
    Append16(out, internalAttributes);
    Append32(out, externalAttributes);
    Append32(out, localOffset);
    out += entry.name;
    return out;
}

std::string EncodeEndRecord(std::size_t entries, std::uint32_t directorySize,
                            std::uint32_t directoryOffset, std::string_view comment) {
    std::string out;
    out.reserve(EndRecordSize + comment.size());
    Append32(out, EndRecordSignature);
    Append16(out, 0); // this disk
    Append16(out, 0); // disk of the central directory
    Append16(out, static_cast<std::uint16_t>(entries));
    Append16(out, static_cast<std::uint16_t>(entries));
    Append32(out, directorySize);
    Append32(out, directoryOffset);
    Append16(out, static_cast<std::uint16_t>(comment.size()));
    out += comment;
    return out;
}

void Put32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace zip
