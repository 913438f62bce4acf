#include "settings/ServoPulses.h"

#include <algorithm>

#include "settings/NumberInput.h"
#include "settings/NumberText.h"

namespace parvel {

void ReadPulseValues(const FirmwareImage& image, PulseValues& values) {
    const auto& names = hex_byte_names();
    for (int i = 0; i < 8; ++i) {
        const std::string text = image.eeprom_cells[kPulseFirstCell + i];
        const auto found = std::find(names.begin(), names.end(), text);
        if (found == names.end()) continue;
        const int v = static_cast<int>(found - names.begin());
        if (i % 2 == 0) {
            values.pulse_min[i / 2] = v;
        } else {
            values.pulse_span[i / 2] = v;
        }
    }
}

void WritePulseValues(const PulseValues& values, FirmwareImage& image) {
    const auto& names = hex_byte_names();
    for (int s = 0; s < 4; ++s) {
        StoreEepromCell(image, kPulseFirstCell + 2 * s,
                        names[std::clamp(values.pulse_min[s], 0, 255)]);
        StoreEepromCell(image, kPulseFirstCell + 2 * s + 1,
                        names[std::clamp(values.pulse_span[s], 0, 255)]);
    }
}

void ApplyServoEdits(const ServoPages& pages, const PulseValues& values, FirmwareImage& image) {
    pages.WriteTo(image);
    WritePulseValues(values, image);
}

int SpanSteps(int span_byte) {
    // 127 * 0.0078125 is exact in binary, so integer arithmetic gives the same truncation.
    if (span_byte <= 127) return span_byte * 127 / 128;
    return -((255 - span_byte) * 127 / 128);
}

float ShortestPulseMs(int pulse_min) { return static_cast<float>(pulse_min) * 0.008f; }

float LongestPulseMs(int pulse_min, int span_byte) {
    return static_cast<float>(SpanSteps(span_byte) + pulse_min + 127) * 0.008f;
}

std::string FormatPulseMs(float ms, char decimal_separator) {
    return FormatLocaleDecimal(ms, 3, decimal_separator);
}

int StepPulseMin(int pulse_min, int step) {
    return std::clamp(pulse_min + step, kPulseMinLowest, 255);
}

int StepPulseSpan(int span_byte, int step) {
    const int b = span_byte == 0 || span_byte >= 254 ? 1 : span_byte;
    int c = b + step;
    if (c > 253) {
        c -= 253;
    } else if (c < 1) {
        c += 253;
    } else if (c > 127 && b <= 127) {
        c = 127;
    } else if (c < 128 && b >= 128) {
        c = 128;
    }
    return c;
}

}  // namespace parvel
