#include "RecordingView.h"

namespace parvel {

std::string AddressHint(int max_address) {
    return "gültiger Adressbereich: 1 bis " + std::to_string(max_address) +
           "\n'0' für unbenutzt (keine Reaktion auf irgendeinen Befehl)";
}

std::string FunctionHint(int max_function) {
    return "gültiger Bereich für die Funktions-Nummer: 1 bis " + std::to_string(max_function);
}

void RecordingView::SetStatusText(int panel, const std::string& text) {
    if (panel >= 0 && panel < 4) status[panel] = text;
}

void RecordingView::HideAllFrames() {
    frame_code = kFrameNone;
    calls.push_back("HideAllFrames");
}

void RecordingView::ResetLayout() {
    for (auto& row : rows) row.label.clear();
    split = 15;
    gap = 0;
    calls.push_back("ResetLayout");
}

void RecordingView::SetRowLabel(int row, const std::string& label) { rows[row].label = label; }

void RecordingView::LayoutGrid(int s, int g) {
    split = s;
    gap = g;
    calls.push_back("LayoutGrid");
}

void RecordingView::ShowFrame(int code) {
    frame_code = code;
    calls.push_back("ShowFrame");
}

void RecordingView::SetHeader(const std::string& text) {
    header = text;
    calls.push_back("SetHeader");
}

void RecordingView::ShowRows(DecoderKind kind, int max_address, int max_function) {
    // The same two hints for every visible row: built once, copied into each.
    const std::string address_hint = AddressHint(max_address);
    const std::string function_hint = FunctionHint(max_function);
    for (int r = 0; r < kGridRows; ++r) {
        Row& row = rows[r];
        row.visible = !row.label.empty();
        row.shows_button = row.visible && kind == DecoderKind::Accessory;
        row.shows_function = row.visible && kind != DecoderKind::Accessory;
        if (row.visible) {
            row.address_hint = address_hint;
            row.function_hint = function_hint;
        } else {
            row.address_hint.clear();
            row.function_hint.clear();
        }
    }
    calls.push_back("ShowRows");
}

void RecordingView::HideAllRows() {
    for (auto& row : rows) row.visible = row.shows_button = row.shows_function = false;
    calls.push_back("HideAllRows");
}

void RecordingView::SetProgressMaximum(int maximum) { progress_maximum = maximum; }
void RecordingView::SetProgress(int position) { progress = position; }

void RecordingView::SetRowFields(int row, const std::string& address, const std::string& function) {
    rows[row].address_text = address;
    rows[row].function_text = function;
}

std::string RecordingView::AddressFieldText(int row) const { return rows[row].address_text; }
std::string RecordingView::FunctionFieldText(int row) const { return rows[row].function_text; }

void RecordingView::RecolourRows(const std::array<RowColour, kGridRows>& colours) {
    for (int r = 0; r < kGridRows; ++r) rows[r].colour = colours[r];
}

void RecordingView::FocusAddressField(int row) { focused_address = row; }
void RecordingView::FocusFunctionField(int row) { focused_function = row; }
void RecordingView::SetSaveEnabled(bool enabled) { save_enabled = enabled; }
void RecordingView::SetWebCaption(const std::string& address) { web_caption = address; }

bool RecordingView::HasPendingChanges(PendingFrame frame) const {
    return pending[static_cast<int>(frame)];
}

void RecordingView::TakeOverChanges(PendingFrame frame) {
    pending[static_cast<int>(frame)] = false;
    taken_over.push_back(frame);
}

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

void RecordingView::MarkStoredCode(int row, const std::string& hint) {
    if (row >= 0 && row < kGridRows) rows[row].stored_hint = hint;
}

}  // namespace parvel
