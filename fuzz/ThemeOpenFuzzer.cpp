// Feeds arbitrary bytes to the opening of a theme: as an archive to read, inflate and match to
// slots, and as a config.spc to parse. Whatever the bytes, reading must either fail with a
// KestrovaError or give entries that keep every promise the reader makes: bare unique names,
// data within the limits, slot assignments that point at real entries.
//
// The core tests run this same function over the seeds and every input kept in
// fuzz/open-regressions, so a finding stays a test once it is fixed.

#include "model/WorkUnit.h"
#include "package/DescriptorReader.h"
#include "package/Errors.h"
#include "package/FileHandle.h"
#include "package/NamePattern.h"
#include "package/SlotMatching.h"
#include "package/ThemeArchiveReader.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// Small enough that a lying header cannot make the fuzzer run out of memory.
ThemeArchiveLimits FuzzLimits() {
    ThemeArchiveLimits limits;
    limits.entries = 200;
    limits.entrySize = 4 << 20;
    limits.totalSize = 16 << 20;
    return limits;
}

void Require(bool promise) {
    if (!promise)
        std::abort();
}

bool IsBareName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of("/\\:") == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

void CheckArchive(const ThemeArchive& archive, const ThemeArchiveLimits& limits) {
    Require(archive.entries.size() <= limits.entries);
    std::uint64_t total = 0;
    for (std::size_t i = 0; i < archive.entries.size(); ++i) {
        const ThemeArchiveEntry& entry = archive.entries[i];
        Require(IsBareName(entry.name));
        Require(entry.data.size() <= limits.entrySize);
        total += entry.data.size();
        for (std::size_t j = 0; j < i; ++j)
            Require(!SameEntryName(archive.entries[j].name, entry.name));
    }
    Require(total <= limits.totalSize);

    DescriptorContents descriptor = ReadArchiveDescriptor(archive);
    Require(descriptor.status != DescriptorStatus::Unreadable || !descriptor.problem.empty());
    SlotMatching matching = MatchSlots(archive, descriptor.resources);
    for (const SlotAssignment& assignment : matching.assignments) {
        Require(assignment.slot >= 0 && assignment.slot < SlotCount);
        Require(assignment.entry < archive.entries.size());
    }
    for (std::size_t entry : matching.unmatchedEntries)
        Require(entry < archive.entries.size());
    for (std::size_t line : matching.unknownResources)
        Require(line < descriptor.resources.size());
    Require(matching.emptySlots.size() <= static_cast<std::size_t>(SlotCount));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    DescriptorContents descriptor = ReadThemeDescriptor(bytes);
    Require(descriptor.status != DescriptorStatus::Missing);

    // The archive is read from a file in memory, as the editor reads one from disk.
    FileHandle file(memfd_create("theme.sdt", MFD_CLOEXEC));
    Require(file.IsOpen());
    Require(file.WriteAll(data, size) == 0);
    ThemeArchiveLimits limits = FuzzLimits();
    try {
        CheckArchive(ReadThemeArchive(file, size, "theme.sdt", limits), limits);
    } catch (const KestrovaError&) {
    }
    return 0;
}
