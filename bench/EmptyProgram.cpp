// The yardstick of startup.sh: a C++ program that only prints one line, built with the
// project's compiler flags like parvel.
#include <iostream>

int main() {
    std::cout << "HEX Parvel\n";
    return 0;
}
