#pragma once
// A chosen media file, mapped read-only so that its bytes can be looked at without copying them.

#include <cstddef>
#include <string>
#include <string_view>

class MappedFile {
public:
    enum class Status { Opened, Failed, NotRegular };

    /// Opens and maps a regular file. A folder, a pipe or a device is NotRegular, and a pipe is
    /// never waited on; Failed leaves the system's error in Error().
    static MappedFile Open(const std::string& path);

    MappedFile() = default;
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;
    MappedFile(MappedFile&& other) noexcept;
    MappedFile& operator=(MappedFile&& other) noexcept;
    ~MappedFile();

    Status State() const { return status_; }
    int Error() const { return error_; }
    std::string_view Bytes() const { return {data_, size_}; }

private:
    void Unmap();

    Status status_ = Status::Failed;
    int error_ = 0;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
};
