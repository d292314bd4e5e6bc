#pragma once
// A file written into the staging folder whole or not at all. The bytes go to a fresh temporary
// name beside the staged name and replace it only once they are complete and on disk, so a
// failure leaves an earlier staged copy, which the package list may still name, as it was, and a
// link at the staged name is replaced, never written through.

#include "FileHandle.h"

#include <cstdint>
#include <string>
#include <sys/stat.h>

/// Whether a finished file must be on disk before it replaces the earlier one. A file that lives
/// only as long as this run's theme (a slot's copy, the descriptor, the default scheme written
/// anew by every build) need not be: a power loss ends the run, and nothing reads it after.
enum class Flush { ToDisk, NotNeeded };

class StagedFile {
public:
    StagedFile() = default;
    /// Removes the temporary file unless Commit has put it in place.
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    /// Creates the temporary file that is to replace path, and holds it and the file now at path
    /// locked until Commit. Returns 0 or an errno: EBUSY when another opener holds that file or
    /// it is the file source describes, EISDIR when path is a folder.
    int Create(const std::string& path, const struct stat* source = nullptr);

    FileHandle& File() { return file_; }

    /// Gives the file the time a DOS date and time stands for, so an archive entry made from it
    /// shows exactly that time. A stamp that fails leaves the file its own time.
    void Stamp(std::uint32_t dosDateTime);

    /// Flushes the temporary file to disk, unless told it need not be, and closes it. Returns 0
    /// or an errno.
    int Finish(Flush flush = Flush::ToDisk);
    /// Renames the finished file over the staged name. Returns 0 or an errno.
    int Commit();

private:
    int LockReplacedFile(const std::string& path, const struct stat* source);

    std::string path_;
    std::string temporaryPath_;
    FileHandle file_;
    FileHandle replaced_; // the earlier staged file, held locked while it is being replaced
    bool committed_ = false;
};
