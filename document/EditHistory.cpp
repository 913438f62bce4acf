#include "document/EditHistory.h"

#include <cstdint>

#include <algorithm>

namespace parvel {

namespace {

// Heap bytes of a text beyond the string object itself (short texts live inside it).
std::size_t HeapBytes(const std::string& s) { return s.capacity() > 15 ? s.capacity() + 1 : 0; }

}  // namespace

std::size_t EditState::Bytes() const {
    std::size_t n = sizeof(EditState) + HeapBytes(image.id_text) + HeapBytes(image.config_text) +
                    HeapBytes(frame);
    for (int r = 0; r < kGridRows; ++r) {
        n += HeapBytes(address_text[r]) + HeapBytes(function_text[r]) +
             HeapBytes(address_code[r]) + HeapBytes(function_code[r]);
    }
    return n;
}

ImageState ImageState::Of(const FirmwareImage& image) {
    ImageState state;
    state.rom_cells = image.rom_cells;
    state.eeprom_cells = image.eeprom_cells;
    state.id_text = image.id_text;
    state.config_text = image.config_text;
    state.id_found = image.id_found;
    state.config_found = image.config_found;
    state.rom_last = image.rom_last;
    state.eeprom_last = image.eeprom_last;
    return state;
}

void ImageState::PutInto(FirmwareImage& image) const {
    image.rom_cells = rom_cells;
    image.eeprom_cells = eeprom_cells;
    image.id_text = id_text;
    image.config_text = config_text;
    image.id_found = id_found;
    image.config_found = config_found;
    image.rom_last = rom_last;
    image.eeprom_last = eeprom_last;
}

void EditHistory::Push(Step step) {
    // A step made after undoing replaces the steps that were undone.
    if (m_index < m_steps.size()) {
        if (m_clean > static_cast<long>(m_index)) m_clean = -1;
        m_steps.erase(m_steps.begin() + static_cast<long>(m_index), m_steps.end());
    }
    if (m_index > 0 && !step.merge_key.empty() && m_clean != static_cast<long>(m_index)) {
        Step& last = m_steps[m_index - 1];
        if (!last.closed && last.merge_key == step.merge_key) {
            last.after = std::move(step.after);
            last.name = std::move(step.name);
            // Typed back to where the run began: the run leaves no step.
            if (*last.before == *last.after) {
                m_steps.pop_back();
                --m_index;
            }
            return;
        }
    }
    m_steps.push_back(std::move(step));
    ++m_index;
}

void EditHistory::CloseLast() {
    if (m_index > 0) m_steps[m_index - 1].closed = true;
}

const EditHistory::Step& EditHistory::Undo() {
    Step& step = m_steps.at(m_index - 1);
    step.closed = true;
    --m_index;
    return step;
}

const EditHistory::Step& EditHistory::Redo() {
    Step& step = m_steps.at(m_index);
    step.closed = true;
    ++m_index;
    return step;
}

void EditHistory::Clear() {
    m_steps.clear();
    m_index = 0;
    m_clean = 0;
}

std::size_t EditHistory::Bytes() const {
    std::vector<const EditState*> seen;
    std::size_t bytes = 0;
    auto count = [&](const EditState* state) {
        if (std::find(seen.begin(), seen.end(), state) != seen.end()) return;
        seen.push_back(state);
        bytes += state->Bytes();
    };
    for (const Step& step : m_steps) {
        bytes += sizeof(Step) + step.name.capacity() + step.merge_key.capacity();
        count(step.before.get());
        count(step.after.get());
    }
    return bytes;
}

}  // namespace parvel
