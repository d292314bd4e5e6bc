#pragma once
// Small helpers shared by the core tests: a scratch folder per test, file contents and times, a
// fixed time zone, and running an independent reader.

#include "package/ElementCheck.h"
#include "package/SystemCalls.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace test {

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    /// Path() joined with name, as a string.
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

/// The moment a local date and time stand for in the current time zone.
std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second);

/// Sets a file's modification time to the given local time.
void SetLocalMTime(const std::string& path, int year, int month, int day, int hour, int minute,
                   int second);
std::tm LocalMTime(const std::string& path);

/// Sets an environment variable for the life of the object and restores it after.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::string& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::string name_;
    std::string saved_;
    bool had_;
};

/// Sets TZ for the life of the object and restores it after.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();

private:
    std::optional<ScopedEnvironment> zone_;
};

/// Restores the system-call table a test has swapped entries of.
class ScopedSystemCalls {
public:
    ScopedSystemCalls() : saved_(Sys) {}
    ~ScopedSystemCalls() { Sys = saved_; }

private:
    SystemCalls saved_;
};

/// Runs body in a forked child so that a call that blocks fails a test instead of hanging it.
/// Returns the child's exit code (0 when body returned), or -1 when it was still running after
/// the given seconds and was killed.
int ExitCodeInChild(const std::function<void()>& body, int seconds = 5);

struct CommandResult {
    int exitCode;
    std::string output; // stdout and stderr together
};

/// Runs a shell command and captures what it prints.
CommandResult Run(const std::string& command);

/// Single-quotes a string for the shell.
std::string ShellQuote(const std::string& text);

/// Findings as "code right bottom detail" lines, so that a mismatch shows them all.
std::string FindingLines(const std::vector<Finding>& findings);

} // namespace test
