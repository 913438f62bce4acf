#pragma once

#include <QFrame>

class QPushButton;

namespace parvel {
class DecoderSession;
class Dialogs;
}  // namespace parvel

// The servo curve editor of the servo decoders. Placeholder until its editor lands: it has the
// controls the main window sizes it by and the operations the main window calls.
class TFrameTorv : public QFrame {
    Q_OBJECT
public:
    TFrameTorv(parvel::DecoderSession& session, parvel::Dialogs& dialogs,
               QWidget* parent = nullptr);

    void LoadFromImage();

    // Curve changes not yet written into the image: "übernehmen" is enabled.
    bool HasPendingChanges() const;
    void TakeOver();
    void servo_btn_uebernehmenClick();

    bool loading = false;  // set while the frame fills its own controls

    QPushButton* servo_btn_uebernehmen;  // the frame's size follows this button

private:
    parvel::DecoderSession& m_session;
    parvel::Dialogs& m_dialogs;
};
