#pragma once
// The temporary files a run works in (the archive being written beside its final name, the
// command-line builder's staging folder) are held with an flock for as long as they are in use.
// A run stopped by a signal removes what it holds at once; what a crash or SIGKILL leaves behind
// a later run finds unlocked and removes, and what another running build holds stays untouched.

#include "FileHandle.h"

#include <csignal>
#include <string>
#include <string_view>

/// Locks a file or folder just created under a fresh name. False when a run sweeping leftovers
/// took it first: the caller closes it and picks another name.
bool ClaimFresh(const FileHandle& file);

/// The signals on which a run removes what it holds before it ends.
inline constexpr int CleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

/// Holds the cleanup signals back for its lifetime, so that a held file is created, locked
/// and recorded before a signal can look for it.
class CleanupSignalsDeferred {
public:
    CleanupSignalsDeferred();
    ~CleanupSignalsDeferred();
    CleanupSignalsDeferred(const CleanupSignalsDeferred&) = delete;
    CleanupSignalsDeferred& operator=(const CleanupSignalsDeferred&) = delete;

private:
    sigset_t saved_;
};

/// Records that this process holds path through fd, for RemoveHeldFiles, from construction to
/// destruction. Release it only after the path is gone or renamed away.
class HeldPath {
public:
    HeldPath(std::string path, int fd);
    ~HeldPath();
    HeldPath(const HeldPath&) = delete;
    HeldPath& operator=(const HeldPath&) = delete;

private:
    std::string path_;
    int slot_ = -1;
};

/// Removes every held path that still names the file or folder its descriptor holds; a folder
/// with the files in it. Only system calls, no allocation: safe in a signal handler.
void RemoveHeldFiles();

/// Removes the leftovers in folder (empty: the current one) named prefix followed by six letters
/// or digits, files or folders, whose lock nobody holds.
void RemoveStaleLeftovers(const std::string& folder, std::string_view prefix);
