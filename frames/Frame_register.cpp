#include "Frame_register.h"

TFrameRegister::TFrameRegister(parvel::DecoderSession& session, parvel::Dialogs& dialogs,
                               QWidget* parent)
    : QFrame(parent), m_session(session), m_dialogs(dialogs) {
    setObjectName("TFrameRegister");
    resize(940, 555);
}

void TFrameRegister::ClearView() {
    loading = true;
    loading = false;
}

void TFrameRegister::LoadFromImage() {
    loading = true;
    loading = false;
}
