#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "image/FirmwareImage.h"

namespace parvel {

// Everything the user can change after a load, as one value: the image cells, the grid's field
// texts and R/G choices, and the frames' working copies (packed; empty when the firmware's
// frame keeps nothing outside the image). The history keeps one of these between two steps;
// the image is packed into one string (a few kilobytes) so that a long history stays small.
struct EditState {
    std::string image;  // every cell of the image, see PackImage
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

// The image's cells, ID and configuration texts as one string (each text with its length in
// front, so a cell of any length comes back as it was); the line buffer is not part of it, the
// save rebuilds it.
std::string PackImage(const FirmwareImage& image);
// Puts a packed image back; false (and the image untouched) when `packed` is not one.
bool UnpackImage(const std::string& packed, FirmwareImage& image);

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
