// Writes the benchmarks' firmware to the file named on the command line (for startup.sh).
#include <exception>
#include <iostream>

#include "tests/fixtures/FixtureBuilder.h"
#include "bench/FullImage.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: parvel_full_image FILE\n";
        return 2;
    }
    try {
        parvel::test::WriteFile(argv[1], parvel::bench::FullImage());
    } catch (const std::exception& e) {
        std::cerr << e.what() << '\n';
        return 2;
    }
    return 0;
}
