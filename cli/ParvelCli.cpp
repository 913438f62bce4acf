#include "ParvelCli.h"


#include <CLI/CLI.hpp>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "DecoderDiff.h"
#include "DecoderFile.h"
#include "DecoderSession.h"
#include "HexCompare.h"
#include "Migration.h"
#include "ParvelVersion.h"
#include "RecordingView.h"
#include "RosterCommand.h"
#include "Series.h"
#include "TextFile.h"

namespace parvel {

namespace {

// Messages go to standard error with their German text; a question takes the answer that
// changes nothing, except the missing-configuration question when --default-config is given.
class CliDialogs : public Dialogs {
public:
    CliDialogs(std::ostream& err, bool default_config) : m_err(err), m_default_config(default_config) {}

    std::optional<std::string> save_target;

    Answer ShowMessage(const Message& message) override {
        Answer answer = SafeAnswer(message.buttons);
        if (message.buttons == Buttons::YesIgnore && m_default_config) answer = Answer::Yes;
        m_err << (message.icon == Icon::Warning ? "Warnung: " : "") << ReadableText(message.text);
        if (message.buttons != Buttons::Ok && message.buttons != Buttons::Cancel) {
            m_err << " [" << ButtonsName(message.buttons) << "] -> " << AnswerName(answer);
        }
        m_err << '\n';
        return answer;
    }
    std::optional<std::string> OpenFileName(const std::string&,
                                            const FileDialogPlace& = {}) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&,
                                            const FileDialogPlace& = {}) override {
        return save_target;
    }

private:
    std::ostream& m_err;
    bool m_default_config;
};

LoadOutcome Load(DecoderSession& session, Dialogs& dialogs, const std::string& path) {
    return LoadDecoderFile(session, dialogs, path);
}

int ExitFor(LoadOutcome outcome) {
    switch (outcome) {
        case LoadOutcome::Recognised: return kExitOk;
        case LoadOutcome::Unreadable: return kExitUsage;
        default: return kExitRejected;
    }
}

const char* ColourName(int green) { return green == 1 ? "grün" : "rot"; }

// Text for the terminal or a JSON string: file bytes and odd path names shown escaped, so the
// output is always valid UTF-8 (the JSON library refuses anything else).
std::string T(const std::string& text) { return ReadableText(text); }

std::string ConfigShown(const FirmwareImage& image) {
    return image.config_text.empty() ? std::string(kNoConfigText) : T(image.config_text);
}

nlohmann::json InfoJson(const DecoderSession& s, const RecordingView& view, const std::string& path) {
    using nlohmann::json;
    json j;
    j["file"] = T(path);
    j["type_code"] = s.type_code;
    j["name"] = s.entry ? json(s.entry->name) : json(nullptr);
    j["kind"] = s.entry ? json(KindName(s.kind())) : json(nullptr);
    j["id"] = T(s.image().id_text);
    j["version"] = s.version_text.empty() ? json(nullptr) : json(T(s.version_text));
    j["protocol"] = s.is_motorola ? "Mot" : s.is_dcc ? "DCC" : "ohne";
    j["config"] = s.image().config_text.empty() ? json(nullptr) : json(T(s.image().config_text));
    const char* chip = ChipName(s.default_config);
    j["chip"] = chip ? json(chip) : json(nullptr);
    j["max_address"] = s.max_address;
    j["max_function"] = s.max_function;
    json rows = json::array();
    for (const ShownRow& shown : ShownRows(s, view)) {
        json row{{"row", shown.row}, {"label", T(shown.label)}, {"address", shown.address}};
        if (s.kind() == DecoderKind::Accessory) row["green"] = shown.green;
        else row["function"] = shown.function;
        // The address shown stands for no stored code: name the bytes the row really holds.
        if (!shown.stored.empty()) row["stored_bytes_match_no_address"] = T(shown.stored);
        rows.push_back(row);
    }
    j["rows"] = rows;
    json messages = json::array();
    for (const auto& m : s.shown_messages()) messages.push_back(T(m.text));
    j["messages"] = messages;
    return j;
}

void PrintInfo(std::ostream& out, const DecoderSession& s, const RecordingView& view) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%06X", s.type_code);
    out << "File:      " << T(s.status_text[3]) << '\n';
    out << "Firmware:  " << (s.entry ? s.entry->name : std::string("(unknown)")) << "  [type " << code
        << ", kind " << (s.entry ? KindName(s.kind()) : "-") << "]\n";
    out << "Status:    " << T(s.status_text[0]) << " | " << T(s.status_text[1]) << " | "
        << T(s.status_text[2]) << '\n';
    out << "Config:    " << ConfigShown(s.image()) << '\n';
    out << "Limits:    address 1.." << s.max_address << ", function 1.." << s.max_function << '\n';
    for (const ShownRow& shown : ShownRows(s, view)) {
        char line[32];
        std::snprintf(line, sizeof line, "  %2d  ", shown.row);
        out << line << shown.label << ": " << shown.address;
        if (s.kind() == DecoderKind::Accessory) out << ' ' << ColourName(shown.green ? 1 : 0);
        else out << " F" << shown.function;
        if (!shown.stored.empty()) {
            out << "  (gespeichert: " << T(shown.stored) << ", passt zu keiner Adresse)";
        }
        out << '\n';
    }
}

