#pragma once

#include <array>
#include <cstdint>

#include "image/FirmwareImage.h"

namespace parvel {

// The servo decoders keep one table of 4 pages x 128 bytes in the low bytes of program words
// 0x500..0x6FF; page p (0..3) serves curve p + 1, servo p + 1 and the addresses p + 1 and p + 5.
// Everywhere in the servo models pages, curves, servos and address rows count from 0.
constexpr int kServoPageCount = 4;
constexpr int kServoPageSize = 128;
constexpr int kServoBytes = kServoPageCount * kServoPageSize;
constexpr int kServoFirstWord = 0x500;

// Page layout: entries 0..99 are curve points (bits 0..6 position, bit 7 relay on).
constexpr int kMaxCurvePoints = 100;
constexpr int kMaxPosition = 127;
constexpr std::uint8_t kRelayBit = 0x80;
constexpr std::uint8_t kPositionMask = 0x7F;
constexpr int kOffsetFlags = 100;         // flag bits of the servo
constexpr int kOffsetPointCount = 101;    // 1..100
constexpr int kOffsetStretch = 102;       // 1..200, time between two points = value x 20 ms
constexpr int kOffsetServoAction = 103;   // servo and action of address p + 1
constexpr int kOffsetCurveRelay = 104;    // curve and relay of address p + 1
constexpr int kOffsetServoAction2 = 106;  // servo and action of address p + 5
constexpr int kOffsetCurveRelay2 = 107;   // curve and relay of address p + 5
constexpr int kOffsetButtonAction = 110;  // one-hot address of one push-button event
constexpr int kMaxStretch = 200;

// The working copy of the servo table that the curve editor and the address table edit and the
// curve files load and save. Bytes by type, so a value outside 0..255 cannot get in; entries the
// editors do not interpret are carried unchanged from the image back into it.
class ServoPages {
  public:
    // Program word of entry `offset` of `page`; its low byte is rom_cells[2 * word].
    static int WordOf(int page, int offset);
    static int CellOf(int page, int offset) { return 2 * WordOf(page, offset); }

    // Reads the 512 low-byte cells (tolerant HexByteValue conversion).
    void ReadFrom(const FirmwareImage& image);
    // Writes all 512 low-byte cells as hex_byte_names texts; the high-byte cells stay as they are.
    // rom_last is raised to the table's last cell when the loaded file ended before it, since the
    // writer stops at rom_last and would drop the table from the saved file without a word.
    void WriteTo(FirmwareImage& image) const;

    // Entry `offset` (0..127) of `page` (0..3); anything else throws std::out_of_range.
    std::uint8_t at(int page, int offset) const;
    void set(int page, int offset, std::uint8_t value);

    // The table as one run of 512 (index = page * 128 + offset), as the set file sees it.
    std::uint8_t flat(int index) const { return m_bytes.at(index); }
    void set_flat(int index, std::uint8_t value) { m_bytes.at(index) = value; }
    const std::array<std::uint8_t, kServoBytes>& bytes() const { return m_bytes; }

    // Point count as stored (any byte) and as every curve operation uses it (clamped to 1..100).
    int StoredPointCount(int page) const { return at(page, kOffsetPointCount); }
    int PointCount(int page) const;
    int Stretch(int page) const { return at(page, kOffsetStretch); }

    int Position(int page, int point) const { return at(page, point) & kPositionMask; }
    bool RelayOn(int page, int point) const { return (at(page, point) & kRelayBit) != 0; }
    // New position (clamped to 0..127); the point keeps its relay bit.
    void SetPosition(int page, int point, int position);
    void SetRelay(int page, int point, bool on);

    bool operator==(const ServoPages& o) const { return m_bytes == o.m_bytes; }
    bool operator!=(const ServoPages& o) const { return m_bytes != o.m_bytes; }

  private:
    static int Index(int page, int offset);

    std::array<std::uint8_t, kServoBytes> m_bytes{};
};

}  // namespace parvel
