#pragma once

#include <array>
#include <string>
#include <string_view>

namespace parvel {

// Sizes of the image tables. HEX byte 0x0000..0x0FFF is program memory (word w = bytes 2w, 2w+1),
// 0x4000..0x4007 the ID words, 0x400E the configuration word, 0x4200..0x43FF data EEPROM.
constexpr int kRomCells = 4096;
constexpr int kEepromCells = 256;
constexpr int kMaxHexLines = 512;

// The in-memory copy of one decoder firmware. Every byte is kept as the two-character upper-case
// hex text it has in the HEX file; editors convert with HexByteValue and hex_byte_names().
struct FirmwareImage {
    std::array<std::string, kRomCells> rom_cells;
    std::array<std::string, kEepromCells> eeprom_cells;
    std::string id_text;
    std::string config_text;
    bool id_found = false;
    bool config_found = false;
    int rom_last = 0;
    int eeprom_last = 0;
    std::array<std::string, kMaxHexLines> hex_lines;
    int line_count = 0;

    // Values before every load: EEPROM "FF", program words 0x3FFF (erased), counters 0.
    // id_text and config_text are kept; the reader replaces them when it meets their records.
    void Reset();

    // Stores a two-character cell text; a cell that already holds two characters is
    // overwritten in place (loading a file touches thousands of cells).
    static void SetCell(std::string& cell, std::string_view text) {
        if (cell.size() == 2 && text.size() == 2) {
            cell[0] = text[0];
            cell[1] = text[1];
        } else {
            cell.assign(text.data(), text.size());
        }
    }

    // Low byte of program word w (the byte the pattern and curve tables live in).
    std::string& RomLow(int word) { return rom_cells[2 * word]; }
    const std::string& RomLow(int word) const { return rom_cells[2 * word]; }
};

// Two-digit text of each byte value: "00" .. "FF".
const std::array<std::string, 256>& hex_byte_names();

// Value of a cell text. Tolerant on purpose: 'A'..'F'/'a'..'f' count 10..15, any other character
// the low four bits of its code ('G' gives 7); a missing second character counts as 0.
int HexByteValue(std::string_view text);

// Index of the equal entry in hex_byte_names(), 0 when there is none (an exact text comparison).
int HexByteIndex(const std::string& text);

// True when text is exactly two hex digits.
bool IsHexByte(const std::string& text);

}  // namespace parvel
