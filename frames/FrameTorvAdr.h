#pragma once

#include <QFrame>
#include <array>

#include "settings/ServoAddressTable.h"
#include "settings/ServoPages.h"
#include "settings/ServoPulses.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace parvel {
class DecoderDocument;
class Dialogs;
}  // namespace parvel

// The servo address and action table, shown over the grid for the servo decoders. It keeps no
// copy of the address and flag bytes: it reads and changes the servo pages of the curve editor
// (TFrameTorv shares them), whose "übernehmen" writes them together with this frame's eight pulse
// values; every change is announced with Changed().
//
// Object names are the component names: lbl_servo_adresse01..08, cbx_a1_servo..cbx_a8_relais,
// GroupBox_Servo1..4, cbx_v_off_1.., cbx_imp_off_1.., cbx_no_ir_1.., cbx_no_rep_1..,
// servo_edt_Offset_1.., servo_edt_max_1.., btn_dec10offset_1.. btn_inc10offset_4,
// btn_dec10faktor_1.. btn_inc10faktor_4.
class TFrameTorvAdr : public QFrame {
    Q_OBJECT
  public:
    // The table shows no message (none of its inputs can be wrong); it takes the dialogs
    // like every frame so the main window builds them all alike.
    TFrameTorvAdr(parvel::DecoderDocument& document, parvel::Dialogs& dialogs,
                  QWidget* parent = nullptr);

    void LoadFromImage();
    void Refresh();
    void ShowServoFlags();
    void ShowAddressCombos();
    void ShowPulseTimes();
    void UpdateCurveVisibility();

    // ---- event handlers ----
    void cbx_ax_Change(int row, parvel::AddressField field);
    void cbx_flag_xClick(parvel::ServoFlag flag);
    void btn_offset_Click(int servo, int step);
    void btn_faktor_Click(int servo, int step);
    void servo_edt_x_xChange();

    bool loading = false;        // set while the frame fills its own controls
    // pulse_min / pulse_span of servos 1..4 (index 0..3): the document's working copy
    parvel::PulseValues& pulses;

    struct Row {
        QLabel* label = nullptr;
        QComboBox* servo = nullptr;
        QComboBox* action = nullptr;
        QComboBox* curve = nullptr;
        QComboBox* relais = nullptr;
    };
    std::array<Row, parvel::kAddressRows> rows;

    struct ServoGroup {
        QGroupBox* box = nullptr;
        QCheckBox* v_off = nullptr;
        QCheckBox* imp_off = nullptr;
        QCheckBox* no_ir = nullptr;
        QCheckBox* no_rep = nullptr;
        QLineEdit* edt_offset = nullptr;               // shortest pulse, ms
        QLineEdit* edt_max = nullptr;                  // longest pulse, ms
        std::array<QPushButton*, 4> offset_buttons{};  // "<<", "<", ">", ">>"
        std::array<QPushButton*, 4> faktor_buttons{};
    };
    std::array<ServoGroup, 4> groups;

  signals:
    // A value of the pages or pulses changed: the curve editor enables its "übernehmen".
    void Changed();

  private:
    void BuildControls();
    QComboBox* List(int row, parvel::AddressField field) const;
    parvel::ServoPages& Pages();
    // Records the change just made as a step of the document.
    void Record(const std::string& name);
    // The step of a flag box: its servo, its caption and whether it is now on.
    void RecordFlag(const QCheckBox* box);
    // "Servo 2: Impuls-Zeit (Min) 0,440 → 0,400".
    void RecordPulse(int servo, bool longest, int pulse_min_before, int pulse_span_before);

    parvel::DecoderDocument& m_document;
    bool m_four_servos = true;
};
