#include "package/DescriptorReader.h"

#include "package/ThemeDescriptor.h"

#include <gtest/gtest.h>

namespace {

ThemeMetadata CyrillicTexts() {
    ThemeMetadata texts;
    texts.Title = "Синяя ночь";
    texts.Author = "Морвейн & Co";
    texts.Published = "2026-3-5";
    texts.Version = "2.1";
    texts.Vendor = "\"Кестрова\" <студия>";
    texts.Price = "0";
    texts.Url = "https://example.org/?a=1&b=2";
    return texts;
}

bool SameTexts(const ThemeMetadata& a, const ThemeMetadata& b) {
    return a.Title == b.Title && a.Author == b.Author && a.Published == b.Published &&
           a.Version == b.Version && a.Resolution == b.Resolution && a.Vendor == b.Vendor &&
           a.Price == b.Price && a.Url == b.Url;
}

TEST(DescriptorReader, ReadsTheTextsAndResourceLinesTheBuildWrites) {
    ThemeMetadata texts = CyrillicTexts();
    PackageList list = {"/tmp/x/idle_wallpaper.jpg", "/tmp/x/standard_ringtone.MID",
                        "/tmp/x/idle_wallpaper.jpg", "/tmp/x/SkinScheme.col"};
    DescriptorContents read = ReadThemeDescriptor(ThemeDescriptorText(texts, list));
    ASSERT_EQ(read.status, DescriptorStatus::Read) << read.problem;
    EXPECT_TRUE(SameTexts(read.metadata, texts));
    std::vector<std::pair<std::string, std::string>> resources;
    for (const ResourceLine& line : read.resources)
        resources.emplace_back(line.name, line.src);
    EXPECT_EQ(resources, (std::vector<std::pair<std::string, std::string>>{
                             {"text_colors", "SkinScheme.col"},
                             {"idle_wallpaper", "idle_wallpaper.jpg"},
                             {"standard_ringtone", "standard_ringtone.MID"},
                             {"idle_wallpaper", "idle_wallpaper.jpg"},
                             {"SkinScheme", "SkinScheme.col"}}));
}

TEST(DescriptorReader, ReadsDescriptorsWrittenOtherwise) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string title;
        std::string url;
        std::size_t resources;
    };
    // "Тема" in Windows-1251 and in UTF-8.
    const std::string cp1251 = "\xD2\xE5\xEC\xE0";
    const std::string utf8 = "Тема";
    const Case cases[] = {
        {"reordered, reindented, attributes swapped, CRLF",
         "<package>\r\n<format><res src='a.png' name='a'/></format>\r\n"
         "  <summary>\r\n    <url content=\"u\" name=\"URL:\"/>\r\n"
         "    <txt content=\"" +
             cp1251 + "\" name=\"Title:\"/>\r\n  </summary>\r\n</package>\r\n",
         utf8, "u", 1},
        {"an encoding declared, Windows-1251 all the same",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?><package><txt name=\"Title:\" content=\"" +
             cp1251 + "\"/></package>",
         utf8, "", 0},
        {"a UTF-8 byte-order mark makes it UTF-8",
         "\xEF\xBB\xBF<package><txt name=\"Title:\" content=\"" + utf8 + "\"/></package>", utf8, "",
         0},
        {"the first line of a name counts",
         "<package><txt name=\"Title:\" content=\"one\"/><txt name=\"Title:\" "
         "content=\"two\"/></package>",
         "one", "", 0},
        {"character references and a line break in a value",
         "<package><txt name=\"Title:\" content=\"a&#10;b &lt;&amp;&gt; &#x416;\"/></package>",
         "a\nb <&> Ж", "", 0},
        {"a line without content is no text",
         "<package><txt name=\"Title:\"/><res name=\"r\"/></package>", "", "", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DescriptorContents read = ReadThemeDescriptor(c.bytes);
        ASSERT_EQ(read.status, DescriptorStatus::Read) << read.problem;
        EXPECT_EQ(read.metadata.Title, c.title);
        EXPECT_EQ(read.metadata.Url, c.url);
        EXPECT_EQ(read.resources.size(), c.resources);
        // Texts the descriptor does not give keep a new theme's values.
        EXPECT_EQ(read.metadata.Version, "1.0");
        EXPECT_EQ(read.metadata.Price, "0");
    }
}

TEST(DescriptorReader, WhatDoesNotParseIsUnreadableWithTheReason) {
    const std::pair<std::string, std::string> cases[] = {
        {"Title: Not XML\n", "syntax error at line 1, column 1"},
        {"", "no element found at line 1, column 1"},
        {"<package><summary>\n</package>", "mismatched tag at line 2, column 3"},
        {"<package><txt name=\"Title:\" content=\"a & b\"/></package>",
         "not well-formed (invalid token) at line 1, column 41"},
        {"<package/>\n<package/>", "junk after document element at line 2, column 1"},
        {"<theme/>", "its root element is <theme>, not <package>"},
        // The first of the "billion laughs" is refused before any of them is expanded.
        {"<?xml version=\"1.0\"?>\n<!DOCTYPE package [\n<!ENTITY lol \"lol\">\n"
         "<!ENTITY lol2 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">\n]>\n"
         "<package><txt name=\"Title:\" content=\"&lol2;\"/></package>",
         "it declares entities at line 3, column 14"},
    };
    for (const auto& [bytes, problem] : cases) {
        SCOPED_TRACE(bytes);
        DescriptorContents read = ReadThemeDescriptor(bytes);
        EXPECT_EQ(read.status, DescriptorStatus::Unreadable);
        EXPECT_EQ(read.problem, problem);
        EXPECT_TRUE(read.resources.empty());
        EXPECT_EQ(read.metadata.Title, "");
    }
}

TEST(DescriptorReader, TenThousandResourceLinesAreRead) {
    PackageList list;
    for (int i = 0; i < 10000; ++i)
        list.push_back("file" + std::to_string(i) + ".png");
    ThemeMetadata texts;
    texts.Title = "Many";
    DescriptorContents read = ReadThemeDescriptor(ThemeDescriptorText(texts, list));
    ASSERT_EQ(read.status, DescriptorStatus::Read);
    ASSERT_EQ(read.resources.size(), 10001u);
    EXPECT_EQ(read.resources[1].src, "file0.png");
    EXPECT_EQ(read.resources[10000].name, "file9999");
    EXPECT_EQ(read.metadata.Title, "Many");
}

TEST(DescriptorReader, AnArchiveWithoutConfigSpcHasNoDescriptor) {
    ThemeArchive archive;
    archive.entries.push_back({"idle_wallpaper.jpg", "idle_wallpaper.jpg", 0, "jpeg"});
    EXPECT_EQ(ReadArchiveDescriptor(archive).status, DescriptorStatus::Missing);
    archive.entries.push_back({"CONFIG.SPC", "CONFIG.SPC", 0, "<package/>"});
    EXPECT_EQ(ReadArchiveDescriptor(archive).status, DescriptorStatus::Read);
}

} // namespace
