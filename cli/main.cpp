#include <iostream>
#include <string>
#include <vector>

#include "cli/ParvelCli.h"
#include "image/Platform.h"

int main(int argc, char** argv) {
    parvel::UseUtf8Console();
    return parvel::RunParvel(parvel::ProgramArguments(argc, argv), std::cout, std::cerr);
}
