#include "package/SlotMatching.h"

#include "model/WorkUnit.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

ThemeArchive ArchiveOf(const std::vector<std::string>& names) {
    ThemeArchive archive;
    for (const std::string& name : names)
        archive.entries.push_back({name, name, 0, "bytes of " + name});
    return archive;
}

// Assignments as "slot:entry name", easier to read in a failure.
std::vector<std::string> Assigned(const ThemeArchive& archive, const SlotMatching& matching) {
    std::vector<std::string> assigned;
    for (const SlotAssignment& a : matching.assignments)
        assigned.push_back(std::to_string(a.slot) + ":" + archive.entries[a.entry].name);
    return assigned;
}

std::vector<int> AllSlotsBut(std::vector<int> filled) {
    std::vector<int> empty;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (std::find(filled.begin(), filled.end(), slot) == filled.end())
            empty.push_back(slot);
    return empty;
}

TEST(SlotMatching, OrderComesFromTheResourceLinesSlotsFromTheNames) {
    ThemeArchive archive =
        ArchiveOf({"progressbar.png", "standard_ringtone.mid", "readme.txt", "IDLE_WALLPAPER.JPG",
                   "standard_ringtone.mp3", "SkinScheme.col", "config.spc", "thumbnail_icon.png"});
    std::vector<ResourceLine> lines = {
        {"text_colors", "SkinScheme.col"},
        {"idle_wallpaper", "idle_wallpaper.jpg"}, // letter case aside, the fourth entry
        {"standard_ringtone", "standard_ringtone.mid"},
        {"feedback_icon_hint", "feedback_icon_hint.png"}, // not in the archive
        {"standard_ringtone", "standard_ringtone.mp3"},   // chosen again, another extension
        {"idle_wallpaper", "idle_wallpaper.jpg"},         // chosen again, the same file
        {"SkinScheme", "SkinScheme.col"},
        {"readme", "readme.txt"},
    };
    SlotMatching matching = MatchSlots(archive, lines);
    // Each file once, at its first line; then the files no line names, in archive order.
    EXPECT_EQ(Assigned(archive, matching),
              (std::vector<std::string>{"7:IDLE_WALLPAPER.JPG", "0:standard_ringtone.mid",
                                        "0:standard_ringtone.mp3", "6:progressbar.png",
                                        "31:thumbnail_icon.png"}));
    EXPECT_EQ(matching.unmatchedEntries, (std::vector<std::size_t>{2}));
    EXPECT_EQ(matching.unknownResources, (std::vector<std::size_t>{3}));
    EXPECT_EQ(matching.emptySlots, AllSlotsBut({0, 6, 7, 31}));
}

TEST(SlotMatching, WithoutDescriptorEveryFileGoesByItsName) {
    std::vector<std::string> names;
    for (int slot = SlotCount - 1; slot >= 0; --slot)
        names.push_back(std::string(SlotNames[slot]) + (slot % 2 ? ".png" : ""));
    names.push_back("wallpaper.jpg");
    names.push_back("idle_wallpaper"); // no extension; slot 7 has "idle_wallpaper.png" too
    ThemeArchive archive = ArchiveOf(names);
    SlotMatching matching = MatchSlots(archive, {});
    ASSERT_EQ(matching.assignments.size(), 39u);
    for (std::size_t i = 0; i < 38; ++i) {
        EXPECT_EQ(matching.assignments[i].entry, i);
        EXPECT_EQ(matching.assignments[i].slot, SlotCount - 1 - static_cast<int>(i));
    }
    EXPECT_EQ(matching.assignments[38].slot, 7);
    EXPECT_EQ(matching.unmatchedEntries, (std::vector<std::size_t>{38}));
    EXPECT_TRUE(matching.unknownResources.empty());
    EXPECT_TRUE(matching.emptySlots.empty());
}

TEST(SlotMatching, AnEmptyArchiveLeavesEverySlotEmptyAndEveryLineUnknown) {
    SlotMatching matching = MatchSlots(ThemeArchive(), {{"text_colors", "SkinScheme.col"}});
    EXPECT_TRUE(matching.assignments.empty());
    EXPECT_EQ(matching.unknownResources, (std::vector<std::size_t>{0}));
    EXPECT_EQ(matching.emptySlots.size(), 38u);
}

} // namespace
