#include "bench/FullImage.h"

#include "tests/fixtures/FixtureBuilder.h"

namespace parvel::bench {

std::string FullImage() {
    using parvel::test::FixtureImage;
    FixtureImage f;
    f.type_code = 0x30FF;  // 48-position turntable: 28 accessory rows, all searched
    f.protocol = FixtureImage::Protocol::Dcc;
    f.id = "3358";
    f.config = "CC01";
    f.chip_marker = 0x60;
    f.rom_last_word = 0x7FF;
    f.eeprom_last = 255;
    for (int w = 3; w < 0x800; ++w) {
        if (w != 8 && w != 62) f.words[w] = static_cast<uint16_t>((w * 37) & 0x3FFF);
    }
    for (int c = 0; c < 256; ++c) f.eeprom[c] = static_cast<uint8_t>(c);
    // rows 4..31 hold DCC codes of high addresses, so the lookups go deep into the table
    static const uint8_t kCodes[][3] = {{0x31, 0x1C, 0xFD}, {0x30, 0x1E, 0xFD}, {0x37, 0x10, 0xFD}};
    for (int r = 4; r <= 31; ++r) {
        const auto& c = kCodes[r % 3];
        parvel::test::SetRow(f, r, c[0], c[1], c[2]);
    }
    return parvel::test::BuildHex(f);
}

}  // namespace parvel::bench
