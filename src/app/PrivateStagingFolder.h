#pragma once
// kestrova-build's own staging folder in $TMPDIR, so that runs never meet in one. It is held
// locked while the run lasts and removed on every path, also on a signal (BuildCleanup.h); the
// folders of runs that were killed outright are removed by the next run.

#include "package/FileHandle.h"
#include "package/HeldFiles.h"

#include <optional>
#include <string>

class PrivateStagingFolder {
public:
    /// Creates "kestrova-build-XXXXXX" in $TMPDIR (/tmp when unset). Throws KestrovaError when
    /// it cannot.
    PrivateStagingFolder();
    ~PrivateStagingFolder();
    PrivateStagingFolder(const PrivateStagingFolder&) = delete;
    PrivateStagingFolder& operator=(const PrivateStagingFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    FileHandle lock_;
    std::optional<HeldPath> held_;
};
