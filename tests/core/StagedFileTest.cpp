// Every writer into the staging folder: what a link at the staged name and a failure half-way
// leave behind.

#include "TestSupport.h"
#include "package/ColourScheme.h"
#include "package/Errors.h"
#include "package/Staging.h"
#include "package/ThemeDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>

namespace fs = std::filesystem;

namespace {

enum class Writer { SlotFile, ChosenScheme, DefaultScheme, Descriptor };

const char* NameOf(Writer writer) {
    switch (writer) {
    case Writer::SlotFile:
        return "slot file";
    case Writer::ChosenScheme:
        return "chosen scheme";
    case Writer::DefaultScheme:
        return "default scheme";
    default:
        return "descriptor";
    }
}

// The errno the swapped-in calls fail with, and how often they have been called.
int failure = 0;
int calls = 0;

int Failed() {
    errno = failure;
    return -1;
}

ssize_t FailingKernelCopy(int, off_t*, int, off_t*, size_t, unsigned) {
    return Failed();
}

// Swaps in a failing call. A copy meets the failure whether the kernel copies or the read/write
// loop does: a full disk fails both, and a source that ends early ends for both.
void MakeFail(const std::string& call) {
    calls = 0;
    if (call == "open of the new file") {
        Sys.Open = [](const char* path, int flags, mode_t mode) {
            return (flags & O_CREAT) ? Failed() : RealSystemCalls.Open(path, flags, mode);
        };
    } else if (call == "open of the earlier copy") {
        Sys.Open = [](const char* path, int flags, mode_t mode) {
            return (flags & O_NOFOLLOW) && !(flags & O_CREAT)
                       ? Failed()
                       : RealSystemCalls.Open(path, flags, mode);
        };
    } else if (call == "lstat") {
        Sys.Lstat = [](const char*, struct stat*) { return Failed(); };
    } else if (call == "fstat") {
        Sys.Fstat = [](int, struct stat*) { return Failed(); };
    } else if (call == "exclusive flock") {
        Sys.Flock = [](int fd, int operation) {
            return (operation & LOCK_EX) ? Failed() : RealSystemCalls.Flock(fd, operation);
        };
    } else if (call == "shared flock") {
        Sys.Flock = [](int fd, int operation) {
            return (operation & LOCK_SH) ? Failed() : RealSystemCalls.Flock(fd, operation);
        };
    } else if (call == "write") {
        Sys.Write = [](int, const void*, size_t) -> ssize_t { return Failed(); };
        Sys.CopyFileRange = FailingKernelCopy;
    } else if (call == "read") {
        Sys.Read = [](int, void*, size_t) -> ssize_t { return Failed(); };
        Sys.CopyFileRange = FailingKernelCopy;
    } else if (call == "short read") {
        Sys.CopyFileRange = [](int, off_t*, int, off_t*, size_t, unsigned) -> ssize_t { return 0; };
        Sys.Read = [](int fd, void* buffer, size_t size) -> ssize_t {
            // The first piece arrives, then the source ends.
            return ++calls == 1 ? RealSystemCalls.Read(fd, buffer, std::min<size_t>(size, 10)) : 0;
        };
    } else if (call == "fsync") {
        Sys.Fsync = [](int) { return Failed(); };
    } else if (call == "close") {
        // As on a network file system: the descriptor is gone, the error comes all the same.
        Sys.Close = [](int fd) {
            RealSystemCalls.Close(fd);
            return Failed();
        };
    } else if (call == "rename") {
        Sys.Rename = [](const char*, const char*) { return Failed(); };
    } else {
        FAIL() << "no way to make " << call << " fail";
    }
}

void Replace(std::string& text, std::string_view placeholder, const std::string& by) {
    if (std::size_t at = text.find(placeholder); at != std::string::npos)
        text.replace(at, placeholder.size(), by);
}

class StagedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directory(temp);
        fs::create_directory(media);
        state.TempDir = temp;
        test::WriteFile(media + "/ring.mid", std::string(5000, 'r'));
        test::WriteFile(media + "/mine.col", "ColourScheme Mine\n");
    }

    std::string StagedName(Writer writer) const {
        switch (writer) {
        case Writer::SlotFile:
            return "standard_ringtone.mid";
        case Writer::Descriptor:
            return "config.spc";
        default:
            return "SkinScheme.col";
        }
    }

    std::string Content(Writer writer) const {
        switch (writer) {
        case Writer::SlotFile:
            return test::ReadFile(media + "/ring.mid");
        case Writer::ChosenScheme:
            return test::ReadFile(media + "/mine.col");
        case Writer::DefaultScheme:
            return std::string(DefaultColourScheme);
        default:
            return ThemeDescriptorText(state.Metadata, state.FilesList);
        }
    }

    void Write(Writer writer) {
        switch (writer) {
        case Writer::SlotFile:
            StageSlotFile(state, 0, media + "/ring.mid");
            return;
        case Writer::ChosenScheme:
            StageColourScheme(state, media + "/mine.col");
            return;
        case Writer::DefaultScheme:
            return SaveDefaultColourScheme(temp);
        default:
            return WriteThemeDescriptor(state.Metadata, state.FilesList, temp);
        }
    }

    // The message of the KestrovaError that Write throws, or "" when it throws none.
    std::string ErrorOf(Writer writer) {
        try {
            Write(writer);
        } catch (const KestrovaError& e) {
            return e.what();
        }
        return "";
    }

    // Everything in the staging folder, hidden files too.
    std::vector<std::string> StagingContents() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(temp))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    void EmptyStaging() {
        fs::remove_all(temp);
        fs::create_directory(temp);
    }

    test::TempFolder folder;
    std::string temp = folder / "temp";
    std::string media = folder / "media";
    ThemeDocument state;
};

