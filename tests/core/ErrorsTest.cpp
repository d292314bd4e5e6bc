#include "package/Errors.h"

#include <cerrno>
#include <gtest/gtest.h>

TEST(ErrorBoxText, PeriodOnlyAfterCharactersAboveTheDot) {
    struct Case {
        const char* message;
        const char* shown;
    };
    for (auto [message, shown] : {
             Case{"", ""},
             Case{"Stream write error", "Stream write error."},
             Case{"I/O error 32", "I/O error 32."},
             Case{"Done.", "Done."},
             Case{"Сделано!!!", "Сделано!!!"},
             Case{"a,", "a,"},
             Case{"a-", "a-"},
             Case{"(a)", "(a)"},
             Case{"trailing ", "trailing "},
             Case{"Файл", "Файл."}, // a Cyrillic letter ends in a byte above "."
             Case{"a/", "a/."},
         })
        EXPECT_EQ(ErrorBoxText(message), shown) << message;
}

TEST(InOutError, PosixErrorsMapToCodesOfTheSameMeaning) {
    struct Case {
        int error;
        int code;
        const char* message;
    };
    for (auto [error, code, message] : {
             Case{ENOENT, 2, "File not found"}, Case{ENAMETOOLONG, 3, "Invalid filename"},
             Case{EMFILE, 4, "Too many open files"}, Case{EACCES, 5, "File access denied"},
             Case{EROFS, 5, "File access denied"}, Case{ENOSPC, 101, "Disk full"},
             Case{EWOULDBLOCK, 32, "I/O error 32"}, Case{EBADF, 103, "I/O error 103"},
             Case{EIO, EIO, "I/O error 5"}, // not "File access denied", though EIO is 5
         }) {
        InOutError e = InOutError::FromErrno(error);
        EXPECT_EQ(e.Code(), code) << error;
        EXPECT_STREQ(e.what(), message) << error;
    }
}

TEST(StreamError, MessagesNameThePathAndTheSystemsReason) {
    EXPECT_STREQ(StreamError::Open("/a/b.mid", ENOENT).what(),
                 "Cannot open file \"/a/b.mid\". No such file or directory");
    EXPECT_STREQ(StreamError::Create("/t/x", EACCES).what(),
                 "Cannot create file \"/t/x\". Permission denied");
    EXPECT_STREQ(StreamError::Read().what(), "Stream read error");
    EXPECT_STREQ(StreamError::Write().what(), "Stream write error");
}
