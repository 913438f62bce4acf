#include "HexReader.h"

#include <algorithm>

#include "HexRecord.h"

namespace parvel {

std::optional<Message> ReadHexRecord(FirmwareImage& image, const std::string& line) {
    const HexRecord r = ParseHexRecord(line);
    switch (r.kind) {
        case HexRecord::Kind::Eeprom:
            for (std::size_t k = 0; k < r.cells.size(); ++k) {
                const int cell = r.first + static_cast<int>(k);
                FirmwareImage::SetCell(image.eeprom_cells[cell], r.cells[k]);
                image.eeprom_last = std::max(image.eeprom_last, cell);
            }
            break;
        case HexRecord::Kind::Rom:
            for (std::size_t k = 0; k < r.cells.size(); ++k) {
                const int cell = r.first + static_cast<int>(k);
                FirmwareImage::SetCell(image.rom_cells[cell], r.cells[k]);
                image.rom_last = std::max(image.rom_last, cell);
            }
            break;
        case HexRecord::Kind::Id:
            image.id_text = r.text;
            if (r.whole_id_word) image.id_found = true;
            break;
        case HexRecord::Kind::Config:
            image.config_text = r.text;
            image.config_found = true;
            break;
        case HexRecord::Kind::Ignored:
            break;
    }
    if (r.error != RecordError::None) return RecordErrorMessage(r.error, line, false);
    return std::nullopt;
}

}  // namespace parvel