constexpr Writer AllWriters[] = {Writer::SlotFile, Writer::ChosenScheme, Writer::DefaultScheme,
                                 Writer::Descriptor};

} // namespace

TEST_F(StagedFiles, ALinkAtTheStagedNameIsReplacedNotWrittenThrough) {
    const std::string outside = folder / "outside";
    for (Writer writer : AllWriters) {
        for (bool dangling : {false, true}) {
            EmptyStaging();
            fs::remove(outside);
            if (!dangling)
                test::WriteFile(outside, "precious");
            const std::string staged = temp + "/" + StagedName(writer);
            fs::create_symlink(outside, staged);

            Write(writer);

            const std::string what = std::string(NameOf(writer)) + (dangling ? ", dangling" : "");
            EXPECT_FALSE(fs::is_symlink(staged)) << what;
            EXPECT_EQ(test::ReadFile(staged), Content(writer)) << what;
            EXPECT_EQ(StagingContents(), std::vector<std::string>{StagedName(writer)}) << what;
            if (dangling) {
                EXPECT_FALSE(fs::exists(outside)) << what;
            } else {
                EXPECT_EQ(test::ReadFile(outside), "precious") << what;
            }
            state.FilesList.clear();
        }
    }
}

TEST_F(StagedFiles, AFailureLeavesTheEarlierCopyAndNoTemporaryFile) {
    struct Case {
        Writer writer;
        const char* call;
        int error;
        // "{staged}" stands for the staged file's full path, "{source}" for the slot's source
        std::string message;
    };
    const std::string create = "Cannot create file \"{staged}\". ";
    const Case cases[] = {
        {Writer::SlotFile, "shared flock", ENOLCK,
         "Cannot open file \"{source}\". No locks available"},
        {Writer::SlotFile, "fstat", EIO, "Cannot open file \"{source}\". Input/output error"},
        {Writer::SlotFile, "lstat", EACCES, create + "Permission denied"},
        {Writer::SlotFile, "open of the earlier copy", EMFILE, create + "Too many open files"},
        {Writer::SlotFile, "exclusive flock", ENOLCK, create + "No locks available"},
        {Writer::SlotFile, "open of the new file", EACCES, create + "Permission denied"},
        {Writer::SlotFile, "open of the new file", ENOSPC, create + "No space left on device"},
        {Writer::SlotFile, "read", EIO, "Stream read error"},
        {Writer::SlotFile, "short read", 0, "Stream read error"},
        {Writer::SlotFile, "write", ENOSPC, "Stream write error"},
        {Writer::SlotFile, "fsync", EIO, ""}, // a copy for this run alone is not flushed
        {Writer::SlotFile, "close", EIO, "Stream write error"},
        {Writer::SlotFile, "rename", EACCES, create + "Permission denied"},
        {Writer::ChosenScheme, "write", ENOSPC, "Stream write error"},
        {Writer::ChosenScheme, "rename", EXDEV, create + "Invalid cross-device link"},
        {Writer::ChosenScheme, "fsync", EIO, "Stream write error"}, // a later run may pack it
        {Writer::DefaultScheme, "lstat", EACCES, create + "Permission denied"},
        {Writer::DefaultScheme, "exclusive flock", EWOULDBLOCK, create + "Device or resource busy"},
        {Writer::DefaultScheme, "open of the new file", EROFS, create + "Read-only file system"},
        {Writer::DefaultScheme, "write", ENOSPC, "Stream write error"},
        {Writer::DefaultScheme, "fsync", EIO, ""},
        {Writer::DefaultScheme, "close", EIO, "Stream write error"},
        {Writer::DefaultScheme, "rename", EACCES, create + "Permission denied"},
        {Writer::Descriptor, "lstat", ENOTDIR, "Invalid filename"},
        {Writer::Descriptor, "open of the earlier copy", EACCES, ""}, // replaced all the same
        {Writer::Descriptor, "exclusive flock", EWOULDBLOCK, "I/O error 32"},
        {Writer::Descriptor, "open of the new file", EACCES, "File access denied"},
        {Writer::Descriptor, "write", ENOSPC, "Disk full"},
        {Writer::Descriptor, "fsync", ENOSPC, ""},
        {Writer::Descriptor, "close", EIO, "I/O error 5"},
        {Writer::Descriptor, "rename", EACCES, "File access denied"},
    };
    for (const Case& c : cases) {
        const std::string what = std::string(NameOf(c.writer)) + ", " + c.call;
        EmptyStaging();
        const std::string staged = temp + "/" + StagedName(c.writer);
        test::WriteFile(staged, "earlier");
        state.FilesList = {staged};
        std::string message;
        {
            test::ScopedSystemCalls restore;
            failure = c.error;
            MakeFail(c.call);
            message = ErrorOf(c.writer);
        }
        std::string expected = c.message;
        Replace(expected, "{staged}", staged);
        Replace(expected, "{source}", media + "/ring.mid");
        EXPECT_EQ(message, expected) << what;
        EXPECT_EQ(StagingContents(), std::vector<std::string>{StagedName(c.writer)}) << what;
        if (expected.empty()) {
            EXPECT_EQ(test::ReadFile(staged), Content(c.writer)) << what;
            continue;
        }
        EXPECT_EQ(test::ReadFile(staged), "earlier") << what;
        EXPECT_EQ(state.FilesList, PackageList{staged}) << what;
    }
}
