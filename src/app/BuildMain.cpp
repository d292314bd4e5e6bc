#include "app/BuildCleanup.h"
#include "app/CommandLineBuild.h"

#include <iostream>

int main(int argc, char** argv) {
    RemoveHeldFilesOnSignals();
    return RunCommandLineBuild(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                               std::cerr);
}
