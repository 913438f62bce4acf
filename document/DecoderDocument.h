#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "settings/BlinkPatternTable.h"
#include "catalogue/Catalogue.h"
#include "catalogue/CodeTables.h"
#include "image/Dialogs.h"
#include "document/EditHistory.h"
#include "image/FirmwareImage.h"
#include "settings/LedBlinkPatternTable.h"
#include "settings/ServoPages.h"
#include "settings/ServoPulses.h"

namespace parvel {

// Shown where a configuration word would be when the file had none and none was created.
constexpr const char* kNoConfigText = "kein Config-Wert";

constexpr const char* kHexFileFilter = "HEX|*.hex|TXT|*.txt|*.*|*.*";

// The folder part of a path ("" when it has none).
std::string FileFolder(const std::string& path);

// The track protocol a firmware was built for, read from its signature word.
enum class Protocol { None, Motorola, Dcc };
// "Mot", "DCC", "ohne": the text of status panel 2.
const char* ProtocolName(Protocol protocol);
// "grün" / "rot": the two addresses of an accessory output.
const char* ColourName(bool green);
// A typed whole number in decimal; surrounding blanks and one sign are allowed.
std::optional<int> ParseDecimal(const std::string& text);

// Input hints of a grid row's fields for the current limits.
std::string AddressHint(int max_address);
std::string FunctionHint(int max_function);

// Frames that edit a working copy and hold changes until their take-over button is pressed.
enum class PendingFrame { Torv, Blinkmuster, BlinkmusterLed };

enum class RowColour { White, Green, Red };

// One row of the parameter grid: what the firmware stores, what the user typed, and what the
// row looked like right after the load.
struct GridRow {
    std::string label;          // empty: the row does not exist for this firmware
    std::string address_text;   // the address field as typed (the pending value)
    std::string function_text;  // the function number field as typed
    bool green = false;         // accessory outputs: green (true) or red address
    int address = 0;            // the values the last validation or recognition found
    int function = 0;
    std::string address_code;   // the stored command pattern, as hex digits
    std::string function_code;
    // Bytes the grid values would not give back (bytes that match no address): the six hex
    // digits as read, empty for every other row. Such a row keeps its bytes on save while its
    // address, function and R/G stay as loaded.
    std::string stored_code;
    int loaded_address = 0;
    int loaded_function = 0;
    bool loaded_green = false;

    bool exists() const { return !label.empty(); }
};

// Which field of a grid row a message is about.
enum class RowField { Address, Function };

// The parts of the window where the user can type a value that is taken over later.
enum class EditArea { Grid, Zusatz, Blinkmuster, BlinkmusterLed, Torv, TorvAdr, Register };

// The servo frame's working copy: the four curve pages, the pulse values of the address table,
// and whether it holds changes not yet taken over ("übernehmen" enabled).
struct ServoWork {
    ServoPages pages;
    PulseValues pulses;
    bool modified = false;
    int page = 0;  // the curve on screen (not part of a change)
};

class DecoderDocument;

// What a document tells the one who shows it. Every call comes after the document changed;
// the window reads what it needs from the document.
class DocumentListener {
public:
    virtual ~DocumentListener() = default;
    // A load began: the previous firmware's frames no longer belong to the image.
    virtual void LoadStarted() {}
    // Recognition chose the decoder: labels, kind, limits, frame, header and web address. The
    // shown frame fills itself from the image here.
    virtual void DecoderChanged() {}
    // Row texts, colours or stored-code marks changed.
    virtual void RowsChanged() {}
    // A status panel's text changed.
    virtual void StatusChanged(int panel) { (void)panel; }
    // Saving became possible or impossible.
    virtual void SaveEnabledChanged() {}
    // Validation refused a grid field: the message about it comes next.
    virtual void FieldRejected(int row, RowField field) {
        (void)row;
        (void)field;
    }
    // An undo or redo put a state back; `view` is the pattern block or servo curve to show.
    virtual void StateRestored(int view) { (void)view; }
    // A frame's working copy was taken over into the image or read from it again.
    virtual void WorkingCopyChanged() {}
    // Steps were added, merged, undone or redone, or the history started anew.
    virtual void HistoryChanged() {}
    // Before a frame's working copy goes into the image: the frame stores a number typed into
    // one of its fields and not finished yet. False when the number was refused.
    virtual bool CommitTypedInput(PendingFrame frame) {
        (void)frame;
        return true;
    }
};

// One firmware being edited: the image, what recognition made of it, the grid rows, the
// frames' working copies and the history of the user's changes. The window shows it and calls
// its edits; the command line and the workflows use it without a window. Every message and
// question goes through Dialogs.
class DecoderDocument {
public:
    explicit DecoderDocument(Dialogs& dialogs);

