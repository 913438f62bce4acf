#include "document/DecoderFile.h"

#include <algorithm>

#include "image/TextFile.h"

namespace parvel {

LoadOutcome LoadDecoderFile(DecoderDocument& document, Dialogs& dialogs, const std::string& path,
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
    document.LoadHexLines(read.lines, path);
    if (document.line_rejected()) return LoadOutcome::Rejected;
    // Without an ID record, or with a firmware the catalogue does not know, the image is loaded
    // but not recognised.
    return document.recognised() && document.entry() ? LoadOutcome::Recognised : LoadOutcome::NotRecognised;
}

const char* ChipName(const std::string& default_config) {
    if (default_config == "CC01") return "12F629/16F630";
    if (default_config == "CC33") return "16F684/688";
    return nullptr;
}

std::vector<ShownRow> ShownRows(const DecoderDocument& document) {
    std::vector<ShownRow> rows;
    if (!document.recognised() || !document.rows_visible()) return rows;
    for (int r = 0; r < kGridRows; ++r) {
        const GridRow& grid = document.row(r);
        // Row 0 is never shown.
        if (r == 0 || !grid.exists()) continue;
        ShownRow row;
        row.row = r;
        row.label = grid.label;
        row.address = grid.address;
        row.green = grid.green;
        row.function = grid.function;
        row.stored = document.StoredBytesText(r);
        rows.push_back(row);
    }
    return rows;
}

std::optional<std::pair<int, int>> UsedAddressSpan(const DecoderDocument& document) {
    std::optional<std::pair<int, int>> span;
    for (int r = 1; r < kGridRows; ++r) {
        const GridRow& row = document.row(r);
        if (!row.exists() || row.address <= 0) continue;
        if (!span) span = std::make_pair(row.address, row.address);
        span->first = std::min(span->first, row.address);
        span->second = std::max(span->second, row.address);
    }
    return span;
}

std::string RowValueText(const DecoderDocument& document, int r) {
    const GridRow& row = document.row(r);
    std::string text = std::to_string(row.address);
    if (document.kind() == DecoderKind::Accessory) text += std::string(" ") + ColourName(row.green);
    else if (document.kind() == DecoderKind::Function) text += " F" + std::to_string(row.function);
    return text;
}

}  // namespace parvel
