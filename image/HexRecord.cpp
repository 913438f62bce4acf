#include "image/HexRecord.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "image/FirmwareImage.h"

namespace parvel {

namespace {

// The two characters from 1-based position `pos`, or as many as the line still has.
std::string_view Field(std::string_view line, std::size_t pos) {
    return line.substr(std::min(pos - 1, line.size()), 2);
}

// A line of thousands of characters is cut so the message box stays readable.
constexpr std::size_t kQuotedChars = 120;

void AppendEscapedBytes(std::string& out, std::string_view bytes) {
    static const char digits[] = "0123456789ABCDEF";
    for (const char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        out += "\\x";
        out += digits[c >> 4];
        out += digits[c & 15];
    }
}

// Length of an invisible character at text[i] (after ReadableText, so the text is valid UTF-8):
// tab, no-break space, the zero-width characters U+200B..U+200F, word joiner U+2060 and the
// byte-order mark U+FEFF. 0 for anything else.
std::size_t InvisibleAt(std::string_view text, std::size_t i) {
    const auto at = [&](std::size_t k) {
        return k < text.size() ? static_cast<unsigned char>(text[k]) : 0u;
    };
    if (at(i) == '\t') return 1;
    if (at(i) == 0xC2 && at(i + 1) == 0xA0) return 2;
    if (at(i) == 0xE2 && at(i + 1) == 0x80 && at(i + 2) >= 0x8B && at(i + 2) <= 0x8F) return 3;
    if (at(i) == 0xE2 && at(i + 1) == 0x81 && at(i + 2) == 0xA0) return 3;
    if (at(i) == 0xEF && at(i + 1) == 0xBB && at(i + 2) == 0xBF) return 3;
    return 0;
}

// "0x1000" for a HEX byte address.
std::string AddressText(int address) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%04X", static_cast<unsigned>(address));
    return buf;
}

// The first byte address of a rejected data record that lies outside the chip's memory.
int OutsideAddress(RecordError error, const std::string& line) {
    const std::string_view text(line);
    const int ah = HexByteValue(Field(text, 4));
    const int al = HexByteValue(Field(text, 6));
    const int start = ah * 256 + al;
    if (error == RecordError::RomOverflow) return std::max(start, kRomCells);
    // A data EEPROM run beyond its last cell: the first word without a cell.
    if (ah == 0x42 || ah == 0x43) return 0x4200 + 2 * kEepromCells;
    return start;
}

}  // namespace

std::string QuotedLine(const std::string& line) {
    if (line.empty()) return "<Leerzeile>";
    const bool cut = line.size() > kQuotedChars;
    std::string_view shown = std::string_view(line).substr(0, kQuotedChars);
    std::size_t blanks = 0;
    if (!cut) {
        while (blanks < shown.size() && shown[shown.size() - 1 - blanks] == ' ') ++blanks;
        shown.remove_suffix(blanks);
    }
    const std::string readable = ReadableText(shown);
    std::string out;
    out.reserve(readable.size() + 4 * blanks + 8);
    for (std::size_t i = 0; i < readable.size();) {
        const std::size_t n = InvisibleAt(readable, i);
        if (n == 0) {
            out += readable[i++];
            continue;
        }
        AppendEscapedBytes(out, std::string_view(readable).substr(i, n));
        i += n;
    }
    for (std::size_t k = 0; k < blanks; ++k) out += "\\x20";
    if (cut) out += " …";
    return out;
}

void UpperCaseInPlace(std::string& line) {
    // Every line of every file passes here, so eight characters are treated at once: each
    // byte of a word that is 'a'..'z' gets 0x80 in `lower`, and 0x20 less makes it upper case.
    // The sums below stay under 0x100 in every byte, so no byte carries into the next one.
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    char* p = line.data();
    const std::size_t n = line.size();
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        const std::uint64_t low7 = word & (kOnes * 0x7F);
        const std::uint64_t at_least_a = low7 + kOnes * (0x80 - 'a');
        const std::uint64_t above_z = low7 + kOnes * (0x80 - 'z' - 1);
        const std::uint64_t lower = at_least_a & ~above_z & ~word & (kOnes * 0x80);
        if (lower != 0) {
            word -= lower >> 2;
            std::memcpy(p + i, &word, 8);
        }
    }
    for (; i < n; ++i) {
        const unsigned char c = static_cast<unsigned char>(p[i]);
        p[i] = static_cast<char>(c - (static_cast<unsigned char>(c - 'a') < 26u ? 32 : 0));
    }
}

std::string UpperCaseLine(std::string line) {
    UpperCaseInPlace(line);
    return line;
}

