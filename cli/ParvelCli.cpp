#include "ParvelCli.h"


#include <CLI/CLI.hpp>
#include <cstdio>
#include <regex>
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
        m_err << (message.icon == Icon::Warning ? "Warnung: " : "") << ReadableMessage(message.text);
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

// "1..max", or "–" when recognition set no limit (no protocol, unknown firmware).
std::string Range(int max) { return max > 0 ? "1.." + std::to_string(max) : "–"; }

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
    for (const auto& m : s.shown_messages()) messages.push_back(ReadableMessage(m.text));
    j["messages"] = messages;
    return j;
}

void PrintInfo(std::ostream& out, const DecoderSession& s, const RecordingView& view) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%06X", s.type_code);
    out << "Datei:     " << T(s.status_text[3]) << '\n';
    out << "Firmware:  " << (s.entry ? s.entry->name : std::string("(unbekannt)")) << "  [Typ " << code
        << ", Art " << (s.entry ? KindName(s.kind()) : "–") << "]\n";
    out << "Status:    " << T(s.status_text[0]) << " | " << T(s.status_text[1]) << " | "
        << T(s.status_text[2]) << '\n';
    out << "Config:    " << ConfigShown(s.image()) << '\n';
    out << "Grenzen:   Adresse " << Range(s.max_address) << ", Funktion " << Range(s.max_function) << '\n';
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

// German labels and texts for CLI11's help. Called before the commands are added: they take
// the option group and the help flag over from the application.
void GermanHelp(CLI::App& app) {
    app.option_defaults()->group("Optionen");
    app.set_help_flag("-h,--help", "Diese Hilfe zeigen und beenden");
    const auto formatter = app.get_formatter();
    for (const auto& [key, german] : {std::pair{"Usage", "Aufruf"}, {"OPTIONS", "OPTIONEN"},
                                      {"SUBCOMMAND", "BEFEHL"}, {"SUBCOMMANDS", "BEFEHLE"},
                                      {"Positionals", "Argumente"}, {"REQUIRED", "PFLICHT"},
                                      {"INT", "ZAHL"}, {"UINT", "ZAHL"}, {"NONNEGATIVE", "ZAHL"},
                                      {"Excludes", "schließt aus"}, {"Needs", "braucht"}}) {
        formatter->label(key, german);
    }
}

// CLI11's message for a wrong call, in German. The messages are matched by their form; one of
// an unforeseen form keeps its text after a German lead-in.
std::string GermanParseError(const CLI::ParseError& e) {
    const std::string what = e.what();
    std::smatch m;
    if (std::regex_match(what, m, std::regex("Requires at least \\d+ subcommands?|A subcommand is required"))) {
        return "ein Befehl fehlt (info, set, dump, diff, series, migrate oder roster)";
    }
    if (std::regex_match(what, m, std::regex("(.+) is required"))) return m[1].str() + " fehlt";
    if (std::regex_match(what, m, std::regex("The following arguments? (?:was|were) not expected: (.*)"))) {
        return "nicht erwartet: " + m[1].str();
    }
    if (std::regex_match(what, m, std::regex("The value (.*) is not an allowed value for (.*)"))) {
        return m[2].str() + ": " + m[1].str() + " ist nicht zulässig";
    }
    if (std::regex_match(what, m, std::regex("Could not convert: (.*) = (.*)"))) {
        return m[1].str() + ": " + m[2].str() + " ist keine gültige Zahl";
    }
    if (std::regex_match(what, m, std::regex("(.*): Value (.*) not in range.*|(.*): Number less than 0.*"))) {
        return (m[1].matched ? m[1].str() : m[3].str()) + ": der Wert ist nicht zulässig";
    }
    if (std::regex_match(what, m, std::regex("Expected exactly (\\d+) arguments? to (.*), got (\\d+)")) ||
        std::regex_match(what, m, std::regex("(.*): (\\d+) required (.*) missing"))) {
        return "zu wenige Werte für " + (m.size() == 4 && what.rfind("Expected", 0) == 0 ? m[2].str() : m[1].str());
    }
    if (std::regex_match(what, m, std::regex("(.*) excludes (.*)"))) {
        return m[1].str() + " und " + m[2].str() + " gehen nicht zusammen";
    }
    return "falscher Aufruf (" + what + ")";
}

