#pragma once

#include <optional>
#include <string>
#include <vector>

#include "image/FirmwareImage.h"
#include "image/Message.h"
#include "image/TextFile.h"

namespace parvel {

// Hex dumps of the image as the info dialog lists them: 16 cells per line, a space after the
// eighth, the first cell's index as label ("0x010:" for EEPROM, "0x0010:" for program memory).
// The program memory dump puts a line holding one space before every block of 0x100 bytes.
std::vector<std::string> EepromDump(const FirmwareImage& image);
std::vector<std::string> RomDump(const FirmwareImage& image);

// Comparison of the image with a second HEX file: every cell of the second file that differs.
struct CompareResult {
    std::vector<std::string> eeprom_lines;  // the EEPROM list (left)
    std::vector<std::string> rom_lines;     // program memory, ID and configuration list (right)
    std::string status_file1;               // "File 1 = ..."; empty when the file was not read
    std::string status_file2;               // "File 2 = ..."
    int eeprom_differences = 0;
    int rom_differences = 0;
    int id_differences = 0;
    int config_differences = 0;
    ReadFailure read_failure = ReadFailure::None;  // the second file could not be read
    bool completed = false;                 // every line accepted; the summary lines were added
    std::optional<Message> message;         // a rejected line, or the file could not be read

    int total() const {
        return eeprom_differences + rom_differences + id_differences + config_differences;
    }
};

// Reads `path` and compares it with the image. `file1_name` is the loaded file's name as the
// main window's file-name panel shows it.
CompareResult CompareWithFile(const FirmwareImage& image, const std::string& file1_name,
                              const std::string& path);

// The same for lines already read (each is upper-cased here).
CompareResult CompareWithLines(const FirmwareImage& image, const std::string& file1_name,
                               const std::string& path, const std::vector<std::string>& lines);

}  // namespace parvel
