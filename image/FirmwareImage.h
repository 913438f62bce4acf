#pragma once

#include <array>
#include <bitset>
#include <cstddef>
#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>

namespace parvel {

// Sizes of the image tables. HEX byte 0x0000..0x0FFF is program memory (word w = bytes 2w, 2w+1),
// 0x4000..0x4007 the ID words, 0x400E the configuration word, 0x4200..0x43FF data EEPROM.
constexpr int kRomCells = 4096;
constexpr int kEepromCells = 256;
// Lines of a HEX file read at most. A full 16F684 image in records of 8 bytes has 519 lines, in
// records of 16 bytes about 300; 1024 takes either, and a longer file is refused unread.
constexpr int kMaxHexLines = 1024;

// What a load met that the image has no place for, so a save cannot write it back (bits of
// FirmwareImage::unsaved).
enum UnsavedPart : unsigned {
    kUnsavedIdHigh = 1u << 0,       // ID words with more than their last hex digit set
    kUnsavedIdBytes = 1u << 1,      // ID bytes outside whole words of a record starting at 0x4000
    kUnsavedAbove4008 = 1u << 2,    // bytes at 0x4008..0x40FF other than the configuration word
    kUnsavedEepromHigh = 1u << 3,   // data EEPROM high bytes other than 00
    kUnsavedEepromOdd = 1u << 4,    // data EEPROM records at an odd address or of odd length
};

// One byte of the image as the two characters it has in the HEX file ("3F"). The reader stores
// exactly two characters per byte, hex digits or not: a damaged record keeps its text, and the
// writer then refuses to build a record from it. Code that stores a text of another length
// makes the cell damaged in the same way. A cell is three bytes, so that the 4,352 cells of an
// image lie together in memory and loading and saving walk them in one sweep.
class HexCell {
public:
    constexpr HexCell() = default;  // empty: no text yet
    constexpr HexCell(char high, char low) : m_text{high, low}, m_size(2) {}

    // Stores `text`. A text longer than two characters keeps its first two and stays damaged
    // (size() 3): such a cell is never written, and it differs from every two-character text.
    HexCell& operator=(std::string_view text) {
        m_size = static_cast<unsigned char>(text.size() < 3 ? text.size() : 3);
        m_text[0] = text.size() > 0 ? text[0] : '\0';
        m_text[1] = text.size() > 1 ? text[1] : '\0';
        return *this;
    }
    HexCell& operator=(const char* text) { return *this = std::string_view(text); }
    HexCell& operator=(const std::string& text) { return *this = std::string_view(text); }

    // Stores the two characters at `pair` (the reader's way: one byte of a record).
    void SetPair(const char* pair) {
        std::memcpy(m_text, pair, 2);
        m_size = 2;
    }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // The characters held: all of a short text, the first two of a long one.
    std::string_view view() const { return {m_text, m_size < 2 ? m_size : std::size_t{2}}; }
    char operator[](std::size_t i) const { return m_text[i]; }
    std::string str() const { return std::string(view()); }
    operator std::string_view() const { return view(); }
    operator std::string() const { return str(); }

    friend bool operator==(const HexCell& a, const HexCell& b) {
        return a.m_size == b.m_size && a.m_text[0] == b.m_text[0] && a.m_text[1] == b.m_text[1];
    }
    friend bool operator!=(const HexCell& a, const HexCell& b) { return !(a == b); }
    friend bool operator==(const HexCell& a, std::string_view b) { return a.m_size <= 2 && a.view() == b; }
    friend bool operator!=(const HexCell& a, std::string_view b) { return !(a == b); }
    friend bool operator==(const HexCell& a, const char* b) { return a == std::string_view(b); }
    friend bool operator!=(const HexCell& a, const char* b) { return !(a == b); }
    friend bool operator==(const HexCell& a, const std::string& b) { return a == std::string_view(b); }
    friend bool operator!=(const HexCell& a, const std::string& b) { return !(a == b); }
    friend std::string operator+(std::string a, const HexCell& b) { return a.append(b.view()); }

private:
    char m_text[2] = {'\0', '\0'};
    unsigned char m_size = 0;
};

std::ostream& operator<<(std::ostream& out, const HexCell& cell);

// The in-memory copy of one decoder firmware. Every byte is kept as the two-character upper-case
// hex text it has in the HEX file; editors convert with HexByteValue and hex_byte_names().
struct FirmwareImage {
    std::array<HexCell, kRomCells> rom_cells;
    std::array<HexCell, kEepromCells> eeprom_cells;
    std::string id_text;
    std::string config_text;
    bool id_found = false;
    bool config_found = false;
    int rom_last = 0;
    int eeprom_last = 0;
    std::array<std::string, kMaxHexLines> hex_lines;
    int line_count = 0;
    // Which cells a record of the file held. With `keep_gaps` (an image loaded from a file) the
    // writer leaves out a cell no record held while it keeps its erased value, so a save without
    // a change gives back the file's bytes and no more.
    std::bitset<kRomCells> rom_read;
    std::bitset<kEepromCells> eeprom_read;
    bool keep_gaps = false;
    unsigned unsaved = 0;  // UnsavedPart bits met since the last reset

    // Values before every load: EEPROM "FF", program words 0x3FFF (erased), counters 0.
    // id_text and config_text are kept; the reader replaces them when it meets their records.
    // No cell counts as read, nothing as unsaved; keep_gaps stays as it is.
    void Reset();

    // The value a cell has after a reset: program words 0x3FFF, EEPROM bytes FF.
    static bool ErasedRom(int index, const HexCell& cell) {
        return cell == (index % 2 == 0 ? "FF" : "3F");
    }

    // Low byte of program word w (the byte the pattern and curve tables live in).
    HexCell& RomLow(int word) { return rom_cells[2 * word]; }
    const HexCell& RomLow(int word) const { return rom_cells[2 * word]; }
};

// Two-digit text of each byte value: "00" .. "FF".
const std::array<std::string, 256>& hex_byte_names();

// Value of a cell text. Tolerant on purpose: 'A'..'F'/'a'..'f' count 10..15, any other character
// the low four bits of its code ('G' gives 7); a missing second character counts as 0.
// Inline: loading reads several values of every record.
inline int HexNibble(unsigned char c) {
    if ((c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f')) c = static_cast<unsigned char>(c + 9);
    return c & 0x0F;
}
inline int HexByteValue(std::string_view text) {
    const int hi = text.size() > 0 ? HexNibble(static_cast<unsigned char>(text[0])) : 0;
    const int lo = text.size() > 1 ? HexNibble(static_cast<unsigned char>(text[1])) : 0;
    return hi * 16 + lo;
}

// Index of the equal entry in hex_byte_names(), 0 when there is none (an exact text comparison).
int HexByteIndex(const std::string& text);

// True when text is exactly two hex digits.
bool IsHexByte(const std::string& text);

}  // namespace parvel
