#include <exception>

#include "Documentation.h"
#include "ParvelApplication.h"
#include "QtDialogs.h"
#include "FormMain.h"
#include "WindowSettings.h"

int main(int argc, char** argv) {
    parvel::TParvelApplication app(argc, argv);
    QApplication::setApplicationName("HEX Parvel");

    app.InstallGermanQtTranslation();

    parvel::QtDialogs dialogs;
    app.SetDialogs(&dialogs);
    try {
        parvel::StartOptions options;
        options.settings_path =
            parvel::SettingsPathFor(QApplication::applicationFilePath().toStdString());
        options.doc_root = parvel::DocumentationRoot(
            parvel::DocumentationCandidates(QApplication::applicationDirPath()));
        // QApplication has taken its own options out of argv already.
        if (argc > 1 && argv[1]) options.hex_file = argv[1];

        TFormMain window(options);
        window.show();
        return QApplication::exec();
    } catch (const std::exception& e) {
        dialogs.ShowMessage({e.what(), parvel::Icon::Warning, parvel::Buttons::Ok});
        return 1;
    }
}
