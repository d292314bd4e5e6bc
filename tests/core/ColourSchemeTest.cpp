#include "package/ColourScheme.h"

#include "TestSupport.h"
#include "package/Errors.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <zlib.h>

TEST(ColourScheme, DefaultSchemeIsTheDeepBlueFile) {
    ASSERT_EQ(DefaultColourScheme.size(), 1040u);
    std::string_view header = DefaultColourScheme.substr(0, 80);
    std::string_view data = DefaultColourScheme.substr(80);
    EXPECT_EQ(header, "ColourScheme DeepBlue\nID      5\nVersion 1.2\nLength  960\n"
                      "CRC     2220169258\nData\n");
    EXPECT_EQ(crc32(0, reinterpret_cast<const Bytef*>(data.data()), data.size()), 2220169258u);
    EXPECT_EQ(data.substr(0, 16), "255 255 255 100\n");
    EXPECT_EQ(data.substr(944), "255 000 153 100\n");
    EXPECT_EQ(DefaultColourScheme.find('\r'), std::string_view::npos);
}

TEST(ColourScheme, DefaultReplacesAnEarlierCustomScheme) {
    test::TempFolder folder;
    ThemeDocument state;
    state.TempDir = folder.Path().string();
    test::WriteFile(folder / "mine.col", "custom");
    StageColourScheme(state, folder / "mine.col");
    StageColourScheme(state, folder / "mine.col");
    EXPECT_EQ(state.FilesList, (PackageList{folder / "SkinScheme.col", folder / "SkinScheme.col"}));
    EXPECT_EQ(test::ReadFile(folder / "SkinScheme.col"), "custom");

    SaveDefaultColourScheme(state.TempDir);
    EXPECT_EQ(test::ReadFile(folder / "SkinScheme.col"), DefaultColourScheme);
    EXPECT_EQ(state.FilesList.size(), 2u);
}

TEST(ColourScheme, AMissingStagingFolderIsACreateError) {
    test::TempFolder folder;
    try {
        SaveDefaultColourScheme(folder / "temp");
        FAIL() << "no error";
    } catch (const StreamError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot create file \"" +
                                             (folder / "temp/SkinScheme.col") +
                                             "\". No such file or directory");
    }
}
