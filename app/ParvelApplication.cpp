#include "app/ParvelApplication.h"

#include <QLibraryInfo>
#include <cstdio>
#include <exception>

#include "image/Dialogs.h"

namespace parvel {

TParvelApplication::TParvelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TParvelApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        Report(e.what());
    } catch (...) {
        Report("Unbekannter Fehler");
    }
    return false;
}

bool TParvelApplication::InstallGermanQtTranslation() {
    if (!m_qt_german.load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return installTranslator(&m_qt_german);
}

void TParvelApplication::Report(const std::string& text) {
    ++m_reported;
    // The message box runs its own event loop; a second failure inside it is only counted,
    // so a repeating fault cannot stack up boxes without end.
    if (m_reporting || !m_dialogs) {
        std::fprintf(stderr, "HEX Parvel: %s\n", text.c_str());
        return;
    }
    m_reporting = true;
    m_dialogs->ShowMessage({text, Icon::Warning, Buttons::Ok});
    m_reporting = false;
}

}  // namespace parvel
