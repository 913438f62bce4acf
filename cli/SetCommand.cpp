#include "cli/SetCommand.h"

#include <CLI/CLI.hpp>
#include <utility>

#include "cli/CommandSupport.h"
#include "document/DecoderFile.h"
#include "document/DecoderDocument.h"
#include "cli/ParvelCli.h"

namespace parvel {

SetCommand::SetCommand(CLI::App& app) {
    m_command = app.add_subcommand(
        "set", "FILE laden, neue Werte in Zeilen des Rasters setzen, prüfen, kodieren und als OUT "
               "schreiben");
    m_command->add_option("FILE", m_file, "Firmware als Intel-HEX-Datei")->required();
    m_command->add_option("-o,--output", m_out_path, "Die zu schreibende Datei")->required();
    m_command->add_option("--address", m_addresses, "R=N: Adressfeld der Zeile R");
    m_command->add_option("--function", m_functions, "R=N: Feld der Funktions-Nummer der Zeile R");
    m_command->add_option("--green", m_greens, "R: die Adresse der Zeile R grün machen");
    m_command->add_option("--red", m_reds, "R: die Adresse der Zeile R rot machen");
    m_command->add_flag("--default-config", m_default_config, kDefaultConfigHelp);
    m_command->add_flag("--force", m_force, "OUT überschreiben, wenn es die Datei schon gibt");
}

bool SetCommand::chosen() const { return m_command->parsed(); }

int SetCommand::Run(std::ostream&, std::ostream& err) const {
    // Every value is checked before the file is read, so a wrong call writes nothing.
    struct RowValue {
        int row;
        std::string value;
    };
    std::vector<RowValue> new_addresses, new_functions;
    for (const auto& [list, target] : {std::pair{&m_addresses, &new_addresses},
                                       std::pair{&m_functions, &new_functions}}) {
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
    for (const std::vector<int>* rows : {&m_greens, &m_reds}) {
        for (int r : *rows) {
            if (r < 0 || r >= kGridRows) {
                err << "parvel: eine Zeile " << r << " gibt es nicht (0 bis 47)\n";
                return kExitUsage;
            }
        }
    }
    if (FileExists(m_out_path) && !m_force) {
        err << ExistsText(m_out_path);
        return kExitUsage;
    }
    CliDialogs dialogs(err, m_default_config);
    DecoderDocument document(dialogs);
    const LoadOutcome outcome = Load(document, dialogs, m_file);
    if (outcome == LoadOutcome::Unreadable) return kExitUsage;
    if (!document.recognised()) {
        if (!document.line_rejected() && !document.image().id_found) {
            err << "parvel: " << T(m_file)
                << " hat keinen ID-Record, und die Frage danach wurde mit Abbrechen "
                   "beantwortet; es wurde nichts geschrieben\n";
        } else {
            err << "parvel: " << T(m_file)
                << " wurde nicht vollständig geladen; es wurde nichts geschrieben\n";
        }
        return kExitRejected;
    }
    for (const auto& a : new_addresses) document.SetAddressText(a.row, a.value);
    for (const auto& f : new_functions) document.SetFunctionText(f.row, f.value);
    for (int r : m_greens) document.SetGreen(r, true);
    for (int r : m_reds) document.SetGreen(r, false);
    dialogs.save_target = m_out_path;
    switch (document.Save()) {
        case DecoderDocument::SaveResult::Saved: return kExitOk;
        case DecoderDocument::SaveResult::WriteFailed: return kExitUsage;
        default: return kExitRejected;
    }
}

}  // namespace parvel
