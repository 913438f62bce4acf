#pragma once

#include <array>

#include "settings/PatternTable.h"

namespace parvel {

// Blink patterns of the ten-output LED firmware: 1024 bytes in the low bytes of program words
// 0x300..0x6FF, one 256-byte block per address (block n from word 0x300 + 256 n). In a block,
// bytes 0..99 are steps 1..100 for outputs 1..4 (bits 0..3), bytes 128..227 the same steps for
// outputs 5..10 (bits 0..5), byte 100 the flags (bit 0 loop, bits 4..7 outputs 1..4 driven),
// byte 101 the count 1..100, byte 102 the stretch 1..200, byte 103 bits 0..5 outputs 5..10
// driven. Copying between addresses takes bytes 0..254; byte 255 stays.
class LedBlinkPatternTable : public PatternTable {
  public:
    static constexpr int kFirstWord = 0x300;
    static constexpr int kBlocks = 4;
    static constexpr int kBlockBytes = 256;
    static constexpr int kOutputs = 10;
    static constexpr int kMaxSteps = 100;
    static constexpr int kFlagsOffset = 100;
    static constexpr int kCountOffset = 101;
    static constexpr int kStretchOffset = 102;
    static constexpr int kFlags2Offset = 103;
    static constexpr int kSecondStepOffset = 128;
    static constexpr int kCopyBytes = 255;
    static constexpr int kStripHeight = 38;  // Image_led_Blink1, used for all ten strips

    LedBlinkPatternTable();

    static PatternLayout Layout();
};

// A control's place in its parent, in pixels.
struct ControlPlace {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    int right() const { return left + width; }
    bool operator==(const ControlPlace& o) const {
        return left == o.left && top == o.top && width == o.width && height == o.height;
    }
};

// The controls of the LED pattern frame whose places the set-up recomputes. The address
// buttons lie inside the radio group (their boxes are relative to it); everything else shares
// the frame as parent.
struct LedFrameGeometry {
    std::array<ControlPlace, LedBlinkPatternTable::kOutputs> strips;  // Image_led_Blink1..10
    std::array<ControlPlace, 4> address_buttons;                      // led_blinkmuster_rad_a1..a4
    ControlPlace address_group;                                       // "Parameter für ..."
    ControlPlace loop;                                                // led_blinkmuster_cbx_loop
    ControlPlace stretch_label;                                       // "Stretch-Faktor"
    ControlPlace stretch_edit;                                        // led_blinkmuster_edt_stretch
    ControlPlace stretch_spinner;                                     // UpDown10
    ControlPlace count_label;                                         // "Anzahl Punkte"
    ControlPlace count_edit;                                          // led_blinkmuster_edt_Anzahl
    ControlPlace count_spinner;                                       // UpDown9
    ControlPlace info1;                        // led_blinkmuster_lbl_KurveInfo1
    ControlPlace info2;                        // led_blinkmuster_lbl_KurveInfo2
    ControlPlace copy_label;                   // "Kurve kopieren"
    std::array<ControlPlace, 4> copy_buttons;  // led_blinkmuster_btn_copy1..4
    ControlPlace discard;                      // led_blinkmuster_btn_verwerfen
};

// The set-up's layout work for a frame of `frame_width`, starting from the form's places:
// - every strip gets the width frame width - left of strip 1 - 10;
// - the address buttons stand in one row (at the first one's top) with lefts 10, d + 10,
//   2d + 10, 3d + 10 and the first one's width, d = that width + 10; the group gets the width
//   4d + 10 and the loop box sits 10 right of the group;
// - from the stretch label's left, left to right: stretch label, 5, stretch edit, its spinner,
//   10, count label, 5, count edit, its spinner, 10, the two info labels one above the other;
// - the copy buttons move to the top of "Verwerfen", the label "Kurve kopieren" 3 lower; the
//   first button starts 5 right of the label, each further one at the previous one's right.
// Sizes not named here, and the tops of the chained controls, stay as they are.
LedFrameGeometry LayOutLedFrame(const LedFrameGeometry& form, int frame_width);

}  // namespace parvel
