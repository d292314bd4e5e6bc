#include "SystemCalls.h"

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

const SystemCalls RealSystemCalls = {
    [](const char* path, int flags, mode_t mode) { return ::open(path, flags | O_CLOEXEC, mode); },
    ::read,
    ::write,
    ::pwrite,
    ::close,
    ::rename,
    ::unlink,
};

SystemCalls Sys = RealSystemCalls;
