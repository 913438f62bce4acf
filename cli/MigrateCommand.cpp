#include "cli/MigrateCommand.h"

#include <CLI/CLI.hpp>

#include "cli/CommandSupport.h"
#include "image/FirmwareImage.h"
#include "workflows/Migration.h"
#include "cli/ParvelCli.h"
#include "image/TextFile.h"

namespace parvel {

MigrateCommand::MigrateCommand(CLI::App& app) {
    m_command = app.add_subcommand(
        "migrate", "Die Einstellungen von OLD in NEW (dieselbe Firmware-Familie) übertragen und als "
                   "OUT schreiben");
    m_command->add_option("OLD", m_old, "Die eingestellte Firmware-Datei")->required();
    m_command->add_option("NEW", m_new, "Die Firmware der neuen Version")->required();
    m_command->add_option("-o,--output", m_out_path, "Die zu schreibende Datei")->required();
    m_command->add_flag("--default-config", m_default_config, kDefaultConfigHelp);
    m_command->add_flag("--force", m_force, "OUT überschreiben, wenn es die Datei schon gibt");
}

bool MigrateCommand::chosen() const { return m_command->parsed(); }

int MigrateCommand::Run(std::ostream& out, std::ostream& err) const {
    if (FileExists(m_out_path) && !m_force) {
        err << ExistsText(m_out_path);
        return kExitUsage;
    }
    CliDialogs dialogs(err, m_default_config);
    LinesResult reads[2] = {ReadTextLines(m_old, kMaxHexLines), ReadTextLines(m_new, kMaxHexLines)};
    for (int i = 0; i < 2; ++i) {
        if (reads[i].ok()) continue;
        const std::string& path = i == 0 ? m_old : m_new;
        dialogs.ShowMessage({ReadFailureText(reads[i], path), Icon::Information, Buttons::Ok});
        return reads[i].failure == ReadFailure::CannotOpen ? kExitUsage : kExitRejected;
    }
    const MigrationResult result = Migrate(reads[0].lines, m_old, reads[1].lines, m_new, dialogs);
    if (!result.ok) return kExitRejected;
    const WriteResult written = AtomicWriteFile(m_out_path, result.text);
    if (!written.ok) {
        dialogs.ShowMessage({"Das HEX-File " + m_out_path + " konnte nicht gespeichert werden: " +
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

}  // namespace parvel
