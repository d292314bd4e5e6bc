#include "app/ActivityLog.h"

#include "TestSupport.h"
#include "package/Errors.h"
#include "package/SystemCalls.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr UtcTime Start{2008, 3, 5, 7, 4, 9};
constexpr UtcTime Close{2008, 3, 5, 8, 0, 0};

int CodeOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const InOutError& error) {
        return error.Code();
    }
    return 0;
}

// Restores the real system calls however a test ends.
struct SysGuard {
    ~SysGuard() { Sys = RealSystemCalls; }
};

} // namespace

TEST(ActivityLog, TimestampsHaveNoLeadingZeros) {
    struct Case {
        UtcTime time;
        const char* text;
    };
    for (auto [time, text] : {Case{{2008, 3, 5, 7, 4, 9}, "5.3.2008 7:4:9"},
                              Case{{2007, 12, 31, 21, 30, 0}, "31.12.2007 21:30:0"},
                              Case{{2026, 10, 10, 10, 10, 10}, "10.10.2026 10:10:10"},
                              Case{{2000, 1, 1, 0, 0, 0}, "1.1.2000 0:0:0"}})
        EXPECT_EQ(LogTimestamp(time), text);
}

TEST(ActivityLog, EntryTexts) {
    EXPECT_EQ(ChoiceLogEntry("/home/u/Ring.MP3", "standard_ringtone"),
              "\"/home/u/Ring.MP3\" is choosed as standard_ringtone\n");
    EXPECT_EQ(FieldLogEntry(LogPublishedPrefix, "2008-3-5"),
              "The Creation date of theme change to 2008-3-5\n");
    EXPECT_EQ(FieldLogEntry(LogTitlePrefix, ""), "The Name of theme change to \n");
}

TEST(ActivityLog, FirstRunStartsTheFileLaterRunsAddAnEmptyLineFirst) {
    test::TempFolder folder;
    const std::string path = folder / "trelvask.log";
    const std::string firstRun =
        "5.3.2008 7:4:9 - program started!\n5.3.2008 8:0:0 - program closed!\n";
    {
        ActivityLog log(path);
        log.OpenLog(Start);
        log.CloseLog(Close);
    }
    EXPECT_EQ(test::ReadFile(path), firstRun);
    {
        ActivityLog log(path);
        log.OpenLog(Start);
        log.WriteLog(FieldLogEntry(LogTitlePrefix, "Осень"));
        log.CloseLog(Close);
    }
    EXPECT_EQ(test::ReadFile(path), firstRun + "\n5.3.2008 7:4:9 - program started!\n"
                                               "The Name of theme change to Осень\n"
                                               "5.3.2008 8:0:0 - program closed!\n");
}

TEST(ActivityLog, BareNameIsResolvedInTheCurrentDirectoryAtOpening) {
    test::TempFolder start, elsewhere;
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(start.Path());
    ActivityLog log;
    log.OpenLog(Start);
    std::filesystem::current_path(elsewhere.Path());
    log.CloseLog(Close);
    std::filesystem::current_path(saved);
    EXPECT_TRUE(std::filesystem::exists(start / "trelvask.log"));
    EXPECT_FALSE(std::filesystem::exists(elsewhere / "trelvask.log"));
}

TEST(ActivityLog, EveryEntryIsOnDiskAtOnceAndReadersAreWelcome) {
    test::TempFolder folder;
    const std::string path = folder / "trelvask.log";
    ActivityLog log(path);
    log.OpenLog(Start);
    log.WriteLog(ChoiceLogEntry("/a/b.mid", "standard_msg_ringtone"));
    // Read while the log is open, as another program would; nothing may wait in a buffer.
    EXPECT_EQ(test::ReadFile(path), "5.3.2008 7:4:9 - program started!\n"
                                    "\"/a/b.mid\" is choosed as standard_msg_ringtone\n");
    log.CloseLog(Close);
}

