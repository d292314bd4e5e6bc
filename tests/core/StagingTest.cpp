#include "package/Staging.h"

#include "TestSupport.h"
#include "package/Errors.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// What an old kernel says to copy_file_range; the copy then goes through Read and Write.
ssize_t KernelCopyUnavailable(int, off_t*, int, off_t*, size_t, unsigned) {
    errno = ENOSYS;
    return -1;
}

// How the swapped-in copy_file_range behaves, and how many bytes it has copied.
int kernelError = 0;
size_t kernelCopiesUpTo = 0;
size_t kernelCopied = 0;

// Copies through the real call up to kernelCopiesUpTo bytes, then fails with kernelError, or
// reports the end of the source when that is 0.
ssize_t KernelCopyStoppingShort(int in, off_t* inOffset, int out, off_t* outOffset, size_t size,
                                unsigned flags) {
    if (kernelCopied < kernelCopiesUpTo) {
        ssize_t n = RealSystemCalls.CopyFileRange(
            in, inOffset, out, outOffset, std::min(size, kernelCopiesUpTo - kernelCopied), flags);
        if (n > 0)
            kernelCopied += static_cast<size_t>(n);
        return n;
    }
    errno = kernelError;
    return kernelError == 0 ? 0 : -1;
}

} // namespace

class Staging : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(folder / "temp");
        state.TempDir = folder / "temp";
    }

    // The message of the StreamError that f throws, or "" when it throws none.
    template <typename F> std::string StreamErrorOf(F f) {
        try {
            f();
        } catch (const StreamError& e) {
            return e.what();
        }
        return "";
    }

    test::TempFolder folder;
    test::ScopedTimeZone zone{"Europe/Moscow"};
    ThemeDocument state;
};

TEST_F(Staging, StagedNameIsResourceNameAndExtension) {
    struct Case {
        int slot;
        const char* source; // relative to the test folder
        const char* staged;
    };
    fs::create_directory(folder / "my.files");
    for (auto [slot, source, staged] : {
             Case{1, "Bell.mid", "standard_msg_ringtone.mid"},
             Case{0, "Ring.MP3", "standard_ringtone.MP3"},
             Case{0, "ring", "standard_ringtone"},
             Case{0, "my.files/ring", "standard_ringtone"},
             Case{7, "sky.dark.jpg", "idle_wallpaper.jpg"},
             Case{37, "d.aac", "standard_distlist_ringtone.aac"},
         }) {
        test::WriteFile(folder / source, source);
        state.FilesList.clear();
        StageSlotFile(state, slot, folder / source);
        std::string expected = folder / ("temp/" + std::string(staged));
        EXPECT_EQ(state.FilesList, PackageList{expected}) << source;
        EXPECT_EQ(test::ReadFile(expected), source);
    }
}

TEST_F(Staging, ExtensionsThePackageCannotNameAreRefusedBeforeStaging) {
    struct Case {
        const char* source;  // relative to the test folder
        const char* message; // empty when the file is staged
    };
    fs::create_directory(folder / "my.€");
    const Case cases[] = {
        {"ring.мп3", ""},
        {"my.€/ring", ""},
        {"ring.m€d", "The file extension \".m€d\" holds the character \"€\", which the archive's "
                     "code page CP866 cannot represent"},
        {"ring.╬", "The file extension \".╬\" holds the character \"╬\", which the theme's code "
                   "page Windows-1251 cannot represent"},
        {"ring.m\nd", "The file extension \".m\uFFFDd\" holds the control character U+000A, "
                      "which a theme's texts cannot hold"},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder / "temp");
        fs::create_directory(folder / "temp");
        state.FilesList.clear();
        test::WriteFile(folder / c.source, "x");
        // The window can ask before it shows the choice; staging asks all the same.
        std::string asked, staged;
        try {
            CheckStagedNameEncodable(folder / c.source);
        } catch (const EncodingError& e) {
            asked = e.what();
        }
        try {
            StageSlotFile(state, 0, folder / c.source);
        } catch (const EncodingError& e) {
            staged = e.what();
        }
        EXPECT_EQ(asked, c.message) << c.source;
        EXPECT_EQ(staged, c.message) << c.source;
        const std::string message = staged;
        EXPECT_EQ(state.FilesList.size(), message.empty() ? 1u : 0u) << c.source;
        EXPECT_EQ(fs::is_empty(folder / "temp"), !message.empty()) << c.source;
    }
}

