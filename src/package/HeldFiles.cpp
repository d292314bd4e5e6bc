#include "HeldFiles.h"

#include "PathNames.h"
#include "SystemCalls.h"

#include <atomic>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <pthread.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// A signal handler may read these at any moment, so they are lock-free atomics set in an order
// that never shows it a half-recorded path: the descriptor first, the path last.
struct Slot {
    std::atomic<const char*> path{nullptr};
    std::atomic<int> fd{-1};
};
static_assert(std::atomic<const char*>::is_always_lock_free &&
                  std::atomic<int>::is_always_lock_free,
              "a signal handler may only read lock-free atomics");
constexpr int SlotCount = 16;
Slot slots[SlotCount];

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

/// Unlinks what a held folder holds, through raw system calls only. The staging folder is flat;
/// a folder inside it goes only when empty.
void EmptyFolder(int folderFd) {
    // Removing entries while reading the folder may make a read skip some, so read until a
    // pass finds nothing to remove.
    for (int pass = 0; pass < 8; ++pass) {
        int dir = ::openat(folderFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir < 0)
            return;
        bool removed = false;
        alignas(dirent64) char buffer[4096];
        ssize_t got;
        while ((got = ::getdents64(dir, buffer, sizeof buffer)) > 0) {
            for (ssize_t at = 0; at < got;) {
                auto* entry = reinterpret_cast<dirent64*>(buffer + at);
                at += entry->d_reclen;
                const char* name = entry->d_name;
                if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                    continue;
                if (::unlinkat(dir, name, 0) == 0 || ::unlinkat(dir, name, AT_REMOVEDIR) == 0)
                    removed = true;
            }
        }
        ::close(dir);
        if (!removed)
            return;
    }
}

bool IsSuffixCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool IsLeftoverName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + 6 || name.substr(0, prefix.size()) != prefix)
        return false;
    for (char c : name.substr(prefix.size()))
        if (!IsSuffixCharacter(c))
            return false;
    return true;
}

void RemoveIfStale(const std::string& path) {
    struct stat named {};
    // Only what a run creates: a device or a pipe of that name is left alone, never opened.
    if (Sys.Lstat(path.c_str(), &named) != 0 || !(S_ISREG(named.st_mode) || S_ISDIR(named.st_mode)))
        return;
    FileHandle file = FileHandle::Open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    struct stat held {};
    if (!file.IsOpen() || Sys.Flock(file.Fd(), LOCK_EX | LOCK_NB) != 0 ||
        Sys.Fstat(file.Fd(), &held) != 0 || !SameFile(held, named))
        return; // a running build holds it, or it changed under us
    if (S_ISDIR(held.st_mode)) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    } else {
        Sys.Unlink(path.c_str());
    }
}

} // namespace

bool ClaimFresh(const FileHandle& file) {
    struct stat info {};
    // A sweeping run that took the lock first may already have removed it: then no link is left.
    return Sys.Flock(file.Fd(), LOCK_EX | LOCK_NB) == 0 && Sys.Fstat(file.Fd(), &info) == 0 &&
           info.st_nlink > 0;
}

CleanupSignalsDeferred::CleanupSignalsDeferred() {
    sigset_t deferred;
    sigemptyset(&deferred);
    for (int signal : CleanupSignals)
        sigaddset(&deferred, signal);
    pthread_sigmask(SIG_BLOCK, &deferred, &saved_);
}

CleanupSignalsDeferred::~CleanupSignalsDeferred() {
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
}

HeldPath::HeldPath(std::string path, int fd) : path_(std::move(path)) {
    for (int i = 0; i < SlotCount; ++i) {
        const char* empty = nullptr;
        // Reserve the slot with a marker that no handler mistakes for a path.
        if (slots[i].path.compare_exchange_strong(empty, "")) {
            slots[i].fd.store(fd);
            slots[i].path.store(path_.c_str());
            slot_ = i;
            return;
        }
    }
    // No room: a signal leaves it behind, and the next run removes it.
}

HeldPath::~HeldPath() {
    if (slot_ >= 0) {
        slots[slot_].path.store(nullptr);
        slots[slot_].fd.store(-1);
    }
}

void RemoveHeldFiles() {
    for (Slot& slot : slots) {
        const char* path = slot.path.load();
        int fd = slot.fd.load();
        if (!path || !*path || fd < 0)
            continue;
        struct stat held {};
        struct stat named {};
        // The path may have been renamed into place or reused since: only what the descriptor
        // holds goes.
        if (::fstat(fd, &held) != 0 || ::lstat(path, &named) != 0 || !SameFile(held, named))
            continue;
        if (S_ISDIR(named.st_mode)) {
            EmptyFolder(fd);
            ::rmdir(path);
        } else {
            ::unlink(path);
        }
    }
}

void RemoveStaleLeftovers(const std::string& folder, std::string_view prefix) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()),
                                            closedir);
    if (!dir)
        return;
    std::vector<std::string> leftovers;
    while (const dirent* entry = readdir(dir.get()))
        if (IsLeftoverName(entry->d_name, prefix))
            leftovers.emplace_back(entry->d_name);
    std::string separated = folder;
    if (!separated.empty() && separated.back() != PathSeparator)
        separated += PathSeparator;
    for (const std::string& name : leftovers)
        RemoveIfStale(separated + name);
}
