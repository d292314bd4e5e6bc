#include "ReplaceFile.h"

#include "Errors.h"
#include "PathNames.h"
#include "StagedFile.h"
#include "SystemCalls.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

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
    StageFileBytes(path, bytes, dosDateTime, Flush::ToDisk);
}

void StageFileBytes(const std::string& path, std::string_view bytes,
                    std::optional<std::uint32_t> dosDateTime, Flush flush) {
    StagedFile file;
    if (int error = file.Create(path))
        throw StreamError::Create(path, error);
    if (file.File().WriteAll(bytes.data(), bytes.size()) != 0)
        throw StreamError::Write();
    if (dosDateTime)
        file.Stamp(*dosDateTime);
    if (file.Finish(flush) != 0)
        throw StreamError::Write();
    if (int error = file.Commit())
        throw StreamError::Create(path, error);
}
