#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "image/FirmwareImage.h"

namespace parvel {

// Where a firmware keeps one setting that an editor interprets: a mode cell, a time-out, a
// blink pattern, a servo curve, the pulse values, a CV. The series, the migration and the
// comparison in decoder terms all work from this one map.
struct DecoderSetting {
    enum class Region { Eeprom, RomLow };
    std::string name;        // as the user knows it, e.g. "Blinkmuster 2", "CV29"
    Region region = Region::Eeprom;
    std::vector<int> cells;  // EEPROM indices, or rom_cells indices (low bytes of words)
    // Name of the part at position i of `cells` ("Schritt 4", "Punkt 12", "Anzahl"); empty
    // for a setting that is one value.
    std::function<std::string(int)> part;

    const HexCell& Cell(const FirmwareImage& image, int i) const {
        return region == Region::Eeprom ? image.eeprom_cells[cells[i]] : image.rom_cells[cells[i]];
    }
    // Same name and same place: the setting means the same in both firmwares.
    bool SamePlace(const DecoderSetting& other) const {
        return name == other.name && region == other.region && cells == other.cells;
    }
};

// The settings the editors of this firmware interpret (none for a firmware without a frame).
std::vector<DecoderSetting> DecoderSettings(std::uint32_t type_code, float version);

// Text a cell change is shown with: "3 -> 7" for single values.
std::string ByteChange(const std::string& before, const std::string& after);

}  // namespace parvel
