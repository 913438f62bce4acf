#pragma once

#include <QFrame>

namespace parvel {
class DecoderSession;
class Dialogs;
}  // namespace parvel

// The CV register table of the function decoder with CVs, shown over the grid.
// Placeholder until its table lands.
class TFrameRegister : public QFrame {
    Q_OBJECT
public:
    TFrameRegister(parvel::DecoderSession& session, parvel::Dialogs& dialogs,
                   QWidget* parent = nullptr);

    void ClearView();
    void LoadFromImage();

    bool loading = false;  // set while the frame fills its own controls

private:
    parvel::DecoderSession& m_session;
    parvel::Dialogs& m_dialogs;
};
