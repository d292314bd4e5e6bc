#include "SystemCalls.h"

#include <cstdio>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

const SystemCalls RealSystemCalls = {
    [](const char* path, int flags, mode_t mode) { return ::open(path, flags | O_CLOEXEC, mode); },
    ::read,
    ::write,
    ::pwrite,
    ::close,
    ::rename,
    ::unlink,
    ::stat,
    ::lstat,
    ::fstat,
    ::flock,
    ::ftruncate,
    ::futimens,
    ::fsync,
    [](int in, off_t* inOffset, int out, off_t* outOffset, size_t size, unsigned flags) {
        return ::copy_file_range(in, inOffset, out, outOffset, size, flags);
    },
};

SystemCalls Sys = RealSystemCalls;