TEST_F(Staging, CopyCarriesTheSourceTimeAtDosResolution) {
    struct Case {
        int second;
        int stagedSecond;
    };
    for (auto [second, stagedSecond] : {Case{16, 16}, Case{17, 16}}) {
        test::WriteFile(folder / "a.mid", "x");
        test::SetLocalMTime(folder / "a.mid", 2007, 7, 30, 14, 23, second);
        StageSlotFile(state, 0, folder / "a.mid");
        std::tm staged = test::LocalMTime(folder / "temp/standard_ringtone.mid");
        EXPECT_EQ(staged.tm_year + 1900, 2007);
        EXPECT_EQ(staged.tm_mday, 30);
        EXPECT_EQ(staged.tm_hour, 14);
        EXPECT_EQ(staged.tm_min, 23);
        EXPECT_EQ(staged.tm_sec, stagedSecond);
    }
}

TEST_F(Staging, ATimeBeforeDosDatesLeavesTheCopysOwnTime) {
    test::WriteFile(folder / "old.mid", "x");
    test::SetLocalMTime(folder / "old.mid", 1975, 1, 1, 12, 0, 0);
    StageSlotFile(state, 0, folder / "old.mid");
    EXPECT_NE(test::LocalMTime(folder / "temp/standard_ringtone.mid").tm_year + 1900, 1975);
}

TEST_F(Staging, ChoosingAgainAppendsAndOtherExtensionsStayBeside) {
    test::WriteFile(folder / "a.mid", "first");
    test::WriteFile(folder / "b.mp3", "second");
    test::WriteFile(folder / "c.mid", "third");
    StageSlotFile(state, 0, folder / "a.mid");
    StageSlotFile(state, 0, folder / "b.mp3");
    StageSlotFile(state, 0, folder / "c.mid");
    EXPECT_EQ(state.FilesList, (PackageList{folder / "temp/standard_ringtone.mid",
                                            folder / "temp/standard_ringtone.mp3",
                                            folder / "temp/standard_ringtone.mid"}));
    EXPECT_EQ(test::ReadFile(folder / "temp/standard_ringtone.mid"), "third");
    EXPECT_EQ(test::ReadFile(folder / "temp/standard_ringtone.mp3"), "second");
}

TEST_F(Staging, EmptyAndReadOnlySourcesGiveOrdinaryCopies) {
    test::WriteFile(folder / "empty.gif", "");
    fs::permissions(folder / "empty.gif", fs::perms::owner_read);
    StageSlotFile(state, 4, folder / "empty.gif");
    std::string staged = folder / "temp/switch_on_animation.gif";
    EXPECT_EQ(fs::file_size(staged), 0u);
    EXPECT_TRUE((fs::status(staged).permissions() & fs::perms::owner_write) != fs::perms::none);
}

TEST_F(Staging, ANamedPipeIsStagedWithoutWaitingForAWriter) {
    const std::string pipe = folder / "ring.mid";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    int exitCode = test::ExitCodeInChild([&] {
        StageSlotFile(state, 0, pipe);
        if (state.FilesList.size() != 1)
            _exit(3);
    });
    ASSERT_NE(exitCode, -1) << "staging a named pipe waited for a writer";
    EXPECT_EQ(exitCode, 0);
    EXPECT_EQ(test::ReadFile(folder / "temp/standard_ringtone.mid"), "");
}

TEST_F(Staging, FailuresRaiseTheStreamErrorAndLeaveTheListAlone) {
    test::WriteFile(folder / "ring.mid", "new");
    test::WriteFile(folder / "temp/standard_ringtone.mid", "old");
    std::string staged = folder / "temp/standard_ringtone.mid";

    EXPECT_EQ(StreamErrorOf([&] { StageSlotFile(state, 0, folder / "none.mid"); }),
              "Cannot open file \"" + (folder / "none.mid") + "\". No such file or directory");

    EXPECT_EQ(StreamErrorOf([&] { StageSlotFile(state, 0, folder.Path().string()); }),
              "Cannot open file \"" + folder.Path().string() + "\". Is a directory");

    // The very file that is already the slot's staged copy cannot be its own source.
    EXPECT_EQ(StreamErrorOf([&] { StageSlotFile(state, 0, staged); }),
              "Cannot create file \"" + staged + "\". Device or resource busy");

    ThemeDocument missing = state;
    missing.TempDir = folder / "gone";
    EXPECT_EQ(StreamErrorOf([&] { StageSlotFile(missing, 0, folder / "ring.mid"); }),
              "Cannot create file \"" + (folder / "gone/standard_ringtone.mid") +
                  "\". No such file or directory");

    EXPECT_TRUE(state.FilesList.empty());
    EXPECT_TRUE(missing.FilesList.empty());
    EXPECT_EQ(test::ReadFile(staged), "old");
}

