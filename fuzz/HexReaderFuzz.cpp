// Any bytes as a HEX file: load, recognise, run the save flow up to the file dialog, write.
// Property: a file the writer produced reads back to the same cells, ID and configuration.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/DecoderDocument.h"
#include "image/HexReader.h"
#include "image/HexWriter.h"
#include "tests/support/ScriptedDialogs.h"
#include "image/TextFile.h"

namespace {

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

void CheckWriterRoundTrip(const parvel::FirmwareImage& loaded) {
    parvel::FirmwareImage written = loaded;
    if (parvel::WriteHexLines(written) == 0) return;  // refused: damaged cells, nothing written
    parvel::FirmwareImage back;
    back.Reset();
    for (int i = 0; i < written.line_count; ++i) {
        Check(!parvel::ReadHexRecord(back, written.hex_lines[i]), "reader rejects a written line");
    }
    Check(back.rom_last == loaded.rom_last, "rom_last");
    Check(back.eeprom_last == loaded.eeprom_last, "eeprom_last");
    for (int a = 0; a <= loaded.rom_last; ++a) Check(back.rom_cells[a] == loaded.rom_cells[a], "rom cell");
    for (int c = 0; c <= loaded.eeprom_last; ++c) {
        Check(back.eeprom_cells[c] == loaded.eeprom_cells[c], "eeprom cell");
    }
    Check(back.id_text == loaded.id_text.substr(0, 4), "id_text");
    Check(back.config_text == loaded.config_text, "config_text");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto lines = parvel::SplitLines(text);

    parvel::ScriptedDialogs dialogs;
    dialogs.fallback = size % 2 ? parvel::Answer::Yes : parvel::Answer::Ignore;
    parvel::DecoderDocument session(dialogs);
    const bool loaded = session.LoadHexLines(lines, "fuzz.hex");
    if (lines.size() > parvel::kMaxHexLines) return 0;

    CheckWriterRoundTrip(session.image());
    if (loaded) {
        dialogs.save_names.push_back(std::nullopt);  // stop at the file dialog
        session.Save();
    }
    return 0;
}
