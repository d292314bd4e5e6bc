#include "CheckProgram.h"
#include "ThemeCheckCommand.h"
#include "app/BuildCleanup.h"

#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (AsksForCheck(args))
        return RunCheckProgram(args, std::cerr);
    RemoveHeldFilesOnSignals();
    return RunBuildProgram(args, std::cout, std::cerr);
}
