// What kestrova-build leaves behind when it is stopped: nothing but the old archive after
// SIGINT, SIGTERM or SIGHUP; after SIGKILL leftovers that the next run removes, without touching
// those of a build still running.

#include "cli/CommandLineBuild.h"
#include "core/TestSupport.h"
#include "model/WorkUnit.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <sstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Contents(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(folder))
        names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool HasEntryStartingWith(const std::string& folder, const std::string& prefix) {
    for (const auto& item : fs::directory_iterator(folder))
        if (item.path().filename().string().rfind(prefix, 0) == 0)
            return true;
    return false;
}

class BuildCleanupTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(folder / "media");
        fs::create_directories(out);
        fs::create_directories(tmp);
        tmpdir.emplace("TMPDIR", tmp);
    }

    /// A manifest choosing a file of the given size, of bytes that do not compress, per slot.
    std::string Manifest(std::size_t size) {
        std::mt19937 random(7);
        std::string text = "[theme]\ntitle=Demo\n[slots]\n";
        for (int slot = 0; slot < SlotCount; ++slot) {
            std::string bytes(size, '\0');
            for (char& byte : bytes)
                byte = static_cast<char>(random());
            std::string name = "media/" + std::to_string(slot) + ".bin";
            test::WriteFile(folder / name, bytes);
            text += std::string(SlotNames[slot]) + "=" + name + "\n";
        }
        test::WriteFile(folder / "theme.ini", text);
        return folder / "theme.ini";
    }

    /// Builds the theme in this process; returns the exit status.
    int BuildHere(const std::string& manifest) {
        std::ostringstream output, errors;
        int status = RunCommandLineBuild({"-o", out, manifest}, output, errors);
        EXPECT_EQ(errors.str(), "");
        return status;
    }

    test::TempFolder folder;
    std::string out = folder / "out";
    std::string tmp = folder / "tmp";
    std::optional<test::ScopedEnvironment> tmpdir;
};

/// Starts kestrova-build with the signals at their defaults, whatever the test runner set.
pid_t StartBuild(const std::vector<std::string>& args) {
    pid_t child = fork();
    if (child != 0)
        return child;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        std::signal(signal, SIG_DFL);
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    std::vector<char*> argv{const_cast<char*>(KESTROVA_BUILD_PROGRAM)};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
}

TEST_F(BuildCleanupTest, StoppedBySignalLeavesOnlyTheOldArchive) {
    // An archive from an earlier run, whose entries the build would replace with newer files.
    const std::string small = Manifest(100);
    for (const auto& item : fs::directory_iterator(folder / "media"))
        test::SetLocalMTime(item.path().string(), 2020, 1, 1, 12, 0, 0);
    ASSERT_EQ(BuildHere(small), 0);
    const std::string archive = out + "/Demo.sdt";
    const std::string old = test::ReadFile(archive);
    // Large enough that staging and packing take a while, so the signal finds them at work.
    const std::string manifest = Manifest(1 << 20);

    struct Case {
        int signal;
        const char* when;
        std::string folder; // where the sign of that step appears
        std::string sign;
    };
    const Case cases[] = {
        {SIGTERM, "while packing", out, ".Demo.sdt."},
        {SIGINT, "while packing", out, ".Demo.sdt."},
        // A staged file shows the staging folder is held; an empty one might not be yet.
        {SIGHUP, "while staging", tmp, "kestrova-build-"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + " " + c.when);
        pid_t child = StartBuild({"-o", out, manifest});
        ASSERT_GT(child, 0);
        auto seen = [&] {
            if (!HasEntryStartingWith(c.folder, c.sign))
                return false;
            if (c.folder == out)
                return true;
            for (const auto& item : fs::directory_iterator(tmp))
                if (item.is_directory() && !fs::is_empty(item.path()))
                    return true;
            return false;
        };
        int status = 0;
        bool finished = false;
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!seen() && !finished && std::chrono::steady_clock::now() < deadline) {
            finished = waitpid(child, &status, WNOHANG) == child;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (!finished) {
            kill(child, c.signal);
            ASSERT_EQ(waitpid(child, &status, 0), child);
        }
        ASSERT_FALSE(finished) << "the build ended before the signal, status " << status;
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
        EXPECT_EQ(Contents(out), std::vector<std::string>{"Demo.sdt"});
        EXPECT_EQ(Contents(tmp), std::vector<std::string>{});
        EXPECT_TRUE(test::ReadFile(archive) == old) << "the old archive changed";
    }
}

TEST_F(BuildCleanupTest, NextRunRemovesLeftoversNoRunningBuildHolds) {
    // What runs killed outright left, what runs still going hold, and what only looks similar.
    const std::string staleArchive = out + "/.Demo.sdt.Kd93fA";
    const std::string liveArchive = out + "/.Demo.sdt.Zq01x7";
    const std::string staleStaging = tmp + "/kestrova-build-a8Ke2Q";
    const std::string liveStaging = tmp + "/kestrova-build-P0w7tY";
    test::WriteFile(staleArchive, "PK partial");
    test::WriteFile(liveArchive, "PK being written");
    fs::create_directory(staleStaging);
    test::WriteFile(staleStaging + "/config.spc", "<theme/>");
    fs::create_directory(liveStaging);
    test::WriteFile(liveStaging + "/config.spc", "<theme/>");
    const std::vector<std::string> lookalikes = {
        out + "/.Demo.sdt.backup1", out + "/.Other.sdt.Kd93fA", out + "/Demo.sdt.Kd93fA",
        tmp + "/kestrova-build-notes.txt", tmp + "/kestrova-build-a8Ke2"};
    for (const std::string& path : lookalikes)
        test::WriteFile(path, "not ours");
    const std::string pipe = out + "/.Demo.sdt.Pipe01";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);

    // The locks another running build would hold.
    int liveArchiveFd = open(liveArchive.c_str(), O_RDONLY);
    int liveStagingFd = open(liveStaging.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(flock(liveArchiveFd, LOCK_EX | LOCK_NB), 0);
    ASSERT_EQ(flock(liveStagingFd, LOCK_EX | LOCK_NB), 0);

    ASSERT_EQ(BuildHere(Manifest(100)), 0);
    close(liveArchiveFd);
    close(liveStagingFd);

    EXPECT_FALSE(fs::exists(staleArchive));
    EXPECT_FALSE(fs::exists(staleStaging));
    EXPECT_EQ(test::ReadFile(liveArchive), "PK being written");
    EXPECT_EQ(test::ReadFile(liveStaging + "/config.spc"), "<theme/>");
    for (const std::string& path : lookalikes)
        EXPECT_EQ(test::ReadFile(path), "not ours") << path;
    EXPECT_EQ(fs::symlink_status(pipe).type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::exists(out + "/Demo.sdt"));
}

} // namespace
