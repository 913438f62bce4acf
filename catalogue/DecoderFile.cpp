#include "DecoderFile.h"

#include "TextFile.h"

namespace parvel {

LoadOutcome LoadDecoderFile(DecoderSession& session, Dialogs& dialogs, const std::string& path,
                            std::string* open_failure) {
    const LinesResult read = ReadTextLines(path, kMaxHexLines);
    if (!read.ok()) {
        if (open_failure && read.failure == ReadFailure::CannotOpen) *open_failure = read.reason;
        dialogs.ShowMessage(
            {ReadFailureText(read, path),
             read.failure == ReadFailure::CannotOpen ? Icon::Information : Icon::Warning,
             Buttons::Ok});
        return read.failure == ReadFailure::CannotOpen ? LoadOutcome::Unreadable
                                                       : LoadOutcome::Rejected;
    }
    session.LoadHexLines(read.lines, path);
    if (session.line_rejected) return LoadOutcome::Rejected;
    // Without an ID record, or with a firmware the catalogue does not know, the image is loaded
    // but not recognised.
    return session.recognised && session.entry ? LoadOutcome::Recognised : LoadOutcome::NotRecognised;
}

const char* ChipName(const std::string& default_config) {
    if (default_config == "CC01") return "12F629/16F630";
    if (default_config == "CC33") return "16F684/688";
    return nullptr;
}

std::vector<ShownRow> ShownRows(const DecoderSession& session, const RecordingView& view) {
    std::vector<ShownRow> rows;
    if (!session.recognised) return rows;
    for (int r = 0; r < kGridRows; ++r) {
        if (!view.rows[r].visible) continue;
        ShownRow row;
        row.row = r;
        row.label = session.row_label[r];
        row.address = session.row_address[r];
        row.green = session.row_green[r] == 1;
        row.function = session.row_function[r];
        row.stored = session.StoredBytesText(r);
        rows.push_back(row);
    }
    return rows;
}

}  // namespace parvel
