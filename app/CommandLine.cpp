#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVariant>
#include <cstdio>
#include <cstring>

namespace parvel {

void ConfigureCommandLine(QCommandLineParser& parser) {
    parser.setApplicationDescription(
        "HEX Parvel: Firmware selbstgebauter Modellbahn-Decoder (Intel-HEX-Dateien) laden, "
        "Adressen und Einstellungen ändern und mit korrekten Prüfsummen speichern.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("DATEI", "Intel-HEX-Datei, die beim Start geladen wird.",
                                 "[DATEI]");
}

bool AsksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc && argv[i]; ++i) {
        const char* a = argv[i];
        if (std::strcmp(a, "--") == 0) return false;
        for (const char* text : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(a, text) == 0) return true;
        }
    }
    return false;
}

void ArmAutoClose(QWidget& window, const QByteArray& milliseconds, bool save) {
    bool ok = false;
    const int ms = milliseconds.trimmed().toInt(&ok);
    if (!ok || ms < 0) return;
    QTimer::singleShot(ms, &window, [&window, save] {
        if (auto* web = window.findChild<QPushButton*>("btn_goweb")) {
            // The caption may be cut in the middle; the button keeps the whole address.
            const QVariant address = web->property("address");
            const QString shown = address.isValid() ? address.toString() : web->text();
            std::printf("Web: %s\n", shown.toUtf8().constData());
        }
        if (auto* header = window.findChild<QLabel*>("lbl_header")) {
            std::printf("Firmware: %s\n", header->text().toUtf8().constData());
        }
        std::fflush(stdout);
        if (auto* button = window.findChild<QPushButton*>("btn_save"); save && button) {
            button->click();
        }
        if (auto* close = window.findChild<QPushButton*>("btn_close")) {
            close->click();
        } else {
            window.close();
        }
    });
}

Answer UnattendedDialogs::ShowMessage(const Message& message) {
    std::fprintf(stderr, "Meldung: %s\n", message.text.c_str());
    return SafeAnswer(message.buttons);
}

}  // namespace parvel
