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

// The track address of a decoder that keeps it in its CVs ("F-Dekoder mit CV") instead of grid
// rows. DCC: CV29 bit 5 set selects the long address (CV17 - 192) x 256 + CV18, 1..10239;
// otherwise CV1 holds the short address, 1..127. Motorola: CV1, 1 to the protocol's limit.
struct CvAddress {
    bool long_address = false;  // CV17/18 hold the address, else CV1
    int address = 0;            // what the CVs hold (may lie outside min..max)
    int min = 1;
    int max = 127;              // the range the CVs in use can hold
    std::string label;          // "CV1: Kurze Adresse" / "CV17/18: Lange Adresse"
    std::string name;           // "CV1 (Kurze Adresse)" / "CV17/18 (Lange Adresse)"
    std::string problem;        // why the address is not usable; empty when it is
};

// The CV address of the loaded firmware; nothing when its CV table holds no address (every
// firmware with grid rows) or it was built for no protocol.
std::optional<CvAddress> CvAddressOf(const DecoderDocument& document);

// Stores `address` into the CVs that hold `cv`'s kind of address (CV1, or CV17 and CV18), as the
// CV table stores a typed value. False, with nothing changed, when it lies outside cv.min..max.
bool SetCvAddress(DecoderDocument& document, const CvAddress& cv, int address);

// The lowest and highest address of the shown rows that have one (address 0 is unused), or
// the usable CV address of a decoder that keeps it in CVs; nothing when there is no address.
std::optional<std::pair<int, int>> UsedAddressSpan(const DecoderDocument& document);

// A row's value as the comparisons and the migration name it: "320 grün", "12 F3", "12".
std::string RowValueText(const DecoderDocument& document, int row);

}  // namespace parvel
