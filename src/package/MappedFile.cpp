#include "MappedFile.h"

#include "FileHandle.h"
#include "SystemCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <utility>

MappedFile MappedFile::Open(const std::string& path) {
    MappedFile mapped;
    // O_NONBLOCK lets a named pipe open at once instead of waiting for a writer.
    FileHandle file = FileHandle::Open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (!file.IsOpen()) {
        mapped.error_ = errno;
        return mapped;
    }
    struct stat info {};
    if (Sys.Fstat(file.Fd(), &info) != 0) {
        mapped.error_ = errno;
        return mapped;
    }
    if (!S_ISREG(info.st_mode)) {
        mapped.status_ = Status::NotRegular;
        return mapped;
    }
    mapped.status_ = Status::Opened;
    if (info.st_size == 0)
        return mapped; // nothing to map; mmap refuses a length of 0
    void* data =
        mmap(nullptr, static_cast<std::size_t>(info.st_size), PROT_READ, MAP_PRIVATE, file.Fd(), 0);
    if (data == MAP_FAILED) {
        mapped.status_ = Status::Failed;
        mapped.error_ = errno;
        return mapped;
    }
    mapped.data_ = static_cast<const char*>(data);
    mapped.size_ = static_cast<std::size_t>(info.st_size);
    return mapped;
}

MappedFile::MappedFile(MappedFile&& other) noexcept
    : status_(other.status_), error_(other.error_), data_(std::exchange(other.data_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
    if (this != &other) {
        Unmap();
        status_ = other.status_;
        error_ = other.error_;
        data_ = std::exchange(other.data_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

MappedFile::~MappedFile() {
    Unmap();
}

void MappedFile::Unmap() {
    if (data_)
        munmap(const_cast<char*>(data_), size_);
    data_ = nullptr;
    size_ = 0;
}