HexRecord ParseHexRecord(const std::string& line) {
    HexRecord r;
    const std::string_view text(line);
    const int ll = HexByteValue(Field(text, 2));
    const int ah = HexByteValue(Field(text, 4));
    const int al = HexByteValue(Field(text, 6));
    const std::string_view tt = Field(text, 8);

    if (tt == "00") {
        const bool eeprom = ah == 0x42 || ah == 0x43;
        const bool rom = ah <= 0x0F;
        if (!eeprom && !rom && ah != 0x40) {
            r.error = RecordError::UnexpectedAddress;
            return r;
        }
        // A data record must hold all the bytes its count announces (the checksum may be
        // missing); a cut record would leave cells that are not two hex characters.
        if (line.size() < 9 + 2 * static_cast<std::size_t>(ll)) {
            r.error = RecordError::UnexpectedLine;
            return r;
        }
        if (eeprom) {
            r.kind = HexRecord::Kind::Eeprom;
            r.first = al / 2 + (ah == 0x43 ? 128 : 0);
            int count = ll / 2;
            if (r.first + count > kEepromCells) {
                // Beyond the data EEPROM: not this chip's memory, and no cell to keep it in.
                count = kEepromCells - r.first;
                r.error = RecordError::UnexpectedAddress;
            }
            // The length check above keeps every cell (line positions 10 + 4k, two
            // characters) inside the line.
            r.cells = HexCells(line.data() + 9, static_cast<std::size_t>(count), 4);
            // The image keeps the low byte of each EEPROM word and writes 00 as its high byte.
            if (al % 2 != 0 || ll % 2 != 0) r.unsaved |= kUnsavedEepromOdd;
            for (int k = 0; k < count; ++k) {
                if (line[9 + 4 * k + 2] != '0' || line[9 + 4 * k + 3] != '0') {
                    r.unsaved |= kUnsavedEepromHigh;
                    break;
                }
            }
            return r;
        }
        if (rom) {
            r.kind = HexRecord::Kind::Rom;
            r.first = ah * 256 + al;
            int count = ll;
            if (r.first + count > kRomCells) {
                count = kRomCells - r.first;
                r.error = RecordError::RomOverflow;
            }
            r.cells = HexCells(line.data() + 9, static_cast<std::size_t>(count), 2);
            return r;
        }
        // ID words and configuration word wherever the record covers 0x4000..0x4007 and
        // 0x400E..0x400F: build tools write them as separate records, fill tools as one.
        r.kind = HexRecord::Kind::IdConfig;
        const char* data = line.data() + 9;
        if (al == 0x00) {
            r.has_id = true;
            for (int k = 0; k < ll / 2 && k < 4; ++k) {
                r.id_text += data[4 * k + 1];
                r.whole_id_word = true;
            }
        }
        for (int k = 0; k < ll; ++k) {
            const int offset = al + k;
            const std::string_view byte(data + 2 * k, 2);
            if (offset < 8) {
                // The image keeps one hex digit per ID word, and only of whole words of a
                // record that starts the ID.
                if (al != 0 || (offset % 2 == 0 && offset + 1 >= ll)) {
                    r.unsaved |= kUnsavedIdBytes;
                } else if (offset % 2 == 0 ? byte[0] != '0' : byte != "00") {
                    r.unsaved |= kUnsavedIdHigh;
                }
            } else if (offset == 0x0E) {
                r.has_config = true;
                r.config_text = std::string(k + 1 < ll ? std::string_view(data + 2 * k, 4) : byte);
            } else if (offset != 0x0F || al == 0x0F) {
                // A high byte of the configuration word without its low byte has no place either.
                r.unsaved |= kUnsavedAbove4008;
            }
        }
        return r;
    }
    if (tt == "01") {
        if (line != ":00000001FF") r.error = RecordError::BadEndRecord;
        return r;
    }
    if (tt == "02") {
        r.error = RecordError::SegmentAddress;
        return r;
    }
    if (tt == "03") {
        r.error = RecordError::StartSegment;
        return r;
    }
    if (tt == "04") {
        if (line != ":020000040000FA") r.error = RecordError::BadLinearAddress;
        return r;
    }
    if (tt == "05") return r;
    r.error = RecordError::UnexpectedLine;
    return r;
}

Message RecordErrorMessage(RecordError error, const std::string& line, bool compare,
                           int line_number) {
    std::string where = line_number > 0 ? "Zeile " + std::to_string(line_number) : std::string();
    // A line that does not start with ':' has its fields elsewhere (a byte-order mark before
    // it, for example): an address read from it would only mislead.
    const auto outside = [&](const char* memory) {
        if (line.empty() || line[0] != ':') return;
        if (!where.empty()) where += ": ";
        where += "Adresse " + AddressText(OutsideAddress(error, line)) + " liegt außerhalb " + memory +
                 " dieses Chips";
    };
    const char* text = "";
    switch (error) {
        case RecordError::None: return {};
        case RecordError::RomOverflow:
            outside("des Programmspeichers");
            return {"E200: Überschreitung ROM-Adressbereich (" + where + ")", Icon::Warning,
                    Buttons::Cancel};
        case RecordError::UnexpectedAddress:
            text = compare ? "E301: Unerwartete Zeile: " : "E201: Unerwartete Zeile: ";
            outside("des Speichers");
            break;
        case RecordError::BadEndRecord:
            text = compare ? "E302: Unerwarteter End File Record: "
                           : "E202: Unerwarteter End File Record: ";
            break;
        case RecordError::SegmentAddress:
            text = compare ? "E303: Unerwartete Zeile im File: " : "E203: Unerwartete Zeile im File: ";
            break;
        case RecordError::StartSegment:
            text = compare ? "E304: Unerwartete Zeile im File: " : "E204: Unerwartete Zeile im File: ";
            break;
        case RecordError::BadLinearAddress:
            text = compare ? "E305: Unerwarteter Extendet Linear Address Record: "
                           : "E205: Unerwarteter Extendet Linear Address Record: ";
            break;
        case RecordError::UnexpectedLine:
            text = compare ? "E300: Unerwartete Zeile im File: " : "E206: Unerwartete Zeile im File: ";
            break;
    }
    std::string message = text + QuotedLine(line);
    if (!where.empty()) message += " (" + where + ")";
    return {message, Icon::Information, Buttons::Ok};
}

}  // namespace parvel
