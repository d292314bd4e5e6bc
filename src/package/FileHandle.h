#pragma once
// An open file descriptor that is closed on every path.

#include <cstddef>
#include <string>
#include <sys/stat.h>
#include <sys/types.h>

class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : fd_(other.Release()) {}
    FileHandle& operator=(FileHandle&& other) noexcept;
    ~FileHandle() { Close(); }

    /// Opens through the system-call table; check IsOpen and errno.
    static FileHandle Open(const char* path, int flags, mode_t mode = 0666);

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    int Release();
    /// Closes now; returns 0 or the errno of a failed close.
    int Close();

    /// Writes all of it, resuming after short writes. Returns 0 or an errno.
    int WriteAll(const void* data, std::size_t size);
    /// Writes all of it at the offset. Returns 0 or an errno.
    int WriteAllAt(const void* data, std::size_t size, off_t offset);
    /// Reads until size bytes or end of file. Returns the count, or -1 with errno set.
    ssize_t ReadFull(void* data, std::size_t size);

private:
    int fd_ = -1;
};

/// Opens a file the user named, to read it: without waiting, so a named pipe cannot hold the
/// program until someone writes to it, and refusing a folder. info receives what fstat says.
/// Throws StreamError ("Cannot open file ...").
FileHandle OpenFileToRead(const std::string& path, struct stat& info);
