#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "document/DecoderFile.h"
#include "image/Dialogs.h"

namespace CLI {
class App;
class ParseError;
}  // namespace CLI

namespace parvel {

// What the subcommands of `parvel` share: the dialogs of a terminal, the exit status of a load,
// readable text, and the German texts of the command line.

// Messages go to standard error with their German text; a question takes the answer that
// changes nothing, except the missing-configuration question when --default-config is given.
class CliDialogs : public Dialogs {
public:
    CliDialogs(std::ostream& err, bool default_config) : m_err(err), m_default_config(default_config) {}

    std::optional<std::string> save_target;

    Answer ShowMessage(const Message& message) override;
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

// Help text of --default-config, the same for every command that loads a file.
inline constexpr const char* kDefaultConfigHelp =
    "Die Frage, ob der Standard-Wert des Config-Worts erzeugt werden soll, mit Ja beantworten";

LoadOutcome Load(DecoderDocument& document, Dialogs& dialogs, const std::string& path);

// Exit status of a command whose result is the load itself.
int ExitFor(LoadOutcome outcome);

// Text for the terminal or a JSON string: file bytes and odd path names shown escaped, so the
// output is always valid UTF-8 (the JSON library refuses anything else).
std::string T(const std::string& text);

// The configuration value of the image, or the text that says it has none.
std::string ConfigShown(const FirmwareImage& image);

// German labels and texts for CLI11's help. Called before the commands are added: they take
// the option group and the help flag over from the application.
void GermanHelp(CLI::App& app);

// CLI11's message for a wrong call, in German. The messages are matched by their form; one of
// an unforeseen form keeps its text after a German lead-in.
std::string GermanParseError(const CLI::ParseError& e);

// The complete line that refuses to overwrite `path` without --force.
std::string ExistsText(const std::string& path);

bool FileExists(const std::string& path);

// "R=N" with R a grid row 0..47.
bool ParseRowValue(const std::string& text, int& row, std::string& value);

}  // namespace parvel
