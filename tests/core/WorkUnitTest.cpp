#include "model/WorkUnit.h"

#include <gtest/gtest.h>

TEST(SlotCatalogue, ResourceNamesFromFieldNames) {
    struct Case {
        const char* field;
        const char* name;
    };
    for (auto [field, name] :
         {Case{"Edit0", "standard_ringtone"}, Case{"Edit6", "progressbar"},
          Case{"Edit36", "screensaver_image"}, Case{"Edit37", "standard_distlist_ringtone"}})
        EXPECT_EQ(SlotResourceName(field), name) << field;
}

TEST(SlotCatalogue, FieldNamesRoundTripForEverySlot) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        EXPECT_EQ(SlotNumberFromFieldName(SlotFieldName(slot)), slot);
        EXPECT_EQ(SlotResourceName(SlotFieldName(slot)), SlotNames[slot]);
    }
}

TEST(SlotCatalogue, KindsCountFiveSevenTwentySix) {
    int counts[3] = {};
    for (const SlotLayout& layout : SlotLayouts)
        ++counts[layout.kind];
    EXPECT_EQ(counts[skMelody], 5);
    EXPECT_EQ(counts[skAnimation], 7);
    EXPECT_EQ(counts[skPicture], 26);
    EXPECT_EQ(SlotLayouts[37].kind, skMelody);
}

TEST(SlotCatalogue, PreviewPositions) {
    EXPECT_EQ(SlotLayouts[8].x, 0);
    EXPECT_EQ(SlotLayouts[8].y, 288);
    EXPECT_EQ(SlotLayouts[6].x, 14);
    EXPECT_EQ(SlotLayouts[6].y, 134);
}

TEST(SlotCatalogue, NamesHaveNoDotAndAreUnique) {
    for (int a = 0; a < SlotCount; ++a) {
        EXPECT_EQ(SlotNames[a].find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789_"),
                  std::string_view::npos)
            << SlotNames[a];
        for (int b = a + 1; b < SlotCount; ++b)
            EXPECT_NE(SlotNames[a], SlotNames[b]);
    }
}
