#include "workflows/DecoderDiff.h"

#include <cstdio>
#include <set>

#include "document/DecoderFile.h"
#include "workflows/DecoderSettings.h"

namespace parvel {

namespace {

std::string Hex(const char* format, int value) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, value);
    return buf;
}

std::string Describe(const DecoderDocument& s) {
    std::string name = s.entry() ? s.entry()->name : Hex("unbekannte Firmware 0x%06X", static_cast<int>(s.type_code()));
    return s.status_text(3) + ": " + name + ", V " + s.version_text() + ", " + s.status_text(2);
}

}  // namespace

DecoderDiffResult DiffInDecoderTerms(const DecoderDocument& first, const DecoderDocument& second) {
    DecoderDiffResult out;
    const FirmwareImage& a = first.image();
    const FirmwareImage& b = second.image();
    out.lines.push_back("Datei 1 = " + Describe(first));
    out.lines.push_back("Datei 2 = " + Describe(second));
    if (first.type_code() != second.type_code()) {
        out.lines.push_back("Verschiedene Firmware: die Einstellungen werden nach Datei 1 gedeutet.");
        ++out.differences;
    }

    // Cells an editor or the grid interprets; only the others are listed as raw bytes.
    std::set<int> eeprom_read, rom_read;

    out.lines.push_back("");
    out.lines.push_back("Raster:");
    const std::size_t rows_start = out.lines.size();
    if (first.kind() != DecoderKind::None) {
        for (int r = 1; r < kGridRows; ++r) {
            if (!first.row(r).exists() && !second.row(r).exists()) continue;
            const int c = DecoderDocument::BaseCell(r);
            eeprom_read.insert({c, c + 16, c + 32});
            const std::string before = first.row(r).exists() ? RowValueText(first, r) : "-";
            const std::string after = second.row(r).exists() ? RowValueText(second, r) : "-";
            if (before == after) continue;
            const std::string& label = first.row(r).exists() ? first.row(r).label : second.row(r).label;
            out.lines.push_back("  " + label + ": " + before + " -> " + after);
            ++out.differences;
        }
    }
    if (out.lines.size() == rows_start) out.lines.push_back("  keine Unterschiede");

    out.lines.push_back("");
    out.lines.push_back("Einstellungen:");
    const std::size_t settings_start = out.lines.size();
    for (const DecoderSetting& s : DecoderSettings(first.type_code(), first.version())) {
        std::vector<std::string> parts;
        std::string last_part;
        for (std::size_t i = 0; i < s.cells.size(); ++i) {
            (s.region == DecoderSetting::Region::Eeprom ? eeprom_read : rom_read).insert(s.cells[i]);
            const HexCell& x = s.Cell(a, static_cast<int>(i));
            const HexCell& y = s.Cell(b, static_cast<int>(i));
            if (x == y) continue;
            if (!s.part) {
                parts.push_back(ByteChange(x, y));
                continue;
            }
            const std::string part = s.part(static_cast<int>(i));
            if (part == last_part) continue;  // a step held in two bytes counts once
            last_part = part;
            parts.push_back(part + " (" + ByteChange(x, y) + ")");
        }
        if (parts.empty()) continue;
        std::string line = "  " + s.name + ": ";
        for (std::size_t k = 0; k < parts.size(); ++k) line += (k ? ", " : "") + parts[k];
        out.lines.push_back(line);
        ++out.differences;
    }
    if (out.lines.size() == settings_start) out.lines.push_back("  keine Unterschiede");

    out.lines.push_back("");
    out.lines.push_back("Weitere Bytes:");
    const std::size_t raw_start = out.lines.size();
    if (a.id_text != b.id_text) {
        out.lines.push_back("  ID: File1:0x" + a.id_text + " - File2:0x" + b.id_text);
        ++out.differences;
    }
    if (a.config_text != b.config_text) {
        out.lines.push_back("  CONFIG: File1:0x" + a.config_text + " - File2:0x" + b.config_text);
        ++out.differences;
    }
    const int ee_last = std::max(a.eeprom_last, b.eeprom_last);
    for (int i = 0; i <= ee_last && i < kEepromCells; ++i) {
        if (eeprom_read.count(i) || a.eeprom_cells[i] == b.eeprom_cells[i]) continue;
        out.lines.push_back("  EE" + Hex("0x%02x", i) + ": File1:0x" + a.eeprom_cells[i] + " - File2:0x" +
                            b.eeprom_cells[i]);
        ++out.differences;
    }
    const int rom_last = std::max(a.rom_last, b.rom_last);
    for (int i = 0; i <= rom_last && i < kRomCells; ++i) {
        if (rom_read.count(i) || a.rom_cells[i] == b.rom_cells[i]) continue;
        out.lines.push_back("  ROM " + Hex("0x%04x", i) + ": File1:0x" + a.rom_cells[i] + " - File2:0x" +
                            b.rom_cells[i]);
        ++out.differences;
    }
    if (out.lines.size() == raw_start) out.lines.push_back("  keine Unterschiede");
    // Raw cells and names come from the files and need not be text.
    for (auto& line : out.lines) line = ReadableText(line);
    return out;
}

}  // namespace parvel
