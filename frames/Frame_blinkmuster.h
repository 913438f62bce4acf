#pragma once

#include <QFrame>

class QPushButton;

namespace parvel {
class DecoderSession;
class Dialogs;
}  // namespace parvel

// The blink pattern editor of the blink-pattern firmware (four patterns drawn as strips).
// Placeholder until its editor lands: it has the controls the main window sizes it by and the
// operations the main window calls.
class TFrameBlinkmuster : public QFrame {
    Q_OBJECT
public:
    TFrameBlinkmuster(parvel::DecoderSession& session, parvel::Dialogs& dialogs,
                      QWidget* parent = nullptr);

    // Sizes the strips to the frame width and takes a working copy from the image.
    void SetUp(int width);
    void LoadFromImage();

    // Changes of the working copy not yet written into the image: "Übernehmen" is enabled.
    bool HasPendingChanges() const;
    // The "Übernehmen" action: the working copy goes into the image.
    void TakeOver();
    void blinkmuster_btn_uebernehmenClick();

    bool loading = false;  // set while the frame fills its own controls

    QPushButton* blinkmuster_btn_uebernehmen;  // the frame's size follows this button

private:
    parvel::DecoderSession& m_session;
    parvel::Dialogs& m_dialogs;
};
