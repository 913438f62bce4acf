#pragma once

#include <QByteArray>

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

// For unattended checks of an installation (HEXPARVEL_AUTOCLOSE_MS=N): N milliseconds after the
// event loop starts, writes the web button's address to standard output as "Web: <address>" and
// presses "Ende", which saves the window settings and closes the window, as a user would.
// Does nothing unless milliseconds is a whole number >= 0.
void ArmAutoClose(QWidget& window, const QByteArray& milliseconds);

}  // namespace parvel
