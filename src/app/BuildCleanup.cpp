#include "BuildCleanup.h"

#include "package/HeldFiles.h"

#include <csignal>

namespace {

extern "C" void RemoveHeldFilesAndEnd(int signal) {
    RemoveHeldFiles();
    // SA_RESETHAND has restored the default action; raised again, the signal is delivered as
    // soon as the handler returns and ends the program with the status it would have had.
    ::raise(signal);
}

} // namespace

void RemoveHeldFilesOnSignals() {
    for (int signal : CleanupSignals) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) == 0 && old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = RemoveHeldFilesAndEnd;
        action.sa_flags = SA_RESETHAND;
        // One signal's removal is not interrupted by another's.
        sigemptyset(&action.sa_mask);
        for (int other : CleanupSignals)
            sigaddset(&action.sa_mask, other);
        ::sigaction(signal, &action, nullptr);
    }
}
