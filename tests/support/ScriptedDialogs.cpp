#include "tests/support/ScriptedDialogs.h"

namespace parvel {

Answer ScriptedDialogs::ShowMessage(const Message& message) {
    messages.push_back(message);
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return fallback ? *fallback : SafeAnswer(message.buttons);
}

std::optional<std::string> ScriptedDialogs::OpenFileName(const std::string&,
                                                         const FileDialogPlace& place) {
    open_places.push_back(place);
    if (open_names.empty()) return std::nullopt;
    auto name = open_names.front();
    open_names.pop_front();
    return name;
}

std::optional<std::string> ScriptedDialogs::SaveFileName(const std::string&, const std::string&,
                                                         const std::string& proposed_name,
                                                         const FileDialogPlace& place) {
    save_proposals.push_back(proposed_name);
    save_places.push_back(place);
    if (save_names.empty()) return std::nullopt;
    auto name = save_names.front();
    save_names.pop_front();
    return name;
}

std::optional<std::string> ScriptedDialogs::FolderName(const std::string&) {
    if (folder_names.empty()) return std::nullopt;
    auto name = folder_names.front();
    folder_names.pop_front();
    return name;
}

}  // namespace parvel
