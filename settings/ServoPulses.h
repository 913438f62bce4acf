#pragma once

#include <array>
#include <string>

#include "image/FirmwareImage.h"
#include "settings/ServoPages.h"

namespace parvel {

// Pulse range of the four servos, kept in EEPROM cells 0x60..0x67 (pulse_min and pulse_span of
// servo 1, then of servo 2, ..). The address table holds them between a load and an apply.

constexpr int kPulseFirstCell = 0x60;
constexpr int kPulseMinLowest = 50;

struct PulseValues {
    std::array<int, 4> pulse_min{};   // shortest pulse in units of 8 us, 0..255
    std::array<int, 4> pulse_span{};  // signed extension of the range, see SpanSteps
};

// Takes each cell whose text is exactly one of hex_byte_names(); a cell holding anything else
// leaves its value as it was (and an apply then writes that value back into the cell).
void ReadPulseValues(const FirmwareImage& image, PulseValues& values);
// Writes the eight cells through StoreEepromCell (saved even beyond the loaded eeprom_last).
void WritePulseValues(const PulseValues& values, FirmwareImage& image);

// Apply of the servo frames: the 512 page bytes into the low-byte cells of words 0x500..0x6FF,
// then the eight pulse values into cells 0x60..0x67.
void ApplyServoEdits(const ServoPages& pages, const PulseValues& values, FirmwareImage& image);

// Span steps of a pulse_span byte b: trunc(b * 127 / 128) for b <= 127 (0..126),
// -trunc((255 - b) * 127 / 128) for b >= 128 (-126..0).
int SpanSteps(int span_byte);

// Pulse times in ms, in single precision: pulse_min * 0.008 and
// (steps + pulse_min + 127) * 0.008.
float ShortestPulseMs(int pulse_min);
float LongestPulseMs(int pulse_min, int span_byte);
// Three decimals with the user's decimal separator: "1,000".
std::string FormatPulseMs(float ms, char decimal_separator);

// pulse_min after a step of +10, +1, -1 or -10, clamped to 50..255.
int StepPulseMin(int pulse_min, int step);
// pulse_span after a step: the bytes 128..253 (steps -126..-1) and 1..127 (steps 0..126) form
// one scale, 253 continues at 1 upwards and 1 at 253 downwards; the scale stops at 128 and at
// 127 (a step of 10 that would cross an end lands on it). The bytes 0, 254 and 255 (span 0, only
// ever read from an image) step as 1, the scale's own span 0, so that each click moves the pulse
// by the 8 or 80 us its button names.
int StepPulseSpan(int span_byte, int step);

}  // namespace parvel
