#include "app/IniFile.h"

#include "TestSupport.h"
#include "app/SlotDescriptions.h"
#include "package/Errors.h"

#include <gtest/gtest.h>

TEST(IniFile, ReadingRules) {
    struct Case {
        const char* name;
        std::string text;
        const char* section;
        const char* key;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", "[descriptions]\nd0=Мелодия звонка\n", "descriptions", "d0", "Мелодия звонка"},
        {"case of section and key", "[DESCRIPTIONS]\nD5=x\n", "descriptions", "d5", "x"},
        {"blanks around key and value", "[s]\n  k \t=   a b  \t\n", "s", "k", "a b"},
        {"double quotes with blanks outside", "[s]\nk=  \" quoted \"  \n", "s", "k", " quoted "},
        {"single quotes", "[s]\nk='x'\n", "s", "k", "x"},
        {"one pair only", "[s]\nk=\"\"x\"\"\n", "s", "k", "\"x\""},
        {"unmatched quotes stay", "[s]\nk=\"x'\n", "s", "k", "\"x'"},
        {"lone quote stays", "[s]\nk=\"\n", "s", "k", "\""},
        {"first of repeated keys", "[s]\nk=1\nk=2\n", "s", "k", "1"},
        {"CRLF", "[s]\r\nk=v\r\n", "s", "k", "v"},
        {"BOM", "\xEF\xBB\xBF[s]\nk=v\n", "s", "k", "v"},
        {"comment", "[s]\n;k=v\n", "s", "k", ""},
        {"equals inside the value", "[s]\nk=a=b\n", "s", "k", "a=b"},
        {"missing key", "[s]\nk=v\n", "s", "other", ""},
        {"missing section", "[s]\nk=v\n", "t", "k", ""},
        {"key before any section", "k=v\n[s]\n", "s", "k", ""},
        {"no final line end", "[s]\nk=v", "s", "k", "v"},
        {"Windows-1251", "[s]\nk=\xCE\xF1\xE5\xED\xFC\n", "s", "k", "Осень"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IniFile::Parse(c.text).ReadString(c.section, c.key), c.expected) << c.name;
}

TEST(IniFile, InlineCommentsOnlyWhereAsked) {
    struct Case {
        const char* value;
        const char* kept;
        const char* stripped;
    };
    for (auto [value, kept, stripped] :
         {Case{"a.mid   ; a remark", "a.mid   ; a remark", "a.mid"}, Case{"a;b", "a;b", "a;b"},
          Case{"  ; only a remark", "; only a remark", ""},
          Case{"\"a ; b\" ; remark", "\"a ; b\" ; remark", "a ; b"}, Case{"'x' ;", "'x' ;", "x"}}) {
        const std::string text = std::string("[s]\nk=") + value + "\n";
        EXPECT_EQ(IniFile::Parse(text).ReadString("s", "k"), kept) << value;
        EXPECT_EQ(IniFile::Parse(text, InlineComments::Stripped).ReadString("s", "k"), stripped)
            << value;
    }
}

TEST(IniFile, LongValuesAreCutTo2047Characters) {
    struct Case {
        std::string character;
        std::size_t count;
        std::size_t expectedCount;
    };
    for (auto [character, count, expectedCount] : {Case{"a", 3000, 2047}, Case{"я", 3000, 2047},
                                                   Case{"я", 2047, 2047}, Case{"€", 2046, 2046}}) {
        std::string value;
        for (std::size_t i = 0; i < count; ++i)
            value += character;
        std::string expected;
        for (std::size_t i = 0; i < expectedCount; ++i)
            expected += character;
        EXPECT_EQ(IniFile::Parse("[s]\nk=" + value + "\n").ReadString("s", "k"), expected)
            << character << " x " << count;
    }
}

TEST(IniFile, EntriesKeepOrderRepeatsAndLines) {
    IniFile ini = IniFile::Parse("; manifest\n[theme]\ntitle=T\n\n[slots]\nidle_wallpaper=a.png\n"
                                 "7=b.png\nidle_wallpaper=c.png\n");
    const auto& entries = ini.Entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].section, "theme");
    EXPECT_EQ(entries[0].line, 3);
    EXPECT_EQ(entries[1].key, "idle_wallpaper");
    EXPECT_EQ(entries[2].key, "7");
    EXPECT_EQ(entries[3].value, "c.png");
    EXPECT_EQ(entries[3].line, 8);
}

TEST(IniFile, MissingFiles) {
    test::TempFolder folder;
    EXPECT_TRUE(IniFile::Load(folder / "none.ini").Entries().empty());
    EXPECT_TRUE(IniFile::Load(folder.Path().string()).Entries().empty());
    try {
        IniFile::LoadExisting(folder / "none.ini");
        FAIL() << "a missing file was read";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
}

TEST(SlotDescriptions, ReadFromDescriptionsSection) {
    test::TempFolder folder;
    const std::string path = folder / "descr.ini";
    test::WriteFile(path, "[Descriptions]\nd0 = \"Мелодия звонка\"\nD37=Последний\n"
                          "d38=лишний\n[other]\nd1=чужой\n");
    auto descriptions = ReadSlotDescriptions(path);
    EXPECT_EQ(descriptions[0], "Мелодия звонка");
    EXPECT_EQ(descriptions[1], "");
    EXPECT_EQ(descriptions[37], "Последний");

    for (const std::string& text : ReadSlotDescriptions(folder / "missing.ini"))
        EXPECT_EQ(text, "");
}
