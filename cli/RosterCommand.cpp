#include "cli/RosterCommand.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "image/Message.h"
#include "cli/ParvelCli.h"
#include "workflows/Roster.h"

namespace parvel {

namespace {

nlohmann::json OutputJson(const RosterOutput& o) {
    nlohmann::json j{
        {"file", ReadableText(o.file)},
        {"name", o.name},
        {"version", o.version.empty() ? nlohmann::json(nullptr) : nlohmann::json(o.version)},
        {"chip", o.chip.empty() ? nlohmann::json(nullptr) : nlohmann::json(o.chip)},
        {"protocol", o.protocol},
        {"kind", o.accessory ? "A" : "F"},
        {"row", o.row},
        {"label", o.label},
        {"address", o.address}};
    if (o.accessory) {
        j["green"] = o.green;
    } else if (o.cv) {
        // Address in CVs: no grid row, and the decoder answers every function.
        j["row"] = nullptr;
        j["function"] = nullptr;
        j["cv"] = o.cv;
    } else {
        j["function"] = o.function;
    }
    return j;
}

nlohmann::json ClashJson(const Roster& roster, const RosterClash& c, bool note) {
    nlohmann::json j{
        {"protocol", c.protocol}, {"kind", c.accessory ? "A" : "F"}, {"address", c.address}};
    if (!note) {
        if (c.accessory)
            j["green"] = c.green;
        else
            j["function"] = c.all_functions ? nlohmann::json(nullptr) : nlohmann::json(c.function);
    }
    j["text"] = ClashTitle(c, note);
    nlohmann::json outputs = nlohmann::json::array();
    for (std::size_t i : c.outputs) outputs.push_back(OutputJson(roster.outputs[i]));
    j["outputs"] = outputs;
    return j;
}

nlohmann::json RosterJson(const Roster& roster, int free_count) {
    using nlohmann::json;
    json j;
    j["outputs"] = json::array();
    for (const auto& o : roster.outputs) j["outputs"].push_back(OutputJson(o));
    j["conflicts"] = json::array();
    for (const auto& c : roster.conflicts) j["conflicts"].push_back(ClashJson(roster, c, false));
    j["notes"] = json::array();
    for (const auto& n : roster.notes) j["notes"].push_back(ClashJson(roster, n, true));
    j["skipped"] = json::array();
    for (const auto& s : roster.skipped)
        j["skipped"].push_back({{"file", ReadableText(s.file)}, {"message", ReadableMessage(s.message)}});
    j["free"] = json::object();
    for (const auto& group : roster.free) {
        if (free_count <= 0) break;
        json ranges = json::array();
        for (std::size_t i = 0; i < group.ranges.size() && i < static_cast<std::size_t>(free_count);
             ++i) {
            ranges.push_back({{"first", group.ranges[i].first}, {"last", group.ranges[i].last}});
        }
        j["free"][group.name] = ranges;
    }
    return j;
}

}  // namespace

RosterCommand::RosterCommand(CLI::App& app) {
    m_command = app.add_subcommand(
        "roster",
        "Jede benutzte Adresse aller *.hex-Dateien in DIR auflisten, mit den Ausgängen, die auf "
        "denselben Befehl hören (Exit-Status 1, wenn eine doppelt belegt ist)");
    m_command->add_option("DIR", m_folder, "Ordner mit den Dekoder-Images")->required();
    m_command->add_flag("--recursive", m_recursive, "Auch die Unterordner lesen");
    auto* json = m_command->add_flag("--json", m_json, "Ein JSON-Dokument ausgeben");
    auto* csv = m_command->add_flag("--csv", m_csv,
                                    "Die Tabelle der Ausgänge als CSV ausgeben (Semikolons, UTF-8 "
                                    "mit BOM)");
    json->excludes(csv);
    m_command
        ->add_option("--free", m_free, "Die ersten N freien Adressbereiche je Protokoll und Art auflisten")
        ->check(CLI::NonNegativeNumber);
}

bool RosterCommand::chosen() const { return m_command->parsed(); }

int RosterCommand::Run(std::ostream& out, std::ostream& err) const {
    RosterRequest request;
    request.folder = m_folder;
    request.recursive = m_recursive;
    const Roster roster = BuildRoster(request);
    if (!roster.folder_ok) {
        err << "parvel: " << roster.folder_message << '\n';
        return kExitUsage;
    }
    if (m_json) {
        // File names are made readable where they enter the document; a byte that still is not
        // UTF-8 becomes U+FFFD rather than ending the command.
        out << RosterJson(roster, m_free).dump(2, ' ', false, nlohmann::json::error_handler_t::replace)
            << '\n';
    } else if (m_csv) {
        out << RosterCsv(roster);
    } else {
        for (const auto& line : RosterText(roster, m_folder, m_free)) out << line << '\n';
    }
    return roster.conflicts.empty() ? kExitOk : kExitRejected;
}

}  // namespace parvel
