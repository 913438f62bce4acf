#include "image/HexCompare.h"

#include <algorithm>
#include <cstdio>

#include "image/HexReader.h"
#include "image/HexRecord.h"
#include "image/TextFile.h"

namespace parvel {

namespace {

std::vector<std::string> Dump(const std::array<HexCell, kRomCells>* rom,
                              const std::array<HexCell, kEepromCells>* ee, int last) {
    std::vector<std::string> lines;
    for (int start = 0; start <= last; start += 16) {
        char label[16];
        if (rom) {
            if (start > 0 && start % 0x100 == 0) lines.emplace_back(" ");
            std::snprintf(label, sizeof label, "0x%04X:", static_cast<unsigned>(start));
        } else {
            std::snprintf(label, sizeof label, "0x%03X:", static_cast<unsigned>(start));
        }
        std::string line = label;
        for (int k = 0; k < 16 && start + k <= last; ++k) {
            if (k == 8) line += ' ';
            line += rom ? (*rom)[start + k] : (*ee)[start + k];
        }
        // Cells hold whatever the file had at their place, which need not be text.
        lines.push_back(ReadableText(line));
    }
    return lines;
}

std::string Hex(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x", static_cast<unsigned>(value));
    return buf;
}

std::string Count(int value, const char* text) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%4d", value);
    return buf + std::string(text);
}

}  // namespace

std::vector<std::string> EepromDump(const FirmwareImage& image) {
    return Dump(nullptr, &image.eeprom_cells, std::min(image.eeprom_last, kEepromCells - 1));
}

std::vector<std::string> RomDump(const FirmwareImage& image) {
    return Dump(&image.rom_cells, nullptr, std::min(image.rom_last, kRomCells - 1));
}

CompareResult CompareWithFile(const FirmwareImage& image, const std::string& file1_name,
                              const std::string& path) {
    const LinesResult read = ReadTextLines(path, kMaxHexLines);
    if (!read.ok()) {
        CompareResult result;
        result.read_failure = read.failure;
        result.message = Message{ReadFailureText(read, path),
                                 read.failure == ReadFailure::CannotOpen ? Icon::Information
                                                                         : Icon::Warning,
                                 Buttons::Ok};
        return result;
    }
    return CompareWithLines(image, file1_name, path, read.lines);
}

CompareResult CompareWithLines(const FirmwareImage& image, const std::string& file1_name,
                               const std::string& path, const std::vector<std::string>& lines) {
    CompareResult result;
    if (lines.size() > static_cast<std::size_t>(kMaxHexLines)) {
        LinesResult too_many;
        too_many.failure = ReadFailure::TooManyLines;
        too_many.max_lines = kMaxHexLines;
        result.read_failure = ReadFailure::TooManyLines;
        result.message = Message{ReadFailureText(too_many, path), Icon::Warning, Buttons::Ok};
        return result;
    }
    result.status_file1 = ReadableText("File 1 = " + file1_name);
    result.eeprom_lines.emplace_back("");
    result.status_file2 = ReadableText("File 2 = " + path);

    HexFileCheck check;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string line = UpperCaseLine(lines[n]);
        if (check.Skips(line, n + 1 == lines.size())) continue;
        const HexRecord r = ParseHexRecord(line);
        switch (r.kind) {
            case HexRecord::Kind::Eeprom:
                for (std::size_t k = 0; k < r.cells.size(); ++k) {
                    const int i = r.first + static_cast<int>(k);
                    if (image.eeprom_cells[i] == r.cells[k]) continue;
                    const char* prefix = i < 16 ? "0x0" : "0x";
                    result.eeprom_lines.push_back(ReadableText("EE" + std::string(prefix) + Hex(i) +
                                                               ": File1:0x" + image.eeprom_cells[i] +
                                                               " - File2:0x" + std::string(r.cells[k])));
                    ++result.eeprom_differences;
                }
                break;
            case HexRecord::Kind::Rom:
                for (std::size_t k = 0; k < r.cells.size(); ++k) {
                    const int a = r.first + static_cast<int>(k);
                    if (image.rom_cells[a] == r.cells[k]) continue;
                    const char* prefix = a < 16 ? "0x000" : a < 256 ? "0x00" : "0x0";
                    result.rom_lines.push_back(ReadableText("ROM " + std::string(prefix) + Hex(a) +
                                                            ": File1:0x" + image.rom_cells[a] +
                                                            " - File2:0x" + std::string(r.cells[k])));
                    ++result.rom_differences;
                }
                break;
            case HexRecord::Kind::IdConfig:
                if (r.has_id && r.id_text != image.id_text) {
                    result.rom_lines.emplace_back(" ");
                    result.rom_lines.push_back(
                        ReadableText("ID: File1:0x" + image.id_text + " - File2:0x" + r.id_text));
                    ++result.id_differences;
                }
                if (r.has_config && r.config_text != image.config_text) {
                    result.rom_lines.emplace_back(" ");
                    result.rom_lines.push_back(ReadableText("CONFIG: File1:0x" + image.config_text +
                                                            " - File2:0x" + r.config_text));
                    ++result.config_differences;
                }
                break;
            case HexRecord::Kind::Ignored:
                break;
        }
        if (r.error != RecordError::None) {
            result.message = RecordErrorMessage(r.error, line, true, static_cast<int>(n) + 1);
            return result;
        }
        check.Accepted(line, static_cast<int>(n) + 1);
    }
    result.eeprom_lines.emplace_back(" ");
    result.rom_lines.emplace_back(" ");
    result.eeprom_lines.push_back(Count(result.eeprom_differences, " gefundene Unterschiede im EEprom"));
    result.rom_lines.push_back(Count(result.rom_differences, " gefundene Unterschiede im ROM"));
    result.rom_lines.push_back(Count(result.id_differences, " gefundene Unterschiede in ID"));
    result.rom_lines.push_back(Count(result.config_differences, " gefundene Unterschiede in Config"));
    result.completed = true;
    return result;
}

}  // namespace parvel
