#include "cli/SeriesCommand.h"

#include <CLI/CLI.hpp>

#include "cli/CommandSupport.h"
#include "image/FirmwareImage.h"
#include "cli/ParvelCli.h"
#include "image/Platform.h"
#include "workflows/Series.h"
#include "image/TextFile.h"

namespace parvel {

SeriesCommand::SeriesCommand(CLI::App& app) {
    m_command = app.add_subcommand(
        "series", "COUNT Kopien von FILE schreiben, deren Adressen bei FIRST + i x STEP beginnen");
    m_command->add_option("FILE", m_file, "Die eingestellte Firmware-Datei")->required();
    m_command->add_option("--first", m_first, "Erste Adresse der ersten Kopie")->required();
    m_command->add_option("--count", m_count, "Anzahl der Kopien")->required();
    m_command->add_option("--out-dir", m_out_dir, "Ordner für die Kopien")->required();
    m_command->add_option("--step", m_step,
                          "Adressen zwischen zwei Kopien (ohne Angabe: die Spanne der benutzten Zeilen)");
    m_command->add_flag("--default-config", m_default_config, kDefaultConfigHelp);
    m_command->add_flag("--force", m_force, "Kopien überschreiben, die es schon gibt");
}

bool SeriesCommand::chosen() const { return m_command->parsed(); }

int SeriesCommand::Run(std::ostream& out, std::ostream& err) const {
    CliDialogs dialogs(err, m_default_config);
    const LinesResult read = ReadTextLines(m_file, kMaxHexLines);
    if (!read.ok()) {
        dialogs.ShowMessage({ReadFailureText(read, m_file), Icon::Information, Buttons::Ok});
        return read.failure == ReadFailure::CannotOpen ? kExitUsage : kExitRejected;
    }
    SeriesRequest request;
    request.first = m_first;
    request.count = m_count;
    if (m_step != 0) request.step = m_step;
    request.out_dir = m_out_dir;
    request.overwrite = m_force;
    if (QueryFile(m_out_dir).kind != FileKind::Folder) {
        err << "parvel: " << T(m_out_dir) << " ist kein Ordner\n";
        return kExitUsage;
    }
    const SeriesPlan plan = PlanSeries(read.lines, m_file, request, dialogs);
    if (!plan.ok) return kExitRejected;
    const SeriesOutcome outcome = WriteSeries(plan, request, dialogs);
    if (!outcome.ok) return kExitUsage;
    for (const auto& line : SeriesSummary(plan, outcome.written)) out << T(line) << '\n';
    return kExitOk;
}

}  // namespace parvel
