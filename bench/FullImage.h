#pragma once

#include <string>

namespace parvel::bench {

// The benchmarks' firmware: program memory through 0x0FFF, all 256 EEPROM cells, a DCC
// accessory firmware whose 28 rows are looked up deep in the 2044-entry table.
std::string FullImage();

}  // namespace parvel::bench
