#include "TestSupport.h"
#include "ZipReaders.h"
#include "ZipWriterFixture.h"
#include "package/ArchiveOutput.h"
#include "package/Errors.h"
#include "package/FileHandle.h"
#include "package/SystemCalls.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

using namespace test;

/// Makes the nth write (plain or positioned) fail with the given error; restores the real calls
/// when it goes.
class FailingWrite {
public:
    FailingWrite(int nth, int error) {
        countdown_ = nth;
        error_ = error;
        Sys.Write = [](int fd, const void* data, size_t size) -> ssize_t {
            if (--countdown_ == 0)
                return errno = error_, -1;
            return RealSystemCalls.Write(fd, data, size);
        };
        Sys.PWrite = [](int fd, const void* data, size_t size, off_t offset) -> ssize_t {
            if (--countdown_ == 0)
                return errno = error_, -1;
            return RealSystemCalls.PWrite(fd, data, size, offset);
        };
    }
    ~FailingWrite() { Sys = RealSystemCalls; }
    bool Fired() const { return countdown_ <= 0; }

private:
    static inline int countdown_ = 0;
    static inline int error_ = 0;
};

class ZipWriterFailureTest : public ZipWriterTest {
protected:
    void StageThree() {
        list = {Stage("a.txt", "hello"), Stage("b.gif", RandomBytes(40000, 5)),
                Stage("c.spc", TextBytes(5000))};
    }
};

TEST_F(ZipWriterFailureTest, FailedWriteLeavesNothingBehindOrTheOldArchiveUntouched) {
    for (auto [update, threads] : {std::pair{false, 1}, {true, 1}, {false, 4}, {true, 4}}) {
        SCOPED_TRACE(std::string(update ? "update, " : "create, ") + std::to_string(threads) +
                     " threads");
        std::string old;
        if (update) {
            list = {Stage("old.mid", "old entry")};
            Pack();
            old = ReadFile(zipName);
        }
        for (int nth = 1;; ++nth) {
            SCOPED_TRACE("failing write " + std::to_string(nth));
            StageThree();
            FailingWrite failing(nth, ENOSPC);
            try {
                Pack(threads);
            } catch (const StreamError& error) {
                EXPECT_STREQ(error.what(), "Stream write error");
                const std::vector<std::string> left =
                    update ? std::vector<std::string>{"Theme.sdt", "temp"}
                           : std::vector<std::string>{"temp"};
                EXPECT_EQ(FolderContents(programDir), left);
                if (update) {
                    EXPECT_EQ(ReadFile(zipName), old);
                }
                continue;
            }
            // Every write succeeded: the writes are exhausted and the archive is whole.
            EXPECT_FALSE(failing.Fired());
            EXPECT_GT(nth, 10);
            break;
        }
        EXPECT_EQ(ReadBackZip(zipName).entries.size(), update ? 4u : 3u);
        std::filesystem::remove(zipName);
    }
}

TEST_F(ZipWriterFailureTest, ArchiveThatCannotBeCreatedOpenedOrRenamed) {
    ScopedSystemCalls restore;
    StageThree();
    zipName = programDir + "/missing/Theme.sdt";
    try {
        Pack();
        ADD_FAILURE() << "no error";
    } catch (const StreamError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + zipName + "\". No such file or directory");
    }

    // A title longer than the folder takes as a file name fails before anything is packed.
    zipName = programDir + "/" + std::string(300, 'a') + ".sdt";
    try {
        Pack();
        ADD_FAILURE() << "no error";
    } catch (const StreamError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot create file \"" + zipName + "\". File name too long");
    }

    // An archive that another program holds so that it cannot be opened.
    zipName = programDir + "/Theme.sdt";
    Pack();
    std::string old = ReadFile(zipName);
    Sys.Open = [](const char* path, int flags, mode_t mode) {
        if (std::strstr(path, "/Theme.sdt") && (flags & O_ACCMODE) == O_RDONLY)
            return errno = EBUSY, -1;
        return RealSystemCalls.Open(path, flags, mode);
    };
    StageThree();
    try {
        Pack();
        ADD_FAILURE() << "no error";
    } catch (const StreamError& error) {
        EXPECT_EQ(std::string(error.what()),
                  "Cannot open file \"" + zipName + "\". Device or resource busy");
    }
    Sys = RealSystemCalls;

    Sys.Rename = [](const char*, const char*) { return errno = EACCES, -1; };
    list = {Stage("new.mid", "new")};
    try {
        Pack();
        ADD_FAILURE() << "no error";
    } catch (const InOutError& error) {
        EXPECT_STREQ(error.what(), "File access denied");
    }
    Sys = RealSystemCalls;
    EXPECT_EQ(ReadFile(zipName), old);
    EXPECT_EQ(FolderContents(programDir), (std::vector<std::string>{"Theme.sdt", "temp"}));
}

