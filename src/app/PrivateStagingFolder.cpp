#include "PrivateStagingFolder.h"

#include "package/Errors.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr const char* FolderPrefix = "kestrova-build-";

} // namespace

PrivateStagingFolder::PrivateStagingFolder() {
    const char* tmp = std::getenv("TMPDIR");
    const std::string parent = tmp && *tmp ? tmp : "/tmp";
    RemoveStaleLeftovers(parent, FolderPrefix);
    CleanupSignalsDeferred deferred;
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string pattern = parent + "/" + FolderPrefix + "XXXXXX";
        if (!mkdtemp(pattern.data()))
            throw KestrovaError("cannot create a staging folder in \"" + parent +
                                "\": " + SystemReason(errno));
        lock_ = FileHandle::Open(pattern.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
        if (!lock_.IsOpen()) {
            int error = errno;
            rmdir(pattern.c_str());
            throw KestrovaError("cannot create a staging folder in \"" + parent +
                                "\": " + SystemReason(error));
        }
        if (ClaimFresh(lock_)) {
            path_ = std::move(pattern);
            held_.emplace(path_, lock_.Fd());
            return;
        }
        // Another run's sweep took it first and removes it.
        lock_.Close();
    }
    throw KestrovaError("cannot create a staging folder in \"" + parent +
                        "\": " + SystemReason(EEXIST));
}

PrivateStagingFolder::~PrivateStagingFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    held_.reset();
}
