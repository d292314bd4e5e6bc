#pragma once
// Which entries a pack writes, in which order, decided one entry ahead of the next: the old
// archive's entries in their order, each kept or replaced by a newer listed file of its name,
// then the rest of the package list. A listed file is skipped when it is gone, is no regular
// file, cannot be opened or has a name already in the archive.

#include "ExistingArchive.h"
#include "FileHandle.h"
#include "ZipRecords.h"
#include "model/ThemeDocument.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct PlannedEntry {
    enum class Kind {
        Keep,     // an old entry copied as it is
        InMemory, // a file read and deflated whole
        Streamed, // a file too large for that, streamed through zlib
    };
    Kind kind = Kind::Keep;
    const OldEntry* old = nullptr; // Keep
    std::string name;              // as UTF-8
    // A file to pack: its path, opened, and its values as they were when it was opened.
    std::string path;
    FileHandle file;
    std::uint64_t size = 0;
    zip::EntryFields fields; // name and time; method, crc and sizes come with the data
    std::uint32_t externalAttributes = 0;
};

class PackPlan {
public:
    /// Takes the entries matched by old entries out of list, as it comes to them. old may be
    /// null when the archive is new.
    PackPlan(PackageList& list, const ExistingArchive* old, std::uint64_t inMemoryLimit);

    /// The next entry of the archive; none when all are decided.
    std::optional<PlannedEntry> Next();

    /// How many files the entries decided so far pack, new or replacing an old entry.
    int Packed() const { return packed_; }

private:
    std::optional<PlannedEntry> PlanFile(std::string path,
                                         std::optional<std::uint32_t> notAfter = {});
    bool HasName(std::string_view name) const;

    PackageList& list_;
    const ExistingArchive* old_;
    std::uint64_t inMemoryLimit_;
    std::size_t nextOld_ = 0;
    std::size_t nextListed_ = 0;
    std::vector<std::string> names_; // UTF-8, to compare with SameEntryName
    int packed_ = 0;
};
