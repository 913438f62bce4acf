#pragma once

#include <array>
#include <optional>
#include <string>

#include "image/Message.h"

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

}  // namespace parvel
