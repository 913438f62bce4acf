#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Catalogue.h"
#include "CodeTables.h"
#include "FirmwareImage.h"
#include "Ports.h"

namespace parvel {

// Shown where a configuration word would be when the file had none and none was created.
constexpr const char* kNoConfigText = "kein Config-Wert";

constexpr const char* kHexFileFilter = "HEX|*.hex|TXT|*.txt|*.*|*.*";

// The folder part of a path ("" when it has none).
std::string FileFolder(const std::string& path);

// One firmware being edited: the image, what recognition made of it and the grid values.
// The main window owns exactly one session for the whole run; the command line makes one per
// command. Everything the user sees goes through MainView, every question through Dialogs.
class DecoderSession {
public:
    DecoderSession(MainView& view, Dialogs& dialogs);

    // ---- loading and recognition ----

    // Reads the file, stores its records and recognises the firmware. Returns true when every
    // line was accepted and recognition ran (the grid then shows this file's values).
    bool LoadHexFile(const std::string& path);
    // Same, for lines already in memory (tests, fuzzing); `path` is only shown.
    bool LoadHexLines(const std::vector<std::string>& lines, const std::string& path);

    void ShowIdRecord(const std::string& line);
    void RecogniseFirmware();
    void ExtractTypeCode();
    void DetectProtocol();
    void ApplyDecoderType(std::uint32_t code);
    void SetMotorolaLimits();
    void SetDccLimits();

    // First EEPROM cell of grid row r; the row's code bytes are cells c, c+16, c+32.
    static int BaseCell(int row);

    // ---- grid ----

    // The R/G button of a row: switches between red and green address.
    void ToggleGreen(int row);
    RowColour RowColourOf(int row) const;

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
    // rebuilds hex_lines. Saved means the lines are ready to be written; failures were shown.
    SaveResult BuildHexLines();

    // Validation alone: the first failing field's message, with focus moved to it. Fills
    // row_address / row_function from the fields.
    std::optional<Message> ValidateRows();
    // Turns row_address / row_function / row_green into row_address_code (and function code).
    void EncodeRows();
    // Puts the encoded rows into the EEPROM cells.
    void StoreRows();

    // ---- state read by the window, the frames and the command line ----

    FirmwareImage& image() { return m_image; }
    const FirmwareImage& image() const { return m_image; }
    // The code tables as texts (built on first use; loading and saving do not need them).
    const CodeTables& tables() const { return CodeTables::Instance(); }

    std::uint32_t type_code = 0;
    float version = 0.0f;
    std::string version_text;  // the text after "V " in status panel 1, empty when none shown
    bool is_motorola = false;
    bool is_dcc = false;
    int max_address = 0;
    int max_function = 0;

    const DecoderType* entry = nullptr;  // the recognised catalogue entry, or nullptr
    bool kind_accessory = false;
    bool kind_function = false;
    std::string default_config;
    std::string header_text;
    std::string doc_address;
    int frame_code = kFrameNone;

    std::array<std::string, kGridRows> row_label;
    std::array<int, kGridRows> row_address{};
    std::array<int, kGridRows> row_function{};
    std::array<int, kGridRows> row_green{};
    std::array<std::string, kGridRows> row_address_code;
    std::array<std::string, kGridRows> row_function_code;
    // Rows whose stored bytes the grid values would not give back (bytes that match no address):
    // the six hex digits as read, empty for every other row. Such a row keeps its bytes on save
    // while its address, function and R/G stay as loaded (row_loaded_*).
    std::array<std::string, kGridRows> row_stored_code;
    std::array<int, kGridRows> row_loaded_address{};
    std::array<int, kGridRows> row_loaded_function{};
    std::array<int, kGridRows> row_loaded_green{};
    // True when the row holds stored bytes that match no address and is as loaded.
    bool RowKeepsStoredCode(int row) const;
    // "12 34 56", the stored bytes of such a row; empty for every other row.
    std::string StoredBytesText(int row) const;
    // The hint of such a row's address field.
    std::string StoredCodeHint(int row) const;

    std::array<std::string, 4> status_text;
    // The loaded (or last saved) file as it lies on disk, without the chip family that status
    // panel 3 adds; the save dialog proposes it.
    std::string file_path;
    bool recognised = false;  // the last load went through recognition with an ID record
    bool line_rejected = false;  // the last load stopped at a line the reader rejected

    // Where the documentation pages lie (prefix put before each page name, e.g. a file URL
    // ending in '/'); the program's own page is "index.html".
    void SetDocumentationRoot(const std::string& root);
    std::string OwnDocAddress() const { return m_doc_root + "index.html"; }

    DecoderKind kind() const;
    bool RowExists(int row) const { return !row_label[row].empty(); }

    // Messages the session has shown, in order (the command line reports them; tests read them).
    const std::vector<Message>& shown_messages() const { return m_shown; }

private:
    // The first half of a load: refuses too many lines, clears status and image. The caller
    // then puts the lines into image().hex_lines and calls ReadLoadedLines.
    bool BeginLoad(std::size_t line_count, const std::string& path);
    bool ReadLoadedLines(int line_count);
    Answer Show(const Message& message);
    void SetStatus(int panel, const std::string& text);
    void ExtractRow(int row);
    // The code bytes (six hex digits) row r gets for address a, function f and R/G green;
    // `function_code` is the row's function code, replaced when f is a valid number.
    std::string EncodedCode(int r, int a, int f, int green, std::string& function_code) const;
    bool Encodes() const;
    void FindStoredCodes();
    // What a load met that a save cannot write back, named once.
    void ReportUnsavedParts();
    void ClearRowValues();
    std::optional<Message> CheckSharedCells();

    MainView& m_view;
    Dialogs& m_dialogs;
    FirmwareImage m_image;
    std::string m_doc_root;
    std::vector<Message> m_shown;
};

}  // namespace parvel
