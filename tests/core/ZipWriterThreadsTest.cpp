// Packing on several threads: the archive is byte for byte the one a single thread writes, a
// failure half-way leaves what a single thread leaves, and the window's callback runs only on
// the thread that packs.

#include "TestSupport.h"
#include "ZipReaders.h"
#include "ZipWriterFixture.h"
#include "package/Errors.h"
#include "package/SystemCalls.h"
#include "package/WorkerPool.h"

#include <atomic>
#include <cerrno>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace test;

/// Bytes that deflate to about the given share of their size: runs of one byte between noise.
std::string PartlyCompressible(std::size_t size, unsigned seed, unsigned noisePercent) {
    std::string bytes = RandomBytes(size, seed);
    std::mt19937 random(seed + 1000);
    for (std::size_t at = 0; at < size; at += 64)
        if (random() % 100 >= noisePercent)
            std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                        std::min<std::size_t>(64, size - at), static_cast<char>(at / 64));
    return bytes;
}

struct StagedFile {
    std::string name;
    std::string bytes;
};

/// Sized like a real theme: 38 media files and the two the build writes, 2.4 MB in all, in an
/// order where large and small files alternate.
std::vector<StagedFile> PhoneSizedSet() {
    std::vector<StagedFile> files;
    for (unsigned i = 0; i < 38; ++i) {
        std::size_t size = 4000 + (i * 7919) % 90000;
        std::string name = "slot" + std::to_string(i);
        if (i % 9 == 0)
            files.push_back({name + ".mp3", RandomBytes(size * 3, i)}); // does not compress
        else if (i % 3 == 0)
            files.push_back({name + ".jpg", PartlyCompressible(size, i, 90)});
        else
            files.push_back({name + ".png", PartlyCompressible(size, i, 40)});
    }
    files.push_back({"SkinScheme.col", PartlyCompressible(1040, 99, 20)});
    files.push_back({"config.spc", TextBytes(3000)});
    return files;
}

/// Empty files, files stored because they do not shrink, and their neighbours just past the
/// first block, which are deflated.
std::vector<StagedFile> EmptyAndStoredSet() {
    return {{"empty1.mid", ""},
            {"stored.gif", RandomBytes(32 * 1024, 1)},
            {"a.txt", "a"},
            {"deflated.gif", RandomBytes(32 * 1024 + 1, 2)},
            {"empty2.mid", ""},
            {"small.gif", RandomBytes(900, 3)},
            {"config.spc", TextBytes(20000)}};
}

constexpr std::uint64_t SmallLimit = 64 * 1024;

/// With the in-memory limit at SmallLimit: one file streamed through zlib between files
/// deflated in memory, one of them exactly at the limit.
std::vector<StagedFile> OneAboveTheLimitSet() {
    return {{"before.png", PartlyCompressible(50000, 4, 40)},
            {"at.png", PartlyCompressible(SmallLimit, 5, 40)},
            {"above.bin", TextBytes(150000) + RandomBytes(100000, 6)},
            {"after.txt", TextBytes(5000)},
            {"last.gif", RandomBytes(20000, 7)}};
}

TEST_F(ZipWriterTest, SameArchiveWhateverTheNumberOfThreads) {
    struct Case {
        const char* what;
        std::vector<StagedFile> files;
        std::uint64_t inMemoryLimit;
        bool update; // over an archive of which some entries are kept and some replaced
    };
    const Case cases[] = {
        {"a phone-sized theme", PhoneSizedSet(), EntryCompressor::DefaultInMemoryLimit, false},
        {"a phone-sized theme over an older archive", PhoneSizedSet(),
         EntryCompressor::DefaultInMemoryLimit, true},
        {"empty and stored files", EmptyAndStoredSet(), EntryCompressor::DefaultInMemoryLimit,
         false},
        {"one file above the in-memory limit", OneAboveTheLimitSet(), SmallLimit, false},
        {"one file above the in-memory limit, over an older archive", OneAboveTheLimitSet(),
         SmallLimit, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(tempDir);
        fs::create_directories(tempDir);
        fs::remove(zipName);
        std::string old;
        if (c.update) {
            // Every third file is in the old archive already: those listed with a newer time
            // replace their old entries, the rest keep theirs.
            list.clear();
            for (std::size_t i = 0; i < c.files.size(); i += 3)
                list.push_back(Stage(c.files[i].name, "old " + c.files[i].name, 12, 1));
            list.push_back(Stage("only-old.txt", "kept as it was", 12, 1));
            Pack(1);
            old = ReadFile(zipName);
        }
        PackageList staged;
        for (std::size_t i = 0; i < c.files.size(); ++i)
            staged.push_back(Stage(c.files[i].name, c.files[i].bytes, 12, i % 2 ? 2 : 1));

        std::string single;
        for (int threads : {1, 2, 8}) {
            SCOPED_TRACE(std::to_string(threads) + " threads");
            if (c.update)
                WriteFile(zipName, old);
            else
                fs::remove(zipName);
            list = staged;
            Pack(threads, c.inMemoryLimit);
            if (threads == 1) {
                single = ReadFile(zipName);
                ZipListing listing = ReadBackZip(zipName);
                EXPECT_EQ(listing.entries.size(), c.files.size() + (c.update ? 1 : 0));
                for (const ZipEntryInfo& entry : listing.entries)
                    EXPECT_EQ(entry.contentCrc, entry.crc) << entry.name;
            } else {
                EXPECT_TRUE(ReadFile(zipName) == single) << "the archive differs";
            }
        }
    }
}

/// Makes every read of the file named target fail, on whichever thread reads it.
class FailingRead {
public:
    explicit FailingRead(std::string target) {
        target_ = std::move(target);
        failed_ = 0;
        Sys.Read = [](int fd, void* buffer, size_t size) -> ssize_t {
            std::error_code error;
            fs::path file = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), error);
            if (file.filename() == target_) {
                ++failed_;
                return errno = EIO, -1;
            }
            return RealSystemCalls.Read(fd, buffer, size);
        };
    }
    ~FailingRead() { Sys = RealSystemCalls; }
    int Failed() const { return failed_; }

