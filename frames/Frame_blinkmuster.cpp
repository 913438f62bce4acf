#include "Frame_blinkmuster.h"

#include <QPushButton>
#include <QRect>

TFrameBlinkmuster::TFrameBlinkmuster(parvel::DecoderSession& session, parvel::Dialogs& dialogs,
                                     QWidget* parent)
    : QFrame(parent), m_session(session), m_dialogs(dialogs) {
    setObjectName("TFrameBlinkmuster");
    blinkmuster_btn_uebernehmen = new QPushButton("Übernehmen", this);
    blinkmuster_btn_uebernehmen->setObjectName("blinkmuster_btn_uebernehmen");
    blinkmuster_btn_uebernehmen->setGeometry(385, 420, 90, 25);
    blinkmuster_btn_uebernehmen->setEnabled(false);
    connect(blinkmuster_btn_uebernehmen, &QPushButton::clicked, this,
            &TFrameBlinkmuster::blinkmuster_btn_uebernehmenClick);
    const QRect b = blinkmuster_btn_uebernehmen->geometry();
    resize(b.x() + b.width() + 15, b.y() + b.height() + 15);
}

void TFrameBlinkmuster::SetUp(int /*width*/) { blinkmuster_btn_uebernehmen->setEnabled(false); }

void TFrameBlinkmuster::LoadFromImage() {
    loading = true;
    loading = false;
}

bool TFrameBlinkmuster::HasPendingChanges() const {
    return blinkmuster_btn_uebernehmen->isEnabled();
}

void TFrameBlinkmuster::TakeOver() { blinkmuster_btn_uebernehmenClick(); }

void TFrameBlinkmuster::blinkmuster_btn_uebernehmenClick() {
    blinkmuster_btn_uebernehmen->setEnabled(false);
}
