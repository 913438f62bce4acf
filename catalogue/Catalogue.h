#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace parvel {

constexpr int kGridRows = 48;  // row 0 exists but is never labelled or shown

// A: each row is a three-byte accessory code with a red/green choice. F: each row is a decoder
// address plus a function number. None: rows show fields but nothing is read or stored.
enum class DecoderKind { Accessory, Function, None };

// Feature frame shown for a firmware; the values are the frame codes of the main window.
enum FrameCode : int {
    kFrameNone = 0,
    kFrameZusatz = 1,
    kFrameBlinkmuster = 2,
    kFrameBlinkmusterLed = 3,
    kFrameTorv = 4,
    kFrameRegister = 6,
};

constexpr int kOneColumn = 99;  // split value of the one-column grid layout

struct DecoderType {
    std::uint32_t type_code = 0;
    std::string name;
    DecoderKind kind = DecoderKind::None;
    std::array<std::string, kGridRows> labels;  // rows 1..47; empty = the row does not exist
    int split = kOneColumn;  // two columns split after this row, or kOneColumn
    int gap = 0;             // one column: row after which the next row is placed lower
    int frame = kFrameNone;
    std::string default_config;  // "CC01" for the turntables, else derived from program memory
    std::string doc_page;        // documentation page of the firmware family (file name)
};

// The fixed list of supported firmwares, in the order of the product documentation.
const std::vector<DecoderType>& Catalogue();

// The entry with this type code, or nullptr.
const DecoderType* FindDecoderType(std::uint32_t type_code);

const char* KindName(DecoderKind kind);  // "A", "F", "none"

}  // namespace parvel
