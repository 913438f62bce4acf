#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "Ports.h"

namespace parvel {

// A main window without widgets: keeps what the window would show. The command line reads it
// to print a file's recognition; tests read it to check what the window is told.
class RecordingView : public MainView {
public:
    struct Row {
        std::string label;
        bool visible = false;
        bool shows_button = false;    // R/G button (accessory firmwares)
        bool shows_function = false;  // function number field
        std::string address_text = "0";
        std::string function_text = "0";
        std::string address_hint;
        std::string function_hint;
        RowColour colour = RowColour::White;
        std::string stored_hint;  // set for a row whose stored bytes match no address
    };

    std::array<std::string, 4> status;
    std::array<Row, kGridRows> rows;
    int split = 15;
    int gap = 0;
    int frame_code = kFrameNone;  // last frame shown since frames were hidden
    std::string header = "Hex Parvel";
    int progress_maximum = 100;
    int progress = 0;
    bool save_enabled = false;
    std::string web_caption = "Web";
    int focused_address = -1;
    int focused_function = -1;
    std::vector<std::string> calls;  // names of the layout calls, in order

    void SetStatusText(int panel, const std::string& text) override;
    void HideAllFrames() override;
    void ResetLayout() override;
    void SetRowLabel(int row, const std::string& label) override;
    void LayoutGrid(int split, int gap) override;
    void ShowFrame(int frame_code) override;
    void SetHeader(const std::string& text) override;
    void ShowRows(DecoderKind kind, int max_address, int max_function) override;
    void HideAllRows() override;
    void SetProgressMaximum(int maximum) override;
    void SetProgress(int position) override;
    void SetRowFields(int row, const std::string& address, const std::string& function) override;
    std::string AddressFieldText(int row) const override;
    std::string FunctionFieldText(int row) const override;
    void RecolourRows(const std::array<RowColour, kGridRows>& colours) override;
    void FocusAddressField(int row) override;
    void FocusFunctionField(int row) override;
    void SetSaveEnabled(bool enabled) override;
    void SetWebCaption(const std::string& address) override;
    bool HasPendingChanges(PendingFrame frame) const override;
    void TakeOverChanges(PendingFrame frame) override;
    void MarkStoredCode(int row, const std::string& hint) override;

    // Frames with changes not taken over yet (tests set them to drive the save question).
    std::array<bool, 3> pending{};
    std::vector<PendingFrame> taken_over;
};

// Input hints of a grid row for the current limits.
std::string AddressHint(int max_address);
std::string FunctionHint(int max_function);

// Dialogs answered from a script: queued answers first, then `fallback` (or the answer that
// changes nothing). Every message is recorded.
class ScriptedDialogs : public Dialogs {
public:
    std::deque<Answer> answers;
    std::optional<Answer> fallback;
    std::deque<std::optional<std::string>> open_names;
    std::deque<std::optional<std::string>> save_names;
    std::vector<Message> messages;
    std::vector<std::string> save_proposals;  // proposed names the save dialog was opened with
    std::vector<FileDialogPlace> open_places;  // name and start folder of each open dialog
    std::vector<FileDialogPlace> save_places;
    std::deque<std::optional<std::string>> folder_names;

    Answer ShowMessage(const Message& message) override;
    std::optional<std::string> OpenFileName(const std::string& filter,
                                            const FileDialogPlace& place = {}) override;
    std::optional<std::string> SaveFileName(const std::string& filter,
                                            const std::string& default_extension,
                                            const std::string& proposed_name,
                                            const FileDialogPlace& place = {}) override;
    std::optional<std::string> FolderName(const std::string& start) override;
};

}  // namespace parvel
