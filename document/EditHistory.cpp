#include "document/EditHistory.h"

#include <cstdint>
#include <string_view>

#include <algorithm>

namespace parvel {

namespace {

void PutText(std::string& out, std::string_view text) {
    if (text.size() < 255) {
        out.push_back(static_cast<char>(text.size()));
    } else {
        out.push_back(static_cast<char>(255));
        const auto n = static_cast<std::uint32_t>(text.size());
        for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<char>(n >> shift));
    }
    out += text;
}

// Reads one text written by PutText at `pos`; false when the packed string ends too early.
bool GetText(const std::string& in, std::size_t& pos, std::string& text) {
    if (pos >= in.size()) return false;
    std::size_t n = static_cast<unsigned char>(in[pos++]);
    if (n == 255) {
        if (in.size() - pos < 4) return false;
        n = 0;
        for (int k = 0; k < 4; ++k) {
            n |= static_cast<std::size_t>(static_cast<unsigned char>(in[pos++])) << (8 * k);
        }
    }
    if (in.size() - pos < n) return false;
    text.assign(in, pos, n);
    pos += n;
    return true;
}

void PutNumber(std::string& out, int value) { PutText(out, std::to_string(value)); }

bool GetNumber(const std::string& in, std::size_t& pos, int& value) {
    std::string text;
    if (!GetText(in, pos, text) || text.empty()) return false;
    try {
        value = std::stoi(text);
    } catch (...) {
        return false;
    }
    return true;
}

// Heap bytes of a text beyond the string object itself (short texts live inside it).
std::size_t HeapBytes(const std::string& s) { return s.capacity() > 15 ? s.capacity() + 1 : 0; }

}  // namespace

std::size_t EditState::Bytes() const {
    std::size_t n = sizeof(EditState) + HeapBytes(image) + HeapBytes(frame);
    for (int r = 0; r < kGridRows; ++r) {
        n += HeapBytes(address_text[r]) + HeapBytes(function_text[r]) +
             HeapBytes(address_code[r]) + HeapBytes(function_code[r]);
    }
    return n;
}

std::string PackImage(const FirmwareImage& image) {
    std::string out;
    out.reserve(3 * (kRomCells + kEepromCells) + 64);
    // A cell that was given a longer text holds its first two characters and counts as damaged;
    // a third character keeps it damaged when it comes back.
    auto put_cell = [&out](const HexCell& cell) {
        if (cell.size() > 2) {
            PutText(out, cell.str() + '?');
        } else {
            PutText(out, cell.view());
        }
    };
    for (const HexCell& cell : image.rom_cells) put_cell(cell);
    for (const HexCell& cell : image.eeprom_cells) put_cell(cell);
    PutText(out, image.id_text);
    PutText(out, image.config_text);
    PutNumber(out, image.id_found ? 1 : 0);
    PutNumber(out, image.config_found ? 1 : 0);
    PutNumber(out, image.rom_last);
    PutNumber(out, image.eeprom_last);
    return out;
}

bool UnpackImage(const std::string& packed, FirmwareImage& image) {
    // Read into a copy first: a damaged string must not leave half an image behind.
    FirmwareImage copy = image;
    std::size_t pos = 0;
    std::string text;
    for (HexCell& cell : copy.rom_cells) {
        if (!GetText(packed, pos, text)) return false;
        cell = text;
    }
    for (HexCell& cell : copy.eeprom_cells) {
        if (!GetText(packed, pos, text)) return false;
        cell = text;
    }
    int id_found = 0;
    int config_found = 0;
    if (!GetText(packed, pos, copy.id_text) || !GetText(packed, pos, copy.config_text) ||
        !GetNumber(packed, pos, id_found) || !GetNumber(packed, pos, config_found) ||
        !GetNumber(packed, pos, copy.rom_last) || !GetNumber(packed, pos, copy.eeprom_last) ||
        pos != packed.size()) {
        return false;
    }
    copy.id_found = id_found != 0;
    copy.config_found = config_found != 0;
    image = std::move(copy);
    return true;
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
