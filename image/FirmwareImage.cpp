#include "image/FirmwareImage.h"

#include <cstring>
#include <ostream>
#include <type_traits>

namespace parvel {

void FirmwareImage::Reset() {
    for (auto& line : hex_lines) line.clear();
    line_count = 0;
    // Copied from one erased image made once: a load starts with thousands of cells to set.
    static const FirmwareImage erased = [] {
        FirmwareImage image;
        image.eeprom_cells.fill(HexCell('F', 'F'));
        for (int i = 0; i < kRomCells; i += 2) {
            image.rom_cells[i] = HexCell('F', 'F');      // low byte of an erased word 0x3FFF
            image.rom_cells[i + 1] = HexCell('3', 'F');  // its high byte
        }
        return image;
    }();
    static_assert(std::is_trivially_copyable_v<HexCell>);
    std::memcpy(rom_cells.data(), erased.rom_cells.data(), sizeof rom_cells);
    std::memcpy(eeprom_cells.data(), erased.eeprom_cells.data(), sizeof eeprom_cells);
    rom_last = 0;
    eeprom_last = 0;
    id_found = false;
    config_found = false;
    rom_read.reset();
    eeprom_read.reset();
    unsaved = 0;
}

std::ostream& operator<<(std::ostream& out, const HexCell& cell) { return out << cell.view(); }

const std::array<std::string, 256>& hex_byte_names() {
    static const std::array<std::string, 256> names = [] {
        static const char digits[] = "0123456789ABCDEF";
        std::array<std::string, 256> n;
        for (int v = 0; v < 256; ++v) n[v] = std::string{digits[v >> 4], digits[v & 15]};
        return n;
    }();
    return names;
}

namespace {
bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
}  // namespace

int HexByteIndex(const std::string& text) {
    if (text.size() != 2 || !IsHexDigit(text[0]) || !IsHexDigit(text[1])) return 0;
    if ((text[0] >= 'a' && text[0] <= 'f') || (text[1] >= 'a' && text[1] <= 'f')) return 0;
    return HexByteValue(text);
}

bool IsHexByte(const std::string& text) {
    return text.size() == 2 && IsHexDigit(text[0]) && IsHexDigit(text[1]);
}

}  // namespace parvel
