#include "frames/FrameBlinkmusterLed.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "settings/LedBlinkPatternTable.h"
#include "frames/PatternEditorWidgets.h"

namespace {

const parvel::PatternEditorNames kNames{"led_blinkmuster_", "Image_led_Blink", "UpDown9",
                                        "UpDown10"};

constexpr int kStripTop = 5;
constexpr int kStripPitch = 40;  // strip height 38 and the gap to the next one
constexpr int kStripLeft = 40;

parvel::ControlPlace PlaceOf(const QWidget* w) { return {w->x(), w->y(), w->width(), w->height()}; }

void SetPlace(QWidget* w, const parvel::ControlPlace& p) {
    w->setGeometry(p.left, p.top, p.width, p.height);
}

}  // namespace

TFrameBlinkmuster_led::TFrameBlinkmuster_led(parvel::DecoderDocument& document,
                                             parvel::Dialogs& dialogs, QWidget* parent)
    : PatternEditorFrame(document, dialogs, document.led_blink_table(), parvel::PendingFrame::BlinkmusterLed, kNames,
                         parent) {
    setObjectName("TFrameBlinkmuster_led");
    led_blinkmuster_btn_uebernehmen = m_take_over;

    // The form's places. SetUp sizes the strips to the frame and lines up the address buttons,
    // the count and stretch controls and the copy buttons (LayOutLedFrame); tops stay.
    using parvel::LedBlinkPatternTable;
    int strip_left = kStripLeft;
    for (int k = 0; k < LedBlinkPatternTable::kOutputs; ++k) {
        const int top = kStripTop + k * kStripPitch;
        PlaceLabel(m_strip_labels[k], 3, top + 2);
        m_use_boxes[k]->setGeometry(10, top + 18, 18, 18);
        // "Out#10" is wider than the room the four-output editor leaves before its strips.
        strip_left = std::max(strip_left, m_strip_labels[k]->x() + m_strip_labels[k]->width() + 4);
    }
    for (int k = 0; k < LedBlinkPatternTable::kOutputs; ++k) {
        m_strips[k]->setGeometry(strip_left, kStripTop + k * kStripPitch, 440,
                                 LedBlinkPatternTable::kStripHeight);
    }

    const int radio_width = m_address[0]->sizeHint().width();
    for (int n = 0; n < 4; ++n) m_address[n]->setGeometry(10, 17 + 21 * n, radio_width, 19);
    m_address_group->setGeometry(10, 408, radio_width + 20, 42);
    m_loop->setGeometry(m_address_group->x() + m_address_group->width() + 10, 424, 60, 19);

    PlaceLabel(m_stretch_label, 10, 466);
    m_stretch->setGeometry(90, 463, 35, 21);
    m_stretch_updown->setGeometry(125, 463, 17, 21);
    PlaceLabel(m_count_label, 150, 466);
    m_count->setGeometry(230, 463, 35, 21);
    m_count_updown->setGeometry(265, 463, 17, 21);
    m_info1->setGeometry(290, 459, 185, 15);
    m_info2->setGeometry(290, 474, 185, 15);

    PlaceLabel(m_copy_label, 10, 508);
    for (int n = 0; n < 4; ++n) m_copy[n]->setGeometry(90 + 44 * n, 505, 44, 25);
    m_discard->setGeometry(290, 505, 90, 25);
    m_take_over->setGeometry(385, 505, 90, 25);
    const QRect b = m_take_over->geometry();
    resize(b.x() + b.width() + 15, b.y() + b.height() + 15);

    for (int n = 0; n < 4; ++n) {
        connect(m_address[n], &QRadioButton::clicked, this,
                [this, n] { led_blinkmuster_rad_axClick(n); });
    }
    connect(m_count, &QLineEdit::editingFinished, this,
            &TFrameBlinkmuster_led::led_blinkmuster_edt_AnzahlChange);
    connect(m_stretch, &QLineEdit::editingFinished, this,
            &TFrameBlinkmuster_led::led_blinkmuster_edt_stretchChange);
    connect(m_count_updown, &parvel::PatternUpDown::stepped, this, [this](int d) { CountStep(d); });
    connect(m_stretch_updown, &parvel::PatternUpDown::stepped, this,
            [this](int d) { StretchStep(d); });
    connect(m_loop, &QCheckBox::clicked, this,
            &TFrameBlinkmuster_led::led_blinkmuster_cbx_loopClick);
    for (int k = 0; k < LedBlinkPatternTable::kOutputs; ++k) {
        connect(m_use_boxes[k], &QCheckBox::clicked, this,
                [this, k] { led_blinkmuster_cbx_outsClick(k); });
    }
    const std::array<void (TFrameBlinkmuster_led::*)(), 4> copy_handlers{
        &TFrameBlinkmuster_led::led_blinkmuster_btn_copy1Click,
        &TFrameBlinkmuster_led::led_blinkmuster_btn_copy2Click,
        &TFrameBlinkmuster_led::led_blinkmuster_btn_copy3Click,
        &TFrameBlinkmuster_led::led_blinkmuster_btn_copy4Click};
    for (int n = 0; n < 4; ++n) connect(m_copy[n], &QPushButton::clicked, this, copy_handlers[n]);
    connect(m_take_over, &QPushButton::clicked, this,
            &TFrameBlinkmuster_led::led_blinkmuster_btn_uebernehmenClick);
    connect(m_discard, &QPushButton::clicked, this,
            &TFrameBlinkmuster_led::led_blinkmuster_btn_verwerfenClick);
    for (parvel::PatternStripCanvas* strip : m_strips) {
        connect(strip, &parvel::PatternStripCanvas::pressed, this,
                &TFrameBlinkmuster_led::Image_led_BlinkxMouseDown);
        connect(strip, &parvel::PatternStripCanvas::moved, this,
                &TFrameBlinkmuster_led::Image_led_BlinkxMouseMove);
        connect(strip, &parvel::PatternStripCanvas::released, this,
                [this] { Image_led_BlinkxMouseUp(); });
    }
}

