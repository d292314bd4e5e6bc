#include "StagedFile.h"

#include "DosTime.h"
#include "PathNames.h"
#include "SystemCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Exclusive access on a POSIX system: an advisory lock that other copies of the program (and
// any tool that locks) respect. A lock conflict reads as "busy" to the user.
int LockExclusively(const FileHandle& file) {
    if (Sys.Flock(file.Fd(), LOCK_EX | LOCK_NB) == 0)
        return 0;
    return errno == EWOULDBLOCK ? EBUSY : errno;
}

} // namespace

void StagedFile::Stamp(std::uint32_t dosDateTime) {
    struct timespec times[2] = {{0, UTIME_OMIT}, {UnixFromDosDateTime(dosDateTime), 0}};
    Sys.Futimens(file_.Fd(), times);
}

StagedFile::~StagedFile() {
    if (committed_ || temporaryPath_.empty())
        return;
    file_.Close();
    Sys.Unlink(temporaryPath_.c_str());
}

int StagedFile::LockReplacedFile(const std::string& path, const struct stat* source) {
    struct stat info {};
    if (Sys.Lstat(path.c_str(), &info) != 0)
        return errno == ENOENT ? 0 : errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    // A link, a pipe or a device at the staged name is replaced without being opened.
    if (!S_ISREG(info.st_mode))
        return 0;
    if (source && SameFile(info, *source))
        return EBUSY;
    replaced_ = FileHandle::Open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (!replaced_.IsOpen()) {
        // Gone or turned into a link since, or unreadable: nothing to lock, and the rename
        // replaces it all the same.
        return errno == ENOENT || errno == ELOOP || errno == EACCES ? 0 : errno;
    }
    return LockExclusively(replaced_);
}

int StagedFile::Create(const std::string& path, const struct stat* source) {
    path_ = path;
    if (int error = LockReplacedFile(path, source))
        return error;
    std::string_view name = FileNamePart(path);
    std::string folder = path.substr(0, path.size() - name.size());
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        // Cut short, so a name near the file system's limit still leaves room for the suffix.
        std::string candidate =
            folder + "." + std::string(name.substr(0, 200)) + "." + RandomNameSuffix();
        file_ = FileHandle::Open(candidate.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW, 0666);
        error = file_.IsOpen() ? 0 : errno;
        if (error == 0)
            temporaryPath_ = std::move(candidate);
    }
    if (error != 0)
        return error;
    return LockExclusively(file_);
}

int StagedFile::Finish(Flush flush) {
    // On disk before it replaces a good copy, so a power loss cannot leave an empty file there.
    if (flush == Flush::ToDisk && Sys.Fsync(file_.Fd()) != 0)
        return errno;
    return file_.Close();
}

int StagedFile::Commit() {
    if (Sys.Rename(temporaryPath_.c_str(), path_.c_str()) != 0)
        return errno;
    committed_ = true;
    replaced_.Close();
    return 0;
}