std::string ExistsText(const std::string& path) {
    return "parvel: " + T(path) + " gibt es schon; --force überschreibt die Datei\n";
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
        "parvel - Firmware selbstgebauter Modellbahn-Dekoder (Intel HEX) ohne Fenster prüfen und\n"
        "einstellen. Die Meldungen sind die des Fensters."};
    app.name("parvel");
    // File names such as "/daten/x.hex" are names, on Windows too (CLI11 would otherwise take a
    // leading '/' there as an option); set before the subcommands, which copy it.
    app.allow_windows_style_options(false);
    GermanHelp(app);
    app.footer(
        "Exit-Status: 0 Erfolg (diff: kein Unterschied; dump: der Dump wurde ausgegeben, auch von\n"
        "einem Image ohne ID oder einer unbekannten Firmware, mit der Warnung auf der\n"
        "Standardfehlerausgabe); 1 eine abgelehnte Datei, eine fehlgeschlagene Prüfung, gefundene\n"
        "Unterschiede oder bei info ein Image, das geladen, aber nicht erkannt wurde (kein\n"
        "ID-Record oder eine unbekannte Firmware: info gibt aus, was es kann); 2 ein Fehler im\n"
        "Aufruf oder eine Datei, die nicht gelesen oder geschrieben werden kann.\n"
        "Bytes einer Datei, die kein Text sind (kein gültiges UTF-8, Steuerzeichen), werden als\n"
        "\\xNN ausgegeben.\n"
        "Zeilen R sind die Zeilen des Rasters 0..47; Zeile 0 wird nie gezeigt. Fragen bekommen die\n"
        "Antwort, die nichts ändert; --default-config beantwortet die Frage nach dem Standard-Wert\n"
        "des Config-Worts mit Ja.");
    app.require_subcommand(1);
    app.set_help_all_flag("--help-all", "Die Hilfe aller Befehle zeigen");
    // "program (package) version", the form GNU tools print; hexparvel prints the same.
    app.set_version_flag("-v,--version", std::string("parvel (HEX Parvel) ") + PARVEL_VERSION,
                         "Die Version zeigen und beenden");

    std::string file, file2, out_path;
    bool json_out = false, default_config = false, force = false;
    std::vector<std::string> addresses, functions;
    std::vector<int> greens, reds;

    const char* const kDefaultConfigHelp =
        "Die Frage, ob der Standard-Wert des Config-Worts erzeugt werden soll, mit Ja beantworten";
    CLI::App* info = app.add_subcommand(
        "info", "FILE laden und erkennen; ausgeben, was das Fenster zeigt");
    info->add_option("FILE", file, "Firmware als Intel-HEX-Datei")->required();
    info->add_flag("--json", json_out, "Ein JSON-Objekt ausgeben");
    info->add_flag("--default-config", default_config, kDefaultConfigHelp);

    CLI::App* set = app.add_subcommand(
        "set", "FILE laden, neue Werte in Zeilen des Rasters setzen, prüfen, kodieren und als OUT "
               "schreiben");
    set->add_option("FILE", file, "Firmware als Intel-HEX-Datei")->required();
    set->add_option("-o,--output", out_path, "Die zu schreibende Datei")->required();
    set->add_option("--address", addresses, "R=N: Adressfeld der Zeile R");
    set->add_option("--function", functions, "R=N: Feld der Funktions-Nummer der Zeile R");
    set->add_option("--green", greens, "R: die Adresse der Zeile R grün machen");
    set->add_option("--red", reds, "R: die Adresse der Zeile R rot machen");
    set->add_flag("--default-config", default_config, kDefaultConfigHelp);
    set->add_flag("--force", force, "OUT überschreiben, wenn es die Datei schon gibt");

    CLI::App* dump = app.add_subcommand("dump", "Config-Wert, ID und die Hex-Dumps von FILE ausgeben");
    dump->add_option("FILE", file, "Firmware als Intel-HEX-Datei")->required();

    bool decoder_terms = false;
    CLI::App* diff = app.add_subcommand(
        "diff", "FILE1 laden und jede Zelle von FILE2 auflisten, die anders ist (Exit-Status 1, "
                "wenn es eine gibt)");
    diff->add_option("FILE1", file, "Die geladene Firmware-Datei")->required();
    diff->add_option("FILE2", file2, "Die Datei, mit der verglichen wird")->required();
    diff->add_flag("--decoder", decoder_terms,
                   "Die Unterschiede auch als Dekoder-Werte melden: Zeilen des Rasters, "
                   "Einstellungen der Rahmen, rohe Bytes nur für Zellen, die kein Editor liest");

    int first = 0, count = 0, step = 0;
    std::string out_dir;
    CLI::App* series = app.add_subcommand(
        "series", "COUNT Kopien von FILE schreiben, deren Adressen bei FIRST + i x STEP beginnen");
    series->add_option("FILE", file, "Die eingestellte Firmware-Datei")->required();
    series->add_option("--first", first, "Erste Adresse der ersten Kopie")->required();
    series->add_option("--count", count, "Anzahl der Kopien")->required();
    series->add_option("--out-dir", out_dir, "Ordner für die Kopien")->required();
    series->add_option("--step", step,
                       "Adressen zwischen zwei Kopien (ohne Angabe: die Spanne der benutzten Zeilen)");
    series->add_flag("--default-config", default_config, kDefaultConfigHelp);
    series->add_flag("--force", force, "Kopien überschreiben, die es schon gibt");

    CLI::App* migrate = app.add_subcommand(
        "migrate", "Die Einstellungen von OLD in NEW (dieselbe Firmware-Familie) übertragen und als "
                   "OUT schreiben");
    migrate->add_option("OLD", file, "Die eingestellte Firmware-Datei")->required();
    migrate->add_option("NEW", file2, "Die Firmware der neuen Version")->required();
    migrate->add_option("-o,--output", out_path, "Die zu schreibende Datei")->required();
    migrate->add_flag("--default-config", default_config, kDefaultConfigHelp);
    migrate->add_flag("--force", force, "OUT überschreiben, wenn es die Datei schon gibt");

    const RosterCommand roster(app);
    for (CLI::App* command : app.get_subcommands({})) {
        command->group("Befehle");
        // A command's help flags are made with the command, before it takes the option group over.
        for (const char* name : {"--help", "--help-all"}) {
            if (CLI::Option* help = command->get_option_no_throw(name)) help->group("Optionen");
        }
    }

    std::vector<std::string> argv_rev(args.rbegin(), args.rend());
    if (!argv_rev.empty()) argv_rev.pop_back();  // program name
    try {
        app.parse(argv_rev);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e, out, err) == 0 ? kExitOk : kExitUsage;
    } catch (const CLI::ParseError& e) {
        err << "parvel: " << T(GermanParseError(e)) << "\nMehr dazu: parvel --help\n";
        return kExitUsage;
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
                    err << "parvel: erwartet wird R=N mit einer Zeile R von 0 bis 47, nicht '" << T(item)
                        << "'\n";
                    return kExitUsage;
                }
                target->push_back(rv);
            }
        }
        for (const std::vector<int>* rows : {&greens, &reds}) {
            for (int r : *rows) {
                if (r < 0 || r >= kGridRows) {
                    err << "parvel: eine Zeile " << r << " gibt es nicht (0 bis 47)\n";
                    return kExitUsage;
                }
            }
        }
        if (FileExists(out_path) && !force) {
            err << ExistsText(out_path);
            return kExitUsage;
        }
        const LoadOutcome outcome = Load(session, dialogs, file);
        if (outcome == LoadOutcome::Unreadable) return kExitUsage;
        if (!session.recognised) {
            if (!session.line_rejected && !session.image().id_found) {
                err << "parvel: " << T(file)
                    << " hat keinen ID-Record, und die Frage danach wurde mit Abbrechen "
                       "beantwortet; es wurde nichts geschrieben\n";
            } else {
                err << "parvel: " << T(file)
                    << " wurde nicht vollständig geladen; es wurde nichts geschrieben\n";
            }
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
            err << "parvel: " << T(out_dir) << " ist kein Ordner\n";
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
            err << ExistsText(out_path);
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
