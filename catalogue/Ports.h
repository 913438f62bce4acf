#pragma once

#include <array>
#include <optional>
#include <string>

#include "Catalogue.h"
#include "Message.h"

namespace parvel {

// Which file dialog is asked for: its name in the window (the component name, e.g.
// "OpenDialog1") and the folder it starts in (empty: where the dialog starts by itself).
struct FileDialogPlace {
    std::string name;
    std::string folder;
};

// The one seam for messages, questions and file dialogs. The window answers with real dialogs;
// tests and the command line script the answers, so nothing ever blocks on a person.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    virtual Answer ShowMessage(const Message& message) = 0;

    // filter: "HEX|*.hex|TXT|*.txt|*.*|*.*" (pairs of description and pattern).
    // Returns the chosen path, or nothing when cancelled.
    virtual std::optional<std::string> OpenFileName(const std::string& filter,
                                                    const FileDialogPlace& place = {}) = 0;

    // Asks before overwriting an existing file (a No counts as cancelled).
    virtual std::optional<std::string> SaveFileName(const std::string& filter,
                                                    const std::string& default_extension,
                                                    const std::string& proposed_name,
                                                    const FileDialogPlace& place = {}) = 0;

    // Chooses a folder, starting at `start`; nothing when cancelled. Seams that never choose
    // folders need not answer.
    virtual std::optional<std::string> FolderName(const std::string& start) {
        (void)start;
        return std::nullopt;
    }
};

// Frames that edit a working copy and hold changes until their take-over button is pressed.
enum class PendingFrame { Torv, Blinkmuster, BlinkmusterLed };

enum class RowColour { White, Green, Red };

// What the core shows in the main window. The core never touches a widget: it calls these, and
// the window (or a recording stand-in) carries them out.
class MainView {
public:
    virtual ~MainView() = default;

    virtual void SetStatusText(int panel, const std::string& text) = 0;  // panels 0..3
    virtual void HideAllFrames() = 0;
    // Window geometry without a frame, all grid labels empty, grid in two columns split at 15.
    virtual void ResetLayout() = 0;
    virtual void SetRowLabel(int row, const std::string& label) = 0;
    virtual void LayoutGrid(int split, int gap) = 0;
    virtual void ShowFrame(int frame_code) = 0;
    virtual void SetHeader(const std::string& text) = 0;
    // Shows the labelled rows with address field plus R/G button (accessory) or function field,
    // with the input hints for the current limits; hides the rows without label.
    virtual void ShowRows(DecoderKind kind, int max_address, int max_function) = 0;
    virtual void HideAllRows() = 0;
    virtual void SetProgressMaximum(int maximum) = 0;
    virtual void SetProgress(int position) = 0;
    virtual void SetRowFields(int row, const std::string& address, const std::string& function) = 0;
    virtual std::string AddressFieldText(int row) const = 0;
    virtual std::string FunctionFieldText(int row) const = 0;
    virtual void RecolourRows(const std::array<RowColour, kGridRows>& colours) = 0;
    virtual void FocusAddressField(int row) = 0;
    virtual void FocusFunctionField(int row) = 0;
    virtual void SetSaveEnabled(bool enabled) = 0;
    virtual void SetWebCaption(const std::string& address) = 0;
    virtual bool HasPendingChanges(PendingFrame frame) const = 0;
    virtual void TakeOverChanges(PendingFrame frame) = 0;
    // Marks a row whose stored bytes match no address, with the hint that says so; an empty
    // hint takes the mark away. Every load calls it for every row.
    virtual void MarkStoredCode(int row, const std::string& hint) {
        (void)row;
        (void)hint;
    }
};

}  // namespace parvel
