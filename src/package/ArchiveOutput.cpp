#include "ArchiveOutput.h"

#include "Errors.h"
#include "HeldFiles.h"
#include "PathNames.h"
#include "SystemCalls.h"
#include "ZipRecords.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::uint64_t MessagesEvery = 1024;

// The longest file name the archive's folder takes; the temporary name is cut to fit, so the
// final name has to be checked before any work is done.
long NameMax(const std::string& folder) {
    long max = pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return max > 0 ? max : 255;
}

} // namespace

std::string TooLargeMessage(const std::string& path) {
    return "File too large for a theme archive: \"" + path + "\"";
}

ArchiveOutput::ArchiveOutput(std::string zipName, std::function<void()> processMessages)
    : zipName_(std::move(zipName)), subject_(zipName_),
      processMessages_(std::move(processMessages)) {
    std::string_view name = FileNamePart(zipName_);
    folder_ = zipName_.substr(0, zipName_.size() - name.size());
    const std::string& folder = folder_;
    if (static_cast<long>(name.size()) > NameMax(folder))
        throw StreamError::Create(zipName_, ENAMETOOLONG);
    // Cut short, so a name near the file system's limit still leaves room for the suffix.
    std::string prefix = ".";
    prefix.append(name.substr(0, 200)).append(".");
    RemoveStaleLeftovers(folder, prefix);
    int error = EEXIST;
    CleanupSignalsDeferred deferred;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        temporaryPath_ = folder + prefix + RandomNameSuffix();
        file_ = FileHandle::Open(temporaryPath_.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
        error = file_.IsOpen() ? 0 : errno;
        if (error == 0 && !ClaimFresh(file_)) {
            file_.Close();
            error = EEXIST;
        }
    }
    if (error != 0)
        throw StreamError::Create(zipName_, error);
    held_.emplace(temporaryPath_, file_.Fd());
}

ArchiveOutput::~ArchiveOutput() {
    if (committed_)
        return;
    // Removed while still locked and held, so neither a signal nor another run's sweep can
    // find it in between; one that cannot be removed is swept by the next run.
    Sys.Unlink(temporaryPath_.c_str());
    held_.reset();
    file_.Close();
}

void ArchiveOutput::Write(const void* data, std::size_t size) {
    if (offset_ + size > zip::Limit)
        throw ZipError(TooLargeMessage(subject_));
    if (file_.WriteAll(data, size) != 0)
        throw StreamError::Write();
    offset_ += size;
    // The window gets its turn after every 1,024 bytes, however the output was cut into writes.
    while (offset_ >= nextMessages_) {
        nextMessages_ += MessagesEvery;
        if (processMessages_)
            processMessages_();
    }
}

void ArchiveOutput::WriteAt(const std::string& bytes, std::uint64_t offset) {
    if (file_.WriteAllAt(bytes.data(), bytes.size(), static_cast<off_t>(offset)) != 0)
        throw StreamError::Write();
}

void ArchiveOutput::KeepMode(unsigned mode) {
    // A best effort: the archive is complete without it.
    (void)fchmod(file_.Fd(), static_cast<mode_t>(mode & 07777));
}

void ArchiveOutput::Commit() {
    // On disk before it takes the old archive's name, so a power loss cannot leave an empty or
    // partly written file there; fsync also reports writes the file system could not complete.
    if (Sys.Fsync(file_.Fd()) != 0)
        throw StreamError::Write();
    // Still locked while it is renamed, so another run's sweep cannot take it away first.
    if (Sys.Rename(temporaryPath_.c_str(), zipName_.c_str()) != 0)
        throw InOutError::FromErrno(errno);
    committed_ = true;
    held_.reset();
    // fsync has already reported what the file system could not write.
    file_.Close();
    // The rename itself lasts only once the folder is flushed. The archive is whole and in
    // place either way, so a folder that cannot be flushed fails nothing.
    FileHandle folder =
        FileHandle::Open(folder_.empty() ? "." : folder_.c_str(), O_RDONLY | O_DIRECTORY);
    if (folder.IsOpen())
        (void)Sys.Fsync(folder.Fd());
}
