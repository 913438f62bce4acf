#include "cli/DumpCommand.h"

#include <CLI/CLI.hpp>

#include "cli/CommandSupport.h"
#include "document/DecoderFile.h"
#include "document/DecoderDocument.h"
#include "image/HexCompare.h"
#include "cli/ParvelCli.h"

namespace parvel {

DumpCommand::DumpCommand(CLI::App& app) {
    m_command = app.add_subcommand("dump", "Config-Wert, ID und die Hex-Dumps von FILE ausgeben");
    m_command->add_option("FILE", m_file, "Firmware als Intel-HEX-Datei")->required();
}

bool DumpCommand::chosen() const { return m_command->parsed(); }

int DumpCommand::Run(std::ostream& out, std::ostream& err) const {
    CliDialogs dialogs(err, false);
    DecoderDocument document(dialogs);
    const LoadOutcome outcome = Load(document, dialogs, m_file);
    if (outcome == LoadOutcome::Unreadable) return kExitUsage;
    out << "Config Value: " << ConfigShown(document.image()) << '\n';
    out << "ID-Value: " << T(document.image().id_text) << '\n';
    out << "EEprom\n";
    for (const auto& line : EepromDump(document.image())) out << line << '\n';
    out << "ROM\n";
    for (const auto& line : RomDump(document.image())) out << line << '\n';
    // A dump of an image without ID or of an unknown firmware is complete: the warning went
    // to standard error, the result is the dump.
    return outcome == LoadOutcome::Rejected ? kExitRejected : kExitOk;
}

}  // namespace parvel
