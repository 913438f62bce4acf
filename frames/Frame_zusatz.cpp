#include "Frame_zusatz.h"

#include <QGroupBox>

TFrameZusatz::TFrameZusatz(parvel::DecoderSession& session, parvel::Dialogs& dialogs,
                           QWidget* parent)
    : QFrame(parent), m_session(session), m_dialogs(dialogs) {
    setObjectName("TFrameZusatz");
    resize(300, 485);
    group_mode = new QGroupBox("Mode Auswahl", this);
    group_mode->setObjectName("group_mode");
    group_mode->setGeometry(10, 100, 280, 200);
    group_mode->hide();
}

void TFrameZusatz::ClearView() {
    loading = true;
    group_mode->hide();
    loading = false;
}

void TFrameZusatz::LoadFromImage() {
    loading = true;
    loading = false;
}
