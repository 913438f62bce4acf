#pragma once

#include "settings/PatternTable.h"

namespace parvel {

// Blink patterns of the four-output blink-pattern firmware: 256 bytes in the low bytes of
// program words 0x300..0x3FF, one 64-byte block per address. In a block, bytes 0..49 are steps
// 1..50 (bit k = output k + 1 on), byte 53 the step count 1..50, byte 54 the stretch factor
// 1..200, byte 55 the flags (bit 0 loop, bits 4..7 outputs 1..4 driven by this pattern); the
// other bits and bytes are kept as they are.
class BlinkPatternTable : public PatternTable {
  public:
    static constexpr int kFirstWord = 0x300;
    static constexpr int kBlocks = 4;
    static constexpr int kBlockBytes = 64;
    static constexpr int kOutputs = 4;
    static constexpr int kMaxSteps = 50;
    static constexpr int kCountOffset = 53;
    static constexpr int kStretchOffset = 54;
    static constexpr int kFlagsOffset = 55;
    static constexpr int kStripHeight = 41;  // Image_Blink1 .. Image_Blink4
    static constexpr int kStripLeft = 40;

    BlinkPatternTable();

    static PatternLayout Layout();
};

}  // namespace parvel
