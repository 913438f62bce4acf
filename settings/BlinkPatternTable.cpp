#include "settings/BlinkPatternTable.h"

namespace parvel {

PatternLayout BlinkPatternTable::Layout() {
    PatternLayout l;
    l.first_word = kFirstWord;
    l.blocks = kBlocks;
    l.block_bytes = kBlockBytes;
    l.max_steps = kMaxSteps;
    l.count_offset = kCountOffset;
    l.stretch_offset = kStretchOffset;
    l.loop = {kFlagsOffset, 0};
    for (int k = 0; k < kOutputs; ++k) {
        l.use.push_back({kFlagsOffset, 4 + k});
        l.step_bit.push_back({0, k});
    }
    l.copy_bytes = kBlockBytes;
    // Only the counted steps are drawn, so the pointer reaches only those: a drag beyond either
    // end keeps changing the first or last counted step, never a hidden one.
    l.draw_beyond_count = false;
    l.strip_height = kStripHeight;
    return l;
}

BlinkPatternTable::BlinkPatternTable() : PatternTable(Layout()) {}

}  // namespace parvel
