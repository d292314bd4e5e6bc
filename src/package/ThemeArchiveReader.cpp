#include "ThemeArchiveReader.h"

#include "AsciiCase.h"
#include "CodePage.h"
#include "Errors.h"
#include "ExistingArchive.h"
#include "NamePattern.h"
#include "PathNames.h"
#include "SystemCalls.h"
#include "Utf8.h"
#include "ZipRecords.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <libdeflate.h>
#include <memory>
#include <sys/stat.h>
#include <unordered_set>

namespace {

// Deflate codes at best 258 bytes in two bits, so no stream inflates to more than 1032 times its
// length. A larger stated size is a lie, refused before a buffer of that size is made.
constexpr std::uint64_t MostDeflateRatio = 1032;

// Fields of a central header.
constexpr std::size_t FlagsField = 8;
constexpr std::size_t MethodField = 10;
constexpr std::size_t CrcField = 16;
constexpr std::size_t CompressedSizeField = 20;
constexpr std::size_t SizeField = 24;

// Traditional PKWARE encryption, and the strong encryption of later versions of the format.
constexpr std::uint16_t FlagEncrypted = 1 << 0;
constexpr std::uint16_t FlagStrongEncryption = 1 << 6;

class OpenFailure {
public:
    explicit OpenFailure(const std::string& path) : path_(FullPath(path)) {}

