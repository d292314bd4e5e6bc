#include "package/ThemeDescriptor.h"

#include "TestSupport.h"
#include "package/Errors.h"
#include "package/SystemCalls.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

ThemeMetadata EmptyTexts() {
    ThemeMetadata texts;
    texts.Version = texts.Resolution = texts.Price = "";
    return texts;
}

std::size_t Lines(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

} // namespace

TEST(ThemeDescriptor, FixedLinesHaveTheirExactSize) {
    std::string empty = ThemeDescriptorText(EmptyTexts(), {});
    EXPECT_EQ(empty.size(), 810u);
    EXPECT_EQ(Lines(empty), 27u);
    EXPECT_EQ(ThemeDescriptorText(ThemeMetadata{}, {}).size(), 828u);
    EXPECT_EQ(empty.find('\r'), std::string::npos);
    EXPECT_EQ(empty.back(), '\n');
    EXPECT_EQ(empty.substr(0, 21), "<?xml version=\"1.0\"?>"); // no byte-order mark
}

TEST(ThemeDescriptor, TheWholeDocumentForOneEntry) {
    ThemeMetadata texts;
    texts.Title = "Sky";
    texts.Published = "2008-3-5";
    EXPECT_EQ(ThemeDescriptorText(texts, {"/opt/kestrova/temp/idle_wallpaper.jpg"}),
              "<?xml version=\"1.0\"?>\n"
              "<?xml-stylesheet type=\"text/xsl\"?>\n"
              "<package>\n"
              "\t<summary>\n"
              "\t\t<watermark\tcontent=\"Watermark\"/>\n"
              "\t\t<headline\tcontent=\"Siemens Downloadable Theme\"/>\n"
              "\t\t<txt name=\"Title:\"\tcontent=\"Sky\"/>\n"
              "\t\t<txt name=\"Author:\"\tcontent=\"\"/>\n"
              "\t\t<txt name=\"Published:\"\tcontent=\"2008-3-5\"/>\n"
              "\t\t<txt name=\"Version:\"\tcontent=\"1.0\"/>\n"
              "\t\t<txt name=\"Resolution:\"\tcontent=\"240x320 pixels\"/>\n"
              "\t\t<txt name=\"Vendor:\"\tcontent=\"\"/>\n"
              "\t\t<txt name=\"Price:\"\tcontent=\"0\"/>\n"
              "\t\t<url name=\"URL:\"\tcontent=\"\"/>\n"
              "\t\t<description\tcontent=\"240x320\"/>\n"
              "\t\t<model\tcontent=\"EL71_2\"/>\n"
              "\t\t<model\tcontent=\"CF130_2\"/>\n"
              "\t\t<model\tcontent=\"swift_2\"/>\n"
              "\t</summary>\n"
              "<format type=\"theme\" version=\"1.1\">\n"
              "\t<res name=\"text_colors\"\tsrc=\"SkinScheme.col\"/>\n"
              "\t<res name=\"idle_wallpaper\"\tsrc=\"idle_wallpaper.jpg\"/>\n"
              "\t<set name=\"screensaver_type\"\tvalue=\"DigitalClock\"/>\n"
              "</format>\n"
              "<summary>\n"
              "\t<copyright\tcontent=\"BenQ Mobile GmbH + Co. OHG\"/>\n"
              "</summary>\n"
              "</package>\n");
}

