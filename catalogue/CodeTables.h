#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace parvel {

// The three tables that translate addresses into the command bit patterns a decoder keeps in
// its data EEPROM, and back. Codes are upper-case hex texts, as the EEPROM cells hold them.
// The tables are computed by the compiler (CodeTables.cpp); loading and saving read them
// through the static functions below and never build anything at run time.
class CodeTables {
public:
    static constexpr int kMmSlots = 350;
    static constexpr int kDccSlots = 2100;
    static constexpr int kMmAccessoryLast = 320;
    static constexpr int kMmAddressLast = 255;
    static constexpr int kDccAccessoryLast = 2044;

    // The tables as texts, for callers that want to walk them. Built on first use.
    static const CodeTables& Instance();

    std::vector<std::string> mm_accessory_codes;  // 0..320 filled, six digits, green code
    std::vector<std::string> mm_address_codes;    // 1..255 filled, four digits
    std::vector<std::string> dcc_accessory_codes;  // 1..2044 filled, six digits, red code

    // One entry as text; empty outside the filled range (like the vectors above).
    static std::string MmAccessoryCode(int index);
    static std::string MmAddressCode(int index);
    static std::string DccAccessoryCode(int index);

    // Red code of a Motorola accessory entry: fifth digit "C" -> "0", "F" -> "3".
    static std::string MmRedCode(const std::string& green);
    // Green code of a DCC accessory entry: fourth digit 0/4/8/C -> 2/6/A/E, then the lowest
    // bit of the second digit inverted (keeps the error byte right).
    static std::string DccGreenCode(const std::string& red);

    struct Match {
        int index = -1;  // -1: no entry matches
        bool green = false;
    };
    // Searches index 0 .. bound inclusive. Every code of a table is distinct and no red code
    // equals a green one (checked when compiling), so at most one entry matches; the lookups
    // search an index sorted by the compiler instead of walking the table for every grid row.
    static Match FindMmAccessory(const std::string& code, int bound);
    static Match FindDccAccessory(const std::string& code, int bound);
    static int FindMmAddress(const std::string& code, int bound);

private:
    CodeTables();
};

}  // namespace parvel
