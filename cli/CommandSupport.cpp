#include "cli/CommandSupport.h"

#include <CLI/CLI.hpp>
#include <regex>
#include <utility>

#include "image/Message.h"
#include "cli/ParvelCli.h"
#include "image/Platform.h"

namespace parvel {

Answer CliDialogs::ShowMessage(const Message& message) {
    Answer answer = SafeAnswer(message.buttons);
    if (message.buttons == Buttons::YesIgnore && m_default_config) answer = Answer::Yes;
    m_err << (message.icon == Icon::Warning ? "Warnung: " : "") << ReadableMessage(message.text);
    if (message.buttons != Buttons::Ok && message.buttons != Buttons::Cancel) {
        m_err << " [" << ButtonsName(message.buttons) << "] -> " << AnswerName(answer);
    }
    m_err << '\n';
    return answer;
}

LoadOutcome Load(DecoderDocument& document, Dialogs& dialogs, const std::string& path) {
    return LoadDecoderFile(document, dialogs, path);
}

int ExitFor(LoadOutcome outcome) {
    switch (outcome) {
        case LoadOutcome::Recognised: return kExitOk;
        case LoadOutcome::Unreadable: return kExitUsage;
        default: return kExitRejected;
    }
}

std::string T(const std::string& text) { return ReadableText(text); }

std::string ConfigShown(const FirmwareImage& image) {
    return image.config_text.empty() ? std::string(kNoConfigText) : T(image.config_text);
}

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

}  // namespace parvel
