#include "app/UserDirs.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(UserDirs, DocumentsFolderAsXdgUserDirsWritesIt) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected; // "~" stands for the home folder
    };
    const Case cases[] = {
        {"under home, in the user's language", "XDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n",
         "~/Документы"},
        {"absolute, trailing separators dropped", "XDG_DOCUMENTS_DIR=\"/data/docs//\"\n",
         "/data/docs"},
        {"disabled: home itself", "XDG_DOCUMENTS_DIR=\"$HOME/\"\n", "~"},
        {"among the others, comments and blanks",
         "# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
         "  XDG_DOCUMENTS_DIR = \"$HOME/Docs\"\nXDG_MUSIC_DIR=\"$HOME/Music\"\n",
         "~/Docs"},
        {"the last line wins", "XDG_DOCUMENTS_DIR=\"$HOME/A\"\nXDG_DOCUMENTS_DIR=\"$HOME/B\"\n",
         "~/B"},
        {"shell escapes", "XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\" \\$1\"\n", "~/My \"Docs\" $1"},
        {"CRLF, no final line end", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\r", "~/Docs"},
        {"commented out", "#XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n", ""},
        {"relative", "XDG_DOCUMENTS_DIR=\"Docs\"\n", ""},
        {"another variable than HOME", "XDG_DOCUMENTS_DIR=\"$HOMEDIR/Docs\"\n", ""},
        {"unquoted", "XDG_DOCUMENTS_DIR=$HOME/Docs\n", ""},
        {"no closing quote", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\n", ""},
        {"a longer key", "XDG_DOCUMENTS_DIRS=\"$HOME/Docs\"\n", ""},
        {"an unusable line keeps the earlier value",
         "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\nXDG_DOCUMENTS_DIR=\"Later\"\n", "~/Docs"},
        {"empty file", "", ""},
    };
    test::TempFolder folder;
    const std::string home = folder / "home";
    for (const Case& c : cases) {
        test::WriteFile(folder / "user-dirs.dirs", c.text);
        std::string expected = c.expected;
        if (!expected.empty() && expected.front() == '~')
            expected = home + expected.substr(1);
        EXPECT_EQ(ReadUserDir(folder / "user-dirs.dirs", "XDG_DOCUMENTS_DIR", home), expected)
            << c.name;
    }
    EXPECT_EQ(ReadUserDir(folder / "missing", "XDG_DOCUMENTS_DIR", home), "");
    test::WriteFile(folder / "user-dirs.dirs", "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n");
    EXPECT_EQ(ReadUserDir(folder / "user-dirs.dirs", "XDG_DOCUMENTS_DIR", "/"), "/Docs");
}
