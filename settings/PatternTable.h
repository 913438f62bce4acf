#pragma once

#include <optional>
#include <string>
#include <vector>

#include "image/FirmwareImage.h"
#include "image/Message.h"
#include "settings/PatternStrip.h"

namespace parvel {

// Where a bit lives inside a pattern block: byte offset from the block start and bit number.
struct PatternBit {
    int offset = 0;
    int bit = 0;
};

// How one firmware keeps its blink patterns: a table of blocks (one per decoder address) in the
// low bytes of consecutive program words. Outputs and blocks count from 0 here ("Out#1" is
// output 0, "Adresse 1" is block 0).
struct PatternLayout {
    int first_word = 0x300;  // program word of table byte 0
    int blocks = 4;
    int block_bytes = 64;
    int max_steps = 50;
    int count_offset = 53;
    int stretch_offset = 54;
    PatternBit loop;                   // the loop flag
    std::vector<PatternBit> use;       // per output: its "driven by this pattern" flag
    std::vector<PatternBit> step_bit;  // per output: byte of step 0 and the output's bit in it
    int copy_bytes = 64;               // bytes 0 .. copy_bytes - 1 of a block are copied
    // Pointer positions may reach every step byte, also those at or beyond the count. When
    // false they stop at the first and last counted step.
    bool draw_beyond_count = false;
    int strip_height = 41;  // strip height of the form, until SetStripSize says otherwise
};

// Result of a typed count or stretch value.
struct EditOutcome {
    enum class Kind {
        Ignored,   // empty (or blank) text: nothing happens
        Rejected,  // not a whole number: show `message`, give the edit the focus back, store
                   // nothing
        Stored,    // `value`, limited to the range without a message, is in the block; put
                   // it back into the edit
    };
    Kind kind = Kind::Ignored;
    int value = 0;
    std::optional<Message> message;
};

// What the parameter controls of the frame show for the selected block.
struct PatternParameters {
    int count = 1;    // limited to 1 .. max steps (the stored byte may lie outside)
    int stretch = 1;  // limited to 1 .. 200
    bool loop = false;
    std::vector<bool> used;          // per output: its use box
    std::vector<bool> copy_enabled;  // per block: its "von #n" button
    std::string raster_text;         // "Zeit-Raster = 200 ms"
    std::string total_text;          // "Gesamtzeit = 2000 ms"
};

// The working copy of a blink pattern table and every operation of its editor frame. The frame
// shows what this class reports and forwards control changes and pointer events to it; the
// image changes only in WriteTable ("Übernehmen").
class PatternTable {
  public:
    static constexpr int kMinStretch = 1;
    static constexpr int kMaxStretch = 200;
    static constexpr int kRasterMsPerStretch = 20;  // one step lasts stretch x 20 ms

    explicit PatternTable(PatternLayout layout);
    virtual ~PatternTable() = default;

    const PatternLayout& layout() const { return m_layout; }
    int table_bytes() const { return m_layout.blocks * m_layout.block_bytes; }
    int outputs() const { return static_cast<int>(m_layout.use.size()); }

    // ---- image ----

    // rom_cells index of table byte i: the low byte of program word first_word + i.
    int RomCellOf(int table_byte) const { return 2 * (m_layout.first_word + table_byte); }
    // Working copy from the image ("Verwerfen", set-up); no changes pending afterwards.
    void ReadTable(const FirmwareImage& image);
    // Working copy into the low-byte cells of the table ("Übernehmen"); high bytes and cells
    // whose text already stands for the value are left as they are. After an edit, count and
    // stretch bytes outside their ranges are written as the editor shows them (limited), in
    // every block. When a cell changed,
    // rom_last grows to the table's end so that saving writes it. No changes pending after.
    void WriteTable(FirmwareImage& image);

    // ---- working copy ----

    const std::vector<int>& bytes() const { return m_bytes; }
    int Byte(int table_byte) const { return m_bytes.at(table_byte); }
    int BlockByte(int block, int offset) const {
        return m_bytes.at(block * m_layout.block_bytes + offset);
    }
    bool StepBit(int block, int step, int output) const;

