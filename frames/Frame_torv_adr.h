#pragma once

#include <QFrame>

namespace parvel {
class DecoderSession;
class Dialogs;
}  // namespace parvel

// The servo address and action table, shown over the grid for the servo decoders.
// Placeholder until its table lands.
class TFrameTorvAdr : public QFrame {
    Q_OBJECT
public:
    TFrameTorvAdr(parvel::DecoderSession& session, parvel::Dialogs& dialogs,
                  QWidget* parent = nullptr);

    void LoadFromImage();

    bool loading = false;  // set while the frame fills its own controls

private:
    parvel::DecoderSession& m_session;
    parvel::Dialogs& m_dialogs;
};
