#include "cli/ParvelCli.h"

#include <CLI/CLI.hpp>

#include "cli/CommandSupport.h"
#include "cli/DiffCommand.h"
#include "cli/DumpCommand.h"
#include "cli/InfoCommand.h"
#include "cli/MigrateCommand.h"
#include "ParvelVersion.h"
#include "cli/RosterCommand.h"
#include "cli/SeriesCommand.h"
#include "cli/SetCommand.h"

namespace parvel {

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

    // The commands in the order the help lists them.
    const InfoCommand info(app);
    const SetCommand set(app);
    const DumpCommand dump(app);
    const DiffCommand diff(app);
    const SeriesCommand series(app);
    const MigrateCommand migrate(app);
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

    if (info.chosen()) return info.Run(out, err);
    if (set.chosen()) return set.Run(out, err);
    if (dump.chosen()) return dump.Run(out, err);
    if (diff.chosen()) return diff.Run(out, err);
    if (series.chosen()) return series.Run(out, err);
    if (migrate.chosen()) return migrate.Run(out, err);
    if (roster.chosen()) return roster.Run(out, err);
    return kExitUsage;
}

}  // namespace parvel