/// The name a descriptor's file goes by, as the kernel reports it.
std::string PathOfFd(int fd) {
    std::error_code error;
    return fs::read_symlink("/proc/self/fd/" + std::to_string(fd), error).string();
}

std::vector<std::string> commitSteps; // the flushes and renames of one pack, in order

TEST_F(ZipWriterFailureTest, ArchiveIsFlushedBeforeItIsRenamedAndItsFolderAfter) {
    ScopedSystemCalls restore;
    commitSteps.clear();
    Sys.Fsync = [](int fd) {
        commitSteps.push_back("fsync " + fs::path(PathOfFd(fd)).filename().string());
        return RealSystemCalls.Fsync(fd);
    };
    Sys.Rename = [](const char* from, const char* to) {
        commitSteps.push_back("rename " + fs::path(from).filename().string() + " " +
                              fs::path(to).filename().string());
        return RealSystemCalls.Rename(from, to);
    };
    StageThree();
    Pack();
    ASSERT_EQ(commitSteps.size(), 3u);
    const std::string temporary = commitSteps[0].substr(6);
    EXPECT_EQ(temporary.rfind(".Theme.sdt.", 0), 0u) << temporary;
    EXPECT_EQ(commitSteps[1], "rename " + temporary + " Theme.sdt");
    EXPECT_EQ(commitSteps[2], "fsync program");
    EXPECT_EQ(ReadBackZip(zipName).entries.size(), 3u);
}

