#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/FirmwareImage.h"
#include "settings/ServoPages.h"

namespace parvel {

// Settings of the curve editor around the curves: the variant per firmware, the push-button
// actions, the button mode and threshold cells, the rules of its typed fields and its texts.

constexpr std::uint32_t kTypeTorv4 = 0xD3;             // "Torv-4 Servo-Dekoder"
constexpr std::uint32_t kTypeTorvik = 0xD2;            // "Torvik Servo-Dekoder"
constexpr std::uint32_t kTypeTorvikThreshold = 0x1D2;  // "Torvik Servo-Dekoder ab V3.58"
constexpr std::uint32_t kTypeTorvikFunction = 0x4200;  // "Torvik Servo-Dekoder (F-Dekoder)"

// What the curve editor shows for a firmware. The Torv-4 layout serves every code not listed.
struct TorvVariant {
    bool relay_lane = true;  // relay lane, its label and the button-mode group
    bool threshold = false;  // threshold caption, field and spinner
    // Labels beside the four button lists, s1c, s1o, s2c, s2o.
    std::array<std::string, 4> button_labels;
    std::vector<std::string> first_button_items;   // servo_cbx_s1c, servo_cbx_s1o
    std::vector<std::string> second_button_items;  // servo_cbx_s2c, servo_cbx_s2o
};
TorvVariant TorvVariantFor(std::uint32_t type_code);

// Button list b (0 = s1c, 1 = s1o, 2 = s2c, 3 = s2o) keeps its action in offset 110 of page b.
// Lowest set bit k selects item k + 1; 0 selects item 0; -1 (no selection) when that item
// lies beyond the list's `item_count`.
int ButtonItemFromByte(std::uint8_t byte, int item_count);
// Item 1..8 gives 1 << (item - 1); item 0 and no selection give 0.
std::uint8_t ButtonByteFromItem(int item);
int ButtonItem(const ServoPages& pages, int button, int item_count);
void SetButtonItem(ServoPages& pages, int button, int item);

// Button mode, EEPROM cell 0x00: "01" is "Lernen + Justage", any other text "Servo-Bedienung".
constexpr int kButtonModeCell = 0x00;
bool IsLearnMode(const FirmwareImage& image);
// Writes "01" for learn mode, "F0" for servo operation. Like every EEPROM write of the servo
// frames it goes through StoreEepromCell, so the cell is saved even beyond the loaded eeprom_last.
void WriteButtonMode(FirmwareImage& image, bool learn);

// Relay threshold of output X7 (type code 0x1D2), EEPROM cell 0x30.
constexpr int kThresholdCell = 0x30;
constexpr int kMaxThreshold = 127;
int ReadThreshold(const FirmwareImage& image);
// Clamps to 0..127, writes the cell and returns the value written.
int WriteThreshold(FirmwareImage& image, long long threshold);

// The typed fields. An empty field does nothing; a rejected text shows its message (a warning
// with one Cancel button) and stores nothing; an accepted one carries the value to store.
enum class ServoFieldVerdict { Empty, Rejected, Accepted };
struct ServoIntegerEntry {
    ServoFieldVerdict verdict = ServoFieldVerdict::Empty;
    int value = 0;  // clamped to the field's range
};
struct ServoDecimalEntry {
    ServoFieldVerdict verdict = ServoFieldVerdict::Empty;
    double value = 0.0;
};

extern const char* const kPointCountInputMessage;  // "Ungültige Eingabe.\rZugelassen ... 1..100"
extern const char* const kStretchInputMessage;     // ".. 1..200"
extern const char* const kScaleInputMessage;       // ".. 0.1 .. 10"
extern const char* const kShiftInputMessage;       // ".. -100 .. 100"
extern const char* const kThresholdCaption;        // "Schwellwert Ausgang X7"
std::string ThresholdInputMessage();               // "Ungültige Eingabe für <caption> "

// Whole numbers, clamped: point count 1..100, stretch 1..200, threshold 0..127.
ServoIntegerEntry ReadPointCountEntry(const std::string& text);
ServoIntegerEntry ReadStretchEntry(const std::string& text);
ServoIntegerEntry ReadThresholdEntry(const std::string& text);
// Decimal numbers in the user's locale, refused outside 0.1..10 (scale) and -100..100 (shift).
ServoDecimalEntry ReadScaleEntry(const std::string& text, char decimal_separator);
ServoDecimalEntry ReadShiftEntry(const std::string& text, char decimal_separator);

// "Zeit zwischen 2 Punkten = <S*20> ms" and "Gesamtzeit für diese Kurve = <(N-1)*S*20> ms".
std::array<std::string, 2> CurveInfoTexts(long long point_count, long long stretch);

}  // namespace parvel
