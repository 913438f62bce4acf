#include "DecoderSession.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <initializer_list>
#include <map>

#include "HexReader.h"
#include "HexRecord.h"
#include "HexWriter.h"
#include "TextFile.h"

namespace parvel {

namespace {

std::string Mid(const std::string& line, std::size_t pos, std::size_t len) {
    if (pos == 0 || pos > line.size()) return {};
    return line.substr(pos - 1, len);
}

// Decimal value of a version digit. A hex letter (no decimal value) counts with its hex value,
// so "3.A0" still orders above "3.90"; anything else counts 0.
int VersionDigit(const std::string& digit) {
    if (digit.size() != 1) return 0;
    const char c = digit[0];
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

// A grid field as a decimal integer; surrounding blanks are allowed.
std::optional<int> ParseDecimal(const std::string& text) {
    const std::size_t b = text.find_first_not_of(" \t");
    if (b == std::string::npos) return std::nullopt;
    const std::size_t e = text.find_last_not_of(" \t");
    const std::string t = text.substr(b, e - b + 1);
    std::size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
    if (i == t.size()) return std::nullopt;
    for (std::size_t k = i; k < t.size(); ++k) {
        if (t[k] < '0' || t[k] > '9') return std::nullopt;
    }
    errno = 0;
    const long long v = std::strtoll(t.c_str(), nullptr, 10);
    if (errno == ERANGE || v < INT_MIN || v > INT_MAX) return std::nullopt;
    return static_cast<int>(v);
}


const char* const kMmFunctionCodes[] = {"51", "05", "15", "55"};
const char* const kDccFunctionCodes[] = {"81", "82", "84", "88", "B1", "B2",
                                         "B4", "B8", "A1", "A2", "A4", "A8"};

template <std::size_t N>
int FunctionNumber(const char* const (&codes)[N], const std::string& code) {
    for (std::size_t i = 0; i < N; ++i) {
        if (code == codes[i]) return static_cast<int>(i) + 1;
    }
    return -1;
}

// Motorola function decoders have no address code for 0. "FFFF" sets bits 15..10, which no
// Motorola address pattern has, so a decoder holding it answers no command at all.
constexpr const char* kMmNoAddress = "FFFF";

}  // namespace

std::string FileFolder(const std::string& path) {
    const std::size_t slash = LastPathSeparator(path);
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

DecoderSession::DecoderSession(MainView& view, Dialogs& dialogs)
    : m_view(view), m_dialogs(dialogs) {
    doc_address = OwnDocAddress();
}

void DecoderSession::SetDocumentationRoot(const std::string& root) {
    const bool own = doc_address == OwnDocAddress();
    if (entry) doc_address = root + entry->doc_page;
    m_doc_root = root;
    if (own || !entry) doc_address = OwnDocAddress();
}

DecoderKind DecoderSession::kind() const {
    if (kind_accessory) return DecoderKind::Accessory;
    if (kind_function) return DecoderKind::Function;
    return DecoderKind::None;
}

Answer DecoderSession::Show(const Message& message) {
    m_shown.push_back(message);
    return m_dialogs.ShowMessage(message);
}

void DecoderSession::SetStatus(int panel, const std::string& text) {
    status_text[panel] = text;
    m_view.SetStatusText(panel, text);
}

int DecoderSession::BaseCell(int row) {
    if (row < 16) return row;
    return 64 + ((row - 16) % 15) + 1;
}

bool DecoderSession::LoadHexFile(const std::string& path) {
    if (path.empty()) return false;
    LinesResult read = ReadTextLines(path, kMaxHexLines);
    if (!read.ok()) {
        // Nothing was reset: the image and the window keep the previous file.
        Show({ReadFailureText(read, path), read.failure == ReadFailure::CannotOpen ? Icon::Information
                                                                                   : Icon::Warning,
              Buttons::Ok});
        return false;
    }
    if (!BeginLoad(read.lines.size(), path)) return false;
    // The lines read are this load's own: they move into the image instead of being copied.
    for (std::size_t i = 0; i < read.lines.size(); ++i) m_image.hex_lines[i] = std::move(read.lines[i]);
    return ReadLoadedLines(static_cast<int>(read.lines.size()));
}

bool DecoderSession::LoadHexLines(const std::vector<std::string>& lines, const std::string& path) {
    if (!BeginLoad(lines.size(), path)) return false;
    for (std::size_t i = 0; i < lines.size(); ++i) m_image.hex_lines[i] = lines[i];
    return ReadLoadedLines(static_cast<int>(lines.size()));
}

bool DecoderSession::BeginLoad(std::size_t line_count, const std::string& path) {
    if (line_count > static_cast<std::size_t>(kMaxHexLines)) {
        LinesResult too_many;
        too_many.failure = ReadFailure::TooManyLines;
        too_many.max_lines = kMaxHexLines;
        Show({ReadFailureText(too_many, path), Icon::Warning, Buttons::Ok});
        return false;
    }
    SetStatus(0, "");
    SetStatus(1, "");
    SetStatus(2, "");
    SetStatus(3, path);
    file_path = path;
    version_text.clear();

    // From here on the image no longer matches the grid: saving waits for a complete recognition,
    // so a file that stops at a bad line can never be written with the previous file's rows.
    recognised = false;
    line_rejected = false;
    m_view.SetSaveEnabled(false);

    m_image.Reset();
    m_image.keep_gaps = true;
    return true;
}

bool DecoderSession::ReadLoadedLines(int line_count) {
    for (int i = 0; i < line_count; ++i) UpperCaseInPlace(m_image.hex_lines[i]);
    m_image.line_count = line_count;

    m_view.HideAllFrames();
    frame_code = kFrameNone;

    HexFileCheck check;
    for (int i = 0; i < m_image.line_count; ++i) {
        const std::string& line = m_image.hex_lines[i];
        if (check.Skips(line, i + 1 == m_image.line_count)) continue;
        if (const auto rejected = ReadHexRecord(m_image, line, i + 1)) {
            line_rejected = true;
            Show(*rejected);
            return false;
        }
        check.Accepted(line, i + 1);
        ShowIdRecord(line);
    }
    // The file is read as it is; what looks damaged is said once, before recognition.
    for (const Message& warning : check.Warnings()) Show(warning);
    ReportUnsavedParts();
    RecogniseFirmware();
    return recognised;
}

void DecoderSession::ReportUnsavedParts() {
    static const std::pair<unsigned, const char*> kParts[] = {
        {kUnsavedIdHigh, "ID-Wörter mit mehr als einer Hex-Ziffer (gespeichert wird nur die letzte)"},
        {kUnsavedIdBytes, "ID-Bytes außerhalb ganzer ID-Wörter ab 0x4000"},
        {kUnsavedAbove4008, "Daten bei 0x4008 bis 0x40FF außer dem Config-Wert"},
        {kUnsavedEepromHigh, "EEPROM-High-Bytes ungleich 00 (gespeichert wird 00)"},
        {kUnsavedEepromOdd, "EEPROM-Records an ungerader Adresse oder mit ungerader Länge"},
    };
    std::string parts;
    for (const auto& [bit, text] : kParts) {
        if ((m_image.unsaved & bit) == 0) continue;
        parts += parts.empty() ? "" : "; ";
        parts += text;
    }
    if (parts.empty()) return;
    Show({"Dieses HEX-File enthält Daten, die HEX Parvel nicht speichern kann; sie fehlen in jeder "
          "gespeicherten Datei: " + parts + ".",
          Icon::Warning, Buttons::Ok});
}

void DecoderSession::ShowIdRecord(const std::string& line) {
    // Most lines are ":10...": the second character settles them without a full compare.
    // The ID record, or a longer record at 0x4000 that starts with the four ID words.
    const bool id_record = line.size() >= 6 && line[1] == '0' && line.compare(0, 6, ":08400") == 0;
    const bool longer = line.size() >= 23 && line.compare(3, 6, "400000") == 0 &&
                        HexByteValue(std::string_view(line).substr(1, 2)) > 8;
    if (!id_record && !longer) return;
    SetStatus(0, ReadableText("ID: " + Mid(line, 11, 1)));
    const std::string d15 = Mid(line, 15, 1), d19 = Mid(line, 19, 1), d23 = Mid(line, 23, 1);
    version_text = d15 + "." + d19 + d23;
    SetStatus(1, ReadableText("V " + version_text));
    // Rounded to single precision after each addition, as the firmware tables were compared.
    float v = static_cast<float>(VersionDigit(d15) + VersionDigit(d19) * 0.1);
    v = static_cast<float>(static_cast<double>(v) + VersionDigit(d23) * 0.01);
    version = v;
}

void DecoderSession::ExtractTypeCode() {
    std::uint32_t k[3];
    for (int i = 0; i < 3; ++i) {
        k[i] = m_image.rom_cells[2 * i + 1] == "30"
                   ? static_cast<std::uint32_t>(HexByteValue(m_image.rom_cells[2 * i]))
                   : 0u;
    }
    type_code = k[0] + 256u * k[1] + 65536u * k[2];
    if (type_code == 0) {
        const HexCell& marker = m_image.rom_cells[274];
        if (marker == "2F") type_code = 0x30FF;
        else if (marker == "17") type_code = 0x17E800;
    }
}

void DecoderSession::DetectProtocol() {
    is_motorola = false;
    is_dcc = false;
    const auto& rom = m_image.rom_cells;
    auto word_is = [&](int word, const char* low, const char* high) {
        return rom[2 * word] == low && rom[2 * word + 1] == high;
    };
    if (word_is(8, "8B", "1C")) {
        is_motorola = true;
    } else if (word_is(8, "05", "19")) {
        is_dcc = true;
    } else if (word_is(8, "0C", "1C")) {
        if (word_is(35, "8B", "1C")) is_motorola = true;
        else if (word_is(35, "05", "19")) is_dcc = true;
    }
}

void DecoderSession::SetMotorolaLimits() {
    // Motorola function decoders: the address table ends at 255, and a row above it would have
    // no address code to store. Accessory outputs reach 320.
    max_address = kind_function ? CodeTables::kMmAddressLast : CodeTables::kMmAccessoryLast;
    max_function = 4;
}

void DecoderSession::SetDccLimits() {
    max_address = kind_accessory ? CodeTables::kDccAccessoryLast : 16128;
    max_function = 12;
}

void DecoderSession::ApplyDecoderType(std::uint32_t code) {
    kind_accessory = false;
    kind_function = false;
    default_config.clear();

    m_view.ResetLayout();
    for (auto& label : row_label) label.clear();

    entry = FindDecoderType(code);
    frame_code = kFrameNone;
    if (entry) {
        kind_accessory = entry->kind == DecoderKind::Accessory;
        kind_function = entry->kind == DecoderKind::Function;
        for (int r = 1; r < kGridRows; ++r) {
            row_label[r] = entry->labels[r];
            m_view.SetRowLabel(r, row_label[r]);
        }
        header_text = entry->name;
        doc_address = m_doc_root + entry->doc_page;
        default_config = entry->default_config;
        m_view.LayoutGrid(entry->split, entry->gap);
        if (entry->frame != kFrameNone) {
            frame_code = entry->frame;
            m_view.ShowFrame(entry->frame);
        }
    } else {
        // An unknown firmware must not keep the previous file's name and documentation link.
        header_text = "Hex Parvel";
        doc_address = OwnDocAddress();
    }

    if (default_config.empty()) {
        const HexCell& marker = m_image.rom_cells[124];
        if (marker == "60") default_config = "CC01";
        else if (marker == "80") default_config = "CC33";
    }
    if (default_config == "CC01") SetStatus(3, status_text[3] + " (12F629/16F630)");
    else if (default_config == "CC33") SetStatus(3, status_text[3] + " (16F684/688)");

    m_view.SetHeader(header_text);

    if (is_motorola) SetMotorolaLimits();
    else if (is_dcc) SetDccLimits();

    m_view.ShowRows(kind(), max_address, max_function);

    bool any_label = false;
    for (const auto& label : row_label) any_label = any_label || !label.empty();
    if (!any_label && !(entry && entry->type_code == 0x4400)) {
        Show({"Das HEX-File konnte leider nicht erkannt werden", Icon::Warning, Buttons::Ok});
    }
    m_view.SetWebCaption(doc_address);
}

void DecoderSession::ClearRowValues() {
    row_address.fill(0);
    row_function.fill(0);
    row_green.fill(0);
    for (auto& code : row_address_code) code.clear();
    for (auto& code : row_function_code) code.clear();
    for (auto& code : row_stored_code) code.clear();
    row_loaded_address.fill(0);
    row_loaded_function.fill(0);
    row_loaded_green.fill(0);
}

void DecoderSession::RecogniseFirmware() {
    // Every recognition starts from empty rows: no value of the previous file may show up in
    // this file's grid, nor be saved into it.
    ClearRowValues();
    ExtractTypeCode();
    DetectProtocol();
    ApplyDecoderType(type_code);
    // A file without configuration record has none: no text of an earlier file stays.
    if (!m_image.config_found) m_image.config_text.clear();

    if (!m_image.id_found) {
        Show({"In dem HEX-File wurde kein Wert für ID gefunden.", Icon::Warning,
              Buttons::CancelIgnore});
        // Nothing was read: the rows stay empty rather than show the previous file's values.
        std::array<RowColour, kGridRows> white;
        white.fill(RowColour::White);
        for (int r = 0; r < kGridRows; ++r) m_view.SetRowFields(r, "", "");
        m_view.RecolourRows(white);
        return;
    }
    // Ignore keeps what the file had: no configuration word, and the save writes none. A made-up
    // 0000 would mean crystal oscillator, code protection on and MCLR off on these chips.
    if (!m_image.config_found) {
        if (default_config.empty()) {
            Show({"In dem HEX-File wurde kein Config-Wert gefunden.", Icon::Warning, Buttons::Ignore});
        } else {
            const Answer a = Show({"In dem HEX-File wurde kein Config-Wert gefunden. "
                                   "Standard-Wert erzeugen?",
                                   Icon::Warning, Buttons::YesIgnore});
            if (a == Answer::Yes) m_image.config_text = default_config;
        }
        if (m_image.config_text.empty()) SetStatus(3, status_text[3] + " – " + kNoConfigText);
    }

    SetStatus(2, is_motorola ? "Mot" : is_dcc ? "DCC" : "ohne");
    if (!is_motorola && !is_dcc) m_view.HideAllRows();

    m_view.SetProgressMaximum(32);
    for (int r = 0; r < kGridRows; ++r) {
        m_view.SetProgress(r - 1);
        row_address[r] = 0;
        ExtractRow(r);
    }
    m_view.SetProgress(0);
    FindStoredCodes();

    for (int r = 0; r < kGridRows; ++r) {
        m_view.SetRowFields(r, std::to_string(row_address[r]), std::to_string(row_function[r]));
    }
    std::array<RowColour, kGridRows> colours;
    for (int r = 0; r < kGridRows; ++r) colours[r] = RowColourOf(r);
    m_view.RecolourRows(colours);
    for (int r = 0; r < kGridRows; ++r) m_view.MarkStoredCode(r, StoredCodeHint(r));
    recognised = true;
    m_view.SetSaveEnabled(true);
}

void DecoderSession::ExtractRow(int r) {
    const int c = BaseCell(r);
    const auto& ee = m_image.eeprom_cells;
    auto join = [](std::string& code, std::initializer_list<HexCell> cells) {
        code.clear();
        for (const HexCell& cell : cells) code += cell.view();
    };
    if (kind_accessory) {
        join(row_address_code[r], {ee[c], ee[c + 16], ee[c + 32]});
    } else if (kind_function && is_dcc) {
        join(row_function_code[r], {ee[c]});
    } else if (kind_function) {
        join(row_address_code[r], {ee[c], ee[c + 16]});
        join(row_function_code[r], {ee[c + 32]});
    } else {
        return;
    }

    if (kind_accessory && (is_motorola || is_dcc)) {
        const CodeTables::Match m = is_motorola
                                        ? CodeTables::FindMmAccessory(row_address_code[r], max_address)
                                        : CodeTables::FindDccAccessory(row_address_code[r], max_address);
        if (m.index >= 0) {
            row_address[r] = m.index;
            row_green[r] = m.green ? 1 : 0;
        }
    } else if (kind_function && is_motorola) {
        const int a = CodeTables::FindMmAddress(row_address_code[r], max_address);
        if (a >= 0) row_address[r] = a;
        const int f = FunctionNumber(kMmFunctionCodes, row_function_code[r]);
        if (f > 0) row_function[r] = f;
    } else if (kind_function && is_dcc) {
        const int low = HexByteIndex(ee[c + 16]);
        const int high = HexByteIndex(ee[c + 32]) & 0x3F;
        row_address[r] = high * 256 + low;
        const int f = FunctionNumber(kDccFunctionCodes, row_function_code[r]);
        if (f > 0) row_function[r] = f;
    }
}

void DecoderSession::ToggleGreen(int row) {
    if (row < 0 || row >= kGridRows) return;
    row_green[row] = row_green[row] == 1 ? 0 : 1;
    std::array<RowColour, kGridRows> colours;
    for (int r = 0; r < kGridRows; ++r) colours[r] = RowColourOf(r);
    m_view.RecolourRows(colours);
}

RowColour DecoderSession::RowColourOf(int row) const {
    if (!kind_accessory) return RowColour::White;
    return row_green[row] == 1 ? RowColour::Green : RowColour::Red;
}

std::optional<Message> DecoderSession::ValidateRows() {
    auto fail = [](const std::string& text) {
        return Message{text, Icon::Warning, Buttons::Cancel};
    };
    auto check_address = [&](int r) -> std::optional<Message> {
        const auto v = ParseDecimal(m_view.AddressFieldText(r));
        if (!v) return fail("Ungültige Eingabe für <" + row_label[r] + "> ");
        row_address[r] = *v;
        if (row_label[r].empty()) return std::nullopt;
        if (!row_stored_code[r].empty() && *v == row_loaded_address[r]) return std::nullopt;
        if (*v < 0) return fail("Adresse für <" + row_label[r] + "> ist zu klein");
        if (*v > max_address) return fail("Adresse für <" + row_label[r] + "> ist zu gross");
        return std::nullopt;
    };
    auto check_function = [&](int r) -> std::optional<Message> {
        const auto v = ParseDecimal(m_view.FunctionFieldText(r));
        if (!v) return fail("Ungültige Eingabe Funktion von <" + row_label[r] + "> ");
        row_function[r] = *v;
        if (row_label[r].empty()) return std::nullopt;
        if (*v < 0) return fail("Funktions-Nummer für <" + row_label[r] + "> ist zu klein");
        if (*v > max_function) return fail("Funktions-Nummer für <" + row_label[r] + "> ist zu gross");
        return std::nullopt;
    };

    if (auto m = check_address(0)) {
        m_view.FocusAddressField(0);
        return m;
    }
    if (kind_function) {
        for (int r = 0; r < kGridRows; ++r) {
            if (auto m = check_function(r)) {
                m_view.FocusFunctionField(r);
                return m;
            }
        }
    }
    for (int r = 1; r < kGridRows; ++r) {
        if (auto m = check_address(r)) {
            m_view.FocusAddressField(r);
            return m;
        }
    }
    return std::nullopt;
}

bool DecoderSession::Encodes() const {
    return (kind_accessory || kind_function) && (is_motorola || is_dcc);
}

std::string DecoderSession::EncodedCode(int r, int a, int f, int green,
                                        std::string& function_code) const {
    (void)r;
    const auto& names = hex_byte_names();
    if (kind_accessory && is_motorola) {
        const std::string code = CodeTables::MmAccessoryCode(a);
        return green == 1 ? code : CodeTables::MmRedCode(code);
    }
    if (kind_accessory && is_dcc) {
        const std::string red = CodeTables::DccAccessoryCode(a);
        return green == 1 && !red.empty() ? CodeTables::DccGreenCode(red) : red;
    }
    if (kind_function && is_motorola) {
        if (f >= 1 && f <= 4) function_code = kMmFunctionCodes[f - 1];
        const std::string address = a == 0 ? kMmNoAddress : CodeTables::MmAddressCode(a);
        return address + function_code;
    }
    if (kind_function && is_dcc) {
        int high = a / 256;
        const int low = a % 256;
        if (a >= 128) high |= 0xC0;
        if (f >= 1 && f <= 12) function_code = kDccFunctionCodes[f - 1];
        return function_code + names[low] + names[high & 0xFF];
    }
    return {};
}

void DecoderSession::FindStoredCodes() {
    if (!Encodes()) return;
    const auto& ee = m_image.eeprom_cells;
    for (int r = 0; r < kGridRows; ++r) {
        row_loaded_address[r] = row_address[r];
        row_loaded_function[r] = row_function[r];
        row_loaded_green[r] = row_green[r];
        if (row_label[r].empty()) continue;
        const int c = BaseCell(r);
        const std::string stored = ee[c].str() + ee[c + 16].str() + ee[c + 32].str();
        std::string function_code = row_function_code[r];
        std::string encoded = EncodedCode(r, row_address[r], row_function[r], row_green[r], function_code);
        if (encoded.empty()) encoded = "000000";  // what the save stores for an empty code
        // A value outside the limits cannot be saved as it is either.
        const bool in_range = row_address[r] >= 0 && row_address[r] <= max_address;
        if (encoded != stored || !in_range) row_stored_code[r] = stored;
    }
}

bool DecoderSession::RowKeepsStoredCode(int r) const {
    return !row_stored_code[r].empty() && row_address[r] == row_loaded_address[r] &&
           row_function[r] == row_loaded_function[r] && row_green[r] == row_loaded_green[r];
}

std::string DecoderSession::StoredBytesText(int r) const {
    const std::string& code = row_stored_code[r];
    std::string text;
    for (std::size_t i = 0; i < code.size(); i += 2) {
        if (!text.empty()) text += ' ';
        text += code.substr(i, 2);
    }
    return text;
}

std::string DecoderSession::StoredCodeHint(int r) const {
    if (row_stored_code[r].empty()) return {};
    return "Gespeichert sind die Bytes " + StoredBytesText(r) +
           "; sie passen zu keiner Adresse.\nSie bleiben beim Speichern erhalten, bis die Zeile "
           "geändert wird.";
}

void DecoderSession::EncodeRows() {
    for (int r = 0; r < kGridRows; ++r) {
        if (row_label[r].empty()) continue;
        const int a = row_address[r];
        const int f = row_function[r];
        if (RowKeepsStoredCode(r)) {
            // Untouched since the load: the bytes stay as they were.
            row_address_code[r] = row_stored_code[r];
            continue;
        }
        if (a < 0 || a > max_address) continue;  // not validated (no protocol): leave as read
        if (!Encodes()) continue;
        row_address_code[r] = EncodedCode(r, a, f, row_green[r], row_function_code[r]);
    }
}

std::optional<Message> DecoderSession::CheckSharedCells() {
    // Rows from 31 on reuse the cells of rows 16 onward. Two labelled rows on the same cells
    // can only keep one code; refuse rather than let the later row overwrite the earlier one.
    if (!kind_accessory && !kind_function) return std::nullopt;
    std::map<int, int> owner;
    for (int r = 1; r < kGridRows; ++r) {
        if (row_label[r].empty()) continue;
        const auto [it, fresh] = owner.emplace(BaseCell(r), r);
        if (fresh) continue;
        const int first = it->second;
        if (row_address_code[first] != row_address_code[r] ||
            row_function_code[first] != row_function_code[r]) {
            m_view.FocusAddressField(r);
            return Message{"<" + row_label[r] + "> und <" + row_label[first] +
                               "> belegen dieselben EEPROM-Zellen. Bitte für beide dieselbe "
                               "Adresse eintragen.",
                           Icon::Warning, Buttons::Cancel};
        }
    }
    return std::nullopt;
}

void DecoderSession::StoreRows() {
    if (!kind_accessory && !kind_function) return;
    for (int r = 0; r < kGridRows; ++r) {
        if (row_label[r].empty()) continue;
        if (row_address_code[r].empty()) row_address_code[r] = "000000";
        const int c = BaseCell(r);
        for (int k = 0; k < 3; ++k) {
            const int cell = c + 16 * k;
            const std::string text = Mid(row_address_code[r], 1 + 2 * static_cast<std::size_t>(k), 2);
            if (m_image.eeprom_cells[cell] == text) continue;
            m_image.eeprom_cells[cell] = text;
            // The writer ends at the last cell the file held; a changed row beyond it must
            // still reach the saved file.
            if (cell > m_image.eeprom_last) m_image.eeprom_last = cell;
        }
    }
}

DecoderSession::SaveResult DecoderSession::BuildHexLines() {
    if (auto failure = ValidateRows()) {
        Show(*failure);
        return SaveResult::Rejected;
    }
    const auto codes_before = row_address_code;
    const auto functions_before = row_function_code;
    EncodeRows();
    if (auto failure = CheckSharedCells()) {
        row_address_code = codes_before;
        row_function_code = functions_before;
        Show(*failure);
        return SaveResult::Rejected;
    }
    if (kind() == DecoderKind::None) {
        for (int r = 1; r < kGridRows; ++r) {
            if (row_label[r].empty()) continue;
            if (row_address[r] != 0 || row_function[r] != 0) {
                Show({"Für diese Firmware werden Adressen und Funktions-Nummern nicht im HEX-File "
                      "gespeichert; die Werte im Raster bleiben unberücksichtigt.",
                      Icon::Information, Buttons::Ok});
                break;
            }
        }
    }
    StoreRows();

    Message failure;
    m_image.line_count = WriteHexLines(m_image, &failure);
    if (m_image.line_count == 0) {
        Show(failure);
        return SaveResult::WriteFailed;
    }
    return SaveResult::Saved;
}

bool DecoderSession::TakeOverPendingFrames() {
    static const PendingFrame kOrder[] = {PendingFrame::Torv, PendingFrame::Blinkmuster,
                                          PendingFrame::BlinkmusterLed};
    for (PendingFrame frame : kOrder) {
        if (!m_view.HasPendingChanges(frame)) continue;
        if (Show({"Geänderte Werte übernehmen?", Icon::Warning, Buttons::YesNo}) != Answer::Yes) {
            return false;
        }
        m_view.TakeOverChanges(frame);
    }
    return true;
}

DecoderSession::SaveResult DecoderSession::Save() {
    if (!TakeOverPendingFrames()) return SaveResult::Cancelled;

    const SaveResult built = BuildHexLines();
    if (built != SaveResult::Saved) return built;

    // The file as it lies on disk: the chip family of status panel 3 is no part of its name.
    const std::string proposed = file_path;
    // The dialog adds the default extension to a name typed without one.
    const auto answer =
        m_dialogs.SaveFileName(kHexFileFilter, "hex", proposed, {"SaveDialog1", FileFolder(proposed)});
    if (!answer) return SaveResult::Cancelled;  // status panel 3 keeps the loaded file
    const std::string& chosen = *answer;
    const WriteResult written = AtomicWriteFile(chosen, HexFileText(m_image));
    if (!written.ok) {
        Show({"Das HEX-File " + chosen + " konnte nicht gespeichert werden: " + written.error +
                  ". Eine vorhandene Datei dieses Namens ist unverändert.",
              Icon::Warning, Buttons::Ok});
        return SaveResult::WriteFailed;
    }
    SetStatus(3, chosen);
    file_path = chosen;
    return SaveResult::Saved;
}

}  // namespace parvel
