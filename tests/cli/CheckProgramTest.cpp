// kestrova-build --check hands itself over to kestrova-check: found beside it in a build tree
// and in ../libexec/kestrova when installed, with the arguments and exit status passed through.

#include "core/TestSupport.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct ProgramRun {
    int status;
    std::string output; // stdout and stderr
};

ProgramRun RunProgram(const std::string& program, const std::string& args) {
    const std::string command = "'" + program + "' " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return {-1, "popen failed"};
    std::string output;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

const fs::path BuildProgram = KESTROVA_BUILD_PROGRAM;

} // namespace

TEST(CheckProgram, RunsBesideOrInLibexecAndSaysWhenItIsMissing) {
    test::TempFolder folder;
    const std::string missing = folder / "none.ini";
    const std::string cannotRead =
        "kestrova-build: cannot read manifest \"" + missing + "\": File not found\n";
    fs::create_directories(folder / "installed/bin");
    fs::create_directories(folder / "installed/libexec/kestrova");
    fs::copy_file(BuildProgram, folder / "installed/bin/kestrova-build");
    fs::copy_file(BuildProgram.parent_path() / "kestrova-check",
                  folder / "installed/libexec/kestrova/kestrova-check");
    fs::create_directories(folder / "alone");
    fs::copy_file(BuildProgram, folder / "alone/kestrova-build");

    const struct {
        const char* name;
        std::string program;
        std::string args;
        int status;
        std::string output;
    } cases[] = {
        {"build tree", BuildProgram, "--check '" + missing + "'", 1, cannotRead},
        {"installed", folder / "installed/bin/kestrova-build", "--check '" + missing + "'", 1,
         cannotRead},
        {"arguments passed on", BuildProgram, "--check a.ini b.ini", 2,
         "kestrova-build: --check takes one manifest or theme and nothing else\n"
         "usage: kestrova-build --check MANIFEST.ini|THEME.sdt\n"},
        {"no kestrova-check", folder / "alone/kestrova-build", "--check '" + missing + "'", 1,
         "kestrova-build: cannot check: kestrova-check is neither beside " + (folder / "alone") +
             "/ nor in its ../libexec/kestrova\n"},
    };
    for (const auto& c : cases) {
        const ProgramRun run = RunProgram(c.program, c.args);
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_EQ(run.output, c.output) << c.name;
    }
}
