#include "SlotMatching.h"

#include "AsciiCase.h"
#include "ColourScheme.h"
#include "NamePattern.h"
#include "PathNames.h"
#include "ThemeDescriptor.h"
#include "model/WorkUnit.h"

#include <array>
#include <string>
#include <unordered_map>

namespace {

int SlotOfEntry(std::string_view name) {
    std::string_view base = StripExtension(name);
    for (int slot = 0; slot < SlotCount; ++slot)
        if (SameEntryName(base, SlotNames[slot]))
            return slot;
    return -1;
}

} // namespace

SlotMatching MatchSlots(const ThemeArchive& archive, const std::vector<ResourceLine>& resources) {
    const std::vector<ThemeArchiveEntry>& entries = archive.entries;
    std::vector<int> slotOf(entries.size());
    // Entry names are unique, letter case ignored, so a folded name finds at most one.
    std::unordered_map<std::string, std::size_t> byName;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        slotOf[i] = SlotOfEntry(entries[i].name);
        byName.emplace(AsciiLowered(entries[i].name), i);
    }

    SlotMatching matching;
    std::vector<bool> named(entries.size());
    for (std::size_t line = 0; line < resources.size(); ++line) {
        auto found = byName.find(AsciiLowered(resources[line].src));
        if (found == byName.end()) {
            matching.unknownResources.push_back(line);
            continue;
        }
        // A file chosen again adds a line but no second entry; it is staged once, where the
        // archive has it.
        if (slotOf[found->second] >= 0 && !named[found->second])
            matching.assignments.push_back({slotOf[found->second], found->second});
        named[found->second] = true;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (slotOf[i] >= 0) {
            if (!named[i])
                matching.assignments.push_back({slotOf[i], i});
        } else if (!SameEntryName(entries[i].name, ColourSchemeFileName) &&
                   !SameEntryName(entries[i].name, ThemeDescriptorFileName)) {
            matching.unmatchedEntries.push_back(i);
        }
    }
    std::array<bool, SlotCount> filled{};
    for (const SlotAssignment& assignment : matching.assignments)
        filled[assignment.slot] = true;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (!filled[slot])
            matching.emptySlots.push_back(slot);
    return matching;
}