    void SetListener(DocumentListener* listener) { m_listener = listener; }

    // ---- loading and recognition ----

    // Reads the file, stores its records and recognises the firmware. Returns true when every
    // line was accepted and recognition ran (the grid then shows this file's values).
    bool LoadHexFile(const std::string& path);
    // Same, for lines already in memory (tests, fuzzing); `path` is only shown.
    bool LoadHexLines(const std::vector<std::string>& lines, const std::string& path);

    // First EEPROM cell of grid row r; the row's code bytes are cells c, c+16, c+32.
    static int BaseCell(int row);

    // ---- what recognition found ----

    std::uint32_t type_code() const { return m_type_code; }
    float version() const { return m_version; }
    // The text after "V " in status panel 1, empty when none is shown.
    const std::string& version_text() const { return m_version_text; }
    Protocol protocol() const { return m_protocol; }
    DecoderKind kind() const { return m_kind; }
    int max_address() const { return m_max_address; }
    int max_function() const { return m_max_function; }
    const DecoderType* entry() const { return m_entry; }  // nullptr: not in the catalogue
    const std::string& default_config() const { return m_default_config; }
    const std::string& header_text() const { return m_header_text; }
    const std::string& doc_address() const { return m_doc_address; }
    int frame_code() const { return m_frame_code; }
    // The grid shows its labelled rows (false for a firmware without a protocol).
    bool rows_visible() const { return m_rows_visible; }
    const std::string& status_text(int panel) const { return m_status.at(panel); }
    // The loaded (or last saved) file as it lies on disk; the save dialog proposes it.
    const std::string& file_path() const { return m_file_path; }
    bool recognised() const { return m_recognised; }  // the last load was recognised with an ID
    bool line_rejected() const { return m_line_rejected; }  // the last load stopped at a line
    bool save_enabled() const { return m_recognised; }

    // Where the documentation pages lie (prefix put before each page name, e.g. a file URL
    // ending in '/'); the program's own page is "index.html".
    void SetDocumentationRoot(const std::string& root);
    std::string OwnDocAddress() const { return m_doc_root + "index.html"; }

    // ---- the grid ----

    const GridRow& row(int r) const { return m_rows.at(static_cast<std::size_t>(r)); }
    const std::array<GridRow, kGridRows>& rows() const { return m_rows; }
    RowColour RowColourOf(int row) const;
    // True when the row holds stored bytes that match no address and is as loaded.
    bool RowKeepsStoredCode(int row) const;
    // "12 34 56", the stored bytes of such a row; empty for every other row.
    std::string StoredBytesText(int row) const;
    // The hint of such a row's address field.
    std::string StoredCodeHint(int row) const;

    // The user typed into a row's field: the text is the row's pending value until the save
    // validates it. Keys typed one after another into one field make one step.
    void SetAddressText(int row, const std::string& text);
    void SetFunctionText(int row, const std::string& text);
    // The R/G button of a row: switches between red and green address.
    void ToggleGreen(int row);
    void SetGreen(int row, bool green);

    // ---- saving ----

    enum class SaveResult { Saved, Cancelled, Rejected, WriteFailed };
    // The save button: takes over pending frame changes (asking), validates the grid, encodes
    // the rows into the EEPROM cells, rebuilds the HEX lines, asks for the file name and writes
    // it atomically.
    SaveResult Save();
    // Asks for each frame with changes not taken over whether to take them over; false when
    // the user said No (the save stops there).
    bool TakeOverPendingFrames();
    // The save without its file dialog: validates the grid, encodes and stores the rows and
    // rebuilds the image's lines. Saved means the lines are ready to be written.
    SaveResult BuildHexLines();
    // Validation alone: the first failing field's message. Fills the rows' numbers from their
    // texts.
    std::optional<Message> ValidateRows();

    // ---- the frames' working copies ----

    FirmwareImage& image() { return m_image; }
    const FirmwareImage& image() const { return m_image; }
    // The code tables as texts (built on first use; loading and saving do not need them).
    const CodeTables& tables() const { return CodeTables::Instance(); }

