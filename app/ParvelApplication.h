#pragma once

#include <QApplication>
#include <QTranslator>

namespace parvel {

class Dialogs;

// The application object. An exception that escapes a user action is shown with its message
// and the event loop goes on, so one bad file or click never ends the program.
class TParvelApplication : public QApplication {
public:
    TParvelApplication(int& argc, char** argv);

    // Where the messages go; without one they are written to standard error.
    void SetDialogs(Dialogs* dialogs) { m_dialogs = dialogs; }
    int reported() const { return m_reported; }

    bool notify(QObject* receiver, QEvent* event) override;

    // Qt's own texts (standard buttons, file dialogs) in German, whatever the desktop's
    // language: the whole program speaks German. False when the translation is not installed.
    bool InstallGermanQtTranslation();

private:
    void Report(const std::string& text);

    QTranslator m_qt_german;
    Dialogs* m_dialogs = nullptr;
    int m_reported = 0;
    bool m_reporting = false;
};

}  // namespace parvel
