#pragma once

#include <QFrame>

class QGroupBox;

namespace parvel {
class DecoderSession;
class Dialogs;
}  // namespace parvel

// Additional settings of the turnout, LED, relay and function decoder firmwares (modes,
// time-outs, light). Placeholder until its editor lands: it has the controls the main window
// sizes it by and the operations the main window calls.
class TFrameZusatz : public QFrame {
    Q_OBJECT
public:
    TFrameZusatz(parvel::DecoderSession& session, parvel::Dialogs& dialogs,
                 QWidget* parent = nullptr);

    void ClearView();
    void LoadFromImage();

    // Set by the main window while the frame fills its own controls; change handlers ignore
    // their events then, so filling never writes into the image.
    bool loading = false;

    QGroupBox* group_mode;  // the frame's width follows its right edge

private:
    parvel::DecoderSession& m_session;
    parvel::Dialogs& m_dialogs;
};
