#include "HexRecord.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "FirmwareImage.h"

namespace parvel {

namespace {

// The two characters from 1-based position `pos`, or as many as the line still has.
std::string_view Field(std::string_view line, std::size_t pos) {
    return line.substr(std::min(pos - 1, line.size()), 2);
}

// A message quotes the offending line; a line of thousands of characters is cut so the
// message box stays readable, and bytes that are not text are shown escaped.
std::string Quoted(const std::string& line) {
    constexpr std::size_t kShown = 120;
    if (line.size() <= kShown) return ReadableText(line);
    return ReadableText(std::string_view(line).substr(0, kShown)) + " …";
}

}  // namespace

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

Message RecordErrorMessage(RecordError error, const std::string& line, bool compare) {
    const char* text = "";
    switch (error) {
        case RecordError::None: return {};
        case RecordError::RomOverflow:
            return {"E200: Überschreitung ROM-Adressbereich", Icon::Warning, Buttons::Cancel};
        case RecordError::UnexpectedAddress:
            text = compare ? "E301: Unerwartete Zeile: " : "E201: Unerwartete Zeile: ";
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
    return {text + Quoted(line), Icon::Information, Buttons::Ok};
}

}  // namespace parvel
