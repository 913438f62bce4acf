#pragma once

#include <optional>
#include <string>
#include <vector>

#include "image/FirmwareImage.h"
#include "image/Message.h"

namespace parvel {

// Interprets one upper-cased line into the image: data is stored into the cells, ID and
// configuration records replace id_text / config_text. Returns the message to show when the
// line is rejected (cells of the record before the failing one are already stored).
// `line_number` (from 1) is named in that message; 0 leaves it out.
std::optional<Message> ReadHexRecord(FirmwareImage& image, const std::string& line,
                                     int line_number = 0);

// What is wrong with the checksum of an upper-cased record line, as the text a warning puts in
// brackets ("gelesen 3A, richtig wäre 3B"); nothing when it is right. The record's length is
// taken from its byte count; characters after the checksum are not looked at.
std::optional<std::string> ChecksumProblem(const std::string& line);

// What concerns a HEX file as a whole, noted while its lines are read in order: lines after the
// end record that carry no data, wrong checksums and a missing end record. The loader and the
// info dialog's compare read files alike through it.
class HexFileCheck {
public:
    // True for a line that is not read at all: after the end record an empty line, a comment
    // line starting with ';' (compilers put the chip name or a CRC there) and, as the file's
    // last line, a lone Ctrl+Z (0x1A). Any other line after the end record is read as before.
    bool Skips(const std::string& line, bool last_line) const;
    // Notes a line the reader accepted; `line_number` counts from 1.
    void Accepted(const std::string& line, int line_number);
    // The warnings about the file read, each once: the first wrong checksum (with the number
    // of further ones) and a missing end record.
    std::vector<Message> Warnings() const;

private:
    bool m_end_seen = false;
    int m_first_bad_line = 0;
    std::string m_first_bad_problem;
    int m_bad_lines = 0;
};

}  // namespace parvel