TEST(ActivityLog, SecondCopyGetsCode32AndThen103WhileTheFirstWritesOn) {
    test::TempFolder folder;
    const std::string path = folder / "trelvask.log";
    ActivityLog first(path);
    first.OpenLog(Start);

    ActivityLog second(path);
    try {
        second.OpenLog(Start);
        FAIL() << "a second copy opened the log";
    } catch (const InOutError& error) {
        EXPECT_EQ(error.Code(), 32);
        EXPECT_STREQ(error.what(), "I/O error 32");
    }
    EXPECT_FALSE(second.IsOpen());
    EXPECT_EQ(CodeOf([&] { second.WriteLog("x\n"); }), 103);
    EXPECT_EQ(CodeOf([&] { second.CloseLog(Close); }), 103);

    first.CloseLog(Close);
    // The refused copy wrote nothing, not even its empty line.
    EXPECT_EQ(test::ReadFile(path),
              "5.3.2008 7:4:9 - program started!\n5.3.2008 8:0:0 - program closed!\n");
}

TEST(ActivityLog, LogHeldByAnotherProcessGivesCode32) {
    test::TempFolder folder;
    const std::string path = folder / "trelvask.log";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ActivityLog log(path);
        try {
            log.OpenLog(Start);
        } catch (...) {
            _exit(1); // the parent's read then fails instead of waiting
        }
        char byte = 1;
        (void)!write(ready[1], &byte, 1);
        pause();
        _exit(0);
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);

    ActivityLog log(path);
    EXPECT_EQ(CodeOf([&] { log.OpenLog(Start); }), 32);

    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    // Killed without closing, the holder's start entry is there all the same.
    EXPECT_EQ(test::ReadFile(path), "5.3.2008 7:4:9 - program started!\n");
    // And once it is gone the log can be taken again.
    EXPECT_EQ(CodeOf([&] { log.OpenLog(Start); }), 0);
    log.CloseLog(Close);
}

TEST(ActivityLog, ClosedLogFailsWith103) {
    test::TempFolder folder;
    struct Case {
        const char* name;
        std::string path;
        std::function<void(ActivityLog&)> before;
    };
    const Case cases[] = {
        {"never opened", folder / "a.log", [](ActivityLog&) {}},
        {"opening failed", folder / "missing/trelvask.log",
         [](ActivityLog& log) { EXPECT_EQ(CodeOf([&] { log.OpenLog(Start); }), ioFileNotFound); }},
        {"already closed", folder / "c.log",
         [](ActivityLog& log) {
             log.OpenLog(Start);
             log.CloseLog(Close);
         }},
    };
    for (const Case& c : cases) {
        ActivityLog log(c.path);
        c.before(log);
        EXPECT_EQ(CodeOf([&] { log.WriteLog("text\n"); }), 103) << c.name;
        EXPECT_EQ(CodeOf([&] { log.CloseLog(Close); }), 103) << c.name;
    }
}

TEST(ActivityLog, FailedWritesRaiseTheSystemsCode) {
    SysGuard guard;
    test::TempFolder folder;
    const std::string path = folder / "trelvask.log";

    ActivityLog log(path);
    log.OpenLog(Start);
    Sys.Write = [](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    };
    EXPECT_EQ(CodeOf([&] { log.WriteLog("text\n"); }), ioDiskFull);
    // A failed closing entry still closes the file.
    EXPECT_EQ(CodeOf([&] { log.CloseLog(Close); }), ioDiskFull);
    EXPECT_FALSE(log.IsOpen());

    // A start entry that cannot be written leaves the log closed for the run.
    ActivityLog next(path);
    EXPECT_EQ(CodeOf([&] { next.OpenLog(Start); }), ioDiskFull);
    EXPECT_FALSE(next.IsOpen());
    Sys = RealSystemCalls;
    EXPECT_EQ(CodeOf([&] { next.WriteLog("text\n"); }), 103);
}
