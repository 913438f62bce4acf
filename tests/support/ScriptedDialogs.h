#pragma once

#include <array>
#include <deque>
#include <string>
#include <vector>

#include "image/Dialogs.h"
#include "image/Message.h"

namespace parvel {

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
