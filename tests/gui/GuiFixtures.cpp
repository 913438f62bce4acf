#include "tests/gui/GuiFixtures.h"

#include <stdexcept>

#include "catalogue/CodeTables.h"
#include "document/DecoderDocument.h"
#include "image/FirmwareImage.h"
#include "image/HexWriter.h"
#include "image/TextFile.h"

namespace parvel::guitest {

std::string HexText(const Firmware& f) {
    const auto& names = hex_byte_names();
    FirmwareImage image;
    image.Reset();
    if (f.type_code != 0) {
        for (int i = 0; i < 3; ++i) {
            image.rom_cells[2 * i] = names[(f.type_code >> (8 * i)) & 0xFF];
            image.rom_cells[2 * i + 1] = "30";
        }
    }
    if (f.protocol == Protocol::Motorola) {
        image.rom_cells[16] = "8B";
        image.rom_cells[17] = "1C";
    } else if (f.protocol == Protocol::Dcc) {
        image.rom_cells[16] = "05";
        image.rom_cells[17] = "19";
    }
    if (f.chip_630) image.rom_cells[124] = "60";
    image.rom_last = 127;
    if (f.cell274 >= 0) {
        image.rom_cells[274] = names[f.cell274];  // the cell recognition reads
        image.rom_last = 287;
    }
    image.id_text = f.id;
    image.config_text = f.config;
    image.eeprom_last = 127;
    for (const Firmware::Row& r : f.rows) {
        const int c = DecoderDocument::BaseCell(r.row);
        image.eeprom_cells[c] = names[r.b0];
        image.eeprom_cells[c + 16] = names[r.b1];
        image.eeprom_cells[c + 32] = names[r.b2];
    }
    Message failure;
    if (WriteHexLines(image, &failure) == 0) throw std::runtime_error(failure.text);
    return HexFileText(image);
}

std::string WriteHex(const std::string& path, const Firmware& firmware) {
    const WriteResult written = AtomicWriteFile(path, HexText(firmware));
    if (!written.ok) throw std::runtime_error(written.error);
    return path;
}

Firmware::Row MmAccessoryRow(int row, int address, bool green) {
    const std::string& code = CodeTables::Instance().mm_accessory_codes[address];
    const std::string text = green ? code : CodeTables::MmRedCode(code);
    auto byte = [&](int i) {
        return static_cast<std::uint8_t>(HexByteValue(text.substr(2 * i, 2)));
    };
    return {row, byte(0), byte(1), byte(2)};
}

Firmware KlemmoMotorola() {
    Firmware f;
    f.type_code = 0x8;
    f.protocol = Protocol::Motorola;
    f.rows = {MmAccessoryRow(1, 1, true), MmAccessoryRow(2, 5, false)};
    return f;
}

Firmware RelaisDcc() {
    Firmware f;
    f.type_code = 0x69;
    f.protocol = Protocol::Dcc;
    return f;
}

Firmware Turntable48Dcc() {
    Firmware f;
    f.cell274 = 0x2F;
    f.protocol = Protocol::Dcc;
    f.chip_630 = false;
    return f;
}

Firmware FunctionDecoderDcc() {
    Firmware f;
    f.type_code = 0x13D00;
    f.protocol = Protocol::Dcc;
    f.rows = {{1, 0x81, 0x2C, 0xC1}, {2, 0x84, 0x05, 0x00}};
    return f;
}

Firmware ServoDecoderDcc() {
    Firmware f;
    f.type_code = 0xD2;
    f.protocol = Protocol::Dcc;
    return f;
}

Firmware BlinkPatternMotorola() {
    Firmware f;
    f.type_code = 0x1;
    f.protocol = Protocol::Motorola;
    return f;
}

}  // namespace parvel::guitest
