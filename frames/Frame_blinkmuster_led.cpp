#include "Frame_blinkmuster_led.h"

#include <QPushButton>
#include <QRect>

TFrameBlinkmuster_led::TFrameBlinkmuster_led(parvel::DecoderSession& session,
                                             parvel::Dialogs& dialogs, QWidget* parent)
    : QFrame(parent), m_session(session), m_dialogs(dialogs) {
    setObjectName("TFrameBlinkmuster_led");
    led_blinkmuster_btn_uebernehmen = new QPushButton("Übernehmen", this);
    led_blinkmuster_btn_uebernehmen->setObjectName("led_blinkmuster_btn_uebernehmen");
    led_blinkmuster_btn_uebernehmen->setGeometry(385, 505, 90, 25);
    led_blinkmuster_btn_uebernehmen->setEnabled(false);
    connect(led_blinkmuster_btn_uebernehmen, &QPushButton::clicked, this,
            &TFrameBlinkmuster_led::led_blinkmuster_btn_uebernehmenClick);
    const QRect b = led_blinkmuster_btn_uebernehmen->geometry();
    resize(b.x() + b.width() + 15, b.y() + b.height() + 15);
}

void TFrameBlinkmuster_led::SetUp(int /*width*/) {
    led_blinkmuster_btn_uebernehmen->setEnabled(false);
}

void TFrameBlinkmuster_led::LoadFromImage() {
    loading = true;
    loading = false;
}

bool TFrameBlinkmuster_led::HasPendingChanges() const {
    return led_blinkmuster_btn_uebernehmen->isEnabled();
}

void TFrameBlinkmuster_led::TakeOver() { led_blinkmuster_btn_uebernehmenClick(); }

void TFrameBlinkmuster_led::led_blinkmuster_btn_uebernehmenClick() {
    led_blinkmuster_btn_uebernehmen->setEnabled(false);
}
