#pragma once
// kestrova-build --check runs as a program of its own, kestrova-check, the one that links Qt's
// picture decoders, so that a build need not load them and their forty libraries at every start.

#include <ostream>
#include <string>
#include <vector>

/// Where kestrova-check is: beside this program in a build tree, or in ../libexec/kestrova from
/// an installed copy's bin folder. Empty when neither holds it.
std::string CheckProgramPath();

/// Replaces this process with kestrova-check, given the same arguments. Returns only when that
/// cannot be done: 1, with the reason on err.
int RunCheckProgram(const std::vector<std::string>& args, std::ostream& err);
