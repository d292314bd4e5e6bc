#pragma once
// kestrova-build stopped by SIGINT, SIGTERM or SIGHUP removes its temporary archive and its
// staging folder before it ends, leaving the old archive as it was.

/// Installs the handlers; a signal ignored when the program started (nohup) stays ignored. The
/// handler removes what the run holds (HeldFiles.h) and ends the program by the signal itself,
/// so the caller sees the usual exit status.
void RemoveHeldFilesOnSignals();
