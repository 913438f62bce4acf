#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Firmware files for the window tests, written with the core's own writer: these tests check
// the window, not the HEX format.
namespace parvel::guitest {

enum class Protocol { None, Motorola, Dcc };

struct Firmware {
    std::uint32_t type_code = 0;  // 0: no movlw words (then cell274 decides)
    int cell274 = -1;             // rom cell 274 (type marker read when no movlw words), -1: erased
    Protocol protocol = Protocol::None;
    std::string id = "3358";  // one hex digit per ID word
    std::string config = "CC01";
    bool chip_630 = true;  // chip marker of the 12F629/16F630 builds
    struct Row {
        int row;
        std::uint8_t b0, b1, b2;
    };
    std::vector<Row> rows;  // code bytes of grid rows (cells c, c+16, c+32)
};

std::string HexText(const Firmware& firmware);
// Writes the file; returns its path.
std::string WriteHex(const std::string& path, const Firmware& firmware);

// Code bytes of a Motorola accessory address (green or red) from the core's table.
Firmware::Row MmAccessoryRow(int row, int address, bool green);

// Ready-made firmwares of the kinds the window distinguishes.
Firmware KlemmoMotorola();      // accessory, one column, additional settings frame
Firmware RelaisDcc();           // accessory, one column with a gap after row 8
Firmware Turntable48Dcc();      // accessory, two columns split after row 15, no frame
Firmware FunctionDecoderDcc();  // function decoder: function fields, white addresses
Firmware ServoDecoderDcc();     // servo decoder: curve editor and address table frames
Firmware BlinkPatternMotorola();

}  // namespace parvel::guitest