private:
    static inline std::string target_;
    static inline std::atomic<int> failed_;
};

TEST_F(ZipWriterTest, FailedReadInTheMiddleLeavesNothingBehindOrTheOldArchiveUntouched) {
    const std::vector<StagedFile> files = PhoneSizedSet();
    for (bool update : {false, true}) {
        fs::remove(zipName);
        std::string old;
        if (update) {
            list = {Stage("old.mid", "old entry")};
            Pack(1);
            old = ReadFile(zipName);
        }
        for (const char* failing : {"slot0.mp3", "slot20.png", "config.spc"}) {
            for (int threads : {1, 4}) {
                SCOPED_TRACE(std::string(update ? "update, " : "create, ") + failing + ", " +
                             std::to_string(threads) + " threads");
                list.clear();
                for (const StagedFile& file : files)
                    list.push_back(Stage(file.name, file.bytes));
                FailingRead reading(failing);
                try {
                    Pack(threads);
                    ADD_FAILURE() << "no error";
                } catch (const StreamError& error) {
                    EXPECT_STREQ(error.what(), "Stream read error");
                }
                EXPECT_EQ(reading.Failed(), 1);
                const std::vector<std::string> left =
                    update ? std::vector<std::string>{"Theme.sdt", "temp"}
                           : std::vector<std::string>{"temp"};
                EXPECT_EQ(FolderContents(programDir), left);
                if (update) {
                    EXPECT_TRUE(ReadFile(zipName) == old) << "the old archive changed";
                }
            }
        }
    }
}

TEST_F(ZipWriterTest, ProcessMessagesRunsOnlyOnTheCallingThread) {
    list = {Stage("a.gif", RandomBytes(200 * 1024 + 17, 9)), Stage("b.txt", TextBytes(3000))};
    const PackageList staged = list;
    for (int threads : {1, 4}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        fs::remove(zipName);
        list = staged;
        int calls = 0;
        int elsewhere = 0;
        const std::thread::id caller = std::this_thread::get_id();
        ZipWriter writer(list);
        writer.SetRootDir(tempDir);
        writer.SetZipName(zipName);
        writer.PackThreads = threads;
        writer.ProcessMessages = [&] {
            ++calls;
            if (std::this_thread::get_id() != caller)
                ++elsewhere;
        };
        writer.PackArchive();
        EXPECT_EQ(elsewhere, 0);
        // After every 1,024 bytes written; more often while waiting for other threads.
        const int kilobytes = static_cast<int>(ReadFile(zipName).size() / 1024);
        if (threads == 1) {
            EXPECT_EQ(calls, kilobytes);
        } else {
            EXPECT_GE(calls, kilobytes);
        }
    }
}

TEST(PackThreads, TakenFromTheEnvironmentOrTheCores) {
    const char* saved = std::getenv("KESTROVA_THREADS");
    const std::string savedValue = saved ? saved : "";
    const int cores = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, 8);
    struct Case {
        const char* setting; // null: unset
        int threads;
    };
    const Case cases[] = {
        {nullptr, cores}, {"1", 1},        {"3", 3},
        {"0", cores},     {"-2", cores},   {"", cores},
        {"2x", cores},    {"many", cores}, {"1000", MostPackThreads},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting ? c.setting : "(unset)");
        if (c.setting)
            setenv("KESTROVA_THREADS", c.setting, 1);
        else
            unsetenv("KESTROVA_THREADS");
        EXPECT_EQ(DefaultPackThreads(), c.threads);
    }
    if (saved)
        setenv("KESTROVA_THREADS", savedValue.c_str(), 1);
    else
        unsetenv("KESTROVA_THREADS");
}

} // namespace
