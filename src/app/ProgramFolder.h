#pragma once

#include <string>

/// The folder of the running program file, ending with a separator.
std::string ProgramFolder();
