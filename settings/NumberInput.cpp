#include "settings/NumberInput.h"

#include <algorithm>

#include "settings/NumberText.h"

namespace parvel {

namespace {
constexpr const char* kNotANumber = "Ungültige Eingabe.\rZugelassen sind nur Zahlen";
}  // namespace

Message NotANumberMessage() { return {kNotANumber, Icon::Warning, Buttons::Cancel}; }

Message RangeMessage(int minimum, int maximum) {
    return {std::string(kNotANumber) + " im Werte-Bereich " + std::to_string(minimum) + ".." +
                std::to_string(maximum),
            Icon::Warning, Buttons::Cancel};
}

NumberInput CheckNumberInput(const std::string& text, int minimum, int maximum) {
    NumberInput result;
    if (text.find_first_not_of(" \t") == std::string::npos) return result;
    result.verdict = NumberInput::Verdict::Rejected;
    // Long digit runs saturate, so they fail the range check as the large numbers they are.
    const std::optional<long long> value = ParseWholeNumber(text);
    if (!value) {
        result.message = NotANumberMessage();
        result.refocus = true;
        return result;
    }
    if (*value < minimum || *value > maximum) {
        result.message = RangeMessage(minimum, maximum);
        return result;
    }
    result.verdict = NumberInput::Verdict::Accepted;
    result.value = static_cast<int>(*value);
    return result;
}

ShownValue ShowStoredValue(int stored, int minimum, int maximum) {
    ShownValue shown;
    shown.value = std::clamp(stored, minimum, maximum);
    if (shown.value != stored) {
        shown.note = "gespeichert: " + std::to_string(stored) + ", wird " + std::to_string(shown.value);
    }
    return shown;
}

void StoreEepromCell(FirmwareImage& image, int cell, const std::string& text) {
    image.eeprom_cells.at(static_cast<std::size_t>(cell)) = text;
    image.eeprom_last = std::max(image.eeprom_last, cell);
}

}  // namespace parvel
