#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/FirmwareImage.h"
#include "settings/NumberInput.h"
#include "settings/ZusatzTypeTable.h"

namespace parvel {

// "(%3.1f sec.)" of factor × value (single precision, as the factor is), with the user's decimal
// separator in place of the point.
std::string SecondsText(float factor, int value, const std::string& decimal_point);

// Mode cell bits 0..5 (modes 1..6), bit 6 (start with outputs off), bit 7 (mode switching
// locked).
constexpr int kModeBit6 = 0x40;
constexpr int kModeBit7 = 0x80;

// The radio button a mode cell checks: index 0..5 of the lowest of bits 0..5 that is set, or
// nothing (the radio buttons then stay as they are).
std::optional<int> CheckedMode(int mode_cell);

// The mode cell after a click in the mode group. `mode` is the clicked radio button (0..5), or
// nothing when the sender is one of the option boxes. A radio click replaces the whole cell by
// the mode's bit, dropping bits 6 and 7; then every visible option box sets or clears its bit.
struct ModeBoxes {
    bool bit6_visible = false;
    bool bit6_checked = false;
    bool bit7_visible = false;
    bool bit7_checked = false;
};
int ModeCellAfterClick(int mode_cell, std::optional<int> mode, const ModeBoxes& boxes);

// A box of a check box group (switch-off, special or output functions) read from its cell.
bool BoxChecked(const BoxGroupDef& group, std::size_t box, int cell_value);
// The cell after a click: every box of the group writes its bits from its check state; bits no
// box stands for are kept.
int BoxCellAfterClick(const BoxGroupDef& group, const std::vector<bool>& checked, int cell_value);

// Fading position of a cell text, or nothing when the text is none of the six speeds.
std::optional<int> FadingPositionOf(const std::string& cell_text);

// The settings of the additional-settings frame for one firmware, read from and written into
// the image. The frame builds one for the recognised type and version on every LoadFromImage,
// shows what it reads and hands every accepted user change to it; the image is the only copy of
// the values.
class ZusatzSettings {
  public:
    ZusatzSettings(FirmwareImage& image, std::uint32_t type_code, float version);

    const ZusatzView& view() const { return m_view; }
    const BoxGroupDef* box_group() const { return m_boxes; }
    const TrackBarDef* track_bar() const { return m_bar; }

    // The one write loading makes: a fading cell that holds none of the six speeds is set to the
    // slowest ("11"). Returns true when the cell was changed.
    bool NormaliseOnLoad();

    // ---- value rows (0 .. view().rows.size()-1) ----
    int RowValue(int row) const;
    // Empty when the row has no seconds label (factor 0).
    std::string RowSecondsText(int row, const std::string& decimal_point) const;
    // Checks the typed text against the row's range and stores it when accepted.
    NumberInput EditRow(int row, const std::string& text);

    // ---- mode group ----
    int ModeCell() const;
    std::optional<int> CheckedMode() const { return parvel::CheckedMode(ModeCell()); }
    bool Bit6Checked() const { return (ModeCell() & kModeBit6) != 0; }
    bool Bit7Checked() const { return (ModeCell() & kModeBit7) != 0; }
    void ClickModeRadio(int mode, bool bit6_checked, bool bit7_checked);
    void ClickModeBox(bool bit6_checked, bool bit7_checked);

    // ---- cbx_weiche_ab ----
    bool WeicheAbChecked() const;
    void ClickWeicheAb(bool checked);

    // ---- check box groups, boxes in the order of box_group()->boxes ----
    bool BoxChecked(std::size_t box) const;
    // Stores the state of all boxes; ignored when the count does not match the group.
    void ClickBoxes(const std::vector<bool>& checked);
    // lbl_text_1 of the group.
    bool NoteVisible() const;

    // ---- TrackBar_01 ----
    // Fading: position of the cell (5 for an unknown text, which NormaliseOnLoad rewrites).
    int FadingPosition() const;
    // Running speed: the cell value and the caption "Geschwindigkeit: <value>".
    int RunningSpeed() const;
    std::string RunningCaption() const;
    // Stores the position of TrackBar_01 (fading text or running speed); a position outside
    // the bar's range stores nothing. Returns true when stored.
    bool MoveTrackBar(int position);

    // ---- neon bars: 0 = TrackBar_neon_1 (dark), 1 = TrackBar_neon_2 (bright) ----
    int NeonLevel(int bar) const;
    bool MoveNeonBar(int bar, int position);

  private:
    int Cell(int cell) const;
    void Store(int cell, int value);

    FirmwareImage& m_image;
    ZusatzView m_view;
    const BoxGroupDef* m_boxes;
    const TrackBarDef* m_bar;
};

}  // namespace parvel
