#include "image/HexReader.h"

#include <algorithm>

#include "image/HexRecord.h"

namespace parvel {

namespace {

// The record's cells into consecutive image cells. Source and count are read into locals
// first: character stores could otherwise, as far as the compiler knows, change them.
void StoreCells(const HexCells& cells, HexCell* target) {
    const char* source = cells.first_char();
    const std::size_t stride = cells.stride();
    const std::size_t count = cells.size();
    for (std::size_t k = 0; k < count; ++k, source += stride) target[k].SetPair(source);
}

}  // namespace

std::optional<Message> ReadHexRecord(FirmwareImage& image, const std::string& line,
                                     int line_number) {
    const HexRecord r = ParseHexRecord(line);
    switch (r.kind) {
        case HexRecord::Kind::Eeprom:
            StoreCells(r.cells, &image.eeprom_cells[r.first]);
            for (std::size_t k = 0; k < r.cells.size(); ++k) image.eeprom_read.set(r.first + k);
            if (!r.cells.empty()) {
                image.eeprom_last = std::max(image.eeprom_last, r.first + static_cast<int>(r.cells.size()) - 1);
            }
            break;
        case HexRecord::Kind::Rom:
            StoreCells(r.cells, &image.rom_cells[r.first]);
            for (std::size_t k = 0; k < r.cells.size(); ++k) image.rom_read.set(r.first + k);
            if (!r.cells.empty()) {
                image.rom_last = std::max(image.rom_last, r.first + static_cast<int>(r.cells.size()) - 1);
            }
            break;
        case HexRecord::Kind::IdConfig:
            if (r.has_id) {
                image.id_text = r.id_text;
                if (r.whole_id_word) image.id_found = true;
            }
            if (r.has_config) {
                image.config_text = r.config_text;
                image.config_found = true;
            }
            break;
        case HexRecord::Kind::Ignored:
            break;
    }
    image.unsaved |= r.unsaved;
    if (r.error != RecordError::None) return RecordErrorMessage(r.error, line, false, line_number);
    return std::nullopt;
}

namespace {

int StrictHexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The byte at line[pos], pos counted from 0; -1 when the two characters are not hex digits.
int ByteAt(const std::string& line, std::size_t pos) {
    if (pos + 1 >= line.size()) return -1;
    const int hi = StrictHexDigit(line[pos]);
    const int lo = StrictHexDigit(line[pos + 1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

}  // namespace

std::optional<std::string> ChecksumProblem(const std::string& line) {
    static const char digits[] = "0123456789ABCDEF";
    const int count = ByteAt(line, 1);
    if (count < 0) return "keine gültigen Hex-Ziffern";
    // byte count, two address bytes, type and the data
    const std::size_t bytes = 4 + static_cast<std::size_t>(count);
    int sum = 0;
    for (std::size_t k = 0; k < bytes; ++k) {
        const int b = ByteAt(line, 1 + 2 * k);
        if (b < 0) return "keine gültigen Hex-Ziffern";
        sum += b;
    }
    const std::size_t at = 1 + 2 * bytes;
    if (line.size() <= at) return "keine Prüfsumme";
    const int expected = (256 - (sum & 0xFF)) & 0xFF;
    const int read = ByteAt(line, at);
    if (read == expected) return std::nullopt;
    const std::string right{digits[expected >> 4], digits[expected & 15]};
    if (read < 0) return "keine gültige Prüfsumme, richtig wäre " + right;
    return "gelesen " + std::string{digits[read >> 4], digits[read & 15]} + ", richtig wäre " + right;
}

bool HexFileCheck::Skips(const std::string& line, bool last_line) const {
    if (!m_end_seen) return false;
    return line.empty() || line[0] == ';' || (last_line && line == "\x1A");
}

void HexFileCheck::Accepted(const std::string& line, int line_number) {
    if (line == ":00000001FF") m_end_seen = true;
    if (const auto problem = ChecksumProblem(line)) {
        if (m_bad_lines++ == 0) {
            m_first_bad_line = line_number;
            m_first_bad_problem = *problem;
        }
    }
}

std::vector<Message> HexFileCheck::Warnings() const {
    std::vector<Message> warnings;
    if (m_bad_lines > 0) {
        std::string text = "Prüfsumme falsch in Zeile " + std::to_string(m_first_bad_line) + " (" +
                           m_first_bad_problem + ")";
        if (m_bad_lines == 2) text += " und in einer weiteren Zeile";
        if (m_bad_lines > 2) text += " und in " + std::to_string(m_bad_lines - 1) + " weiteren Zeilen";
        warnings.push_back({text + "; die Datei ist vielleicht beschädigt", Icon::Warning, Buttons::Ok});
    }
    if (!m_end_seen) {
        warnings.push_back({"kein End-Record: Datei unvollständig?", Icon::Warning, Buttons::Ok});
    }
    return warnings;
}

}  // namespace parvel
