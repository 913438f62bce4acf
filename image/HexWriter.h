#pragma once

#include <string>

#include "image/FirmwareImage.h"
#include "image/Message.h"

namespace parvel {

// Checksum of a record given without colon and checksum: two upper-case hex digits, the two's
// complement of the low byte of the byte sum; "error" when a pair is not a hex number.
std::string RecordChecksum(const std::string& record);

// Rebuilds image.hex_lines from the image in the normal record layout (extended address record,
// program memory through rom_last in 16-byte records, ID, configuration when there is one, data
// EEPROM through eeprom_last in 8-cell records, end record) and returns the number of lines.
// Records of an image loaded from a file (keep_gaps) are cut where the file had no bytes. Returns 0 when a
// record cannot be built (a cell or text that is not hex digits); `failure` then holds the
// message to show, and nothing must be written from hex_lines.
int WriteHexLines(FirmwareImage& image, Message* failure = nullptr);

// The lines 0 .. line_count-1 of hex_lines as file text, CR LF after every line.
std::string HexFileText(const FirmwareImage& image);

}  // namespace parvel
