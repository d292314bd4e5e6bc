#pragma once
// A theme archive read to be opened or taken apart: its entries, its descriptor read back, which
// entry goes into which slot, and, by name, what fits nowhere, for the user to be told.

#include "DescriptorReader.h"
#include "SlotMatching.h"
#include "ThemeArchiveReader.h"

#include <string>
#include <vector>

/// What a theme lacks or holds beyond its slots, by name, as opening and taking apart report it.
struct ThemeGaps {
    DescriptorStatus descriptor = DescriptorStatus::Missing;
    std::string descriptorProblem;
    std::vector<std::string> unmatchedEntries; // names of the entries that belong to no slot
    std::vector<std::string> unknownResources; // src of the descriptor lines that name no entry
    std::vector<int> emptySlots;               // slots without a file
};

struct ThemeContents {
    ThemeArchive archive;
    DescriptorContents descriptor;
    SlotMatching matching;
    ThemeGaps gaps;
};

/// Reads the whole archive (throws as ReadThemeArchive does), then its descriptor, and matches
/// the entries to slots.
ThemeContents ReadThemeContents(const std::string& archivePath,
                                const ThemeArchiveLimits& limits = {});