TEST_F(Staging, FilesHeldLockedElsewhereCannotBeStaged) {
    test::WriteFile(folder / "ring.mid", "new");
    test::WriteFile(folder / "temp/standard_ringtone.mid", "old");
    std::string staged = folder / "temp/standard_ringtone.mid";
    for (const std::string& held : {folder / "ring.mid", staged}) {
        // Another open file description behaves like another process's lock.
        int fd = ::open(held.c_str(), O_RDONLY);
        ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
        std::string message = StreamErrorOf([&] { StageSlotFile(state, 0, folder / "ring.mid"); });
        ::close(fd);
        std::string expected =
            held == staged ? "Cannot create file \"" + staged + "\". Device or resource busy"
                           : "Cannot open file \"" + held + "\". Device or resource busy";
        EXPECT_EQ(message, expected);
    }
    EXPECT_EQ(test::ReadFile(staged), "old");
    EXPECT_TRUE(state.FilesList.empty());
}

TEST_F(Staging, ASourceOthersAreReadingIsStaged) {
    // Two builds that share media files each read them under a shared lock.
    test::WriteFile(folder / "ring.mid", "shared");
    int fd = ::open((folder / "ring.mid").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_SH | LOCK_NB), 0);
    std::string message = StreamErrorOf([&] { StageSlotFile(state, 0, folder / "ring.mid"); });
    ::close(fd);
    EXPECT_EQ(message, "");
    EXPECT_EQ(test::ReadFile(folder / "temp/standard_ringtone.mid"), "shared");
    EXPECT_EQ(state.FilesList.size(), 1u);
}

TEST_F(Staging, TheKernelCopiesWhereItCanAndReadsAndWritesTakeOver) {
    // Larger than one piece of the read/write loop, and no run of equal bytes.
    std::string content(600 * 1024, '\0');
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 7919 / 251);
    test::WriteFile(folder / "ring.mid", content);
    test::SetLocalMTime(folder / "ring.mid", 2007, 7, 30, 14, 23, 16);
    struct Case {
        const char* name;
        size_t copiesUpTo; // bytes copy_file_range copies before it stops
        int error;         // how it stops: an errno, or 0 for the end of the file
        bool loop;         // whether the read/write loop has to finish the copy
    };
    const Case cases[] = {
        {"whole file in the kernel", SIZE_MAX, 0, false},
        {"old kernel", 0, ENOSYS, true},
        {"across file systems", 0, EXDEV, true},
        {"not supported here", 0, EOPNOTSUPP, true},
        {"refused for this file", 0, EINVAL, true},
        {"nothing, as for files whose size is made up", 0, 0, true},
        {"stops part-way", 100000, EXDEV, true},
    };
    for (const Case& c : cases) {
        test::ScopedSystemCalls restore;
        kernelCopiesUpTo = c.copiesUpTo;
        kernelError = c.error;
        kernelCopied = 0;
        Sys.CopyFileRange = KernelCopyStoppingShort;
        static bool readCalled;
        readCalled = false;
        Sys.Read = [](int fd, void* buffer, size_t size) {
            readCalled = true;
            return RealSystemCalls.Read(fd, buffer, size);
        };
        state.FilesList.clear();

        StageSlotFile(state, 0, folder / "ring.mid");

        const std::string staged = folder / "temp/standard_ringtone.mid";
        EXPECT_TRUE(test::ReadFile(staged) == content) << c.name;
        EXPECT_EQ(test::LocalMTime(staged).tm_sec, 16) << c.name;
        EXPECT_EQ(readCalled, c.loop) << c.name;
        EXPECT_EQ(kernelCopied, std::min(c.copiesUpTo, content.size())) << c.name;
        EXPECT_EQ(state.FilesList.size(), 1u) << c.name;
    }
}

TEST_F(Staging, ShortReadsAndFailedWritesAreStreamErrors) {
    test::WriteFile(folder / "ring.mid", std::string(100000, 'r'));
    {
        test::ScopedSystemCalls restore;
        Sys.CopyFileRange = KernelCopyUnavailable;
        // The file ends early, as if it was cut while being copied.
        Sys.Read = [](int, void*, size_t) -> ssize_t { return 0; };
        EXPECT_EQ(StreamErrorOf([&] { StageSlotFile(state, 0, folder / "ring.mid"); }),
                  "Stream read error");
    }
    {
        test::ScopedSystemCalls restore;
        Sys.CopyFileRange = KernelCopyUnavailable;
        Sys.Write = [](int, const void*, size_t) -> ssize_t {
            errno = ENOSPC;
            return -1;
        };
        EXPECT_EQ(StreamErrorOf([&] { StageSlotFile(state, 0, folder / "ring.mid"); }),
                  "Stream write error");
    }
    EXPECT_TRUE(state.FilesList.empty());
}
