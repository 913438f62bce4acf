#include "frames/FrameBlinkmuster.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "settings/BlinkPatternTable.h"
#include "frames/PatternEditorWidgets.h"
#include "settings/PatternStrip.h"

namespace {

const parvel::PatternEditorNames kNames{"blinkmuster_", "Image_Blink", "UpDown3", "UpDown4"};

constexpr int kStripTop = 10;
constexpr int kStripPitch = 52;  // strip height 41 and the gap to the next one

}  // namespace

TFrameBlinkmuster::TFrameBlinkmuster(parvel::DecoderDocument& document, parvel::Dialogs& dialogs,
                                     QWidget* parent)
    : PatternEditorFrame(document, dialogs, document.blink_table(), parvel::PendingFrame::Blinkmuster, kNames,
                         parent) {
    setObjectName("TFrameBlinkmuster");
    blinkmuster_btn_uebernehmen = m_take_over;

    // The form's places; SetUp sizes the strips to the frame.
    using parvel::BlinkPatternTable;
    for (int k = 0; k < BlinkPatternTable::kOutputs; ++k) {
        const int top = kStripTop + k * kStripPitch;
        m_strips[k]->setGeometry(BlinkPatternTable::kStripLeft, top, 440,
                                 BlinkPatternTable::kStripHeight);
        PlaceLabel(m_strip_labels[k], 4, top + 3);
        m_use_boxes[k]->setGeometry(10, top + 20, 18, 18);
    }

    m_address_group->setGeometry(10, 222, 115, 112);
    for (int n = 0; n < 4; ++n) m_address[n]->setGeometry(10, 20 + 21 * n, 95, 19);
    m_loop->setGeometry(140, 228, 80, 19);
    PlaceLabel(m_count_label, 140, 263);
    PlaceLabel(m_stretch_label, 140, 293);
    const int edit_left = 140 + std::max(m_count_label->width(), m_stretch_label->width()) + 6;
    m_count->setGeometry(edit_left, 260, 35, 21);
    m_count_updown->setGeometry(edit_left + 35, 260, 17, 21);
    m_stretch->setGeometry(edit_left, 290, 35, 21);
    m_stretch_updown->setGeometry(edit_left + 35, 290, 17, 21);
    m_info1->setGeometry(edit_left + 35 + 17 + 15, 263, 160, 15);
    m_info2->setGeometry(edit_left + 35 + 17 + 15, 293, 160, 15);

    PlaceLabel(m_copy_label, 10, 368);
    for (int n = 0; n < 4; ++n) {
        m_copy[n]->setGeometry(m_copy_label->x() + m_copy_label->width() + 5 + 44 * n, 365, 44, 25);
    }
    m_discard->setGeometry(290, 420, 90, 25);
    m_take_over->setGeometry(385, 420, 90, 25);
    const QRect b = m_take_over->geometry();
    resize(b.x() + b.width() + 15, b.y() + b.height() + 15);

    for (int n = 0; n < 4; ++n) {
        connect(m_address[n], &QRadioButton::clicked, this,
                [this, n] { blinkmuster_rad_axClick(n); });
    }
    connect(m_count, &QLineEdit::editingFinished, this,
            &TFrameBlinkmuster::blinkmuster_edt_AnzahlChange);
    connect(m_stretch, &QLineEdit::editingFinished, this,
            &TFrameBlinkmuster::blinkmuster_edt_stretchChange);
    connect(m_count_updown, &parvel::PatternUpDown::stepped, this, [this](int d) { CountStep(d); });
    connect(m_stretch_updown, &parvel::PatternUpDown::stepped, this,
            [this](int d) { StretchStep(d); });
    connect(m_loop, &QCheckBox::clicked, this, &TFrameBlinkmuster::blinkmuster_cbx_loopClick);
    const std::array<void (TFrameBlinkmuster::*)(), 4> out_handlers{
        &TFrameBlinkmuster::blinkmuster_cbx_out1Click,
        &TFrameBlinkmuster::blinkmuster_cbx_out2Click,
        &TFrameBlinkmuster::blinkmuster_cbx_out3Click,
        &TFrameBlinkmuster::blinkmuster_cbx_out4Click};
    const std::array<void (TFrameBlinkmuster::*)(), 4> copy_handlers{
        &TFrameBlinkmuster::blinkmuster_btn_copy1Click,
        &TFrameBlinkmuster::blinkmuster_btn_copy2Click,
        &TFrameBlinkmuster::blinkmuster_btn_copy3Click,
        &TFrameBlinkmuster::blinkmuster_btn_copy4Click};
    for (int n = 0; n < 4; ++n) {
        connect(m_use_boxes[n], &QCheckBox::clicked, this, out_handlers[n]);
        connect(m_copy[n], &QPushButton::clicked, this, copy_handlers[n]);
    }
    connect(m_take_over, &QPushButton::clicked, this,
            &TFrameBlinkmuster::blinkmuster_btn_uebernehmenClick);
    connect(m_discard, &QPushButton::clicked, this,
            &TFrameBlinkmuster::blinkmuster_btn_verwerfenClick);
    for (parvel::PatternStripCanvas* strip : m_strips) {
        connect(strip, &parvel::PatternStripCanvas::pressed, this,
                &TFrameBlinkmuster::Image_BlinkxMouseDown);
        connect(strip, &parvel::PatternStripCanvas::moved, this,
                &TFrameBlinkmuster::Image_BlinkxMouseMove);
        connect(strip, &parvel::PatternStripCanvas::released, this,
                [this] { Image_BlinkxMouseUp(); });
    }
}

void TFrameBlinkmuster::LayOut(int width) {
    const int strip_width = parvel::StripWidth(width, m_strips[0]->x());
    for (parvel::PatternStripCanvas* strip : m_strips) {
        strip->resize(strip_width, m_strips[0]->height());
    }
}

void TFrameBlinkmuster::blinkmuster_rad_axClick(int block) { AddressClick(block); }
void TFrameBlinkmuster::blinkmuster_edt_AnzahlChange() { CountChange(); }
void TFrameBlinkmuster::blinkmuster_edt_stretchChange() { StretchChange(); }
void TFrameBlinkmuster::blinkmuster_cbx_loopClick() { LoopClick(); }
void TFrameBlinkmuster::blinkmuster_cbx_out1Click() { OutputClick(0); }
void TFrameBlinkmuster::blinkmuster_cbx_out2Click() { OutputClick(1); }
void TFrameBlinkmuster::blinkmuster_cbx_out3Click() { OutputClick(2); }
void TFrameBlinkmuster::blinkmuster_cbx_out4Click() { OutputClick(3); }
void TFrameBlinkmuster::blinkmuster_btn_copy1Click() { CopyClick(0); }
void TFrameBlinkmuster::blinkmuster_btn_copy2Click() { CopyClick(1); }
void TFrameBlinkmuster::blinkmuster_btn_copy3Click() { CopyClick(2); }
void TFrameBlinkmuster::blinkmuster_btn_copy4Click() { CopyClick(3); }
void TFrameBlinkmuster::blinkmuster_btn_uebernehmenClick() { TakeOverClick(); }
void TFrameBlinkmuster::blinkmuster_btn_verwerfenClick() { DiscardClick(); }
void TFrameBlinkmuster::Image_BlinkxMouseDown(int output) { StripMouseDown(output); }
void TFrameBlinkmuster::Image_BlinkxMouseMove(int output, QPoint position) {
    StripMouseMove(output, position);
}
void TFrameBlinkmuster::Image_BlinkxMouseUp() { StripMouseUp(); }
