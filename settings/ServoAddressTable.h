#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "settings/ServoPages.h"

namespace parvel {

// The address table of the servo decoders: eight address rows (0..7) with their servo, action,
// curve and relay lists, and the four flag bits of each servo, all kept in the servo pages.

constexpr int kAddressRows = 8;
constexpr int kAddressListItems = 4;

// 0 if bit 0 of x is set, else 1 if bit 1 is set, .. 7 if bit 7 is set; 0 when no bit is set.
int OneHotIndex(int x);
// 1 << i for i = 0..7, else 0.
int IndexBit(int i);

// Where row r keeps its two bytes: rows 0..3 at page r offsets 103/104, rows 4..7 at page r - 4
// offsets 106/107.
struct AddressRowPlace {
    int page = 0;
    int servo_action_offset = 0;
    int curve_relay_offset = 0;
};
AddressRowPlace AddressRowPlaceOf(int row);

// Servo: low nibble of the servo and action byte, items 0..3 = 0x01, 0x02, 0x04, 0x08.
// Action: high nibble of that byte, "Start" 0x00, "Start Loop" 0x10, "Abbruch" 0x20,
//         "Beenden" 0x40.
// Curve:  high nibble of the curve and relay byte, items 0..3 = 0x10, 0x20, 0x40, 0x80.
// Relay:  low nibble of that byte, items 0..3 = 0x01, 0x02, 0x04, 0x08.
enum class AddressField { Servo, Action, Curve, Relay };

// Item shown for a stored byte (0..7 by OneHotIndex; the servo field reads the whole byte).
int DecodeAddressField(std::uint8_t byte, AddressField field);
// The byte with the field's nibble replaced by item's bits, the other nibble kept. Item -1 (no
// selection) clears the nibble, which reads back as the first item.
std::uint8_t EncodeAddressField(std::uint8_t byte, AddressField field, int item);

// The list selection of a row: the decoded item, or -1 (no selection) when it lies beyond the
// list's four items.
int AddressItem(const ServoPages& pages, int row, AddressField field);
void SetAddressItem(ServoPages& pages, int row, AddressField field, int item);

// Flag bits of servo s at offset 100 of page s; the other bits are kept.
enum class ServoFlag : std::uint8_t {
    VoltageOff = 0x02,   // "Spannung aus"
    PulsesOff = 0x04,    // "Impulse aus"
    NoInterrupt = 0x40,  // "keine Unterbrechung"
    NoRepeat = 0x80,     // "keine Wiederholung"
};
bool HasServoFlag(const ServoPages& pages, int servo, ServoFlag flag);
void SetServoFlag(ServoPages& pages, int servo, ServoFlag flag, bool on);

// Layout of the address table per firmware. `four_servos` shows servo groups 2..4, the servo
// and relay lists and rows 4..7; without it only rows 0..3 with their action and curve lists and
// servo group 1 are shown, and the hidden fields keep their bytes. Codes not listed take the
// Torv-4 layout, as in the curve editor.
struct TorvAdrVariant {
    std::array<std::string, kAddressRows> row_labels;
    bool four_servos = true;
};
TorvAdrVariant TorvAdrVariantFor(std::uint32_t type_code);

// Visibility of the curve and relay lists from the rows' action items (-1 = no selection): a
// curve list shows while its action is "Start" or "Start Loop" (or none). Rows 4..7 follow the
// same rule and every relay list follows its row's curve list only with four servos; otherwise
// the relay lists and rows 4..7 stay hidden.
struct CurveListVisibility {
    std::array<bool, kAddressRows> curve{};
    std::array<bool, kAddressRows> relay{};
};
CurveListVisibility CurveVisibilityFor(const std::array<int, kAddressRows>& action_items,
                                       bool four_servos);

}  // namespace parvel
