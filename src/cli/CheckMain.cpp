// kestrova-check: what kestrova-build --check runs (CheckProgram.h).

#include "ThemeCheckCommand.h"
#include "app/BuildCleanup.h"
#include "picture/ThemeCheck.h"

#include <iostream>

int main(int argc, char** argv) {
    RemoveHeldFilesOnSignals();
    return RunCheckCommand(std::vector<std::string>(argv + 1, argv + argc), CheckTheme, std::cout,
                           std::cerr);
}
