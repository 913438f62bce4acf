#include "settings/ServoPages.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace parvel {

int ServoPages::Index(int page, int offset) {
    if (page < 0 || page >= kServoPageCount || offset < 0 || offset >= kServoPageSize) {
        throw std::out_of_range("servo page " + std::to_string(page) + " entry " +
                                std::to_string(offset) + " does not exist");
    }
    return page * kServoPageSize + offset;
}

int ServoPages::WordOf(int page, int offset) { return kServoFirstWord + Index(page, offset); }

void ServoPages::ReadFrom(const FirmwareImage& image) {
    for (int i = 0; i < kServoBytes; ++i) {
        m_bytes[i] = static_cast<std::uint8_t>(HexByteValue(image.RomLow(kServoFirstWord + i)));
    }
}

void ServoPages::WriteTo(FirmwareImage& image) const {
    const auto& names = hex_byte_names();
    for (int i = 0; i < kServoBytes; ++i) image.RomLow(kServoFirstWord + i) = names[m_bytes[i]];
    image.rom_last = std::max(image.rom_last, 2 * (kServoFirstWord + kServoBytes) - 1);
}

std::uint8_t ServoPages::at(int page, int offset) const { return m_bytes[Index(page, offset)]; }

void ServoPages::set(int page, int offset, std::uint8_t value) {
    m_bytes[Index(page, offset)] = value;
}

int ServoPages::PointCount(int page) const {
    return std::clamp(StoredPointCount(page), 1, kMaxCurvePoints);
}

void ServoPages::SetPosition(int page, int point, int position) {
    const int p = std::clamp(position, 0, kMaxPosition);
    set(page, point, static_cast<std::uint8_t>((at(page, point) & kRelayBit) | p));
}

void ServoPages::SetRelay(int page, int point, bool on) {
    const std::uint8_t b = at(page, point);
    set(page, point, static_cast<std::uint8_t>(on ? (b | kRelayBit) : (b & kPositionMask)));
}

}  // namespace parvel
