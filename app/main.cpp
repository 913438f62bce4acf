#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>
#include <exception>

#include "app/CommandLine.h"
#include "app/Documentation.h"
#include "app/ParvelApplication.h"
#include "ParvelVersion.h"
#include "image/Platform.h"
#include "app/QtDialogs.h"
#include "app/FormMain.h"
#include "app/WindowSettings.h"

int main(int argc, char** argv) {
    QCoreApplication::setApplicationName("HEX Parvel");
    QCoreApplication::setApplicationVersion(PARVEL_VERSION);
    if (parvel::AsksOnlyForText(argc, argv)) {
        parvel::UseParentConsole();
        QCoreApplication text_only(argc, argv);
        QTranslator qt_german;  // Qt's own help lines in German, like the rest of the program
        if (qt_german.load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(&qt_german);
        }
        QCommandLineParser parser;
        parvel::ConfigureCommandLine(parser);
        // "program (package) version", the form GNU tools print and packaging tools read.
        if (parser.parse(text_only.arguments()) && parser.isSet("version")) {
            std::printf("hexparvel (HEX Parvel) %s\n", PARVEL_VERSION);
            return 0;
        }
        parser.process(text_only);  // prints the help text or the error, and ends the program
        return 0;
    }

    parvel::TParvelApplication app(argc, argv);
    QApplication::setApplicationName("HEX Parvel");
    QGuiApplication::setDesktopFileName(PARVEL_DESKTOP_ID);
    QIcon icon;
    for (const parvel::IconFile& file :
         parvel::InstalledIconFiles(QApplication::applicationDirPath(), PARVEL_DESKTOP_ID)) {
        icon.addFile(file.path, QSize(file.size, file.size));
    }
    QApplication::setWindowIcon(icon);

    app.InstallGermanQtTranslation();

    // QApplication has taken its own options (-platform, ...) out of the arguments already.
    QCommandLineParser parser;
    parvel::ConfigureCommandLine(parser);
    parser.process(app);

    parvel::QtDialogs dialogs;
    app.SetDialogs(&dialogs);
    try {
        const QString bin_dir = QApplication::applicationDirPath();
        parvel::StartOptions options;
        options.settings_path = parvel::ChooseSettingsPath(
            QApplication::applicationFilePath().toStdString(),
            parvel::RunsFromPrefixInstallation(bin_dir),
            QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation).toStdString());
        options.doc_root =
            parvel::DocumentationRoot(parvel::DocumentationCandidates(bin_dir));
        const QStringList files = parser.positionalArguments();
        if (!files.isEmpty()) options.hex_file = files.first().toStdString();

        const QByteArray auto_close = qgetenv(parvel::kAutoCloseVariable);
        const bool auto_save = !auto_close.isEmpty() && qgetenv(parvel::kAutoSaveVariable) == "1";
        parvel::UnattendedDialogs unattended(options.hex_file);
        TFormMain window(options, auto_save ? &unattended : nullptr);
        window.show();
        parvel::ArmAutoClose(window, auto_close, auto_save);
        return QApplication::exec();
    } catch (const std::exception& e) {
        dialogs.ShowMessage({e.what(), parvel::Icon::Warning, parvel::Buttons::Ok});
        return 1;
    }
}