    // ---- selected block ----

    int selected() const { return m_selected; }
    void Select(int block);  // ignored outside 0 .. blocks - 1

    int Count() const;    // as shown: the stored count limited to 1 .. max steps
    int Stretch() const;  // as shown: the stored stretch limited to 1 .. 200
    bool Loop() const;
    bool OutputUsed(int output) const;
    bool CopyEnabled(int source_block) const { return source_block != m_selected; }
    // "Zeit-Raster = " + stretch * 20 + " ms"; for a stored stretch outside 1..200 instead
    // "gespeichert: 255, wird 200".
    std::string RasterText() const;
    // "Gesamtzeit = " + stretch * 20 * count + " ms"; for a stored count outside its range
    // instead "gespeichert: 255, wird 50".
    std::string TotalText() const;
    PatternParameters Parameters() const;

    // ---- edits of the selected block; each one leaves changes pending ----

    EditOutcome EditCount(const std::string& text);
    EditOutcome EditStretch(const std::string& text);
    void SetLoop(bool on);
    void SetOutputUsed(int output, bool on);
    // Sets or clears one output's bit of one step (0 .. max steps - 1); false when out of range.
    bool SetStepBit(int step, int output, bool on);
    // Copies the first copy_bytes bytes of another block over the selected one; false (nothing
    // changed) for the selected block itself or a block that does not exist.
    bool CopyFrom(int source_block);

    // The message for a count or stretch text that is not an integer.
    Message CountMessage() const;
    static Message StretchMessage();

    // ---- strips ----

    void SetStripSize(int width, int height);
    int strip_width() const { return m_strip_width; }
    int strip_height() const { return m_strip_height; }
    // (strip width - 10) / shown count.
    double StepWidth() const;
    // What the strip of `output` shows: visible while its use box is set; one rectangle per set
    // bit among the counted steps (steps beyond the count keep their bits but are not drawn).
    StripPaint Paint(int output) const;

    // ---- mouse drawing ----

    // Button pressed on the strip of `output`: only this strip changes until EndDrag.
    void BeginDrag(int output);
    // Pointer at (x, y) in the coordinates of the strip where the drag started. Sets the step
    // under the pointer (upper 78/128 of the strip) or clears it (lower 50/128). Positions left
    // or right of the reachable steps change the first or last of them; nothing outside the
    // selected block's step bytes is ever touched. True when the working copy was edited
    // (redraw, enable "Übernehmen"); false when no drag is running.
    bool DragTo(int x, int y);
    void EndDrag() { m_drag_output = -1; }
    bool dragging() const { return m_drag_output >= 0; }
    int drag_output() const { return m_drag_output; }
    // Step a pointer column x addresses on the selected block.
    int StepIndexAt(int x) const;

    // ---- changes pending ("Übernehmen" enabled) ----

    bool modified() const { return m_modified; }
    // The frame was hidden for another file: its edits are abandoned, and the set-up for the
    // next file reads the working copy anew.
    void DropChanges() { m_modified = false; }
    // Puts back a working copy kept earlier (undo): bytes, selected block and changed flag.
    // Bytes of another table size are ignored.
    void Restore(const std::vector<int>& bytes, int selected, bool modified);

  private:
    int& SelectedByte(int offset) { return m_bytes[m_selected * m_layout.block_bytes + offset]; }
    int SelectedByte(int offset) const {
        return m_bytes[m_selected * m_layout.block_bytes + offset];
    }
    bool ValidOutput(int output) const { return output >= 0 && output < outputs(); }
    EditOutcome EditValue(const std::string& text, int maximum, int offset, const Message& message);

    PatternLayout m_layout;
    std::vector<int> m_bytes;
    int m_selected = 0;
    int m_strip_width = 0;
    int m_strip_height = 0;
    int m_drag_output = -1;
    bool m_modified = false;
};

}  // namespace parvel
