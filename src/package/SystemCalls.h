#pragma once
// Every file-system call that can fail goes through this table, so a test can make, say, the
// third write fail with "disk full" and check what is left behind.

#include <cstddef>
#include <sys/stat.h>
#include <sys/types.h>

struct SystemCalls {
    int (*Open)(const char* path, int flags, mode_t mode);
    ssize_t (*Read)(int fd, void* buffer, size_t size);
    ssize_t (*Write)(int fd, const void* buffer, size_t size);
    ssize_t (*PWrite)(int fd, const void* buffer, size_t size, off_t offset);
    int (*Close)(int fd);
    int (*Rename)(const char* from, const char* to);
    int (*Unlink)(const char* path);
    int (*Stat)(const char* path, struct stat* info);
    int (*Lstat)(const char* path, struct stat* info);
    int (*Fstat)(int fd, struct stat* info);
    int (*Flock)(int fd, int operation);
    int (*Ftruncate)(int fd, off_t length);
    int (*Futimens)(int fd, const struct timespec times[2]);
    int (*Fsync)(int fd);
    ssize_t (*CopyFileRange)(int in, off_t* inOffset, int out, off_t* outOffset, size_t size,
                             unsigned flags);
};

/// The calls in use; the real ones unless a test has swapped some out.
extern SystemCalls Sys;

/// The real calls, for a test to restore or to delegate to.
extern const SystemCalls RealSystemCalls;
