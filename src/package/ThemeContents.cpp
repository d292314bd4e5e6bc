#include "ThemeContents.h"

ThemeContents ReadThemeContents(const std::string& archivePath, const ThemeArchiveLimits& limits) {
    ThemeContents contents;
    contents.archive = ReadThemeArchive(archivePath, limits);
    contents.descriptor = ReadArchiveDescriptor(contents.archive);
    contents.matching = MatchSlots(contents.archive, contents.descriptor.resources);
    ThemeGaps& gaps = contents.gaps;
    gaps.descriptor = contents.descriptor.status;
    gaps.descriptorProblem = contents.descriptor.problem;
    for (std::size_t entry : contents.matching.unmatchedEntries)
        gaps.unmatchedEntries.push_back(contents.archive.entries[entry].name);
    for (std::size_t line : contents.matching.unknownResources)
        gaps.unknownResources.push_back(contents.descriptor.resources[line].src);
    gaps.emptySlots = contents.matching.emptySlots;
    return contents;
}
