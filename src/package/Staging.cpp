#include "Staging.h"

#include "DosTime.h"
#include "Errors.h"
#include "FileHandle.h"
#include "PathNames.h"
#include "StagedFile.h"
#include "SystemCalls.h"
#include "ThemeText.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Reading needs only a shared lock, so builds that share media files never meet, while a
// source someone holds locked for writing is refused. A conflict reads as "busy" to the user.
int LockForReading(const FileHandle& file) {
    if (Sys.Flock(file.Fd(), LOCK_SH | LOCK_NB) == 0)
        return 0;
    return errno == EWOULDBLOCK ? EBUSY : errno;
}

FileHandle OpenSource(const std::string& source, struct stat& info) {
    // A named pipe typed into the dialog is copied as the empty file its size says.
    FileHandle file = OpenFileToRead(source, info);
    if (int error = LockForReading(file))
        throw StreamError::Open(source, error);
    return file;
}

void ReadAndWrite(FileHandle& source, FileHandle& destination, off_t length) {
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

// The kernel copies without passing the bytes through us, and shares them where the file system
// can. Where it cannot, or stops short, the read/write loop goes on from the offsets it reached;
// the loop also tells a source that ended early from a write that failed.
void CopyContents(FileHandle& source, FileHandle& destination, off_t length) {
    constexpr off_t MostAtOnce = off_t{1} << 30;
    while (length > 0) {
        ssize_t n = Sys.CopyFileRange(source.Fd(), nullptr, destination.Fd(), nullptr,
                                      static_cast<std::size_t>(std::min(length, MostAtOnce)), 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        length -= static_cast<off_t>(n);
    }
    ReadAndWrite(source, destination, length);
}

} // namespace

void CopyFileKeepDate(const std::string& source, const std::string& destination, Flush flush) {
    struct stat sourceInfo {};
    FileHandle input = OpenSource(source, sourceInfo);
    StagedFile output;
    // Knowing the source, it refuses to stage a file over itself.
    if (int error = output.Create(destination, &sourceInfo))
        throw StreamError::Create(destination, error);
    CopyContents(input, output.File(), sourceInfo.st_size);
    // The copy carries the source's time as a DOS time would hold it; times a DOS date cannot
    // hold keep the copy's own.
    if (std::optional<std::uint32_t> dos = DosDateTimeFromUnix(sourceInfo.st_mtime))
        output.Stamp(*dos);
    if (output.Finish(flush) != 0)
        throw StreamError::Write();
    if (int error = output.Commit())
        throw StreamError::Create(destination, error);
}

std::string StagedSlotPath(const std::string& tempDir, int slot, std::string_view chosenPath) {
    return JoinPath(tempDir, std::string(SlotNames[slot]) + std::string(FileExtension(chosenPath)));
}

void CheckStagedNameEncodable(std::string_view chosenPath) {
    // The resource name before it is plain ASCII; only the extension comes from the user.
    std::string_view extension = FileExtension(chosenPath);
    std::string what = "The file extension \"" + ShownText(extension) + "\"";
    ThemeTextBytes(extension, CodePage::Windows1251, what);
    ThemeTextBytes(extension, CodePage::Cp866, what);
}

std::string StageSlotFile(ThemeDocument& document, int slot, const std::string& chosenPath) {
    CheckStagedNameEncodable(chosenPath);
    std::string staged = StagedSlotPath(document.TempDir, slot, chosenPath);
    CopyFileKeepDate(chosenPath, staged);
    document.FilesList.push_back(staged);
    return staged;
}