TEST_F(ZipWriterFailureTest, FailedFlushOrRenameKeepsTheOldArchiveAndNoTemporary) {
    list = {Stage("old.mid", "old entry")};
    Pack();
    const std::string old = ReadFile(zipName);
    struct Case {
        const char* what;
        void (*breakCalls)();
        std::string error;
    };
    const Case cases[] = {
        {"the flush fails", [] { Sys.Fsync = [](int) { return errno = EIO, -1; }; },
         "Stream write error"},
        {"the rename fails",
         [] { Sys.Rename = [](const char*, const char*) { return errno = EXDEV, -1; }; },
         "I/O error 18"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScopedSystemCalls restore;
        c.breakCalls();
        StageThree();
        try {
            Pack();
            ADD_FAILURE() << "no error";
        } catch (const KestrovaError& error) {
            EXPECT_EQ(error.what(), c.error);
        }
        EXPECT_EQ(ReadFile(zipName), old);
        EXPECT_EQ(FolderContents(programDir), (std::vector<std::string>{"Theme.sdt", "temp"}));
    }
}

TEST_F(ZipWriterFailureTest, TemporaryThatCannotBeRemovedIsRemovedByTheNextPack) {
    list = {Stage("old.mid", "old entry")};
    Pack();
    const std::string old = ReadFile(zipName);
    {
        ScopedSystemCalls restore;
        Sys.Rename = [](const char*, const char*) { return errno = EACCES, -1; };
        Sys.Unlink = [](const char*) { return errno = EBUSY, -1; };
        StageThree();
        try {
            Pack();
            ADD_FAILURE() << "no error";
        } catch (const InOutError& error) {
            // The failure to clean up does not hide the failure that matters.
            EXPECT_STREQ(error.what(), "File access denied");
        }
    }
    EXPECT_EQ(ReadFile(zipName), old);
    ASSERT_EQ(FolderContents(programDir).size(), 3u);
    StageThree();
    Pack();
    EXPECT_EQ(FolderContents(programDir), (std::vector<std::string>{"Theme.sdt", "temp"}));
    EXPECT_EQ(ReadBackZip(zipName).entries.size(), 4u);
}

TEST_F(ZipWriterFailureTest, NoRegularFileAtTheArchiveNameIsRefusedAtOnceAndLeftAlone) {
    const std::string notRegular = "Cannot open file \"" + zipName + "\". Not a regular file";
    struct Case {
        const char* what;
        std::function<void()> make;
        fs::file_type type; // what stays at the name, as lstat sees it
        std::string error;
    };
    const std::vector<Case> cases = {
        // Opened for reading, a pipe would wait for a writer that never comes.
        {"a named pipe", [&] { ASSERT_EQ(::mkfifo(zipName.c_str(), 0600), 0); },
         fs::file_type::fifo, notRegular},
        {"a link to a device", [&] { fs::create_symlink("/dev/zero", zipName); },
         fs::file_type::symlink, notRegular},
        {"a socket",
         [&] {
             int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
             sockaddr_un address{};
             address.sun_family = AF_UNIX;
             ASSERT_LT(zipName.size(), sizeof address.sun_path);
             std::strcpy(address.sun_path, zipName.c_str());
             ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
             ::close(fd);
         },
         fs::file_type::socket, notRegular},
        {"a folder", [&] { fs::create_directory(zipName); }, fs::file_type::directory,
         "Cannot create file \"" + zipName + "\". Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.make();
        StageThree();
        // In a child, so a pack that waits fails the test instead of hanging it.
        int exitCode = ExitCodeInChild([&] {
            try {
                Pack();
            } catch (const StreamError& error) {
                _exit(error.what() == c.error ? 0 : 4);
            }
            _exit(3);
        });
        ASSERT_NE(exitCode, -1) << "packing waited";
        EXPECT_EQ(exitCode, 0) << "3: no error, 4: another message";
        EXPECT_EQ(fs::symlink_status(zipName).type(), c.type);
        EXPECT_EQ(FolderContents(programDir), (std::vector<std::string>{"Theme.sdt", "temp"}));
        fs::remove(zipName);
    }
}

/// Bytes of a little-endian field, for damaging an archive on purpose.
void Poke32(std::string& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
}

std::uint32_t Peek32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

void Poke16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<char>(value);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

TEST_F(ZipWriterFailureTest, DamagedOrForeignArchiveIsIncompleteAndLeftUntouched) {
    StageThree();
    Pack();
    ASSERT_EQ(ReadBackZip(zipName).entries.size(), 3u);
    const std::string good = ReadFile(zipName);
    const std::size_t end = good.size() - 22;
    const std::size_t directory = Peek32(good, end + 16);
    const std::size_t second = directory + 46 + 5; // after the central header of "a.txt"
    struct Case {
        const char* what;
        std::string bytes;
    };
    auto damaged = [&](auto change) {
        std::string bytes = good;
        change(bytes);
        return bytes;
    };
    const std::vector<Case> cases = {
        {"an empty file", ""},
        {"a text file", "This is no theme archive at all, only text.\n"},
        {"21 bytes", std::string(21, '\0')},
        {"the end record cut short", good.substr(0, good.size() - 1)},
        {"only the end record", good.substr(end)},
        {"more entries than the directory holds",
         damaged([&](std::string& b) { Poke16(b, end + 8, 4), Poke16(b, end + 10, 4); })},
        {"fewer entries than the directory holds",
         damaged([&](std::string& b) { Poke16(b, end + 8, 2), Poke16(b, end + 10, 2); })},
        {"counts that disagree", damaged([&](std::string& b) { Poke16(b, end + 8, 2); })},
        {"a second disk", damaged([&](std::string& b) { Poke16(b, end + 4, 1); })},
        {"directory offset past the end",
         damaged([&](std::string& b) { Poke32(b, end + 16, 0xFFFFFF00); })},
        {"directory size past the end record",
         damaged([&](std::string& b) { Poke32(b, end + 12, 0x7FFFFFFF); })},
        {"a central header without its signature",
         damaged([&](std::string& b) { b[second] = 'X'; })},
        {"a name running past the directory",
         damaged([&](std::string& b) { Poke16(b, second + 28, 0xFFFF); })},
        {"a local header offset past the data",
         damaged([&](std::string& b) { Poke32(b, second + 42, 0xFFFFFFF0); })},
        {"a local header without its signature", damaged([&](std::string& b) { b[0] = 'X'; })},
        {"compressed size past the data",
         damaged([&](std::string& b) { Poke32(b, directory + 20, 0x10000000); })},
        {"a local header that disagrees with the central one",
         damaged([&](std::string& b) { Poke32(b, 14, 0x12345678); })},
        // Found by fuzzing: such entries, copied as they stand, made archives that Python's
        // zipfile or 7-Zip refuse.
        {"a version needed beyond any ZIP version",
         damaged([&](std::string& b) { Poke16(b, 4, 0xFFEB), Poke16(b, directory + 6, 0xFFEB); })},
        {"flags that differ between the two headers",
         damaged([&](std::string& b) { Poke16(b, directory + 8, 0xFFF9); })},
        {"a data descriptor announced but missing",
         damaged([&](std::string& b) { Poke16(b, 6, 8), Poke16(b, directory + 8, 8); })},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(zipName, c.bytes);
        StageThree();
        try {
            Pack();
            ADD_FAILURE() << "no error";
        } catch (const ZipError& error) {
            EXPECT_STREQ(error.what(), "Incomplete Zip File");
        }
        EXPECT_EQ(ReadFile(zipName), c.bytes);
        EXPECT_EQ(FolderContents(programDir), (std::vector<std::string>{"Theme.sdt", "temp"}));
    }
}

TEST_F(ZipWriterFailureTest, FilesZipCannotHoldWithoutZip64FailNamingTheFile) {
    for (off_t size : {off_t{0xFFFFFFFF}, off_t{0x100000000}}) {
        SCOPED_TRACE(size);
        std::string big = tempDir + "/big.gif";
        {
            FileHandle file = FileHandle::Open(big.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
            ASSERT_EQ(ftruncate(file.Fd(), size), 0); // sparse: takes no room
        }
        list = {Stage("a.txt", "hello"), big};
        try {
            Pack();
            ADD_FAILURE() << "no error";
        } catch (const ZipError& error) {
            EXPECT_EQ(std::string(error.what()),
                      "File too large for a theme archive: \"" + big + "\"");
        }
        EXPECT_EQ(FolderContents(programDir), (std::vector<std::string>{"temp"}));
    }
}

TEST_F(ZipWriterFailureTest, ProcessMessagesRunsAfterEveryKilobyteWritten) {
    list = {Stage("a.gif", RandomBytes(200 * 1024 + 17, 9)), Stage("b.txt", TextBytes(3000))};
    int calls = 0;
    ZipWriter writer(list);
    writer.SetRootDir(tempDir);
    writer.SetZipName(zipName);
    writer.ProcessMessages = [&] { ++calls; };
    writer.PackThreads = 1; // more threads add calls while the writer waits for them
    writer.PackArchive();
    EXPECT_EQ(calls, static_cast<int>(ReadFile(zipName).size() / 1024));
    EXPECT_EQ(ReadBackZip(zipName).entries.size(), 2u);
}

TEST_F(ZipWriterFailureTest, LargeFileStreamsThroughZlib) {
    // Beyond what is deflated in memory at once.
    std::string chunk = TextBytes(1 << 20) + RandomBytes(64 * 1024, 11);
    std::string path = tempDir + "/large.bin";
    {
        FileHandle file = FileHandle::Open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC);
        for (int i = 0; i < 66; ++i)
            ASSERT_EQ(file.WriteAll(chunk.data(), chunk.size()), 0);
    }
    list = {path, Stage("small.txt", "small")};
    EXPECT_EQ(Pack(), 2);
    ZipListing listing = ReadBackZip(zipName);
    ASSERT_EQ(listing.entries.size(), 2u);
    EXPECT_EQ(listing.entries[0].method, 8);
    EXPECT_EQ(listing.entries[0].size, 66u * chunk.size());
    EXPECT_EQ(listing.entries[0].internalAttributes, 1);
    EXPECT_LT(listing.entries[0].compressedSize, listing.entries[0].size / 4);
    EXPECT_EQ(listing.entries[0].contentCrc, listing.entries[0].crc);
}

} // namespace

namespace {

TEST(ArchiveOutput, StopsBeforeOffsetsPassWhatZipWithoutZip64Holds) {
    TempFolder folder;
    ScopedSystemCalls restore;
    // Writes that take no room, so the archive can grow to 4 GiB in a moment.
    Sys.Write = [](int, const void*, size_t size) { return static_cast<ssize_t>(size); };
    std::string zipName = folder / "Theme.sdt";
    {
        ArchiveOutput out(zipName, nullptr);
        out.SetSubject("/staged/huge.gif");
        std::vector<char> chunk(1 << 20);
        while (out.Offset() + chunk.size() < 0xFFFFFFFFu)
            out.Write(chunk.data(), chunk.size());
        out.Write(chunk.data(), static_cast<std::size_t>(0xFFFFFFFEu - out.Offset()));
        try {
            out.Write("PK", 2); // its last byte would sit at offset 0xFFFFFFFF
            ADD_FAILURE() << "no error";
        } catch (const ZipError& error) {
            EXPECT_STREQ(error.what(), "File too large for a theme archive: \"/staged/huge.gif\"");
        }
        EXPECT_EQ(out.Offset(), 0xFFFFFFFEu);
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

} // namespace
