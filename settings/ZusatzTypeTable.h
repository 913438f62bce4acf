#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace parvel {

// What the additional-settings frame shows for each firmware, as data: the frame reads this
// table and never branches on type codes itself.

constexpr int kSettingRows = 4;  // value rows the frame owns

// EEPROM cells the frame edits.
constexpr int kModeCell = 0x00;        // mode and option bits, or the switch-off setting
constexpr int kTimeCell = 0x20;        // time-out, fading or running speed, output bits
constexpr int kNeonDarkCell = 0x40;    // TrackBar_neon_1
constexpr int kNeonBrightCell = 0x41;  // TrackBar_neon_2

constexpr int kWeicheAbTop = 100;  // cbx_weiche_ab

// ---- value rows ----

enum class RowKind { T, TN, S, G1, G2, H1, H2 };

struct SettingRowDef {
    RowKind kind;
    std::string caption;
    std::string hint;  // edit hint, shown only when not empty
    int cell;
    float factor;  // seconds per unit; 0: no seconds label
    int minimum;
    int maximum;
};

const SettingRowDef& RowDef(RowKind kind);

// ---- mode group ----

// Caption sets of the mode radio buttons; None: no radio button (and no mode note) is shown.
enum class ModeSet { None, A, A4, D, St, Du, St34, Rot, Land, Gas, Neon };

// Captions of rad_mode1 .. in order; the buttons beyond them are hidden.
const std::vector<std::string>& ModeCaptions(ModeSet set);

// When a control of the mode group is shown.
enum class Shown { Never, Always, AboveV354 };

// "lock if > 3.54": true for firmware versions above 3.54. Both sides in single precision, as
// `version` is; a version read as 3.54 is the same float as 3.54f and so not above it.
bool IsAboveV354(float version);
bool IsShown(Shown rule, float version);

// ---- extra controls (at most one kind per firmware) ----

enum class ExtraControl {
    None,
    WeicheAb,            // cbx_weiche_ab: "AB" / "01" in the mode cell ("ab V3.51")
    SwitchOffFunctions,  // two nibbles of the mode cell ("ab V3.58")
    FadingBar,           // TrackBar_01, six fading speeds in cell 0x20
    RunningBar,          // TrackBar_01, running speed 1..255 in cell 0x20
    NeonBars,            // TrackBar_neon_1 / _2, cells 0x40 / 0x41
    SpecialFunctions,    // two bit boxes of cell 0x20 (outputs 9/10)
    OutputFunctions,     // seven bit boxes of cell 0x20
};

// ---- the type table ----

struct ZusatzType {
    std::uint32_t type_code;
    std::vector<RowKind> rows;
    int rows_top;         // height the rows are laid out from
    Shown group;          // group_mode
    ModeSet modes;        // radio captions (and lbl_mode when not None)
    Shown lock_box;       // cbx_mode_bit7; only ever shown together with the group
    bool start_dark_box;  // cbx_mode_bit6, shown with the group
    ExtraControl extra;
};

const std::vector<ZusatzType>& ZusatzTypeTable();

// The entry of a type code, or nullptr (the frame then stays empty).
const ZusatzType* FindZusatzType(std::uint32_t type_code);

// The controls one firmware shows, with the version rules already applied.
struct ZusatzView {
    std::vector<SettingRowDef> rows;  // at most kSettingRows, laid out in this order
    int rows_top = 20;
    bool group_visible = false;
    bool mode_note_visible = false;           // lbl_mode
    std::vector<std::string> radio_captions;  // the visible radio buttons, rad_mode1 on
    bool bit6_visible = false;                // cbx_mode_bit6
    bool bit7_visible = false;                // cbx_mode_bit7
    ExtraControl extra = ExtraControl::None;
};

ZusatzView ResolveZusatzView(std::uint32_t type_code, float version);

// ---- check box groups of the extra controls ----

// How a box reads and writes its bits of the cell.
enum class BoxEncoding {
    Bits,            // checked = all of the box's bits set
    DisabledNibble,  // checked unless the nibble is 0xA; checked writes 0, unchecked 0xA
};

enum class HeadingLabel { Zusatz, Zusatz3 };  // lbl_zusatz, lbl_zusatz3

struct BitBoxDef {
    int box;  // n of cbx_zusatz_n
    std::string caption;
    std::string hint;
    int top;
    int mask;  // the bits of the cell the box stands for
};

struct BoxGroupDef {
    int cell;
    BoxEncoding encoding;
    HeadingLabel heading_label;
    std::string heading;
    int heading_top;
    std::vector<BitBoxDef> boxes;  // in stacking order
    std::string note;              // lbl_text_1; empty: hidden
    int note_top;
    bool note_when_all_unchecked;  // shown only while every box is unchecked
};

// The boxes of SwitchOffFunctions, SpecialFunctions and OutputFunctions; nullptr for the others.
const BoxGroupDef* FindBoxGroup(ExtraControl extra);

// ---- track bars ----

struct TrackBarDef {
    int cell;
    int minimum;
    int maximum;
    int tick;
    std::string hint;
    std::string caption;  // text of lbl_trackbar_01 (a printf format for the running speed)
    std::string left_caption;
    std::string right_caption;
    int caption_left;
    int caption_top;
    int bar_top;   // the end labels sit 3 below it
    int side_gap;  // panel edge to end label
    int bar_gap;   // end label to bar
};

// TrackBar_01 for FadingBar and RunningBar; nullptr otherwise.
const TrackBarDef* FindTrackBar(ExtraControl extra);

// Fading positions 0 (fast) .. 5 (slow) and their cell texts.
constexpr int kFadingPositions = 6;
const std::vector<std::string>& FadingTexts();

struct NeonBarDef {
    int cell;
    int left;
    int top;
    int width;
    int label_left;  // lbl_fNeon_01 / _02, 3 below the bar's top
};
constexpr int kNeonMinimum = 0;
constexpr int kNeonMaximum = 15;
constexpr int kNeonTick = 1;
constexpr int kNeonNoteLeft = 10;  // lbl_fNeon_03
constexpr int kNeonNoteTop = 70;
// [0]: TrackBar_neon_1 (dark level), [1]: TrackBar_neon_2 (bright level).
const NeonBarDef& NeonBar(int bar);

// ---- fixed texts of the form ----

namespace zusatz_text {
extern const char* const kGroupMode;    // group_mode
extern const char* const kModeNote;     // lbl_mode
extern const char* const kLockCaption;  // cbx_mode_bit7
extern const char* const kLockHint;
extern const char* const kStartDarkCaption;  // cbx_mode_bit6
extern const char* const kStartDarkHint;
extern const char* const kWeicheAbCaption;  // cbx_weiche_ab
extern const char* const kWeicheAbHint;
extern const char* const kBarHint;     // TrackBar_01, TrackBar_neon_1, TrackBar_neon_2
extern const char* const kNeonDark;    // lbl_fNeon_01
extern const char* const kNeonBright;  // lbl_fNeon_02
extern const char* const kNeonNote;    // lbl_fNeon_03
}  // namespace zusatz_text

}  // namespace parvel
