#include "Frame_torv_adr.h"

TFrameTorvAdr::TFrameTorvAdr(parvel::DecoderSession& session, parvel::Dialogs& dialogs,
                             QWidget* parent)
    : QFrame(parent), m_session(session), m_dialogs(dialogs) {
    setObjectName("TFrameTorvAdr");
    resize(398, 530);
}

void TFrameTorvAdr::LoadFromImage() {
    loading = true;
    loading = false;
}
