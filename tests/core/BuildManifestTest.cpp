#include "app/BuildManifest.h"

#include "TestSupport.h"
#include "package/Errors.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

constexpr UtcTime Today{2008, 3, 5, 7, 4, 9};

class BuildManifestTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder / "media");
        for (const char* name : {"a.png", "b.mid", "c.gif", "mine.col"})
            test::WriteFile(folder / (std::string("media/") + name), name);
    }
    std::string Write(const std::string& text) {
        test::WriteFile(manifest, text);
        return manifest;
    }
    test::TempFolder folder;
    std::string manifest = folder / "theme.ini";
};

} // namespace

TEST_F(BuildManifestTest, TextsDefaultAsInTheEditor) {
    BuildManifest m = ReadBuildManifest(Write("[theme]\ntitle = \"Осень\"\nurl=http://x\n"), Today);
    EXPECT_EQ(m.Metadata.Title, "Осень");
    EXPECT_EQ(m.Metadata.Url, "http://x");
    EXPECT_EQ(m.Metadata.Published, "2008-3-5");
    EXPECT_EQ(m.Metadata.Version, "1.0");
    EXPECT_EQ(m.Metadata.Price, "0");
    EXPECT_EQ(m.Metadata.Resolution, "240x320 pixels");
    EXPECT_EQ(m.Metadata.Author, "");

    m = ReadBuildManifest(Write("[THEME]\nPublished=2001-2-3\nversion=2.5\nprice=10\n"), Today);
    EXPECT_EQ(m.Metadata.Published, "2001-2-3");
    EXPECT_EQ(m.Metadata.Version, "2.5");
    EXPECT_EQ(m.Metadata.Price, "10");

    // An empty title given on purpose is the user's choice.
    EXPECT_EQ(ReadBuildManifest(Write("[theme]\ntitle=\n"), Today).Metadata.Title, "");
}

TEST_F(BuildManifestTest, ChoicesKeepOrderAndRepeatsAndResolveAgainstTheManifestFolder) {
    const std::string absolute = folder / "media/c.gif";
    BuildManifest m = ReadBuildManifest(Write("[slots]\nIdle_Wallpaper=media/a.png\n"
                                              "0 = media/b.mid   ; the ringtone\n"
                                              "idle_wallpaper=" +
                                              absolute +
                                              "\n"
                                              "[scheme]\nfile=media/mine.col\n"
                                              "[theme]\ntitle=x\n"),
                                        Today);
    ASSERT_EQ(m.Choices.size(), 3u);
    EXPECT_EQ(m.Choices[0].slot, 7);
    EXPECT_EQ(m.Choices[0].path, folder / "media/a.png");
    EXPECT_EQ(m.Choices[0].line, 2);
    EXPECT_EQ(m.Choices[1].slot, 0);
    EXPECT_EQ(m.Choices[2].slot, 7);
    EXPECT_EQ(m.Choices[2].path, absolute);
    EXPECT_EQ(m.SchemeFile, folder / "media/mine.col");

    EXPECT_TRUE(ReadBuildManifest(Write("[theme]\ntitle=x\n"), Today).SchemeFile.empty());
}

TEST(BuildManifest, SlotKeys) {
    struct Case {
        const char* key;
        int slot;
    };
    for (auto [key, slot] :
         {Case{"0", 0}, Case{"37", 37}, Case{"07", 7}, Case{"38", -1}, Case{"-1", -1},
          Case{"standard_distlist_ringtone", 37}, Case{"STATUSBAR_STANDARD", 12},
          Case{"idle wallpaper", -1}, Case{"", -1}, Case{"007", -1}})
        EXPECT_EQ(SlotFromManifestKey(key), slot) << key;
}

TEST_F(BuildManifestTest, ProblemsNameTheLine) {
    struct Case {
        std::string text;
        std::string message; // after "<manifest>:"
    };
    const Case cases[] = {
        {"[slots]\n\nbogus=media/a.png\n", "3: unknown slot \"bogus\""},
        {"[slots]\n38=media/a.png\n", "2: unknown slot \"38\""},
        {"[slots]\nidle_wallpaper=media/none.png\n", "2: file not found: \"media/none.png\""},
        {"[slots]\nidle_wallpaper=media\n", "2: not a file: \"media\""},
        {"[slots]\nidle_wallpaper=\n", "2: no file given for \"idle_wallpaper\""},
        {"[theme]\ntitel=x\n", "2: unknown key \"titel\" in [theme]"},
        {"[theme]\nresolution=1x1\n", "2: unknown key \"resolution\" in [theme]"},
        {"[theme]\ntitle=a\nTitle=b\n", "3: \"Title\" is already given on line 2"},
        {"[slot]\nidle_wallpaper=media/a.png\n", "2: unknown section [slot]"},
        {"[scheme]\nfile=none.col\n", "2: file not found: \"none.col\""},
        {"[scheme]\npath=media/mine.col\n", "2: unknown key \"path\" in [scheme]"},
        {"title=x\n[theme]\n", "1: \"title=x\" stands before any section"},
        {"; remark\n\nauthor = Ann\n[theme]\ntitle=x\n",
         "3: \"author = Ann\" stands before any section"},
        {"[theme]\ntitle=x\n[slots]\nidle_wallpaper media/a.png\n",
         "4: no \"=\" on this line: \"idle_wallpaper media/a.png\""},
        {"[slots]\nidle_wallpaper media/a.png\nbogus=media/a.png\n",
         "2: no \"=\" on this line: \"idle_wallpaper media/a.png\""},
        {"[slots]\nidle_wallpaper=media/a.png\n", " the manifest has no [theme] section"},
        {"", " the manifest has no [theme] section"},
        {"; only a remark\n[Theme Texts]\n", " the manifest has no [theme] section"},
        // One Windows-1251 remark in a UTF-8 file, or bytes that start no character at all.
        {"[theme]\ntitle=Осень\n; \xCF\xF0\xE8\xEC\xE5\xF0\n",
         "3: a byte on this line is not UTF-8; save the manifest as UTF-8"},
        {"[theme]\r\ntitle=\x80\r\n",
         "2: a byte on this line is not UTF-8; save the manifest as UTF-8"},
        {"[theme]\ntitle=\xD0", "2: a byte on this line is not UTF-8; save the manifest as UTF-8"},
    };
    for (const Case& c : cases) {
        try {
            ReadBuildManifest(Write(c.text), Today);
            ADD_FAILURE() << c.text << " was accepted";
        } catch (const KestrovaError& error) {
            EXPECT_EQ(error.what(), manifest + ":" + c.message);
        }
    }
}

TEST_F(BuildManifestTest, UnreadableManifest) {
    try {
        ReadBuildManifest(folder / "none.ini", Today);
        FAIL() << "a missing manifest was read";
    } catch (const KestrovaError& error) {
        EXPECT_EQ(error.what(),
                  "cannot read manifest \"" + (folder / "none.ini") + "\": File not found");
    }
}
