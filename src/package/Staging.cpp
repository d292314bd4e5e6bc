#include "Staging.h"

#include "DosTime.h"
#include "Errors.h"
#include "FileHandle.h"
#include "PathNames.h"
#include "SystemCalls.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Exclusive access on a POSIX system: an advisory lock that other copies of the program (and
// any tool that locks) respect. A lock conflict reads as "busy" to the user.
bool LockExclusively(const FileHandle& file) {
    return Sys.Flock(file.Fd(), LOCK_EX | LOCK_NB) == 0;
}

int LockError() {
    return errno == EWOULDBLOCK ? EBUSY : errno;
}

FileHandle OpenSource(const std::string& source, struct stat& info) {
    // Without O_NONBLOCK a named pipe typed into the dialog would hold the window until some
    // other program wrote to it; this way it is copied as the empty file its size says.
    FileHandle file = FileHandle::Open(source.c_str(), O_RDONLY | O_NONBLOCK);
    if (!file.IsOpen())
        throw StreamError::Open(source, errno);
    if (Sys.Fstat(file.Fd(), &info) != 0)
        throw StreamError::Open(source, errno);
    if (S_ISDIR(info.st_mode))
        throw StreamError::Open(source, EISDIR);
    if (!LockExclusively(file))
        throw StreamError::Open(source, LockError());
    return file;
}

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The destination is emptied only once it is known not to be the source and no one else holds
// it, so a failed staging leaves an earlier staged copy as it was.
FileHandle CreateDestination(const std::string& destination, const struct stat& sourceInfo) {
    struct stat existing {};
    if (Sys.Stat(destination.c_str(), &existing) == 0 && SameFile(existing, sourceInfo))
        throw StreamError::Create(destination, EBUSY);
    FileHandle file = FileHandle::Open(destination.c_str(), O_RDWR | O_CREAT, 0666);
    if (!file.IsOpen())
        throw StreamError::Create(destination, errno);
    if (!LockExclusively(file))
        throw StreamError::Create(destination, LockError());
    if (Sys.Fstat(file.Fd(), &existing) != 0)
        throw StreamError::Create(destination, errno);
    if (SameFile(existing, sourceInfo))
        throw StreamError::Create(destination, EBUSY);
    if (Sys.Ftruncate(file.Fd(), 0) != 0)
        throw StreamError::Create(destination, errno);
    return file;
}

void CopyContents(FileHandle& source, FileHandle& destination, off_t length) {
    std::vector<char> buffer(256 * 1024);
    while (length > 0) {
        std::size_t want =
            static_cast<std::size_t>(std::min<off_t>(length, static_cast<off_t>(buffer.size())));
        ssize_t got = source.ReadFull(buffer.data(), want);
        if (got != static_cast<ssize_t>(want))
            throw StreamError::Read();
        if (destination.WriteAll(buffer.data(), want) != 0)
            throw StreamError::Write();
        length -= static_cast<off_t>(want);
    }
}

// The copy carries the source's time as a DOS time would hold it, so an archive entry made from
// it shows exactly the time the source had. Times a DOS date cannot hold keep the copy's own.
void StampWithDosTime(const FileHandle& destination, const struct stat& sourceInfo) {
    std::optional<std::uint32_t> dos = DosDateTimeFromUnix(sourceInfo.st_mtime);
    if (!dos)
        return;
    struct timespec times[2] = {{0, UTIME_OMIT}, {UnixFromDosDateTime(*dos), 0}};
    Sys.Futimens(destination.Fd(), times);
}

} // namespace

void CopyFileKeepDate(const std::string& source, const std::string& destination) {
    struct stat sourceInfo {};
    FileHandle input = OpenSource(source, sourceInfo);
    FileHandle output = CreateDestination(destination, sourceInfo);
    CopyContents(input, output, sourceInfo.st_size);
    StampWithDosTime(output, sourceInfo);
    if (output.Close() != 0)
        throw StreamError::Write();
}

std::string StagedSlotPath(const std::string& tempDir, int slot, std::string_view chosenPath) {
    return JoinPath(tempDir, std::string(SlotNames[slot]) + std::string(FileExtension(chosenPath)));
}

std::string StageSlotFile(ThemeDocument& document, int slot, const std::string& chosenPath) {
    std::string staged = StagedSlotPath(document.TempDir, slot, chosenPath);
    CopyFileKeepDate(chosenPath, staged);
    document.FilesList.push_back(staged);
    return staged;
}
