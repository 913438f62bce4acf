// Any bytes as the second file of the info dialog's compare, against a fixed loaded image;
// and the dumps of an image loaded from the same bytes.
#include <cstdint>
#include <string>

#include "document/DecoderDocument.h"
#include "tests/fixtures/FixtureBuilder.h"
#include "image/HexCompare.h"
#include "tests/support/ScriptedDialogs.h"
#include "image/TextFile.h"

namespace {

const parvel::FirmwareImage& Reference() {
    static const parvel::FirmwareImage image = [] {
        parvel::test::FixtureImage f;
        f.type_code = 0x8;
        f.protocol = parvel::test::FixtureImage::Protocol::Motorola;
        f.id = "3358";
        f.config = "CC01";
        f.eeprom_last = 255;
        f.rom_last_word = 0x7FF;
        parvel::ScriptedDialogs dialogs;
        parvel::DecoderDocument session(dialogs);
        session.LoadHexLines(parvel::SplitLines(parvel::test::BuildHex(f)), "reference.hex");
        return session.image();
    }();
    return image;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0;
    const auto lines = parvel::SplitLines(std::string(reinterpret_cast<const char*>(data), size));
    const parvel::CompareResult r = parvel::CompareWithLines(Reference(), "f1", "f2", lines);
    if (r.completed && r.total() != 0 && r.rom_lines.size() < 4) std::abort();

    parvel::ScriptedDialogs dialogs;
    parvel::DecoderDocument session(dialogs);
    session.LoadHexLines(lines, "fuzz.hex");
    parvel::EepromDump(session.image());
    parvel::RomDump(session.image());
    return 0;
}