bool FileExists(const std::string& path) {
    return QueryFile(path).kind != FileKind::Missing;
}

// "R=N" with R a grid row 0..47.
bool ParseRowValue(const std::string& text, int& row, std::string& value) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    try {
        std::size_t used = 0;
        row = std::stoi(text.substr(0, eq), &used);
        if (used != eq) return false;
    } catch (...) {
        return false;
    }
    value = text.substr(eq + 1);
    return row >= 0 && row < kGridRows;
}

}  // namespace

int RunParvel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CLI::App app{
        "parvel - check and edit model-railway decoder firmware (Intel HEX) without the window.\n"
        "Decoder messages are printed in German, as the window shows them."};
    app.name("parvel");
    // File names such as "/daten/x.hex" are names, on Windows too (CLI11 would otherwise take a
    // leading '/' there as an option); set before the subcommands, which copy it.
    app.allow_windows_style_options(false);
    app.footer(
        "Exit status: 0 success (diff: no difference; dump: the dump was printed, also of an image\n"
        "without ID or of an unknown firmware, with the warning on standard error); 1 a rejected\n"
        "file, a failed validation, differences found, or for info an image that was loaded but not\n"
        "recognised (no ID record or an unknown firmware: info prints what it could); 2 a usage\n"
        "error or a file that cannot be read or written.\n"
        "Bytes of a file that are not text (invalid UTF-8, control characters other than tab) are\n"
        "printed escaped as \\xNN.\n"
        "Rows R are grid rows 0..47; row 0 is never shown. Questions take the answer that changes\n"
        "nothing; --default-config answers Yes to creating the default configuration word.");
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Show help for all commands");
    // "program (package) version", the form GNU tools print; hexparvel prints the same.
    app.set_version_flag("-v,--version", std::string("parvel (HEX Parvel) ") + PARVEL_VERSION,
                         "Print the version and exit");

    std::string file, file2, out_path;
    bool json_out = false, default_config = false, force = false;
    std::vector<std::string> addresses, functions;
    std::vector<int> greens, reds;

    CLI::App* info = app.add_subcommand("info", "Load and recognise FILE; print what the window shows");
    info->add_option("FILE", file, "Intel HEX firmware file")->required();
    info->add_flag("--json", json_out, "Print one JSON object");
    info->add_flag("--default-config", default_config,
                   "Answer Yes when asked to create the default configuration word");

    CLI::App* set = app.add_subcommand(
        "set", "Load FILE, put new values into grid rows, validate, encode and write OUT");
    set->add_option("FILE", file, "Intel HEX firmware file")->required();
    set->add_option("-o,--output", out_path, "File to write")->required();
    set->add_option("--address", addresses, "R=N: address field of grid row R");
    set->add_option("--function", functions, "R=N: function number field of grid row R");
    set->add_option("--green", greens, "R: make row R's address green");
    set->add_option("--red", reds, "R: make row R's address red");
    set->add_flag("--default-config", default_config,
                  "Answer Yes when asked to create the default configuration word");
    set->add_flag("--force", force, "Overwrite OUT when it exists");

    CLI::App* dump = app.add_subcommand("dump", "Print configuration, ID and the hex dumps of FILE");
    dump->add_option("FILE", file, "Intel HEX firmware file")->required();

    bool decoder_terms = false;
    CLI::App* diff = app.add_subcommand(
        "diff", "Load FILE1 and list every cell of FILE2 that differs (exit 1 when any differs)");
    diff->add_option("FILE1", file, "Loaded firmware file")->required();
    diff->add_option("FILE2", file2, "File compared with it")->required();
    diff->add_flag("--decoder", decoder_terms,
                   "Also report the differences in decoder terms: grid rows, frame settings, "
                   "and raw bytes only for cells no editor reads");

    int first = 0, count = 0, step = 0;
    std::string out_dir;
    CLI::App* series = app.add_subcommand(
        "series", "Write COUNT copies of FILE whose addresses start at FIRST + i x STEP");
    series->add_option("FILE", file, "Configured firmware file")->required();
    series->add_option("--first", first, "First address of the first copy")->required();
    series->add_option("--count", count, "Number of copies")->required();
    series->add_option("--out-dir", out_dir, "Folder for the copies")->required();
    series->add_option("--step", step,
                       "Addresses between two copies (default: the span of the used rows)");
    series->add_flag("--default-config", default_config,
                     "Answer Yes when asked to create the default configuration word");
    series->add_flag("--force", force, "Overwrite copies that exist");

    CLI::App* migrate = app.add_subcommand(
        "migrate", "Carry the settings of OLD into NEW (same firmware family) and write OUT");
    migrate->add_option("OLD", file, "Configured firmware file")->required();
    migrate->add_option("NEW", file2, "Firmware of the new release")->required();
    migrate->add_option("-o,--output", out_path, "File to write")->required();
    migrate->add_flag("--default-config", default_config,
                      "Answer Yes when asked to create the default configuration word");
    migrate->add_flag("--force", force, "Overwrite OUT when it exists");

    const RosterCommand roster(app);

    std::vector<std::string> argv_rev(args.rbegin(), args.rend());
    if (!argv_rev.empty()) argv_rev.pop_back();  // program name
    try {
        app.parse(argv_rev);
    } catch (const CLI::ParseError& e) {
        return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
    }

    if (roster.chosen()) return roster.Run(out, err);

    RecordingView view;
    CliDialogs dialogs(err, default_config);
    DecoderSession session(view, dialogs);

    if (*info) {
        const LoadOutcome outcome = Load(session, dialogs, file);
        if (outcome == LoadOutcome::Unreadable) return kExitUsage;
        if (json_out) out << InfoJson(session, view, file).dump(2) << '\n';
        else PrintInfo(out, session, view);
        return ExitFor(outcome);
    }

    if (*set) {
        struct RowValue {
            int row;
            std::string value;
        };
        std::vector<RowValue> new_addresses, new_functions;
        for (const auto& [list, target] : {std::pair{&addresses, &new_addresses},
                                           std::pair{&functions, &new_functions}}) {
            for (const std::string& item : *list) {
                RowValue rv;
                if (!ParseRowValue(item, rv.row, rv.value)) {
                    err << "parvel: expected R=N with a grid row R from 0 to 47, got '" << T(item) << "'\n";
                    return kExitUsage;
                }
                target->push_back(rv);
            }
        }
        for (int r : greens) {
            if (r < 0 || r >= kGridRows) {
                err << "parvel: grid row " << r << " does not exist (0 to 47)\n";
                return kExitUsage;
            }
        }
        for (int r : reds) {
            if (r < 0 || r >= kGridRows) {
                err << "parvel: grid row " << r << " does not exist (0 to 47)\n";
                return kExitUsage;
            }
        }
        if (FileExists(out_path) && !force) {
            err << "parvel: " << T(out_path) << " exists; use --force to overwrite it\n";
            return kExitUsage;
        }
        const LoadOutcome outcome = Load(session, dialogs, file);
        if (outcome == LoadOutcome::Unreadable) return kExitUsage;
        if (!session.recognised) {
            err << "parvel: " << T(file) << " was not loaded completely; nothing written\n";
            return kExitRejected;
        }
        for (const auto& a : new_addresses) view.rows[a.row].address_text = a.value;
        for (const auto& f : new_functions) view.rows[f.row].function_text = f.value;
        for (int r : greens) session.row_green[r] = 1;
        for (int r : reds) session.row_green[r] = 0;
        dialogs.save_target = out_path;
        switch (session.Save()) {
            case DecoderSession::SaveResult::Saved: return kExitOk;
            case DecoderSession::SaveResult::WriteFailed: return kExitUsage;
            default: return kExitRejected;
        }
    }

    if (*dump) {
        const LoadOutcome outcome = Load(session, dialogs, file);
        if (outcome == LoadOutcome::Unreadable) return kExitUsage;
        out << "Config Value: " << ConfigShown(session.image()) << '\n';
        out << "ID-Value: " << T(session.image().id_text) << '\n';
        out << "EEprom\n";
        for (const auto& line : EepromDump(session.image())) out << line << '\n';
        out << "ROM\n";
        for (const auto& line : RomDump(session.image())) out << line << '\n';
        // A dump of an image without ID or of an unknown firmware is complete: the warning went
        // to standard error, the result is the dump.
        return outcome == LoadOutcome::Rejected ? kExitRejected : kExitOk;
    }

    if (*diff) {
        const LoadOutcome outcome = Load(session, dialogs, file);
        if (outcome == LoadOutcome::Unreadable) return kExitUsage;
        if (outcome == LoadOutcome::Rejected) return kExitRejected;
        const CompareResult result = CompareWithFile(session.image(), session.status_text[3], file2);
        if (result.read_failure != ReadFailure::None) {
            dialogs.ShowMessage(*result.message);
            return result.read_failure == ReadFailure::CannotOpen ? kExitUsage : kExitRejected;
        }
        err << result.status_file1 << '\n' << result.status_file2 << '\n';
        out << "EEprom\n";
        for (const auto& line : result.eeprom_lines) out << line << '\n';
        out << "ROM\n";
        for (const auto& line : result.rom_lines) out << line << '\n';
        if (result.message) dialogs.ShowMessage(*result.message);
        if (!result.completed) return kExitRejected;
        int differences = result.total();
        if (decoder_terms) {
            RecordingView second_view;
            DecoderSession second(second_view, dialogs);
            const LoadOutcome second_outcome = Load(second, dialogs, file2);
            if (second_outcome == LoadOutcome::Unreadable) return kExitUsage;
            const DecoderDiffResult terms = DiffInDecoderTerms(session, second);
            out << "\nDekoder\n";
            for (const auto& line : terms.lines) out << line << '\n';
            differences += terms.differences;
        }
        return differences == 0 ? kExitOk : kExitRejected;
    }
    if (*series) {
        const LinesResult read = ReadTextLines(file, kMaxHexLines);
        if (!read.ok()) {
            dialogs.ShowMessage({ReadFailureText(read, file), Icon::Information, Buttons::Ok});
            return read.failure == ReadFailure::CannotOpen ? kExitUsage : kExitRejected;
        }
        SeriesRequest request;
        request.first = first;
        request.count = count;
        if (step != 0) request.step = step;
        request.out_dir = out_dir;
        request.overwrite = force;
        if (QueryFile(out_dir).kind != FileKind::Folder) {
            err << "parvel: " << T(out_dir) << " is not a folder\n";
            return kExitUsage;
        }
        const SeriesPlan plan = PlanSeries(read.lines, file, request, dialogs);
        if (!plan.ok) return kExitRejected;
        if (!WriteSeries(plan, request, dialogs)) return kExitUsage;
        for (const auto& line : SeriesSummary(plan)) out << T(line) << '\n';
        return kExitOk;
    }

    if (*migrate) {
        if (FileExists(out_path) && !force) {
            err << "parvel: " << T(out_path) << " exists; use --force to overwrite it\n";
            return kExitUsage;
        }
        LinesResult reads[2] = {ReadTextLines(file, kMaxHexLines), ReadTextLines(file2, kMaxHexLines)};
        for (int i = 0; i < 2; ++i) {
            if (reads[i].ok()) continue;
            const std::string& path = i == 0 ? file : file2;
            dialogs.ShowMessage({ReadFailureText(reads[i], path), Icon::Information, Buttons::Ok});
            return reads[i].failure == ReadFailure::CannotOpen ? kExitUsage : kExitRejected;
        }
        const MigrationResult result = Migrate(reads[0].lines, file, reads[1].lines, file2, dialogs);
        if (!result.ok) return kExitRejected;
        const WriteResult written = AtomicWriteFile(out_path, result.text);
        if (!written.ok) {
            dialogs.ShowMessage({"Das HEX-File " + out_path + " konnte nicht gespeichert werden: " +
                                     written.error,
                                 Icon::Warning, Buttons::Ok});
            return kExitUsage;
        }
        out << "Übertragen:\n";
        for (const auto& line : result.carried) out << "  " << T(line) << '\n';
        out << "Nicht übertragen:\n";
        if (result.not_carried.empty()) out << "  -\n";
        for (const auto& line : result.not_carried) out << "  " << T(line) << '\n';
        return kExitOk;
    }
    return kExitUsage;
}

}  // namespace parvel
