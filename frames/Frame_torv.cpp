#include "Frame_torv.h"

#include <QPushButton>

TFrameTorv::TFrameTorv(parvel::DecoderSession& session, parvel::Dialogs& dialogs, QWidget* parent)
    : QFrame(parent), m_session(session), m_dialogs(dialogs) {
    setObjectName("TFrameTorv");
    servo_btn_uebernehmen = new QPushButton("übernehmen", this);
    servo_btn_uebernehmen->setObjectName("servo_btn_uebernehmen");
    servo_btn_uebernehmen->setToolTip("Daten übernehmen");
    servo_btn_uebernehmen->setGeometry(435, 515, 90, 25);
    servo_btn_uebernehmen->setEnabled(false);
    connect(servo_btn_uebernehmen, &QPushButton::clicked, this,
            &TFrameTorv::servo_btn_uebernehmenClick);
    resize(540, 555);
}

void TFrameTorv::LoadFromImage() {
    loading = true;
    servo_btn_uebernehmen->setEnabled(false);
    loading = false;
}

bool TFrameTorv::HasPendingChanges() const { return servo_btn_uebernehmen->isEnabled(); }

void TFrameTorv::TakeOver() { servo_btn_uebernehmenClick(); }

void TFrameTorv::servo_btn_uebernehmenClick() { servo_btn_uebernehmen->setEnabled(false); }
