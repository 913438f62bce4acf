#include "settings/ZusatzSettings.h"

#include <charconv>

namespace parvel {

namespace {
constexpr int kDisabledNibbles = 0xAA;  // 0xA in both nibbles: the function is off
}  // namespace

std::string SecondsText(float factor, int value, const std::string& decimal_point) {
    const float seconds = factor * static_cast<float>(value);
    char digits[64];
    // to_chars ignores the C locale, so the point is always '.', whatever Qt set it to.
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<double>(seconds),
                                   std::chars_format::fixed, 1)
                         .ptr;
    std::string number(digits, end);
    const std::size_t point = number.find('.');
    if (point != std::string::npos) number.replace(point, 1, decimal_point);
    if (number.size() < 3) number.insert(0, 3 - number.size(), ' ');  // the width 3 of %3.1f
    return "(" + number + " sec.)";
}

std::optional<int> CheckedMode(int mode_cell) {
    for (int bit = 0; bit < 6; ++bit) {
        if (mode_cell & (1 << bit)) return bit;
    }
    return std::nullopt;
}

int ModeCellAfterClick(int mode_cell, std::optional<int> mode, const ModeBoxes& boxes) {
    int cell = mode_cell;
    if (mode) cell = 1 << *mode;
    if (boxes.bit6_visible) cell = boxes.bit6_checked ? (cell | kModeBit6) : (cell & ~kModeBit6);
    if (boxes.bit7_visible) cell = boxes.bit7_checked ? (cell | kModeBit7) : (cell & ~kModeBit7);
    return cell & 0xFF;
}

bool BoxChecked(const BoxGroupDef& group, std::size_t box, int cell_value) {
    if (box >= group.boxes.size()) return false;
    const int mask = group.boxes[box].mask;
    switch (group.encoding) {
        case BoxEncoding::Bits:
            return (cell_value & mask) == mask;
        case BoxEncoding::DisabledNibble:
            return (cell_value & mask) != (kDisabledNibbles & mask);
    }
    return false;
}

int BoxCellAfterClick(const BoxGroupDef& group, const std::vector<bool>& checked, int cell_value) {
    int cell = cell_value;
    for (std::size_t i = 0; i < group.boxes.size() && i < checked.size(); ++i) {
        const int mask = group.boxes[i].mask;
        cell &= ~mask;
        switch (group.encoding) {
            case BoxEncoding::Bits:
                if (checked[i]) cell |= mask;
                break;
            case BoxEncoding::DisabledNibble:
                // Exactly 0xA, not 0xA or-ed into the old nibble: 0x1 | 0xA would give 0xB,
                // which the firmware (and the next load) take as "enabled".
                if (!checked[i]) cell |= kDisabledNibbles & mask;
                break;
        }
    }
    return cell & 0xFF;
}

std::optional<int> FadingPositionOf(const std::string& cell_text) {
    const auto& texts = FadingTexts();
    // "ff" counts as fast too, in case a cell was not upper-cased.
    for (int position = kFadingPositions - 1; position >= 1; --position) {
        if (cell_text == texts[position]) return position;
    }
    if (cell_text == "FF" || cell_text == "ff") return 0;
    return std::nullopt;
}

ZusatzSettings::ZusatzSettings(FirmwareImage& image, std::uint32_t type_code, float version)
    : m_image(image),
      m_view(ResolveZusatzView(type_code, version)),
      m_boxes(FindBoxGroup(m_view.extra)),
      m_bar(FindTrackBar(m_view.extra)) {}

int ZusatzSettings::Cell(int cell) const { return HexByteValue(m_image.eeprom_cells[cell]); }

void ZusatzSettings::Store(int cell, int value) {
    StoreEepromCell(m_image, cell, hex_byte_names()[value & 0xFF]);
}

bool ZusatzSettings::NormaliseOnLoad() {
    if (m_view.extra != ExtraControl::FadingBar) return false;
    if (FadingPositionOf(m_image.eeprom_cells[kTimeCell])) return false;
    StoreEepromCell(m_image, kTimeCell, FadingTexts()[kFadingPositions - 1]);
    return true;
}

