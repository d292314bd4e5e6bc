#pragma once

#include <string>

/// The folder of the running program file, ending with a separator.
std::string ProgramFolder();

/// The process's current folder, ending with a separator; "/" when it cannot be read.
std::string CurrentFolder();
