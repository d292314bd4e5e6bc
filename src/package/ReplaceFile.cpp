#include "ReplaceFile.h"

#include "DosTime.h"
#include "Errors.h"
#include "FileHandle.h"
#include "PathNames.h"
#include "SystemCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>

namespace {

std::string RandomSuffix() {
    static constexpr char letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    static std::mt19937_64 random(std::random_device{}());
    std::string suffix;
    for (int i = 0; i < 6; ++i)
        suffix += letters[random() % (sizeof letters - 1)];
    return suffix;
}

// The temporary file, removed unless it was renamed into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target) {
        std::string_view name = FileNamePart(target);
        std::string folder = target.substr(0, target.size() - name.size());
        int error = EEXIST;
        for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
            // Cut short, so a name near the file system's limit still leaves room.
            path_ = folder + "." + std::string(name.substr(0, 200)) + "." + RandomSuffix();
            file_ = FileHandle::Open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
            error = file_.IsOpen() ? 0 : errno;
        }
        if (error != 0)
            throw StreamError::Create(target, error);
    }
    ~TemporaryFile() {
        if (path_.empty())
            return;
        file_.Close();
        Sys.Unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    FileHandle& File() { return file_; }
    const std::string& Path() const { return path_; }
    void Kept() { path_.clear(); }

private:
    std::string path_;
    FileHandle file_;
};

} // namespace

void CheckReplaceable(const std::string& path) {
    struct stat info {};
    if (Sys.Lstat(path.c_str(), &info) != 0)
        return; // nothing there yet, or the write will say why
    if (S_ISLNK(info.st_mode))
        throw StreamError("Cannot create file \"" + FullPath(path) +
                          "\". It is a symbolic link, which is never written through");
    if (S_ISDIR(info.st_mode))
        throw StreamError::Create(path, EISDIR);
}

void ReplaceFile(const std::string& path, std::string_view bytes,
                 std::optional<std::uint32_t> dosDateTime) {
    CheckReplaceable(path);
    TemporaryFile temporary(path);
    FileHandle& file = temporary.File();
    if (file.WriteAll(bytes.data(), bytes.size()) != 0)
        throw StreamError::Write();
    if (dosDateTime) {
        struct timespec times[2] = {{0, UTIME_OMIT}, {UnixFromDosDateTime(*dosDateTime), 0}};
        Sys.Futimens(file.Fd(), times);
    }
    // Flushed before the rename, so a power loss cannot leave an empty file in the good one's
    // place.
    if (Sys.Fsync(file.Fd()) != 0 || file.Close() != 0)
        throw StreamError::Write();
    if (Sys.Rename(temporary.Path().c_str(), path.c_str()) != 0)
        throw StreamError::Create(path, errno);
    temporary.Kept();
}
