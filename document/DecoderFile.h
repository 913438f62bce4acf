#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/DecoderDocument.h"

namespace parvel {

// How loading a decoder file ended, telling a file that could not be read at all from one the
// reader rejected and from one that was read but not recognised.
enum class LoadOutcome { Recognised, NotRecognised, Rejected, Unreadable };

// Reads the file and loads it into the document the way the window does; a read failure is
// shown through `dialogs` with its German message. `open_failure`, when given, receives the
// operating system's reason when the file could not be opened.
LoadOutcome LoadDecoderFile(DecoderDocument& document, Dialogs& dialogs, const std::string& path,
                            std::string* open_failure = nullptr);

// The chip family of a configuration default ("CC01", "CC33"), or nullptr.
const char* ChipName(const std::string& default_config);

// One grid row as the window shows it after recognition: address plus red/green (accessory
// firmwares) or function number.
struct ShownRow {
    int row = 0;
    std::string label;
    int address = 0;
    bool green = false;  // accessory firmwares
    int function = 0;    // function decoders
    std::string stored;  // "12 34 56": stored bytes that match no address; empty otherwise
};

// The rows the window shows for the loaded file, in grid order (none before a complete
// recognition).
std::vector<ShownRow> ShownRows(const DecoderDocument& document);

// The lowest and highest address of the shown rows that have one (address 0 is unused);
// nothing when no row has an address.
std::optional<std::pair<int, int>> UsedAddressSpan(const DecoderDocument& document);

// A row's value as the comparisons and the migration name it: "320 grün", "12 F3", "12".
std::string RowValueText(const DecoderDocument& document, int row);

}  // namespace parvel
