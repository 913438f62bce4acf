#include "HexReader.h"

#include <algorithm>

#include "HexRecord.h"

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

std::optional<Message> ReadHexRecord(FirmwareImage& image, const std::string& line) {
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
    if (r.error != RecordError::None) return RecordErrorMessage(r.error, line, false);
    return std::nullopt;
}

}  // namespace parvel
