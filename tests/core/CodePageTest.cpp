#include "package/CodePage.h"

#include "package/Utf8.h"

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
}

TEST(CodePage, BytesThatAreNotUtf8CostOnlyThemselves) {
    struct Case {
        const char* input;
        const char* bytes;
        const char* unconvertible;
    };
    for (auto [input, bytes, unconvertible] : {
             Case{"a\xFF"
                  "b",
                  "a_b", "\xFF"},
             // A lead byte whose character never comes must not swallow what follows it.
             Case{"ring\xE0"
                  "A.mid",
                  "ring_A.mid", "\xE0"},
             Case{"x\xF0\x9F"
                  "AB",
                  "x_AB", "\xF0\x9F"},
             Case{"cut\xD0", "cut_", "\xD0"},
             Case{"\xED\xA0\x80"
                  "z",
                  "___z", "\xED"}, // a surrogate: three stray bytes
         }) {
        SingleByteText text = FromUtf8(input, CodePage::Cp866);
        EXPECT_EQ(text.bytes, bytes) << input;
        EXPECT_EQ(text.unconvertible, unconvertible) << input;
    }
}

TEST(CodePage, Utf8Validation) {
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("Мелодия 🎵"));
    EXPECT_FALSE(IsValidUtf8("\xCC\xE5\xEB\xEE\xE4\xE8\xFF")); // Windows-1251 bytes
    EXPECT_FALSE(IsValidUtf8("\xD0"));                         // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));                     // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));                 // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));             // past U+10FFFF
}
