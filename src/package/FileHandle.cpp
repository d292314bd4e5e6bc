#include "FileHandle.h"

#include "SystemCalls.h"

#include <cerrno>

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.Release();
    }
    return *this;
}

FileHandle FileHandle::Open(const char* path, int flags, mode_t mode) {
    int fd;
    do
        fd = Sys.Open(path, flags, mode);
    while (fd < 0 && errno == EINTR);
    return FileHandle(fd);
}

int FileHandle::Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
}

int FileHandle::Close() {
    if (fd_ < 0)
        return 0;
    int result = Sys.Close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

int FileHandle::WriteAll(const void* data, std::size_t size) {
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = Sys.Write(fd_, bytes, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

int FileHandle::WriteAllAt(const void* data, std::size_t size, off_t offset) {
    auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = Sys.PWrite(fd_, bytes, size, offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        bytes += n;
        offset += n;
        size -= static_cast<std::size_t>(n);
    }
    return 0;
}

ssize_t FileHandle::ReadFull(void* data, std::size_t size) {
    auto* bytes = static_cast<char*>(data);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = Sys.Read(fd_, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}