    [[noreturn]] void operator()(const std::string& reason) const {
        throw ZipError("Cannot open theme \"" + path_ + "\". " + reason);
    }

private:
    std::string path_;
};

const unsigned char* Bytes(const std::string& text, std::size_t at = 0) {
    return reinterpret_cast<const unsigned char*>(text.data()) + at;
}

// A limit as people say it: "64 MiB" rather than 67108864 bytes.
std::string SizeText(std::uint64_t bytes) {
    if (bytes != 0 && bytes % (1 << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes != 0 && bytes % (1 << 10) == 0)
        return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + " bytes";
}

bool IsControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

// A name fit to show inside a message: control characters would garble the error box.
std::string Shown(std::string_view name) {
    std::string shown(name);
    for (char& c : shown)
        if (IsControl(static_cast<unsigned char>(c)))
            c = '?';
    return "\"" + shown + "\"";
}

// Why a name is not a bare file name, or empty when it is one.
std::string NameProblem(std::string_view name) {
    if (name.empty())
        return "is empty";
    if (!IsValidUtf8(name))
        return "is not valid UTF-8";
    for (char c : name)
        if (IsControl(static_cast<unsigned char>(c)))
            return "holds a control character";
    if (name.front() == '/' || name.front() == '\\')
        return "is an absolute path";
    if (name.size() >= 2 && name[1] == ':' &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
        return "names a drive";
    if (name == "." || name == "..")
        return "is not a file name";
    for (std::size_t start = 0; start <= name.size();) {
        std::size_t end = std::min(name.find_first_of("/\\", start), name.size());
        if (name.substr(start, end - start) == "..")
            return "leads out of its folder";
        start = end + 1;
    }
    // ":" parts a path on the systems themes are made on, as it does for the archive writer.
    if (name.find_first_of("/\\:") != std::string_view::npos)
        return "has a folder part";
    return {};
}

struct Decompressor {
    Decompressor() : state(libdeflate_alloc_decompressor()) {
        if (!state)
            throw std::bad_alloc();
    }
    ~Decompressor() { libdeflate_free_decompressor(state); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    libdeflate_decompressor* state;
};

// What the central directory says of an entry, checked before any of its data is read.
struct Planned {
    const OldEntry* old;
    std::uint16_t method;
    std::uint32_t crc;
    std::uint64_t compressedSize;
    std::uint64_t size;
};

std::vector<Planned> PlanEntries(const ExistingArchive& existing, const ThemeArchiveLimits& limits,
                                 const OpenFailure& fail) {
    if (existing.entries.size() > limits.entries)
        fail("It holds " + std::to_string(existing.entries.size()) + " entries, more than the " +
             std::to_string(limits.entries) + " a theme may hold");
    std::vector<Planned> planned;
    planned.reserve(existing.entries.size());
    std::unordered_set<std::string> names;
    std::uint64_t total = 0;
    for (const OldEntry& old : existing.entries) {
        std::string entry = "The entry " + Shown(old.name);
        if (std::string problem = NameProblem(old.name); !problem.empty())
            fail("The entry name " + Shown(old.name) + " " + problem +
                 "; a theme holds bare file names only");
        // Two entries whose names differ only in case would land in one file.
        if (!names.insert(AsciiLowered(old.name)).second)
            fail("It holds two entries named " + Shown(old.name));
        const unsigned char* central = Bytes(old.centralHeader);
        std::uint16_t flags = zip::Read16(central + FlagsField);
        Planned plan{&old, zip::Read16(central + MethodField), zip::Read32(central + CrcField),
                     zip::Read32(central + CompressedSizeField), zip::Read32(central + SizeField)};
        if (flags & (FlagEncrypted | FlagStrongEncryption))
            fail(entry + " is encrypted; Kestrova opens no encrypted theme");
        if (plan.method != zip::MethodStored && plan.method != zip::MethodDeflated)
            fail(entry + " is compressed with method " + std::to_string(plan.method) +
                 "; Kestrova reads only stored (0) and deflated (8) entries");
        if (plan.size > limits.entrySize)
            fail(entry + " inflates to " + std::to_string(plan.size) + " bytes, more than the " +
                 SizeText(limits.entrySize) + " an entry may take");
        total += plan.size;
        if (total > limits.totalSize)
            fail("Its entries inflate to more than the " + SizeText(limits.totalSize) +
                 " a theme may take in all");
        bool stored = plan.method == zip::MethodStored;
        if (stored ? plan.size != plan.compressedSize
                   : plan.size / MostDeflateRatio > plan.compressedSize)
            fail(entry + " is damaged: its " + std::to_string(plan.compressedSize) +
                 " bytes of data cannot hold the " + std::to_string(plan.size) + " it states");
        planned.push_back(plan);
    }
    return planned;
}

std::string Inflate(Decompressor& decompressor, const Planned& plan, const char* data,
                    const OpenFailure& fail) {
    std::string entry = "The entry " + Shown(plan.old->name);
    if (plan.method == zip::MethodStored)
        return std::string(data, static_cast<std::size_t>(plan.size));
    std::string bytes(static_cast<std::size_t>(plan.size), '\0');
    // Without a place for the actual size, libdeflate insists on exactly the size stated.
    switch (libdeflate_deflate_decompress(decompressor.state, data,
                                          static_cast<std::size_t>(plan.compressedSize),
                                          bytes.data(), bytes.size(), nullptr)) {
    case LIBDEFLATE_SUCCESS:
        return bytes;
    case LIBDEFLATE_SHORT_OUTPUT:
        fail(entry + " is damaged: it inflates to fewer than the " + std::to_string(plan.size) +
             " bytes it states");
    case LIBDEFLATE_INSUFFICIENT_SPACE:
        fail(entry + " is damaged: it inflates to more than the " + std::to_string(plan.size) +
             " bytes it states");
    default:
        fail(entry + " is damaged: its compressed data are invalid or cut short");
    }
}

} // namespace

const ThemeArchiveEntry* ThemeArchive::Find(std::string_view name) const {
    for (const ThemeArchiveEntry& entry : entries)
        if (SameEntryName(entry.name, name))
            return &entry;
    return nullptr;
}

ThemeArchive ReadThemeArchive(FileHandle& file, std::uint64_t size, const std::string& path,
                              const ThemeArchiveLimits& limits) {
    OpenFailure fail(path);
    ExistingArchive existing;
    try {
        existing = ReadExistingArchive(file, size);
    } catch (const ZipError& error) {
        fail(error.what());
    }
    std::vector<Planned> planned = PlanEntries(existing, limits, fail);

    Decompressor decompressor;
    ThemeArchive archive;
    archive.entries.reserve(planned.size());
    for (const Planned& plan : planned) {
        const OldEntry& old = *plan.old;
        // The local header, the data and any data descriptor: ExistingArchive has measured them
        // against the file and checked the header against the central one.
        std::string local =
            ReadArchiveBytes(file, old.localOffset, static_cast<std::size_t>(old.localLength));
        std::size_t dataStart =
            zip::LocalHeaderSize + zip::Read16(Bytes(local, 26)) + zip::Read16(Bytes(local, 28));
        if (dataStart > local.size() || local.size() - dataStart < plan.compressedSize)
            fail(IncompleteZipFile);
        ThemeArchiveEntry entry;
        entry.storedName = old.storedName;
        entry.name = old.name;
        entry.dosDateTime = old.dosDateTime;
        entry.data = Inflate(decompressor, plan, local.data() + dataStart, fail);
        if (libdeflate_crc32(0, entry.data.data(), entry.data.size()) != plan.crc)
            fail("The entry " + Shown(old.name) + " is damaged: its CRC-32 does not match");
        archive.entries.push_back(std::move(entry));
    }
    return archive;
}

ThemeArchive ReadThemeArchive(const std::string& path, const ThemeArchiveLimits& limits) {
    // A named pipe given as the archive is refused below.
    struct stat info {};
    FileHandle file = OpenFileToRead(path, info);
    if (!S_ISREG(info.st_mode)) {
        OpenFailure fail(path);
        fail("It is not a file");
    }
    return ReadThemeArchive(file, static_cast<std::uint64_t>(info.st_size), path, limits);
}
