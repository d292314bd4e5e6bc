#include "FileHandle.h"

#include "Errors.h"
#include "SystemCalls.h"

#include <cerrno>
#include <fcntl.h>

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

namespace {

// Resumes after short writes and interrupted calls; write(piece, size, done) writes one piece.
template <typename Writer> int WriteInPieces(const void* data, std::size_t size, Writer write) {
    auto* bytes = static_cast<const char*>(data);
    std::size_t done = 0;
    while (done < size) {
        ssize_t n = write(bytes + done, size - done, done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

} // namespace

int FileHandle::WriteAll(const void* data, std::size_t size) {
    return WriteInPieces(data, size, [this](const char* piece, std::size_t left, std::size_t) {
        return Sys.Write(fd_, piece, left);
    });
}

int FileHandle::WriteAllAt(const void* data, std::size_t size, off_t offset) {
    return WriteInPieces(data, size, [&](const char* piece, std::size_t left, std::size_t done) {
        return Sys.PWrite(fd_, piece, left, offset + static_cast<off_t>(done));
    });
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

FileHandle OpenFileToRead(const std::string& path, struct stat& info) {
    FileHandle file = FileHandle::Open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (!file.IsOpen())
        throw StreamError::Open(path, errno);
    if (Sys.Fstat(file.Fd(), &info) != 0)
        throw StreamError::Open(path, errno);
    if (S_ISDIR(info.st_mode))
        throw StreamError::Open(path, EISDIR);
    return file;
}
