// Every writer into the staging folder: what a link at the staged name and a failure half-way
// leave behind.

#include "TestSupport.h"
#include "package/ColourScheme.h"
#include "package/Errors.h"
#include "package/Staging.h"
#include "package/ThemeDescriptor.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>

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

ssize_t FailingWrite(int, const void*, size_t) {
    errno = failure;
    return -1;
}

ssize_t FailingKernelCopy(int, off_t*, int, off_t*, size_t, unsigned) {
    errno = failure;
    return -1;
}

// Swaps in a failing call. A copy meets the failure whether the kernel copies or the read/write
// loop does: a full disk fails both, and a source that ends early ends for both.
void MakeFail(const std::string& call) {
    calls = 0;
    if (call == "write") {
        Sys.Write = FailingWrite;
        Sys.CopyFileRange = FailingKernelCopy;
    } else if (call == "short read") {
        Sys.CopyFileRange = [](int, off_t*, int, off_t*, size_t, unsigned) -> ssize_t { return 0; };
        Sys.Read = [](int fd, void* buffer, size_t size) -> ssize_t {
            // The first piece arrives, then the source ends.
            return ++calls == 1 ? RealSystemCalls.Read(fd, buffer, std::min<size_t>(size, 10)) : 0;
        };
    } else
        FAIL() << "no way to make " << call << " fail";
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
            return StageSlotFile(state, "Edit0", media + "/ring.mid");
        case Writer::ChosenScheme:
            return StageColourScheme(state, media + "/mine.col");
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
    EditorState state;
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
        std::string message; // "{staged}" stands for the staged file's full path
    };
    const Case cases[] = {
        {Writer::SlotFile, "write", ENOSPC, "Stream write error"},
        {Writer::SlotFile, "short read", 0, "Stream read error"},
        {Writer::ChosenScheme, "write", ENOSPC, "Stream write error"},
        {Writer::DefaultScheme, "write", ENOSPC, "Stream write error"},
        {Writer::Descriptor, "write", ENOSPC, "Disk full"},
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
        if (std::size_t at = expected.find("{staged}"); at != std::string::npos)
            expected.replace(at, 8, staged);
        EXPECT_EQ(message, expected) << what;
        EXPECT_EQ(test::ReadFile(staged), "earlier") << what;
        EXPECT_EQ(StagingContents(), std::vector<std::string>{StagedName(c.writer)}) << what;
        EXPECT_EQ(state.FilesList, PackageList{staged}) << what;
    }
}
