#include <iostream>
#include <string>
#include <vector>

#include "ParvelCli.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    return parvel::RunParvel(args, std::cout, std::cerr);
}