parvel::LedFrameGeometry TFrameBlinkmuster_led::CurrentGeometry() const {
    parvel::LedFrameGeometry g;
    for (int k = 0; k < parvel::LedBlinkPatternTable::kOutputs; ++k) {
        g.strips[k] = PlaceOf(m_strips[k]);
    }
    for (int n = 0; n < 4; ++n) {
        g.address_buttons[n] = PlaceOf(m_address[n]);
        g.copy_buttons[n] = PlaceOf(m_copy[n]);
    }
    g.address_group = PlaceOf(m_address_group);
    g.loop = PlaceOf(m_loop);
    g.stretch_label = PlaceOf(m_stretch_label);
    g.stretch_edit = PlaceOf(m_stretch);
    g.stretch_spinner = PlaceOf(m_stretch_updown);
    g.count_label = PlaceOf(m_count_label);
    g.count_edit = PlaceOf(m_count);
    g.count_spinner = PlaceOf(m_count_updown);
    g.info1 = PlaceOf(m_info1);
    g.info2 = PlaceOf(m_info2);
    g.copy_label = PlaceOf(m_copy_label);
    g.discard = PlaceOf(m_discard);
    return g;
}

void TFrameBlinkmuster_led::Apply(const parvel::LedFrameGeometry& g) {
    for (int k = 0; k < parvel::LedBlinkPatternTable::kOutputs; ++k)
        SetPlace(m_strips[k], g.strips[k]);
    for (int n = 0; n < 4; ++n) {
        SetPlace(m_address[n], g.address_buttons[n]);
        SetPlace(m_copy[n], g.copy_buttons[n]);
    }
    SetPlace(m_address_group, g.address_group);
    SetPlace(m_loop, g.loop);
    SetPlace(m_stretch_label, g.stretch_label);
    SetPlace(m_stretch, g.stretch_edit);
    SetPlace(m_stretch_updown, g.stretch_spinner);
    SetPlace(m_count_label, g.count_label);
    SetPlace(m_count, g.count_edit);
    SetPlace(m_count_updown, g.count_spinner);
    SetPlace(m_info1, g.info1);
    SetPlace(m_info2, g.info2);
    SetPlace(m_copy_label, g.copy_label);
    SetPlace(m_discard, g.discard);
}

void TFrameBlinkmuster_led::LayOut(int width) {
    Apply(parvel::LayOutLedFrame(CurrentGeometry(), width));
}

void TFrameBlinkmuster_led::led_blinkmuster_rad_axClick(int block) { AddressClick(block); }
void TFrameBlinkmuster_led::led_blinkmuster_edt_AnzahlChange() { CountChange(); }
void TFrameBlinkmuster_led::led_blinkmuster_edt_stretchChange() { StretchChange(); }
void TFrameBlinkmuster_led::led_blinkmuster_cbx_loopClick() { LoopClick(); }
void TFrameBlinkmuster_led::led_blinkmuster_cbx_outsClick(int output) { OutputClick(output); }
void TFrameBlinkmuster_led::led_blinkmuster_btn_copy1Click() { CopyClick(0); }
void TFrameBlinkmuster_led::led_blinkmuster_btn_copy2Click() { CopyClick(1); }
void TFrameBlinkmuster_led::led_blinkmuster_btn_copy3Click() { CopyClick(2); }
void TFrameBlinkmuster_led::led_blinkmuster_btn_copy4Click() { CopyClick(3); }
void TFrameBlinkmuster_led::led_blinkmuster_btn_uebernehmenClick() { TakeOverClick(); }
void TFrameBlinkmuster_led::led_blinkmuster_btn_verwerfenClick() { DiscardClick(); }
void TFrameBlinkmuster_led::Image_led_BlinkxMouseDown(int output) { StripMouseDown(output); }
void TFrameBlinkmuster_led::Image_led_BlinkxMouseMove(int output, QPoint position) {
    StripMouseMove(output, position);
}
void TFrameBlinkmuster_led::Image_led_BlinkxMouseUp() { StripMouseUp(); }