TEST(ThemeDescriptor, EachEntryAddsOneLineNamedAfterItsLastComponent) {
    struct Case {
        const char* entry;
        const char* base;
        const char* file;
    };
    const std::string empty = ThemeDescriptorText(EmptyTexts(), {});
    for (auto [entry, base, file] : {
             Case{"/opt/k/temp/idle_wallpaper.jpg", "idle_wallpaper", "idle_wallpaper.jpg"},
             Case{"/opt/k/temp/idle_wallpaper.JPG", "idle_wallpaper", "idle_wallpaper.JPG"},
             Case{"/opt/k/temp/standard_ringtone", "standard_ringtone", "standard_ringtone"},
             Case{"/opt/my.files/temp/standard_ringtone", "standard_ringtone", "standard_ringtone"},
             Case{"/opt/k/temp/SkinScheme.col", "SkinScheme", "SkinScheme.col"},
             Case{"config.spc", "config", "config.spc"},
             Case{"/opt/k/temp/wait_animation.old.gif", "wait_animation", "wait_animation.old.gif"},
         }) {
        std::string text = ThemeDescriptorText(EmptyTexts(), {entry});
        EXPECT_EQ(text.size(), empty.size() + 23 + std::strlen(base) + std::strlen(file)) << entry;
        EXPECT_NE(text.find(std::string("\t<res name=\"") + base + "\"\tsrc=\"" + file + "\"/>\n"),
                  std::string::npos)
            << entry;
        EXPECT_EQ(text.find("/opt"), std::string::npos) << entry;
    }
}

TEST(ThemeDescriptor, EntriesKeepTheirOrderAndRepeats) {
    std::string text =
        ThemeDescriptorText(ThemeMetadata{}, {"/t/standard_ringtone.mid", "/t/SkinScheme.col",
                                              "/t/standard_ringtone.mp3"});
    std::size_t first = text.find("src=\"standard_ringtone.mid\"");
    std::size_t scheme = text.find("<res name=\"SkinScheme\"\tsrc=\"SkinScheme.col\"");
    std::size_t second = text.find("src=\"standard_ringtone.mp3\"");
    EXPECT_LT(first, scheme);
    EXPECT_LT(scheme, second);
    EXPECT_EQ(Lines(text), 30u);
}

TEST(ThemeDescriptor, CyrillicTextsAreWrittenInWindows1251) {
    ThemeMetadata texts;
    texts.Title = "Зима";
    std::string text = ThemeDescriptorText(texts, {});
    EXPECT_NE(text.find("content=\"\xC7\xE8\xEC\xE0\"/>"), std::string::npos);
}

TEST(ThemeDescriptor, MarkupInTextsIsEscapedAndReadsBackWithAnXmlParser) {
    test::TempFolder folder;
    ThemeMetadata texts;
    texts.Title = "Tom & \"Jerry\" <2>";
    texts.Url = "http://x.org/?a=1&b=2";
    WriteThemeDescriptor(texts, {folder / "a&b.png"}, folder.Path().string());
    std::string script = "import sys, xml.etree.ElementTree as ET\n"
                         "root = ET.parse(sys.argv[1]).getroot()\n"
                         "print(root.find(\"summary/txt[@name='Title:']\").get('content'))\n"
                         "print(root.find(\"summary/url\").get('content'))\n"
                         "print(root.findall('format/res')[1].get('src'))\n";
    test::CommandResult result = test::Run("/usr/bin/python3 -c " + test::ShellQuote(script) + " " +
                                           test::ShellQuote(folder / "config.spc"));
    ASSERT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "Tom & \"Jerry\" <2>\nhttp://x.org/?a=1&b=2\na&b.png\n");
}

TEST(ThemeDescriptor, ATextWindows1251CannotHoldIsRefusedBeforeTheFileIsCreated) {
    test::TempFolder folder;
    ThemeMetadata texts;
    texts.Author = "Ann ✓";
    try {
        WriteThemeDescriptor(texts, {}, folder.Path().string());
        FAIL() << "no error";
    } catch (const EncodingError& e) {
        EXPECT_STREQ(e.what(), "The field \"Автор\" holds the character \"✓\", which the theme's "
                               "code page Windows-1251 cannot represent");
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "config.spc"));
}

TEST(ThemeDescriptor, FileErrorsAreTextFileErrors) {
    test::TempFolder folder;
    try {
        WriteThemeDescriptor(ThemeMetadata{}, {}, folder / "missing");
        FAIL() << "no error";
    } catch (const InOutError& e) {
        EXPECT_EQ(e.Code(), 2);
    }

    test::ScopedSystemCalls restore;
    Sys.Write = [](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    try {
        WriteThemeDescriptor(ThemeMetadata{}, {}, folder.Path().string());
        FAIL() << "no error";
    } catch (const InOutError& e) {
        EXPECT_STREQ(e.what(), "Disk full");
    }
}
