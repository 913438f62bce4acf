#include "cli/DiffCommand.h"

#include <CLI/CLI.hpp>

#include "cli/CommandSupport.h"
#include "workflows/DecoderDiff.h"
#include "document/DecoderFile.h"
#include "document/DecoderDocument.h"
#include "image/HexCompare.h"
#include "cli/ParvelCli.h"

namespace parvel {

DiffCommand::DiffCommand(CLI::App& app) {
    m_command = app.add_subcommand(
        "diff", "FILE1 laden und jede Zelle von FILE2 auflisten, die anders ist (Exit-Status 1, "
                "wenn es eine gibt)");
    m_command->add_option("FILE1", m_file1, "Die geladene Firmware-Datei")->required();
    m_command->add_option("FILE2", m_file2, "Die Datei, mit der verglichen wird")->required();
    m_command->add_flag("--decoder", m_decoder_terms,
                        "Die Unterschiede auch als Dekoder-Werte melden: Zeilen des Rasters, "
                        "Einstellungen der Rahmen, rohe Bytes nur für Zellen, die kein Editor liest");
}

bool DiffCommand::chosen() const { return m_command->parsed(); }

int DiffCommand::Run(std::ostream& out, std::ostream& err) const {
    CliDialogs dialogs(err, false);
    DecoderDocument document(dialogs);
    const LoadOutcome outcome = Load(document, dialogs, m_file1);
    if (outcome == LoadOutcome::Unreadable) return kExitUsage;
    if (outcome == LoadOutcome::Rejected) return kExitRejected;
    const CompareResult result = CompareWithFile(document.image(), document.status_text(3), m_file2);
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
    if (m_decoder_terms) {
        DecoderDocument second(dialogs);
        const LoadOutcome second_outcome = Load(second, dialogs, m_file2);
        if (second_outcome == LoadOutcome::Unreadable) return kExitUsage;
        const DecoderDiffResult terms = DiffInDecoderTerms(document, second);
        out << "\nDekoder\n";
        for (const auto& line : terms.lines) out << line << '\n';
        differences += terms.differences;
    }
    return differences == 0 ? kExitOk : kExitRejected;
}

}  // namespace parvel
