#include "cli/InfoCommand.h"

#include <CLI/CLI.hpp>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/CommandSupport.h"
#include "document/DecoderFile.h"
#include "document/DecoderDocument.h"
#include "cli/ParvelCli.h"

namespace parvel {

namespace {


// "1..max", or "–" when recognition set no limit (no protocol, unknown firmware).
std::string Range(int max) { return max > 0 ? "1.." + std::to_string(max) : "–"; }

nlohmann::json InfoJson(const DecoderDocument& s, const std::string& path) {
    using nlohmann::json;
    json j;
    j["file"] = T(path);
    j["type_code"] = s.type_code();
    j["name"] = s.entry() ? json(s.entry()->name) : json(nullptr);
    j["kind"] = s.entry() ? json(KindName(s.kind())) : json(nullptr);
    j["id"] = T(s.image().id_text);
    j["version"] = s.version_text().empty() ? json(nullptr) : json(T(s.version_text()));
    j["protocol"] = ProtocolName(s.protocol());
    j["config"] = s.image().config_text.empty() ? json(nullptr) : json(T(s.image().config_text));
    const char* chip = ChipName(s.default_config());
    j["chip"] = chip ? json(chip) : json(nullptr);
    j["max_address"] = s.max_address();
    j["max_function"] = s.max_function();
    json rows = json::array();
    for (const ShownRow& shown : ShownRows(s)) {
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

void PrintInfo(std::ostream& out, const DecoderDocument& s) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%06X", s.type_code());
    out << "Datei:     " << T(s.status_text(3)) << '\n';
    out << "Firmware:  " << (s.entry() ? s.entry()->name : std::string("(unbekannt)")) << "  [Typ " << code
        << ", Art " << (s.entry() ? KindName(s.kind()) : "–") << "]\n";
    out << "Status:    " << T(s.status_text(0)) << " | " << T(s.status_text(1)) << " | "
        << T(s.status_text(2)) << '\n';
    out << "Config:    " << ConfigShown(s.image()) << '\n';
    out << "Grenzen:   Adresse " << Range(s.max_address()) << ", Funktion " << Range(s.max_function()) << '\n';
    for (const ShownRow& shown : ShownRows(s)) {
        char line[32];
        std::snprintf(line, sizeof line, "  %2d  ", shown.row);
        out << line << shown.label << ": " << shown.address;
        if (s.kind() == DecoderKind::Accessory) out << ' ' << ColourName(shown.green);
        else out << " F" << shown.function;
        if (!shown.stored.empty()) {
            out << "  (gespeichert: " << T(shown.stored) << ", passt zu keiner Adresse)";
        }
        out << '\n';
    }
}

}  // namespace

InfoCommand::InfoCommand(CLI::App& app) {
    m_command = app.add_subcommand("info", "FILE laden und erkennen; ausgeben, was das Fenster zeigt");
    m_command->add_option("FILE", m_file, "Firmware als Intel-HEX-Datei")->required();
    m_command->add_flag("--json", m_json, "Ein JSON-Objekt ausgeben");
    m_command->add_flag("--default-config", m_default_config, kDefaultConfigHelp);
}

bool InfoCommand::chosen() const { return m_command->parsed(); }

int InfoCommand::Run(std::ostream& out, std::ostream& err) const {
    CliDialogs dialogs(err, m_default_config);
    DecoderDocument document(dialogs);
    const LoadOutcome outcome = Load(document, dialogs, m_file);
    if (outcome == LoadOutcome::Unreadable) return kExitUsage;
    if (m_json) out << InfoJson(document, m_file).dump(2) << '\n';
    else PrintInfo(out, document);
    return ExitFor(outcome);
}

}  // namespace parvel
