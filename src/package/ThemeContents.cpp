#include "ThemeContents.h"

ThemeContents ReadThemeContents(const std::string& archivePath, const ThemeArchiveLimits& limits) {
    ThemeContents contents;
    contents.archive = ReadThemeArchive(archivePath, limits);
    contents.descriptor = ReadArchiveDescriptor(contents.archive);
    contents.matching = MatchSlots(contents.archive, contents.descriptor.resources);
    for (std::size_t entry : contents.matching.unmatchedEntries)
        contents.unmatchedEntries.push_back(contents.archive.entries[entry].name);
    for (std::size_t line : contents.matching.unknownResources)
        contents.unknownResources.push_back(contents.descriptor.resources[line].src);
    return contents;
}
