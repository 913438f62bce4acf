#include "document/DecoderFile.h"

#include <algorithm>

#include "image/TextFile.h"
#include "settings/CvRegisterTable.h"
#include "settings/NumberInput.h"

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

namespace {

// The EEPROM cell of CV `cv` in the firmware's CV table (the table, not a formula, knows the
// firmware's layout); -1 when the table has no such CV.
int CvCell(const CvRegisterTable& table, int cv) {
    const std::string prefix = "CV" + std::to_string(cv) + ":";
    for (int i = 0; i < table.row_count(); ++i) {
        if (table.row(i).caption.compare(0, prefix.size(), prefix) == 0) return table.row(i).cell;
    }
    return -1;
}

int CvValue(const DecoderDocument& document, int cell) {
    return HexByteValue(document.image().eeprom_cells[static_cast<std::size_t>(cell)]);
}

constexpr int kLongAddressBase = 192;  // CV17 of a long address starts with bits 7 and 6 set
constexpr int kLongAddressLast = 10239;
constexpr int kShortAddressLast = 127;
constexpr int kCv29LongAddress = 0x20;

}  // namespace

std::optional<CvAddress> CvAddressOf(const DecoderDocument& document) {
    if (!document.recognised() || document.protocol() == Protocol::None) return std::nullopt;
    const CvRegisterTable table(document.type_code());
    const int cv1 = CvCell(table, 1);
    if (cv1 < 0) return std::nullopt;
    CvAddress cv;
    const int cv17 = CvCell(table, 17), cv18 = CvCell(table, 18), cv29 = CvCell(table, 29);
    if (document.protocol() == Protocol::Dcc && cv17 >= 0 && cv18 >= 0 && cv29 >= 0 &&
        (CvValue(document, cv29) & kCv29LongAddress) != 0) {
        const int high = CvValue(document, cv17), low = CvValue(document, cv18);
        cv.long_address = true;
        cv.max = kLongAddressLast;
        cv.label = "CV17/18: Lange Adresse";
        cv.name = "CV17/18 (Lange Adresse)";
        cv.address = high >= kLongAddressBase ? (high - kLongAddressBase) * 256 + low : 0;
        if (high < kLongAddressBase || cv.address < cv.min || cv.address > cv.max) {
            cv.address = 0;
            cv.problem = "CV29 schaltet die lange Adresse ein, aber CV17 = " + std::to_string(high) +
                         " und CV18 = " + std::to_string(low) +
                         " ergeben keine Adresse von 1 bis 10239 (CV17 muss 192 bis 231 sein).";
        }
        return cv;
    }
    cv.max = document.protocol() == Protocol::Dcc ? kShortAddressLast : document.max_address();
    for (int i = 0; i < table.row_count(); ++i) {
        if (table.row(i).cell == cv1) cv.label = table.row(i).caption;
    }
    const std::size_t colon = cv.label.find(": ");
    cv.name = colon == std::string::npos
                  ? cv.label
                  : cv.label.substr(0, colon) + " (" + cv.label.substr(colon + 2) + ")";
    cv.address = CvValue(document, cv1);
    if (cv.address < cv.min || cv.address > cv.max) {
        cv.problem = "Die Adresse in " + cv.name + " ist " + std::to_string(cv.address) +
                     "; gültig sind 1 bis " + std::to_string(cv.max) + ".";
    }
    return cv;
}

bool SetCvAddress(DecoderDocument& document, const CvAddress& cv, int address) {
    if (address < cv.min || address > cv.max) return false;
    const CvRegisterTable table(document.type_code());
    FirmwareImage& image = document.image();
    if (cv.long_address) {
        const int cv17 = CvCell(table, 17), cv18 = CvCell(table, 18);
        if (cv17 < 0 || cv18 < 0) return false;
        StoreEepromCell(image, cv17, hex_byte_names()[kLongAddressBase + address / 256]);
        StoreEepromCell(image, cv18, hex_byte_names()[address % 256]);
        return true;
    }
    const int cv1 = CvCell(table, 1);
    if (cv1 < 0) return false;
    StoreEepromCell(image, cv1, hex_byte_names()[address]);
    return true;
}

std::optional<std::pair<int, int>> UsedAddressSpan(const DecoderDocument& document) {
    if (const auto cv = CvAddressOf(document)) {
        if (!cv->problem.empty()) return std::nullopt;
        return std::make_pair(cv->address, cv->address);
    }
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
