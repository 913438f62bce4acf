#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "image/Message.h"

namespace parvel {

// What one line of an Intel HEX file means for the image. The loader stores it, the compare
// of the info dialog compares it; both walk the same cells, so both use this one parser.
enum class RecordError {
    None,
    RomOverflow,        // program memory byte at 0x1000 or above
    UnexpectedAddress,  // data record outside program memory, ID/config and data EEPROM
    BadEndRecord,       // type 01 other than ":00000001FF"
    SegmentAddress,     // type 02
    StartSegment,       // type 03
    BadLinearAddress,   // type 04 other than ":020000040000FA"
    UnexpectedLine,     // any other type, a blank or short line, data running past the line end
};

// The cell texts of one data record: views of two characters into the parsed line, every
// `stride` characters (2 for program memory, 4 for data EEPROM, whose high bytes are skipped).
// Valid as long as that line is; reading a record allocates nothing per cell.
class HexCells {
public:
    HexCells() = default;
    HexCells(const char* first, std::size_t count, std::size_t stride)
        : m_first(first), m_count(count), m_stride(stride) {}
    std::size_t size() const { return m_count; }
    bool empty() const { return m_count == 0; }
    std::string_view operator[](std::size_t k) const { return {m_first + m_stride * k, 2}; }
    const char* first_char() const { return m_first; }
    std::size_t stride() const { return m_stride; }

private:
    const char* m_first = nullptr;
    std::size_t m_count = 0;
    std::size_t m_stride = 2;
};

struct HexRecord {
    // IdConfig: a data record at 0x4000..0x40FF, which may hold ID words, the configuration
    // word, both or neither.
    enum class Kind { Ignored, Eeprom, Rom, IdConfig };
    Kind kind = Kind::Ignored;
    int first = 0;     // first cell index (Eeprom, Rom)
    HexCells cells;    // cell texts from `first` on, in order (views into the line)
    bool has_id = false;             // the record starts at 0x4000: it replaces the ID text
    std::string id_text;             // one character per whole ID word, at most four
    bool whole_id_word = false;      // has_id: the record holds at least one whole ID word
    bool has_config = false;         // the record covers 0x400E, the configuration word
    std::string config_text;         // the bytes at 0x400E and (when covered) 0x400F
    unsigned unsaved = 0;            // UnsavedPart bits: what the image cannot keep of it
    RecordError error = RecordError::None;
};

// Interprets one line, which must already be upper-cased; `cells` points into the line. Fields are taken by fixed character
// positions; the checksum is not read. For RomOverflow and an EEPROM run beyond cell 255 the
// cells before the limit are listed as well as the error, so a caller can take them first.
HexRecord ParseHexRecord(const std::string& line);

// ASCII upper-casing, as the reader does for every line before it is interpreted.
std::string UpperCaseLine(std::string line);
void UpperCaseInPlace(std::string& line);

// The message of a rejected line. `compare` selects the codes of the info dialog's compare
// (E300..E305) instead of the loader's (E200..E206). `line_number` (from 1) is named in the
// message; 0 leaves it out. A line is quoted with what cannot be seen made visible (see
// QuotedLine); an address outside the chip's memory is named.
Message RecordErrorMessage(RecordError error, const std::string& line, bool compare,
                           int line_number = 0);

// A line of a file as a message quotes it: bytes that are not text escaped as by ReadableText,
// and also what a reader could not see: a tab, a byte-order mark and other invisible
// characters as "\xNN", blanks at the end as "\x20", an empty line as "<Leerzeile>". A line of
// thousands of characters is cut.
std::string QuotedLine(const std::string& line);

}  // namespace parvel
