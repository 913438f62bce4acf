#pragma once

#include <QFrame>
#include <array>

#include "settings/ZusatzSettings.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

namespace parvel {
class DecoderDocument;
class Dialogs;
}  // namespace parvel

// Additional settings of the turnout, LED, relay and function decoder firmwares: operating
// mode and its option bits, time-outs, switch-off behaviour, fading and running speeds, neon
// brightness, green phases and output functions. One set of controls, configured anew for each
// firmware from the type table (parvel::ResolveZusatzView); every accepted change goes into the
// image at once, the frame keeps no copy of the values.
//
// Qt object names are the control names: pnl_Zusatz, lbl_zusatz, lbl_zusatz3, lbl_text_1,
// cbx_zusatz_1 .. cbx_zusatz_8, cbx_weiche_ab, TrackBar_01, lbl_trackbar_01, lbl_trackbar_01_l,
// lbl_trackbar_01_r, TrackBar_neon_1, TrackBar_neon_2, lbl_fNeon_01 .. lbl_fNeon_03, group_mode,
// lbl_mode, rad_mode1 .. rad_mode6, cbx_mode_bit6, cbx_mode_bit7. Setting row i (0..3) has
// lbl_row_caption<i>, edt_row_value<i> and lbl_row_seconds<i>.
class TFrameZusatz : public QFrame {
    Q_OBJECT
  public:
    TFrameZusatz(parvel::DecoderDocument& document, parvel::Dialogs& dialogs,
                 QWidget* parent = nullptr);

    // Puts every optional control back to its neutral state (called before LoadFromImage).
    void ClearView();
    // Configures the controls for the recognised firmware and fills them from the image; also
    // run after each accepted change to refresh the dependent texts.
    void LoadFromImage();

    // Set while the frame fills its own controls; change handlers ignore their events then, so
    // filling never writes into the image.
    bool loading = false;

    // One value row: caption, value edit, seconds label and what the edit stands for.
    struct SettingRow {
        QLabel* caption = nullptr;
        QLineEdit* edit = nullptr;
        QLabel* seconds = nullptr;
        int cell = 0;
        int minimum = 0;
        int maximum = 0;
        float factor = 0.0f;  // seconds per unit; 0: no seconds label
    };
    std::array<SettingRow, parvel::kSettingRows> rows;
    int row_count = 0;

    QFrame* pnl_Zusatz;
    QLabel* lbl_zusatz;
    QLabel* lbl_zusatz3;
    QLabel* lbl_text_1;
    std::array<QCheckBox*, 8> cbx_zusatz;  // cbx_zusatz_1 .. cbx_zusatz_8
    QCheckBox* cbx_weiche_ab;
    QSlider* TrackBar_01;
    QLabel* lbl_trackbar_01;
    QLabel* lbl_trackbar_01_l;
    QLabel* lbl_trackbar_01_r;
    QSlider* TrackBar_neon_1;
    QSlider* TrackBar_neon_2;
    QLabel* lbl_fNeon_01;
    QLabel* lbl_fNeon_02;
    QLabel* lbl_fNeon_03;
    QGroupBox* group_mode;  // the frame's width follows its right edge
    QLabel* lbl_mode;
    std::array<QRadioButton*, 6> rad_mode;  // rad_mode1 .. rad_mode6
    QCheckBox* cbx_mode_bit6;
    QCheckBox* cbx_mode_bit7;

    // Event handlers; each does nothing while `loading` is set.
    void rad_modexClick(QObject* sender);
    void cbx_zusatz_x_Click();
    void cbx_weiche_abClick();
    void TrackBar_01Change();
    void TrackBar_neon_1Change();
    void TrackBar_neon_2Change();
    void RowValueChange(QLineEdit* sender);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The settings of the loaded firmware, reading and writing the document's image.
    parvel::ZusatzSettings Settings();
    void BuildControls();
    void FillRows(const parvel::ZusatzSettings& settings);
    void LayOutRows(int start);
    void FillModeGroup(const parvel::ZusatzSettings& settings);
    void LayOutModeGroup();
    void FillBoxGroup(const parvel::ZusatzSettings& settings);
    void FillTrackBar(const parvel::ZusatzSettings& settings);
    std::array<QWidget*, 4> TrackBarControls() const;  // TrackBar_01 and its three labels
    void FillNeonBars(const parvel::ZusatzSettings& settings);
    int NeonBarsLeft() const;
    void NeonBarChange(int bar);
    QString SecondsText(const parvel::ZusatzSettings& settings, int row) const;
    // Records the change just made as a step "Zusatz: <what>".
    void Record(const std::string& what);

    parvel::DecoderDocument& m_document;
    parvel::Dialogs& m_dialogs;
};
