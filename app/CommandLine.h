#pragma once

#include <QByteArray>
#include <string>

#include "image/Dialogs.h"

class QCommandLineParser;
class QWidget;

namespace parvel {

// The window's command line: --help, --version and the optional HEX file to load at start.
void ConfigureCommandLine(QCommandLineParser& parser);

// True when the arguments ask only for help or version text (before a lone "--"). Those are
// answered without a window system, so that they work over ssh and in scripts.
bool AsksOnlyForText(int argc, char** argv);

// Name of the environment variable read by ArmAutoClose.
constexpr const char* kAutoCloseVariable = "HEXPARVEL_AUTOCLOSE_MS";

// Name of the environment variable that makes an unattended check also save (see ArmAutoClose).
constexpr const char* kAutoSaveVariable = "HEXPARVEL_AUTOSAVE";

// For unattended checks of an installation (HEXPARVEL_AUTOCLOSE_MS=N): N milliseconds after the
// event loop starts, writes the web button's whole address to standard output as "Web: <address>" and
// the firmware's name as "Firmware: <header>", presses "speichern" when save is set, and then
// "Ende", which saves the window settings and closes the window, as a user would.
// Does nothing unless milliseconds is a whole number >= 0.
void ArmAutoClose(QWidget& window, const QByteArray& milliseconds, bool save = false);

// The answers of an unattended save (HEXPARVEL_AUTOSAVE=1 with HEXPARVEL_AUTOCLOSE_MS): the save
// dialog chooses the loaded file, so that "speichern" writes over it as a user's most common
// save does; every question takes the answer that changes nothing, and every message goes to
// standard error as "Meldung: <text>", so that nothing waits for a person.
class UnattendedDialogs : public Dialogs {
public:
    explicit UnattendedDialogs(std::string loaded_file) : m_file(std::move(loaded_file)) {}
    Answer ShowMessage(const Message& message) override;
    std::optional<std::string> OpenFileName(const std::string&, const FileDialogPlace&) override {
        return std::nullopt;
    }
    std::optional<std::string> SaveFileName(const std::string&, const std::string&,
                                            const std::string&, const FileDialogPlace&) override {
        return m_file;
    }

private:
    std::string m_file;
};

}  // namespace parvel
