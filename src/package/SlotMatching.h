#pragma once
// Which file of an opened theme goes into which slot. A file belongs to the slot whose resource
// name is its base name; the descriptor's resource lines only give the order in which the files
// were chosen, so a theme without a descriptor still fills its slots.

#include "DescriptorReader.h"
#include "ThemeArchiveReader.h"

#include <cstddef>
#include <vector>

struct SlotAssignment {
    int slot;
    std::size_t entry; // index into ThemeArchive::entries
};

struct SlotMatching {
    /// The order to stage the files in, each file once: as the first resource line that names
    /// it stands, then the slots' files no line names, in archive order. A slot with files of
    /// two extensions gets both, as a slot chosen twice did.
    std::vector<SlotAssignment> assignments;
    /// Entries that belong to no slot, besides SkinScheme.col and config.spc.
    std::vector<std::size_t> unmatchedEntries;
    /// Resource lines (indexes into the descriptor's list) whose src names no entry.
    std::vector<std::size_t> unknownResources;
    /// Slots no entry belongs to, in slot order.
    std::vector<int> emptySlots;
};

/// Names are compared as the archive compares them, ASCII letter case ignored.
SlotMatching MatchSlots(const ThemeArchive& archive, const std::vector<ResourceLine>& resources);