int ZusatzSettings::RowValue(int row) const {
    if (row < 0 || row >= static_cast<int>(m_view.rows.size())) return 0;
    return Cell(m_view.rows[row].cell);
}

std::string ZusatzSettings::RowSecondsText(int row, const std::string& decimal_point) const {
    if (row < 0 || row >= static_cast<int>(m_view.rows.size())) return {};
    const SettingRowDef& row_def = m_view.rows[row];
    if (row_def.factor == 0.0f) return {};
    return SecondsText(row_def.factor, RowValue(row), decimal_point);
}

NumberInput ZusatzSettings::EditRow(int row, const std::string& text) {
    if (row < 0 || row >= static_cast<int>(m_view.rows.size())) return {};
    const SettingRowDef& row_def = m_view.rows[row];
    NumberInput input = CheckNumberInput(text, row_def.minimum, row_def.maximum);
    if (input.accepted()) Store(row_def.cell, input.value);
    return input;
}

int ZusatzSettings::ModeCell() const { return Cell(kModeCell); }

void ZusatzSettings::ClickModeRadio(int mode, bool bit6_checked, bool bit7_checked) {
    if (!m_view.group_visible || mode < 0 ||
        mode >= static_cast<int>(m_view.radio_captions.size())) {
        return;
    }
    Store(kModeCell, ModeCellAfterClick(
                         ModeCell(), mode,
                         {m_view.bit6_visible, bit6_checked, m_view.bit7_visible, bit7_checked}));
}

void ZusatzSettings::ClickModeBox(bool bit6_checked, bool bit7_checked) {
    if (!m_view.group_visible) return;
    Store(kModeCell, ModeCellAfterClick(
                         ModeCell(), std::nullopt,
                         {m_view.bit6_visible, bit6_checked, m_view.bit7_visible, bit7_checked}));
}

bool ZusatzSettings::WeicheAbChecked() const { return m_image.eeprom_cells[kModeCell] == "AB"; }

void ZusatzSettings::ClickWeicheAb(bool checked) {
    if (m_view.extra != ExtraControl::WeicheAb) return;
    StoreEepromCell(m_image, kModeCell, checked ? "AB" : "01");
}

bool ZusatzSettings::BoxChecked(std::size_t box) const {
    return m_boxes && parvel::BoxChecked(*m_boxes, box, Cell(m_boxes->cell));
}

void ZusatzSettings::ClickBoxes(const std::vector<bool>& checked) {
    if (!m_boxes || checked.size() != m_boxes->boxes.size()) return;
    Store(m_boxes->cell, BoxCellAfterClick(*m_boxes, checked, Cell(m_boxes->cell)));
}

bool ZusatzSettings::NoteVisible() const {
    if (!m_boxes || m_boxes->note.empty()) return false;
    if (!m_boxes->note_when_all_unchecked) return true;
    for (std::size_t i = 0; i < m_boxes->boxes.size(); ++i) {
        if (BoxChecked(i)) return false;
    }
    return true;
}

int ZusatzSettings::FadingPosition() const {
    return FadingPositionOf(m_image.eeprom_cells[kTimeCell]).value_or(kFadingPositions - 1);
}

int ZusatzSettings::RunningSpeed() const { return Cell(kTimeCell); }

std::string ZusatzSettings::RunningCaption() const {
    return "Geschwindigkeit: " + std::to_string(RunningSpeed());
}

bool ZusatzSettings::MoveTrackBar(int position) {
    if (!m_bar || position < m_bar->minimum || position > m_bar->maximum) return false;
    if (m_view.extra == ExtraControl::FadingBar) {
        StoreEepromCell(m_image, m_bar->cell, FadingTexts()[position]);
    } else {
        Store(m_bar->cell, position);
    }
    return true;
}

int ZusatzSettings::NeonLevel(int bar) const { return Cell(NeonBar(bar).cell); }

bool ZusatzSettings::MoveNeonBar(int bar, int position) {
    if (m_view.extra != ExtraControl::NeonBars || bar < 0 || bar > 1 || position < kNeonMinimum ||
        position > kNeonMaximum) {
        return false;
    }
    Store(NeonBar(bar).cell, position);
    return true;
}

}  // namespace parvel