    BlinkPatternTable& blink_table() { return m_blink; }
    LedBlinkPatternTable& led_blink_table() { return m_led_blink; }
    ServoWork& servo() { return m_servo; }
    const ServoWork& servo() const { return m_servo; }
    // The working copy of `frame` holds changes not taken over, or one of its fields holds a
    // number typed and not finished.
    bool HasPendingChanges(PendingFrame frame) const;
    // "Übernehmen": a typed number is stored, then the working copy goes into the image.
    void TakeOverChanges(PendingFrame frame);
    // "Verwerfen": the working copy is read from the image again.
    void DiscardChanges(PendingFrame frame);

    // A field of `area` holds text typed and not taken over yet (true), or no longer (false).
    // Such text counts as an unsaved change.
    void NoteTyped(EditArea area, const std::string& field, bool typed);
    bool HasTypedInput(EditArea area) const;

    // ---- history ----

    // Records the change made since the last step as one step named `name`. A change with the
    // same non-empty `merge_key` as the step before merges into it (a typing run in one field,
    // a slider dragged); CloseStep ends such a run. Nothing is recorded when nothing changed,
    // while a file loads or while a step is put back.
    void Record(const std::string& name, const std::string& merge_key = {});
    void CloseStep();
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    std::string UndoName() const { return m_history.UndoName(); }
    std::string RedoName() const { return m_history.RedoName(); }
    void Undo();
    void Redo();
    const EditHistory& history() const { return m_history; }
    // Changes since the load or the last save, including text typed and not taken over.
    bool HasUnsavedChanges() const;

    // Messages the document has shown, in order (the command line reports them; tests read them).
    const std::vector<Message>& shown_messages() const { return m_shown; }

private:
    // The first half of a load: refuses too many lines, clears status and image. The caller
    // then puts the lines into image().hex_lines and calls ReadLoadedLines.
    bool BeginLoad(std::size_t line_count, const std::string& path);
    bool ReadLoadedLines(int line_count);
    void ShowIdRecord(const std::string& line);
    void RecogniseFirmware();
    void ExtractTypeCode();
    void DetectProtocol();
    void ApplyDecoderType(std::uint32_t code);
    void ReadWorkingCopies();
    Answer Show(const Message& message);
    void SetStatus(int panel, const std::string& text);
    void ExtractRow(int row);
    // The code bytes (six hex digits) row r gets for address a, function f and R/G green;
    // `function_code` is the row's function code, replaced when f is a valid number.
    std::string EncodedCode(int a, int f, bool green, std::string& function_code) const;
    bool Encodes() const;
    void FindStoredCodes();
    // What a load met that a save cannot write back, named once.
    void ReportUnsavedParts();
    void ClearRowValues();
    void EncodeRows();
    void StoreRows();
    std::optional<Message> CheckSharedCells();
    void RejectField(int row, RowField field);
    void RowsChanged();

    // The state a step keeps: image, grid texts and choices, working copies.
    EditState Capture() const;
    // Puts a state back; `view` is the pattern block or servo curve to show.
    void Restore(const EditState& state, int view);
    void StartHistory();
    // The rows' name for a change of the grid, or `fallback`.
    std::string GridStepName(const EditState& before, const EditState& after) const;

    Dialogs& m_dialogs;
    DocumentListener* m_listener = nullptr;
    FirmwareImage m_image;
    std::string m_doc_root;
    std::vector<Message> m_shown;

    std::uint32_t m_type_code = 0;
    float m_version = 0.0f;
    std::string m_version_text;
    Protocol m_protocol = Protocol::None;
    DecoderKind m_kind = DecoderKind::None;
    int m_max_address = 0;
    int m_max_function = 0;
    const DecoderType* m_entry = nullptr;
    std::string m_default_config;
    std::string m_header_text = "Hex Parvel";
    std::string m_doc_address;
    int m_frame_code = kFrameNone;
    bool m_rows_visible = false;
    std::array<std::string, 4> m_status;
    std::string m_file_path;
    bool m_recognised = false;
    bool m_line_rejected = false;
    std::array<GridRow, kGridRows> m_rows;

    BlinkPatternTable m_blink;
    LedBlinkPatternTable m_led_blink;
    ServoWork m_servo;
    std::set<std::pair<EditArea, std::string>> m_typed;

    EditHistory m_history;
    std::shared_ptr<const EditState> m_last;  // the state after the last step
    bool m_loading = false;
    bool m_restoring = false;
};

}  // namespace parvel
