// Texts a theme cannot carry are refused with a message naming them, and before a build has
// written anything.

#include "package/ThemeText.h"

#include "TestSupport.h"
#include "model/WorkUnit.h"
#include "package/Errors.h"
#include "package/Staging.h"
#include "package/ThemeBuild.h"
#include "package/ThemeDescriptor.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// The message of the EncodingError that f throws, or "" when it throws none.
template <typename F> std::string EncodingErrorOf(F f) {
    try {
        f();
    } catch (const EncodingError& e) {
        return e.what();
    }
    return "";
}

class NoReports : public BuildReporter {
public:
    void SetStatus(BuildStatus) override {}
    void SetProgress(int) override {}
};

} // namespace

TEST(ThemeText, ControlCharactersAndCharactersTheCodePageLacksAreRefused) {
    struct Case {
        std::string text;
        CodePage page;
        std::string message; // after "The text "; empty when the text is accepted
    };
    const Case cases[] = {
        {"Зима\tНочь ~!", CodePage::Windows1251, ""},
        {"Зима ё № €", CodePage::Windows1251, ""},
        {"Зима ё №", CodePage::Cp866, ""},
        {std::string("a\0b", 3), CodePage::Windows1251,
         "holds the control character U+0000, which a theme's texts cannot hold"},
        {"a\nb", CodePage::Cp866,
         "holds the control character U+000A, which a theme's texts cannot hold"},
        {"a\rb", CodePage::Windows1251,
         "holds the control character U+000D, which a theme's texts cannot hold"},
        {"\x1F", CodePage::Windows1251,
         "holds the control character U+001F, which a theme's texts cannot hold"},
        {"a\x7F", CodePage::Windows1251,
         "holds the control character U+007F, which a theme's texts cannot hold"},
        {"€", CodePage::Cp866,
         "holds the character \"€\", which the archive's code page CP866 cannot represent"},
        {"╬", CodePage::Windows1251,
         "holds the character \"╬\", which the theme's code page Windows-1251 cannot represent"},
    };
    for (const Case& c : cases) {
        std::string message = EncodingErrorOf([&] { ThemeTextBytes(c.text, c.page, "The text"); });
        EXPECT_EQ(message, c.message.empty() ? "" : "The text " + c.message) << c.text;
    }
    EXPECT_EQ(ThemeTextBytes("Зима\t1", CodePage::Windows1251, "x"), "\xC7\xE8\xEC\xE0\t1");
    EXPECT_EQ(ThemeTextBytes("Зима", CodePage::Cp866, "x"), "\x87\xA8\xAC\xA0");
}

TEST(ThemeText, ABuildRefusesABadTextBeforeWritingAnything) {
    test::TempFolder root;
    const std::string temp = root / "temp";
    const std::string out = root / "out";
    fs::create_directories(temp);
    fs::create_directories(out);
    ThemeDocument state;
    state.TempDir = temp;
    for (int slot = 0; slot < SlotCount; ++slot) {
        const std::string source = root / std::to_string(slot);
        test::WriteFile(source, "x");
        StageSlotFile(state, slot, source);
        state.SlotChosen[slot] = 1;
    }
    const PackageList listed = state.FilesList;
    std::vector<fs::path> staged;
    for (const auto& entry : fs::directory_iterator(temp))
        staged.push_back(entry.path());
    std::sort(staged.begin(), staged.end());

    struct Case {
        std::string ThemeMetadata::*field;
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {&ThemeMetadata::Title, std::string("Зима\0.txt", 9),
         "The field \"Название\" holds the control character U+0000, which a theme's texts "
         "cannot hold"},
        {&ThemeMetadata::Author, "Ann\nBob",
         "The field \"Автор\" holds the control character U+000A, which a theme's texts cannot "
         "hold"},
        {&ThemeMetadata::Url, "http://x.org/\x7F",
         "The field \"URL\" holds the control character U+007F, which a theme's texts cannot "
         "hold"},
        {&ThemeMetadata::Vendor, "Ann ✓",
         "The field \"Продавец\" holds the character \"✓\", which the theme's code page "
         "Windows-1251 cannot represent"},
    };
    for (const Case& c : cases) {
        state.Metadata = ThemeMetadata{};
        state.Metadata.Title = "Зима";
        state.Metadata.*c.field = c.text;
        NoReports reporter;

        EXPECT_EQ(EncodingErrorOf([&] { CheckThemeTexts(state.Metadata); }), c.message);
        EXPECT_EQ(EncodingErrorOf([&] {
                      BuildTheme(state, BuildOptions{out, {}}, reporter);
                  }),
                  c.message);

        std::vector<fs::path> left;
        for (const auto& entry : fs::directory_iterator(temp))
            left.push_back(entry.path());
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, staged) << c.message; // no scheme, no descriptor
        EXPECT_TRUE(fs::is_empty(out)) << c.message;
        EXPECT_EQ(state.FilesList, listed) << c.message;
    }
}
