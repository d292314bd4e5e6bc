#include "model/ThemeDocument.h"

#include <gtest/gtest.h>

TEST(ThemeDocument, ANewRunStartsEmptyWithTheDefaultTexts) {
    ThemeDocument state;
    EXPECT_FALSE(state.AllSlotsChosen());
    for (std::uint8_t flag : state.SlotChosen)
        EXPECT_EQ(flag, 0);
    EXPECT_TRUE(state.FilesList.empty());
    const ThemeMetadata& texts = state.Metadata;
    for (const std::string* empty : {&texts.Title, &texts.Author, &texts.Vendor, &texts.Url})
        EXPECT_EQ(*empty, "");
    EXPECT_EQ(texts.Version, "1.0");
    EXPECT_EQ(texts.Price, "0");
    EXPECT_EQ(texts.Resolution, "240x320 pixels");
}

TEST(ThemeDocument, AllSlotsChosenNeedsEveryFlag) {
    ThemeDocument state;
    state.SlotChosen.fill(1);
    EXPECT_TRUE(state.AllSlotsChosen());
    state.SlotChosen[37] = 0;
    EXPECT_FALSE(state.AllSlotsChosen());
}
