#include "cli/CommandLineBuild.h"

#include <iostream>

int main(int argc, char** argv) {
    return RunCommandLineBuild(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                               std::cerr);
}
