#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "image/FirmwareImage.h"

namespace parvel {

// What an edit can change in the image: the cells (three bytes each, so a copy of all of them
// is about 13 KB and takes a microsecond), the ID and configuration texts and the last cells.
// The line buffer is not part of it: the save rebuilds it.
struct ImageState {
    std::array<HexCell, kRomCells> rom_cells;
    std::array<HexCell, kEepromCells> eeprom_cells;
    std::string id_text;
    std::string config_text;
    bool id_found = false;
    bool config_found = false;
    int rom_last = 0;
    int eeprom_last = 0;

    static ImageState Of(const FirmwareImage& image);
    void PutInto(FirmwareImage& image) const;
    bool operator==(const ImageState& o) const {
        return rom_cells == o.rom_cells && eeprom_cells == o.eeprom_cells && id_text == o.id_text &&
               config_text == o.config_text && id_found == o.id_found &&
               config_found == o.config_found && rom_last == o.rom_last &&
               eeprom_last == o.eeprom_last;
    }
};

// Everything the user can change after a load, as one value: the image, the grid's field texts
// and R/G choices, and the frames' working copies (packed; empty when the firmware's frame
// keeps nothing outside the image). The history keeps one of these between two steps.
struct EditState {
    ImageState image;
    std::array<std::string, kGridRows> address_text;
    std::array<std::string, kGridRows> function_text;
    std::array<bool, kGridRows> green{};
    std::array<std::string, kGridRows> address_code;
    std::array<std::string, kGridRows> function_code;
    std::string frame;  // the frames' working copies, packed
    // Which part the shown frame had on screen (pattern block, servo curve). Not part of the
    // comparison: choosing another block or curve is no change, but an undo shows the part
    // where the change was made.
    int view = 0;

    bool operator==(const EditState& o) const {
        return image == o.image && address_text == o.address_text &&
               function_text == o.function_text && green == o.green &&
               address_code == o.address_code && function_code == o.function_code &&
               frame == o.frame;
    }
    bool operator!=(const EditState& o) const { return !(*this == o); }

    // Approximate bytes held, for the history's memory figure.
    std::size_t Bytes() const;
};

// The steps of a document's history. Each step keeps the states before and after it; steps
// next to each other share the state between them, so a step costs about one state.
class EditHistory {
public:
    struct Step {
        std::string name;
        std::shared_ptr<const EditState> before;
        std::shared_ptr<const EditState> after;
        std::string merge_key;  // empty: never merges
        bool closed = false;    // a run that ended: the next change is a step of its own
    };

    // Adds a step after the current one (the steps undone before it are dropped), or merges it
    // into the current step when both have the same merge key and the run is open.
    void Push(Step step);
    void CloseLast();
    // Moves back or forward one step; the step that was undone or redone.
    const Step& Undo();
    const Step& Redo();
    void Clear();
    // The current position is the saved one.
    void SetClean() { m_clean = static_cast<long>(m_index); }
    bool IsClean() const { return m_clean == static_cast<long>(m_index); }

    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index < m_steps.size(); }
    std::string UndoName() const { return CanUndo() ? m_steps[m_index - 1].name : std::string(); }
    std::string RedoName() const { return CanRedo() ? m_steps[m_index].name : std::string(); }
    std::size_t count() const { return m_steps.size(); }
    std::size_t index() const { return m_index; }  // steps done
    const Step& step(std::size_t i) const { return m_steps.at(i); }
    // Bytes the steps and their states take (a shared state counted once).
    std::size_t Bytes() const;

private:
    std::vector<Step> m_steps;
    std::size_t m_index = 0;
    long m_clean = 0;  // -1: the saved state is no longer in the history
};

}  // namespace parvel
