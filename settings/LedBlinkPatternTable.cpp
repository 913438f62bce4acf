#include "settings/LedBlinkPatternTable.h"

namespace parvel {

PatternLayout LedBlinkPatternTable::Layout() {
    PatternLayout l;
    l.first_word = kFirstWord;
    l.blocks = kBlocks;
    l.block_bytes = kBlockBytes;
    l.max_steps = kMaxSteps;
    l.count_offset = kCountOffset;
    l.stretch_offset = kStretchOffset;
    l.loop = {kFlagsOffset, 0};
    for (int k = 0; k < 4; ++k) {
        l.use.push_back({kFlagsOffset, 4 + k});
        l.step_bit.push_back({0, k});
    }
    for (int k = 4; k < kOutputs; ++k) {
        l.use.push_back({kFlags2Offset, k - 4});
        l.step_bit.push_back({kSecondStepOffset, k - 4});
    }
    l.copy_bytes = kCopyBytes;
    // Steps at or beyond the count can be drawn: they are stored, only not shown.
    l.draw_beyond_count = true;
    l.strip_height = kStripHeight;
    return l;
}

LedBlinkPatternTable::LedBlinkPatternTable() : PatternTable(Layout()) {}

LedFrameGeometry LayOutLedFrame(const LedFrameGeometry& form, int frame_width) {
    LedFrameGeometry g = form;

    const int strip_width = StripWidth(frame_width, form.strips[0].left);
    for (ControlPlace& s : g.strips) s.width = strip_width;

    const int button_width = form.address_buttons[0].width;
    const int d = button_width + 10;
    for (int n = 0; n < 4; ++n) {
        ControlPlace& b = g.address_buttons[n];
        b.left = n * d + 10;
        b.top = form.address_buttons[0].top;
        b.width = button_width;
    }
    g.address_group.width = 4 * d + 10;
    g.loop.left = g.address_group.right() + 10;

    g.stretch_edit.left = g.stretch_label.right() + 5;
    g.stretch_spinner.left = g.stretch_edit.right();
    g.count_label.left = g.stretch_spinner.right() + 10;
    g.count_edit.left = g.count_label.right() + 5;
    g.count_spinner.left = g.count_edit.right();
    g.info1.left = g.count_spinner.right() + 10;
    g.info2.left = g.info1.left;

    for (ControlPlace& b : g.copy_buttons) b.top = form.discard.top;
    g.copy_label.top = form.discard.top + 3;
    g.copy_buttons[0].left = g.copy_label.right() + 5;
    for (int n = 1; n < 4; ++n) g.copy_buttons[n].left = g.copy_buttons[n - 1].right();

    return g;
}

}  // namespace parvel
