#include "FirmwareImage.h"

namespace parvel {

void FirmwareImage::Reset() {
    for (auto& line : hex_lines) line.clear();
    line_count = 0;
    for (auto& cell : eeprom_cells) SetCell(cell, "FF");
    for (int i = 0; i < kRomCells; i += 2) {
        SetCell(rom_cells[i], "FF");      // low byte of an erased word 0x3FFF
        SetCell(rom_cells[i + 1], "3F");  // its high byte
    }
    rom_last = 0;
    eeprom_last = 0;
    id_found = false;
    config_found = false;
}

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
int Nibble(unsigned char c) {
    if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) c = static_cast<unsigned char>(c + 9);
    return c & 0x0F;
}
bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}
}  // namespace

int HexByteValue(std::string_view text) {
    const int hi = text.size() > 0 ? Nibble(static_cast<unsigned char>(text[0])) : 0;
    const int lo = text.size() > 1 ? Nibble(static_cast<unsigned char>(text[1])) : 0;
    return hi * 16 + lo;
}

int HexByteIndex(const std::string& text) {
    if (text.size() != 2 || !IsHexDigit(text[0]) || !IsHexDigit(text[1])) return 0;
    if ((text[0] >= 'a' && text[0] <= 'f') || (text[1] >= 'a' && text[1] <= 'f')) return 0;
    return HexByteValue(text);
}

bool IsHexByte(const std::string& text) {
    return text.size() == 2 && IsHexDigit(text[0]) && IsHexDigit(text[1]);
}

}  // namespace parvel
