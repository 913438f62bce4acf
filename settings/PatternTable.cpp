#include "settings/PatternTable.h"

#include <algorithm>
#include <utility>

#include "settings/NumberInput.h"
#include "settings/NumberText.h"

namespace parvel {

namespace {

void PutBit(int& byte, int bit, bool on) {
    if (on)
        byte |= 1 << bit;
    else
        byte &= ~(1 << bit);
}

}  // namespace

PatternTable::PatternTable(PatternLayout layout)
    : m_layout(std::move(layout)),
      m_bytes(static_cast<std::size_t>(m_layout.blocks * m_layout.block_bytes), 0),
      m_strip_height(m_layout.strip_height) {}

void PatternTable::ReadTable(const FirmwareImage& image) {
    for (int i = 0; i < table_bytes(); ++i)
        m_bytes[i] = HexByteValue(image.rom_cells[RomCellOf(i)]);
    m_modified = false;
}

void PatternTable::WriteTable(FirmwareImage& image) {
    // The editor showed each block's count and stretch limited to their ranges; an edited table
    // gives the decoder those values, not an out-of-range byte (an erased table holds FF) it
    // never showed. An unedited table is written back as it was loaded.
    for (int b = 0; m_modified && b < m_layout.blocks; ++b) {
        int& count = m_bytes[b * m_layout.block_bytes + m_layout.count_offset];
        int& stretch = m_bytes[b * m_layout.block_bytes + m_layout.stretch_offset];
        count = ShowStoredValue(count, 1, m_layout.max_steps).value;
        stretch = ShowStoredValue(stretch, kMinStretch, kMaxStretch).value;
    }
    const auto& names = hex_byte_names();
    bool changed = false;
    for (int i = 0; i < table_bytes(); ++i) {
        HexCell& cell = image.rom_cells[RomCellOf(i)];
        // A cell that already reads as this value keeps its text: taking over an unedited
        // table leaves the image exactly as loaded.
        if (HexByteValue(cell) != m_bytes[i]) {
            cell = names[m_bytes[i] & 0xFF];
            changed = true;
        }
    }
    // The writer stops at rom_last, the end of what the loaded file held. A table the file did
    // not cover would lose its new values on saving, so the whole table joins the written range.
    if (changed) image.rom_last = std::max(image.rom_last, RomCellOf(table_bytes() - 1) + 1);
    m_modified = false;
}

bool PatternTable::StepBit(int block, int step, int output) const {
    if (block < 0 || block >= m_layout.blocks || step < 0 || step >= m_layout.max_steps ||
        !ValidOutput(output)) {
        return false;
    }
    const PatternBit& p = m_layout.step_bit[output];
    return (BlockByte(block, p.offset + step) >> p.bit) & 1;
}

void PatternTable::Select(int block) {
    if (block >= 0 && block < m_layout.blocks) m_selected = block;
}

int PatternTable::Count() const {
    return ShowStoredValue(SelectedByte(m_layout.count_offset), 1, m_layout.max_steps).value;
}

int PatternTable::Stretch() const {
    return ShowStoredValue(SelectedByte(m_layout.stretch_offset), kMinStretch, kMaxStretch).value;
}

bool PatternTable::Loop() const {
    return (SelectedByte(m_layout.loop.offset) >> m_layout.loop.bit) & 1;
}

bool PatternTable::OutputUsed(int output) const {
    if (!ValidOutput(output)) return false;
    const PatternBit& p = m_layout.use[output];
    return (SelectedByte(p.offset) >> p.bit) & 1;
}

std::string PatternTable::RasterText() const {
    const ShownValue stretch =
        ShowStoredValue(SelectedByte(m_layout.stretch_offset), kMinStretch, kMaxStretch);
    if (!stretch.note.empty()) return stretch.note;
    return "Zeit-Raster = " + std::to_string(Stretch() * kRasterMsPerStretch) + " ms";
}

std::string PatternTable::TotalText() const {
    const ShownValue count = ShowStoredValue(SelectedByte(m_layout.count_offset), 1, m_layout.max_steps);
    if (!count.note.empty()) return count.note;
    return "Gesamtzeit = " + std::to_string(Stretch() * kRasterMsPerStretch * Count()) + " ms";
}

PatternParameters PatternTable::Parameters() const {
    PatternParameters p;
    p.count = Count();
    p.stretch = Stretch();
    p.loop = Loop();
    for (int k = 0; k < outputs(); ++k) p.used.push_back(OutputUsed(k));
    for (int n = 0; n < m_layout.blocks; ++n) p.copy_enabled.push_back(CopyEnabled(n));
    p.raster_text = RasterText();
    p.total_text = TotalText();
    return p;
}

Message PatternTable::CountMessage() const { return RangeMessage(1, m_layout.max_steps); }

Message PatternTable::StretchMessage() { return RangeMessage(kMinStretch, kMaxStretch); }

EditOutcome PatternTable::EditValue(const std::string& text, int maximum, int offset,
                                    const Message& message) {
    EditOutcome out;
    if (text.find_first_not_of(" \t") == std::string::npos) return out;
    const std::optional<long long> v = ParseWholeNumber(text);
    if (!v) {
        out.kind = EditOutcome::Kind::Rejected;
        out.message = message;
        return out;
    }
    out.kind = EditOutcome::Kind::Stored;
    out.value = static_cast<int>(std::clamp<long long>(*v, 1, maximum));
    SelectedByte(offset) = out.value;
    m_modified = true;
    return out;
}

EditOutcome PatternTable::EditCount(const std::string& text) {
    return EditValue(text, m_layout.max_steps, m_layout.count_offset, CountMessage());
}

EditOutcome PatternTable::EditStretch(const std::string& text) {
    return EditValue(text, kMaxStretch, m_layout.stretch_offset, StretchMessage());
}

void PatternTable::SetLoop(bool on) {
    PutBit(SelectedByte(m_layout.loop.offset), m_layout.loop.bit, on);
    m_modified = true;
}

void PatternTable::SetOutputUsed(int output, bool on) {
    if (!ValidOutput(output)) return;
    const PatternBit& p = m_layout.use[output];
    PutBit(SelectedByte(p.offset), p.bit, on);
    m_modified = true;
}

bool PatternTable::SetStepBit(int step, int output, bool on) {
    if (step < 0 || step >= m_layout.max_steps || !ValidOutput(output)) return false;
    const PatternBit& p = m_layout.step_bit[output];
    PutBit(SelectedByte(p.offset + step), p.bit, on);
    m_modified = true;
    return true;
}

bool PatternTable::CopyFrom(int source_block) {
    if (source_block < 0 || source_block >= m_layout.blocks || source_block == m_selected) {
        return false;
    }
    const auto from = m_bytes.begin() + source_block * m_layout.block_bytes;
    std::copy(from, from + m_layout.copy_bytes,
              m_bytes.begin() + m_selected * m_layout.block_bytes);
    m_modified = true;
    return true;
}

void PatternTable::SetStripSize(int width, int height) {
    m_strip_width = std::max(0, width);
    m_strip_height = std::max(0, height);
}

double PatternTable::StepWidth() const { return parvel::StepWidth(m_strip_width, Count()); }

StripPaint PatternTable::Paint(int output) const {
    StripPaint paint;
    paint.width = m_strip_width;
    paint.height = m_strip_height;
    if (!ValidOutput(output)) return paint;
    paint.visible = OutputUsed(output);
    const double step_width = StepWidth();
    for (int i = 0; i < Count(); ++i) {
        if (StepBit(m_selected, i, output)) {
            paint.steps.push_back(StepRect(i, step_width, m_strip_height));
        }
    }
    return paint;
}

int PatternTable::StepIndexAt(int x) const {
    const int last = m_layout.draw_beyond_count ? m_layout.max_steps - 1 : Count() - 1;
    return parvel::StepIndexAt(x, StepWidth(), 0, last);
}

void PatternTable::BeginDrag(int output) { m_drag_output = ValidOutput(output) ? output : -1; }

bool PatternTable::DragTo(int x, int y) {
    if (!dragging()) return false;
    return SetStepBit(StepIndexAt(x), m_drag_output, SwitchesOn(y, m_strip_height));
}

void PatternTable::Restore(const std::vector<int>& bytes, int selected, bool modified) {
    if (bytes.size() != m_bytes.size()) return;
    m_bytes = bytes;
    Select(selected);
    m_modified = modified;
    m_drag_output = -1;
}

}  // namespace parvel
