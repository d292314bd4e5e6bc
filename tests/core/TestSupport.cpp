#include "TestSupport.h"

#include <array>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

namespace test {

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kestrova-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Tests may leave read-only files or folders behind; make them removable first.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

std::time_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return std::mktime(&local);
}

void SetLocalMTime(const std::string& path, int year, int month, int day, int hour, int minute,
                   int second) {
    std::time_t when = LocalTime(year, month, day, hour, minute, second);
    struct utimbuf times = {when, when};
    if (utime(path.c_str(), &times) != 0)
        throw std::runtime_error("cannot set the time of " + path);
}

std::tm LocalMTime(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        throw std::runtime_error("cannot stat " + path);
    std::tm local{};
    localtime_r(&info.st_mtime, &local);
    return local;
}

ScopedEnvironment::ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (old)
        saved_ = old;
    setenv(name, value.c_str(), 1);
}

ScopedEnvironment::~ScopedEnvironment() {
    if (had_)
        setenv(name_.c_str(), saved_.c_str(), 1);
    else
        unsetenv(name_.c_str());
}

ScopedTimeZone::ScopedTimeZone(const char* zone) {
    zone_.emplace("TZ", zone);
    tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    zone_.reset();
    tzset();
}

int ExitCodeInChild(const std::function<void()>& body, int seconds) {
    pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        try {
            body();
        } catch (...) {
            _exit(2);
        }
        _exit(0);
    }
    int status = 0;
    for (int waited = 0; waited < seconds * 20; ++waited) {
        if (waitpid(child, &status, WNOHANG) == child)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        usleep(50 * 1000);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return -1;
}

CommandResult Run(const std::string& command) {
    CommandResult result{-1, {}};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer;
    std::size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.output.append(buffer.data(), got);
    int status = pclose(pipe);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

std::string FindingLines(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& finding : findings)
        text += std::to_string(static_cast<int>(finding.code)) + " " +
                std::to_string(finding.right) + " " + std::to_string(finding.bottom) + " " +
                finding.detail + "\n";
    return text;
}

} // namespace test
