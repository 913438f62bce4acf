#include "document/DecoderDocument.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <initializer_list>
#include <iterator>
#include <map>

#include "image/HexReader.h"
#include "image/HexRecord.h"
#include "image/HexWriter.h"
#include "settings/ServoCurve.h"
#include "image/TextFile.h"

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

}  // namespace

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

namespace {

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

const char* ProtocolName(Protocol protocol) {
    switch (protocol) {
        case Protocol::Motorola: return "Mot";
        case Protocol::Dcc: return "DCC";
        case Protocol::None: break;
    }
    return "ohne";
}

std::string AddressHint(int max_address) {
    return "gültiger Adressbereich: 1 bis " + std::to_string(max_address) +
           "\n'0' für unbenutzt (keine Reaktion auf irgendeinen Befehl)";
}

std::string FunctionHint(int max_function) {
    return "gültiger Bereich für die Funktions-Nummer: 1 bis " + std::to_string(max_function);
}

const char* ColourName(bool green) { return green ? "grün" : "rot"; }

DecoderDocument::DecoderDocument(Dialogs& dialogs) : m_dialogs(dialogs) {
    m_doc_address = OwnDocAddress();
    for (GridRow& row : m_rows) {
        row.address_text = "0";
        row.function_text = "0";
    }
    StartHistory();
}

void DecoderDocument::SetDocumentationRoot(const std::string& root) {
    const bool own = m_doc_address == OwnDocAddress();
    if (m_entry) m_doc_address = root + m_entry->doc_page;
    m_doc_root = root;
    if (own || !m_entry) m_doc_address = OwnDocAddress();
}

Answer DecoderDocument::Show(const Message& message) {
    m_shown.push_back(message);
    return m_dialogs.ShowMessage(message);
}

void DecoderDocument::SetStatus(int panel, const std::string& text) {
    m_status[panel] = text;
    if (m_listener) m_listener->StatusChanged(panel);
}

void DecoderDocument::RowsChanged() {
    if (m_listener) m_listener->RowsChanged();
}

int DecoderDocument::BaseCell(int row) {
    if (row < 16) return row;
    return 64 + ((row - 16) % 15) + 1;
}

// ---------------------------------------------------------------- loading

bool DecoderDocument::LoadHexFile(const std::string& path) {
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

bool DecoderDocument::LoadHexLines(const std::vector<std::string>& lines, const std::string& path) {
    if (!BeginLoad(lines.size(), path)) return false;
    for (std::size_t i = 0; i < lines.size(); ++i) m_image.hex_lines[i] = lines[i];
    return ReadLoadedLines(static_cast<int>(lines.size()));
}

bool DecoderDocument::BeginLoad(std::size_t line_count, const std::string& path) {
    if (line_count > static_cast<std::size_t>(kMaxHexLines)) {
        LinesResult too_many;
        too_many.failure = ReadFailure::TooManyLines;
        too_many.max_lines = kMaxHexLines;
        Show({ReadFailureText(too_many, path), Icon::Warning, Buttons::Ok});
        return false;
    }
    m_loading = true;
    SetStatus(0, "");
    SetStatus(1, "");
    SetStatus(2, "");
    SetStatus(3, path);
    m_file_path = path;
    m_version_text.clear();

    // From here on the image no longer matches the grid: saving waits for a complete recognition,
    // so a file that stops at a bad line can never be written with the previous file's rows.
    m_recognised = false;
    m_line_rejected = false;
    if (m_listener) m_listener->SaveEnabledChanged();

    m_image.Reset();
    m_image.keep_gaps = true;
    return true;
}

bool DecoderDocument::ReadLoadedLines(int line_count) {
    for (int i = 0; i < line_count; ++i) UpperCaseInPlace(m_image.hex_lines[i]);
    m_image.line_count = line_count;

    m_frame_code = kFrameNone;
    // Typed text and working copies belong to the image that is being replaced.
    m_typed.clear();
    m_blink.DropChanges();
    m_led_blink.DropChanges();
    m_servo.modified = false;
    if (m_listener) m_listener->LoadStarted();

    HexFileCheck check;
    bool read = true;
    for (int i = 0; i < m_image.line_count; ++i) {
        const std::string& line = m_image.hex_lines[i];
        if (check.Skips(line, i + 1 == m_image.line_count)) continue;
        if (const auto rejected = ReadHexRecord(m_image, line, i + 1)) {
            m_line_rejected = true;
            Show(*rejected);
            read = false;
            break;
        }
        check.Accepted(line, i + 1);
        ShowIdRecord(line);
    }
    if (read) {
        // The file is read as it is; what looks damaged is said once, before recognition.
        for (const Message& warning : check.Warnings()) Show(warning);
        ReportUnsavedParts();
        RecogniseFirmware();
    }
    m_loading = false;
    StartHistory();
    return read && m_recognised;
}

void DecoderDocument::ReportUnsavedParts() {
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

void DecoderDocument::ShowIdRecord(const std::string& line) {
    // Most lines are ":10...": the second character settles them without a full compare.
    // The ID record, or a longer record at 0x4000 that starts with the four ID words.
    const bool id_record = line.size() >= 6 && line[1] == '0' && line.compare(0, 6, ":08400") == 0;
    const bool longer = line.size() >= 23 && line.compare(3, 6, "400000") == 0 &&
                        HexByteValue(std::string_view(line).substr(1, 2)) > 8;
    if (!id_record && !longer) return;
    SetStatus(0, ReadableText("ID: " + Mid(line, 11, 1)));
    const std::string d15 = Mid(line, 15, 1), d19 = Mid(line, 19, 1), d23 = Mid(line, 23, 1);
    m_version_text = d15 + "." + d19 + d23;
    SetStatus(1, ReadableText("V " + m_version_text));
    // Rounded to single precision after each addition, as the firmware tables were compared.
    float v = static_cast<float>(VersionDigit(d15) + VersionDigit(d19) * 0.1);
    v = static_cast<float>(static_cast<double>(v) + VersionDigit(d23) * 0.01);
    m_version = v;
}

void DecoderDocument::ExtractTypeCode() {
    std::uint32_t k[3];
    for (int i = 0; i < 3; ++i) {
        k[i] = m_image.rom_cells[2 * i + 1] == "30"
                   ? static_cast<std::uint32_t>(HexByteValue(m_image.rom_cells[2 * i]))
                   : 0u;
    }
    m_type_code = k[0] + 256u * k[1] + 65536u * k[2];
    if (m_type_code == 0) {
        const HexCell& marker = m_image.rom_cells[274];
        if (marker == "2F") m_type_code = 0x30FF;
        else if (marker == "17") m_type_code = 0x17E800;
    }
}

void DecoderDocument::DetectProtocol() {
    m_protocol = Protocol::None;
    const auto& rom = m_image.rom_cells;
    auto word_is = [&](int word, const char* low, const char* high) {
        return rom[2 * word] == low && rom[2 * word + 1] == high;
    };
    if (word_is(8, "8B", "1C")) {
        m_protocol = Protocol::Motorola;
    } else if (word_is(8, "05", "19")) {
        m_protocol = Protocol::Dcc;
    } else if (word_is(8, "0C", "1C")) {
        if (word_is(35, "8B", "1C")) m_protocol = Protocol::Motorola;
        else if (word_is(35, "05", "19")) m_protocol = Protocol::Dcc;
    }
}

void DecoderDocument::ApplyDecoderType(std::uint32_t code) {
    m_kind = DecoderKind::None;
    m_default_config.clear();
    for (GridRow& row : m_rows) row.label.clear();

    m_entry = FindDecoderType(code);
    m_frame_code = kFrameNone;
    if (m_entry) {
        m_kind = m_entry->kind;
        for (int r = 1; r < kGridRows; ++r) m_rows[r].label = m_entry->labels[r];
        m_header_text = m_entry->name;
        m_doc_address = m_doc_root + m_entry->doc_page;
        m_default_config = m_entry->default_config;
        m_frame_code = m_entry->frame;
    } else {
        // An unknown firmware must not keep the previous file's name and documentation link.
        m_header_text = "Hex Parvel";
        m_doc_address = OwnDocAddress();
    }

    if (m_default_config.empty()) {
        const HexCell& marker = m_image.rom_cells[124];
        if (marker == "60") m_default_config = "CC01";
        else if (marker == "80") m_default_config = "CC33";
    }
    if (m_default_config == "CC01") SetStatus(3, m_status[3] + " (12F629/16F630)");
    else if (m_default_config == "CC33") SetStatus(3, m_status[3] + " (16F684/688)");

    if (m_protocol == Protocol::Motorola) {
        // Motorola function decoders: the address table ends at 255, and a row above it would
        // have no address code to store. Accessory outputs reach 320.
        m_max_address = m_kind == DecoderKind::Function ? CodeTables::kMmAddressLast
                                                         : CodeTables::kMmAccessoryLast;
        m_max_function = 4;
    } else if (m_protocol == Protocol::Dcc) {
        m_max_address = m_kind == DecoderKind::Accessory ? CodeTables::kDccAccessoryLast : 16128;
        m_max_function = 12;
    }
    m_rows_visible = true;
    ReadWorkingCopies();
    if (m_listener) m_listener->DecoderChanged();

    bool any_label = false;
    for (const GridRow& row : m_rows) any_label = any_label || row.exists();
    if (!any_label && !(m_entry && m_entry->type_code == 0x4400)) {
        Show({"Das HEX-File konnte leider nicht erkannt werden", Icon::Warning, Buttons::Ok});
    }
}

void DecoderDocument::ReadWorkingCopies() {
    switch (m_frame_code) {
        case kFrameBlinkmuster:
            m_blink.ReadTable(m_image);
            break;
        case kFrameBlinkmusterLed:
            m_led_blink.ReadTable(m_image);
            break;
        case kFrameTorv:
            m_servo.pages.ReadFrom(m_image);
            ReadPulseValues(m_image, m_servo.pulses);
            m_servo.modified = false;
            break;
        default:
            break;
    }
}

void DecoderDocument::ClearRowValues() {
    for (GridRow& row : m_rows) {
        const std::string label = std::move(row.label);
        row = GridRow();
        row.label = label;
    }
}

void DecoderDocument::RecogniseFirmware() {
    // Every recognition starts from empty rows: no value of the previous file may show up in
    // this file's grid, nor be saved into it.
    ClearRowValues();
    ExtractTypeCode();
    DetectProtocol();
    ApplyDecoderType(m_type_code);
    // A file without configuration record has none: no text of an earlier file stays.
    if (!m_image.config_found) m_image.config_text.clear();

    if (!m_image.id_found) {
        Show({"In dem HEX-File wurde kein Wert für ID gefunden.", Icon::Warning,
              Buttons::CancelIgnore});
        // Nothing was read: the rows stay empty rather than show the previous file's values.
        for (GridRow& row : m_rows) {
            row.address_text.clear();
            row.function_text.clear();
        }
        RowsChanged();
        return;
    }
    // Ignore keeps what the file had: no configuration word, and the save writes none. A made-up
    // 0000 would mean crystal oscillator, code protection on and MCLR off on these chips.
    if (!m_image.config_found) {
        if (m_default_config.empty()) {
            Show({"In dem HEX-File wurde kein Config-Wert gefunden.", Icon::Warning, Buttons::Ignore});
        } else {
            const Answer a = Show({"In dem HEX-File wurde kein Config-Wert gefunden. "
                                   "Standard-Wert erzeugen?",
                                   Icon::Warning, Buttons::YesIgnore});
            if (a == Answer::Yes) m_image.config_text = m_default_config;
        }
        if (m_image.config_text.empty()) SetStatus(3, m_status[3] + " – " + kNoConfigText);
    }

    SetStatus(2, ProtocolName(m_protocol));
    if (m_protocol == Protocol::None) m_rows_visible = false;

    for (int r = 0; r < kGridRows; ++r) ExtractRow(r);
    FindStoredCodes();
    for (GridRow& row : m_rows) {
        row.address_text = std::to_string(row.address);
        row.function_text = std::to_string(row.function);
    }
    m_recognised = true;
    RowsChanged();
    if (m_listener) m_listener->SaveEnabledChanged();
}

void DecoderDocument::ExtractRow(int r) {
    GridRow& row = m_rows[r];
    const int c = BaseCell(r);
    const auto& ee = m_image.eeprom_cells;
    auto join = [](std::string& code, std::initializer_list<HexCell> cells) {
        code.clear();
        for (const HexCell& cell : cells) code += cell.view();
    };
    const bool accessory = m_kind == DecoderKind::Accessory;
    const bool function = m_kind == DecoderKind::Function;
    if (accessory) {
        join(row.address_code, {ee[c], ee[c + 16], ee[c + 32]});
    } else if (function && m_protocol == Protocol::Dcc) {
        join(row.function_code, {ee[c]});
    } else if (function) {
        join(row.address_code, {ee[c], ee[c + 16]});
        join(row.function_code, {ee[c + 32]});
    } else {
        return;
    }

    if (accessory && m_protocol != Protocol::None) {
        const CodeTables::Match m =
            m_protocol == Protocol::Motorola
                ? CodeTables::FindMmAccessory(row.address_code, m_max_address)
                : CodeTables::FindDccAccessory(row.address_code, m_max_address);
        if (m.index >= 0) {
            row.address = m.index;
            row.green = m.green;
        }
    } else if (function && m_protocol == Protocol::Motorola) {
        const int a = CodeTables::FindMmAddress(row.address_code, m_max_address);
        if (a >= 0) row.address = a;
        const int f = FunctionNumber(kMmFunctionCodes, row.function_code);
        if (f > 0) row.function = f;
    } else if (function && m_protocol == Protocol::Dcc) {
        const int low = HexByteIndex(ee[c + 16]);
        const int high = HexByteIndex(ee[c + 32]) & 0x3F;
        row.address = high * 256 + low;
        const int f = FunctionNumber(kDccFunctionCodes, row.function_code);
        if (f > 0) row.function = f;
    }
}

// ---------------------------------------------------------------- grid edits

void DecoderDocument::SetAddressText(int row, const std::string& text) {
    if (row < 0 || row >= kGridRows || m_rows[row].address_text == text) return;
    m_rows[row].address_text = text;
    Record("Adresse " + m_rows[row].label, "address" + std::to_string(row));
}

void DecoderDocument::SetFunctionText(int row, const std::string& text) {
    if (row < 0 || row >= kGridRows || m_rows[row].function_text == text) return;
    m_rows[row].function_text = text;
    Record("Funktion " + m_rows[row].label, "function" + std::to_string(row));
}

void DecoderDocument::ToggleGreen(int row) {
    if (row < 0 || row >= kGridRows) return;
    m_rows[row].green = !m_rows[row].green;
    RowsChanged();
    Record("R/G " + m_rows[row].label);
}

void DecoderDocument::SetGreen(int row, bool green) {
    if (row < 0 || row >= kGridRows || m_rows[row].green == green) return;
    ToggleGreen(row);
}

RowColour DecoderDocument::RowColourOf(int row) const {
    if (m_kind != DecoderKind::Accessory) return RowColour::White;
    return m_rows[row].green ? RowColour::Green : RowColour::Red;
}

// ---------------------------------------------------------------- validation and encoding

void DecoderDocument::RejectField(int row, RowField field) {
    if (m_listener) m_listener->FieldRejected(row, field);
}

std::optional<Message> DecoderDocument::ValidateRows() {
    auto fail = [](const std::string& text) {
        return Message{text, Icon::Warning, Buttons::Cancel};
    };
    auto check_address = [&](int r) -> std::optional<Message> {
        GridRow& row = m_rows[r];
        const auto v = ParseDecimal(row.address_text);
        if (!v) return fail("Ungültige Eingabe für <" + row.label + "> ");
        row.address = *v;
        if (!row.exists()) return std::nullopt;
        if (!row.stored_code.empty() && *v == row.loaded_address) return std::nullopt;
        if (*v < 0) return fail("Adresse für <" + row.label + "> ist zu klein");
        if (*v > m_max_address) return fail("Adresse für <" + row.label + "> ist zu gross");
        return std::nullopt;
    };
    auto check_function = [&](int r) -> std::optional<Message> {
        GridRow& row = m_rows[r];
        const auto v = ParseDecimal(row.function_text);
        if (!v) return fail("Ungültige Eingabe Funktion von <" + row.label + "> ");
        row.function = *v;
        if (!row.exists()) return std::nullopt;
        if (*v < 0) return fail("Funktions-Nummer für <" + row.label + "> ist zu klein");
        if (*v > m_max_function) return fail("Funktions-Nummer für <" + row.label + "> ist zu gross");
        return std::nullopt;
    };

    if (auto m = check_address(0)) {
        RejectField(0, RowField::Address);
        return m;
    }
    if (m_kind == DecoderKind::Function) {
        for (int r = 0; r < kGridRows; ++r) {
            if (auto m = check_function(r)) {
                RejectField(r, RowField::Function);
                return m;
            }
        }
    }
    for (int r = 1; r < kGridRows; ++r) {
        if (auto m = check_address(r)) {
            RejectField(r, RowField::Address);
            return m;
        }
    }
    return std::nullopt;
}

bool DecoderDocument::Encodes() const {
    return m_kind != DecoderKind::None && m_protocol != Protocol::None;
}

std::string DecoderDocument::EncodedCode(int a, int f, bool green, std::string& function_code) const {
    const auto& names = hex_byte_names();
    const bool motorola = m_protocol == Protocol::Motorola;
    const bool dcc = m_protocol == Protocol::Dcc;
    if (m_kind == DecoderKind::Accessory && motorola) {
        const std::string code = CodeTables::MmAccessoryCode(a);
        return green ? code : CodeTables::MmRedCode(code);
    }
    if (m_kind == DecoderKind::Accessory && dcc) {
        const std::string red = CodeTables::DccAccessoryCode(a);
        return green && !red.empty() ? CodeTables::DccGreenCode(red) : red;
    }
    if (m_kind == DecoderKind::Function && motorola) {
        if (f >= 1 && f <= 4) function_code = kMmFunctionCodes[f - 1];
        const std::string address = a == 0 ? kMmNoAddress : CodeTables::MmAddressCode(a);
        return address + function_code;
    }
    if (m_kind == DecoderKind::Function && dcc) {
        int high = a / 256;
        const int low = a % 256;
        if (a >= 128) high |= 0xC0;
        if (f >= 1 && f <= 12) function_code = kDccFunctionCodes[f - 1];
        return function_code + names[low] + names[high & 0xFF];
    }
    return {};
}

void DecoderDocument::FindStoredCodes() {
    if (!Encodes()) return;
    const auto& ee = m_image.eeprom_cells;
    for (int r = 0; r < kGridRows; ++r) {
        GridRow& row = m_rows[r];
        row.loaded_address = row.address;
        row.loaded_function = row.function;
        row.loaded_green = row.green;
        if (!row.exists()) continue;
        const int c = BaseCell(r);
        const std::string stored = ee[c].str() + ee[c + 16].str() + ee[c + 32].str();
        std::string function_code = row.function_code;
        std::string encoded = EncodedCode(row.address, row.function, row.green, function_code);
        if (encoded.empty()) encoded = "000000";  // what the save stores for an empty code
        // A value outside the limits cannot be saved as it is either.
        const bool in_range = row.address >= 0 && row.address <= m_max_address;
        if (encoded != stored || !in_range) row.stored_code = stored;
    }
}

bool DecoderDocument::RowKeepsStoredCode(int r) const {
    const GridRow& row = m_rows[r];
    return !row.stored_code.empty() && row.address == row.loaded_address &&
           row.function == row.loaded_function && row.green == row.loaded_green;
}

std::string DecoderDocument::StoredBytesText(int r) const {
    const std::string& code = m_rows[r].stored_code;
    std::string text;
    for (std::size_t i = 0; i < code.size(); i += 2) {
        if (!text.empty()) text += ' ';
        text += code.substr(i, 2);
    }
    return text;
}

std::string DecoderDocument::StoredCodeHint(int r) const {
    if (m_rows[r].stored_code.empty()) return {};
    return "Gespeichert sind die Bytes " + StoredBytesText(r) +
           "; sie passen zu keiner Adresse.\nSie bleiben beim Speichern erhalten, bis die Zeile "
           "geändert wird.";
}

void DecoderDocument::EncodeRows() {
    for (int r = 0; r < kGridRows; ++r) {
        GridRow& row = m_rows[r];
        if (!row.exists()) continue;
        if (RowKeepsStoredCode(r)) {
            // Untouched since the load: the bytes stay as they were.
            row.address_code = row.stored_code;
            continue;
        }
        if (row.address < 0 || row.address > m_max_address) continue;  // not validated: as read
        if (!Encodes()) continue;
        row.address_code = EncodedCode(row.address, row.function, row.green, row.function_code);
    }
}

std::optional<Message> DecoderDocument::CheckSharedCells() {
    // Rows from 31 on reuse the cells of rows 16 onward. Two labelled rows on the same cells
    // can only keep one code; refuse rather than let the later row overwrite the earlier one.
    if (m_kind == DecoderKind::None) return std::nullopt;
    std::map<int, int> owner;
    for (int r = 1; r < kGridRows; ++r) {
        if (!m_rows[r].exists()) continue;
        const auto [it, fresh] = owner.emplace(BaseCell(r), r);
        if (fresh) continue;
        const GridRow& first = m_rows[it->second];
        if (first.address_code != m_rows[r].address_code ||
            first.function_code != m_rows[r].function_code) {
            RejectField(r, RowField::Address);
            return Message{"<" + m_rows[r].label + "> und <" + first.label +
                               "> belegen dieselben EEPROM-Zellen. Bitte für beide dieselbe "
                               "Adresse eintragen.",
                           Icon::Warning, Buttons::Cancel};
        }
    }
    return std::nullopt;
}

void DecoderDocument::StoreRows() {
    if (m_kind == DecoderKind::None) return;
    for (int r = 0; r < kGridRows; ++r) {
        GridRow& row = m_rows[r];
        if (!row.exists()) continue;
        if (row.address_code.empty()) row.address_code = "000000";
        const int c = BaseCell(r);
        for (int k = 0; k < 3; ++k) {
            const int cell = c + 16 * k;
            const std::string text = Mid(row.address_code, 1 + 2 * static_cast<std::size_t>(k), 2);
            if (m_image.eeprom_cells[cell] == text) continue;
            m_image.eeprom_cells[cell] = text;
            // The writer ends at the last cell the file held; a changed row beyond it must
            // still reach the saved file.
            if (cell > m_image.eeprom_last) m_image.eeprom_last = cell;
        }
    }
}

// ---------------------------------------------------------------- saving

DecoderDocument::SaveResult DecoderDocument::BuildHexLines() {
    if (auto failure = ValidateRows()) {
        Show(*failure);
        return SaveResult::Rejected;
    }
    std::array<std::pair<std::string, std::string>, kGridRows> codes_before;
    for (int r = 0; r < kGridRows; ++r) codes_before[r] = {m_rows[r].address_code, m_rows[r].function_code};
    EncodeRows();
    if (auto failure = CheckSharedCells()) {
        for (int r = 0; r < kGridRows; ++r) {
            m_rows[r].address_code = codes_before[r].first;
            m_rows[r].function_code = codes_before[r].second;
        }
        Show(*failure);
        return SaveResult::Rejected;
    }
    if (m_kind == DecoderKind::None) {
        for (int r = 1; r < kGridRows; ++r) {
            if (!m_rows[r].exists()) continue;
            if (m_rows[r].address != 0 || m_rows[r].function != 0) {
                Show({"Für diese Firmware werden Adressen und Funktions-Nummern nicht im HEX-File "
                      "gespeichert; die Werte im Raster bleiben unberücksichtigt.",
                      Icon::Information, Buttons::Ok});
                break;
            }
        }
    }
    StoreRows();
    // The rows stored into the image follow from the grid's texts: no step of their own.
    if (!m_loading && !m_restoring) m_last = std::make_shared<const EditState>(Capture());

    Message failure;
    m_image.line_count = WriteHexLines(m_image, &failure);
    if (m_image.line_count == 0) {
        Show(failure);
        return SaveResult::WriteFailed;
    }
    return SaveResult::Saved;
}

bool DecoderDocument::TakeOverPendingFrames() {
    static const PendingFrame kOrder[] = {PendingFrame::Torv, PendingFrame::Blinkmuster,
                                          PendingFrame::BlinkmusterLed};
    for (PendingFrame frame : kOrder) {
        if (!HasPendingChanges(frame)) continue;
        if (Show({"Geänderte Werte übernehmen?", Icon::Warning, Buttons::YesNo}) != Answer::Yes) {
            return false;
        }
        TakeOverChanges(frame);
    }
    return true;
}

DecoderDocument::SaveResult DecoderDocument::Save() {
    if (!TakeOverPendingFrames()) return SaveResult::Cancelled;

    const SaveResult built = BuildHexLines();
    if (built != SaveResult::Saved) return built;

    // The file as it lies on disk: the chip family of status panel 3 is no part of its name.
    const std::string proposed = m_file_path;
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
    m_file_path = chosen;
    m_history.SetClean();
    if (m_listener) m_listener->HistoryChanged();
    return SaveResult::Saved;
}

// ---------------------------------------------------------------- working copies

namespace {

PatternTable* TableOf(PendingFrame frame, BlinkPatternTable& blink, LedBlinkPatternTable& led) {
    if (frame == PendingFrame::Blinkmuster) return &blink;
    if (frame == PendingFrame::BlinkmusterLed) return &led;
    return nullptr;
}

EditArea AreaOf(PendingFrame frame) {
    switch (frame) {
        case PendingFrame::Torv: return EditArea::Torv;
        case PendingFrame::Blinkmuster: return EditArea::Blinkmuster;
        case PendingFrame::BlinkmusterLed: return EditArea::BlinkmusterLed;
    }
    return EditArea::Grid;
}

int FrameCodeOf(PendingFrame frame) {
    switch (frame) {
        case PendingFrame::Torv: return kFrameTorv;
        case PendingFrame::Blinkmuster: return kFrameBlinkmuster;
        case PendingFrame::BlinkmusterLed: return kFrameBlinkmusterLed;
    }
    return kFrameNone;
}

}  // namespace

bool DecoderDocument::HasPendingChanges(PendingFrame frame) const {
    // Only the frame of the loaded firmware can hold changes.
    if (m_frame_code != FrameCodeOf(frame)) return false;
    // A count or stretch typed into a pattern editor and not finished is taken over with it.
    if (frame != PendingFrame::Torv && HasTypedInput(AreaOf(frame))) return true;
    switch (frame) {
        case PendingFrame::Torv: return m_servo.modified;
        case PendingFrame::Blinkmuster: return m_blink.modified();
        case PendingFrame::BlinkmusterLed: return m_led_blink.modified();
    }
    return false;
}

void DecoderDocument::TakeOverChanges(PendingFrame frame) {
    if (m_frame_code != FrameCodeOf(frame)) return;
    // A refused number is not stored (its message was shown); the rest is taken over.
    if (m_listener && HasTypedInput(AreaOf(frame))) m_listener->CommitTypedInput(frame);
    const EditArea area = AreaOf(frame);
    for (auto it = m_typed.begin(); it != m_typed.end();) {
        it = it->first == area ? m_typed.erase(it) : std::next(it);
    }
    if (PatternTable* table = TableOf(frame, m_blink, m_led_blink)) {
        table->WriteTable(m_image);
    } else {
        // What the count and stretch fields showed is what the decoder gets.
        LimitCountsAndStretches(m_servo.pages);
        m_servo.pages.WriteTo(m_image);
        WritePulseValues(m_servo.pulses, m_image);
        m_servo.modified = false;
    }
    if (m_listener) m_listener->WorkingCopyChanged();
    Record("Geänderte Werte übernommen");
}

void DecoderDocument::DiscardChanges(PendingFrame frame) {
    if (m_frame_code != FrameCodeOf(frame)) return;
    if (PatternTable* table = TableOf(frame, m_blink, m_led_blink)) {
        table->ReadTable(m_image);
    } else {
        // The pulse values stay as stepped: they are no part of a curve.
        m_servo.pages.ReadFrom(m_image);
        m_servo.modified = false;
    }
    if (m_listener) m_listener->WorkingCopyChanged();
    Record("Änderungen verworfen");
}

void DecoderDocument::NoteTyped(EditArea area, const std::string& field, bool typed) {
    const bool before = !m_typed.empty();
    if (typed) m_typed.insert({area, field});
    else m_typed.erase({area, field});
    if (before != !m_typed.empty() && m_listener) m_listener->HistoryChanged();
}

bool DecoderDocument::HasTypedInput(EditArea area) const {
    auto it = m_typed.lower_bound({area, std::string()});
    return it != m_typed.end() && it->first == area;
}

// ---------------------------------------------------------------- history

namespace {

void PutBytes(std::string& out, const std::vector<int>& bytes) {
    for (int b : bytes) out.push_back(static_cast<char>(b));
}

}  // namespace

EditState DecoderDocument::Capture() const {
    EditState state;
    state.image = ImageState::Of(m_image);
    for (int r = 0; r < kGridRows; ++r) {
        const GridRow& row = m_rows[r];
        state.address_text[r] = row.address_text;
        state.function_text[r] = row.function_text;
        state.green[r] = row.green;
        state.address_code[r] = row.address_code;
        state.function_code[r] = row.function_code;
    }
    switch (m_frame_code) {
        case kFrameBlinkmuster:
        case kFrameBlinkmusterLed: {
            const PatternTable& table =
                m_frame_code == kFrameBlinkmuster ? static_cast<const PatternTable&>(m_blink) : m_led_blink;
            PutBytes(state.frame, table.bytes());
            state.frame.push_back(table.modified() ? '1' : '0');
            state.view = table.selected();
            break;
        }
        case kFrameTorv: {
            const auto& bytes = m_servo.pages.bytes();
            state.frame.assign(bytes.begin(), bytes.end());
            for (int s = 0; s < 4; ++s) {
                state.frame += std::to_string(m_servo.pulses.pulse_min[s]) + ',' +
                               std::to_string(m_servo.pulses.pulse_span[s]) + ';';
            }
            state.frame.push_back(m_servo.modified ? '1' : '0');
            state.view = m_servo.page;
            break;
        }
        default:
            break;  // the other frames keep nothing outside the image
    }
    return state;
}

void DecoderDocument::Restore(const EditState& state, int view) {
    state.image.PutInto(m_image);
    for (int r = 0; r < kGridRows; ++r) {
        GridRow& row = m_rows[r];
        row.address_text = state.address_text[r];
        row.function_text = state.function_text[r];
        row.green = state.green[r];
        row.address_code = state.address_code[r];
        row.function_code = state.function_code[r];
    }
    const std::string& frame = state.frame;
    switch (m_frame_code) {
        case kFrameBlinkmuster:
        case kFrameBlinkmusterLed: {
            PatternTable& table = m_frame_code == kFrameBlinkmuster ? static_cast<PatternTable&>(m_blink)
                                                                    : m_led_blink;
            if (frame.empty()) break;
            std::vector<int> bytes;
            for (std::size_t i = 0; i + 1 < frame.size(); ++i) {
                bytes.push_back(static_cast<unsigned char>(frame[i]));
            }
            table.Restore(bytes, view, frame.back() == '1');
            break;
        }
        case kFrameTorv: {
            if (frame.size() < static_cast<std::size_t>(kServoBytes) + 1) break;
            for (int i = 0; i < kServoBytes; ++i) {
                m_servo.pages.set_flat(i, static_cast<std::uint8_t>(frame[static_cast<std::size_t>(i)]));
            }
            // "min,span;" four times between the pages and the flag.
            const std::string pulses = frame.substr(kServoBytes, frame.size() - kServoBytes - 1);
            std::size_t pos = 0;
            for (int s = 0; s < 4; ++s) {
                const std::size_t comma = pulses.find(',', pos);
                const std::size_t semicolon = pulses.find(';', pos);
                if (comma == std::string::npos || semicolon == std::string::npos) break;
                m_servo.pulses.pulse_min[s] = *ParseDecimal(pulses.substr(pos, comma - pos));
                m_servo.pulses.pulse_span[s] =
                    *ParseDecimal(pulses.substr(comma + 1, semicolon - comma - 1));
                pos = semicolon + 1;
            }
            m_servo.modified = frame.back() == '1';
            m_servo.page = view;
            break;
        }
        default:
            break;
    }
    m_typed.clear();
}

void DecoderDocument::StartHistory() {
    m_history.Clear();
    m_last = std::make_shared<const EditState>(Capture());
    if (m_listener) m_listener->HistoryChanged();
}

std::string DecoderDocument::GridStepName(const EditState& before, const EditState& after) const {
    std::string found;
    int changes = 0;
    for (int r = 0; r < kGridRows; ++r) {
        const std::string& label = m_rows[r].label;
        if (before.address_text[r] != after.address_text[r]) {
            ++changes;
            found = "Adresse " + label + ": " + before.address_text[r] + " → " + after.address_text[r];
        }
        if (before.function_text[r] != after.function_text[r]) {
            ++changes;
            found = "Funktion " + label + ": " + before.function_text[r] + " → " +
                    after.function_text[r];
        }
        if (before.green[r] != after.green[r]) {
            ++changes;
            found = std::string("R/G ") + label + ": " + ColourName(before.green[r]) + " → " +
                    ColourName(after.green[r]);
        }
    }
    return changes == 1 ? found : std::string();
}

void DecoderDocument::Record(const std::string& name, const std::string& merge_key) {
    if (m_loading || m_restoring) return;
    auto now = std::make_shared<const EditState>(Capture());
    if (*now == *m_last) {
        if (m_listener) m_listener->HistoryChanged();
        return;
    }
    EditHistory::Step step;
    step.before = m_last;
    step.after = now;
    step.merge_key = merge_key;
    // A merged run is named from its first state to its last.
    const EditState& first = m_history.CanUndo() && !merge_key.empty() &&
                                     m_history.step(m_history.index() - 1).merge_key == merge_key &&
                                     !m_history.step(m_history.index() - 1).closed &&
                                     !m_history.IsClean()
                                 ? *m_history.step(m_history.index() - 1).before
                                 : *m_last;
    const std::string grid = GridStepName(first, *now);
    step.name = grid.empty() ? name : grid;
    m_last = std::move(now);
    m_history.Push(std::move(step));
    if (m_listener) m_listener->HistoryChanged();
}

void DecoderDocument::CloseStep() { m_history.CloseLast(); }

void DecoderDocument::Undo() {
    if (!m_history.CanUndo()) return;
    const bool was = std::exchange(m_restoring, true);
    const EditHistory::Step& step = m_history.Undo();
    const int view = step.after->view;
    Restore(*step.before, view);
    m_last = step.before;
    m_restoring = was;
    RowsChanged();
    if (m_listener) {
        m_listener->StateRestored(view);
        m_listener->HistoryChanged();
    }
}

void DecoderDocument::Redo() {
    if (!m_history.CanRedo()) return;
    const bool was = std::exchange(m_restoring, true);
    const EditHistory::Step& step = m_history.Redo();
    const int view = step.after->view;
    Restore(*step.after, view);
    m_last = step.after;
    m_restoring = was;
    RowsChanged();
    if (m_listener) {
        m_listener->StateRestored(view);
        m_listener->HistoryChanged();
    }
}

bool DecoderDocument::HasUnsavedChanges() const {
    return !m_history.IsClean() || !m_typed.empty();
}

}  // namespace parvel
