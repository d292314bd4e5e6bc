#pragma once
// kestrova-build: builds the theme a manifest describes, through the same staging and build as
// the editor, for people who make many themes or script them.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view CommandLineUsage =
    "usage: kestrova-build [-o OUTPUT_DIR] [-j THREADS] MANIFEST.ini\n"
    "       kestrova-build --unpack THEME.sdt DIR\n";

/// Runs the command with its arguments (without the program name). Returns the exit status:
/// 0 when the theme was built, 1 when it was not, 2 for a wrong command line.
int RunCommandLineBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
