#include "package/CodePage.h"

#include <gtest/gtest.h>

TEST(CodePage, CyrillicConvertsToTheSingleBytePages) {
    SingleByteText ansi = FromUtf8("Тема ёЁ", CodePage::Windows1251);
    EXPECT_EQ(ansi.bytes, "\xD2\xE5\xEC\xE0 \xB8\xA8");
    EXPECT_TRUE(ansi.unconvertible.empty());
    SingleByteText oem = FromUtf8("Тема ёЁ", CodePage::Cp866);
    EXPECT_EQ(oem.bytes, "\x92\xA5\xAC\xA0 \xF1\xF0");
    EXPECT_EQ(ToUtf8(ansi.bytes, CodePage::Windows1251), "Тема ёЁ");
}

TEST(CodePage, CharactersThePageLacksAreSubstitutedAndReported) {
    SingleByteText text = FromUtf8("a✓b漢c", CodePage::Windows1251);
    EXPECT_EQ(text.bytes, "a_b_c");
    EXPECT_EQ(text.unconvertible, "✓");
    SingleByteText broken = FromUtf8("a\xFF"
                                     "b",
                                     CodePage::Cp866);
    EXPECT_EQ(broken.bytes, "a_b");
}

TEST(CodePage, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("Мелодия 🎵"));
    EXPECT_FALSE(IsValidUtf8("\xCC\xE5\xEB\xEE\xE4\xE8\xFF")); // Windows-1251 bytes
    EXPECT_FALSE(IsValidUtf8("\xD0"));                         // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));                     // overlong
}
