#include "settings/TorvSettings.h"

#include <algorithm>

#include "settings/NumberInput.h"
#include "settings/NumberText.h"

namespace parvel {
namespace {

std::vector<std::string> AddressItems(const std::string& first, int addresses) {
    std::vector<std::string> items{first};
    for (int a = 1; a <= addresses; ++a) items.push_back("wie Adr." + std::to_string(a));
    return items;
}

ServoIntegerEntry ReadInteger(const std::string& text, long long low, long long high) {
    ServoIntegerEntry e;
    if (text.empty()) return e;
    const auto value = ParseWholeNumber(text);
    if (!value) {
        e.verdict = ServoFieldVerdict::Rejected;
        return e;
    }
    e.verdict = ServoFieldVerdict::Accepted;
    e.value = static_cast<int>(std::clamp(*value, low, high));
    return e;
}

ServoDecimalEntry ReadDecimal(const std::string& text, char separator, double low, double high) {
    ServoDecimalEntry e;
    if (text.empty()) return e;
    const auto value = ParseLocaleDecimal(text, separator);
    if (!value || *value < low || *value > high) {
        e.verdict = ServoFieldVerdict::Rejected;
        return e;
    }
    e.verdict = ServoFieldVerdict::Accepted;
    e.value = *value;
    return e;
}

}  // namespace

TorvVariant TorvVariantFor(std::uint32_t type_code) {
    TorvVariant v;
    const bool torvik = type_code == kTypeTorvik || type_code == kTypeTorvikThreshold ||
                        type_code == kTypeTorvikFunction;
    if (!torvik) {
        v.relay_lane = true;
        v.threshold = false;
        v.button_labels = {"Taster 1 close", "Taster 1 open", "Taster 2 close", "Taster 2 open"};
        v.first_button_items = AddressItems("keine Aktion", 8);
        v.second_button_items = AddressItems("Adr.-Lernen", 8);
        return v;
    }
    v.relay_lane = false;
    v.threshold = type_code == kTypeTorvikThreshold;
    v.button_labels = {"Taster 3 close", "Taster 3 open", "Taster 4 close", "Taster 4 open"};
    v.first_button_items = AddressItems("keine Aktion", 4);
    v.second_button_items = v.first_button_items;
    return v;
}

int ButtonItemFromByte(std::uint8_t byte, int item_count) {
    int item = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if (byte & (1u << bit)) {
            item = bit + 1;
            break;
        }
    }
    return item < item_count ? item : -1;
}

std::uint8_t ButtonByteFromItem(int item) {
    return item >= 1 && item <= 8 ? static_cast<std::uint8_t>(1u << (item - 1)) : 0;
}

int ButtonItem(const ServoPages& pages, int button, int item_count) {
    return ButtonItemFromByte(pages.at(button, kOffsetButtonAction), item_count);
}

void SetButtonItem(ServoPages& pages, int button, int item) {
    pages.set(button, kOffsetButtonAction, ButtonByteFromItem(item));
}

bool IsLearnMode(const FirmwareImage& image) { return image.eeprom_cells[kButtonModeCell] == "01"; }

void WriteButtonMode(FirmwareImage& image, bool learn) {
    StoreEepromCell(image, kButtonModeCell, learn ? "01" : "F0");
}

int ReadThreshold(const FirmwareImage& image) {
    return HexByteValue(image.eeprom_cells[kThresholdCell]);
}

int WriteThreshold(FirmwareImage& image, long long threshold) {
    const int t = static_cast<int>(std::clamp<long long>(threshold, 0, kMaxThreshold));
    StoreEepromCell(image, kThresholdCell, hex_byte_names()[t]);
    return t;
}

const char* const kPointCountInputMessage =
    "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..100";
const char* const kStretchInputMessage =
    "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..200";
const char* const kScaleInputMessage =
    "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 0.1 .. 10";
const char* const kShiftInputMessage =
    "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich -100 .. 100";
const char* const kThresholdCaption = "Schwellwert Ausgang X7";

std::string ThresholdInputMessage() {
    return std::string("Ungültige Eingabe für <") + kThresholdCaption + "> ";
}

ServoIntegerEntry ReadPointCountEntry(const std::string& text) {
    return ReadInteger(text, 1, kMaxCurvePoints);
}

ServoIntegerEntry ReadStretchEntry(const std::string& text) {
    return ReadInteger(text, 1, kMaxStretch);
}

ServoIntegerEntry ReadThresholdEntry(const std::string& text) {
    return ReadInteger(text, 0, kMaxThreshold);
}

ServoDecimalEntry ReadScaleEntry(const std::string& text, char decimal_separator) {
    return ReadDecimal(text, decimal_separator, 0.1, 10.0);
}

ServoDecimalEntry ReadShiftEntry(const std::string& text, char decimal_separator) {
    return ReadDecimal(text, decimal_separator, -100.0, 100.0);
}

std::array<std::string, 2> CurveInfoTexts(long long point_count, long long stretch) {
    return {
        "Zeit zwischen 2 Punkten = " + std::to_string(stretch * 20) + " ms",
        "Gesamtzeit für diese Kurve = " + std::to_string((point_count - 1) * stretch * 20) + " ms"};
}

}  // namespace parvel
