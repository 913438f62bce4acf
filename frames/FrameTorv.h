#pragma once

#include <QFrame>
#include <QWidget>
#include <array>
#include <string>

#include "settings/ServoCanvas.h"
#include "settings/ServoCurve.h"
#include "settings/ServoPages.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QToolButton;
class TFrameTorvAdr;

namespace parvel {
class DecoderDocument;
class Dialogs;
}  // namespace parvel

// A canvas of the curve editor: paints the drawing the servo models build and reports the
// mouse in canvas pixels. It knows nothing of curves; the frame routes the events to the model.
class TServoCanvas : public QWidget {
    Q_OBJECT
  public:
    TServoCanvas(int width, int height, QWidget* parent);

    void SetDrawing(parvel::ServoDrawing drawing);
    const parvel::ServoDrawing& drawing() const { return m_drawing; }

  signals:
    void MouseDown(int x, int y);
    void MouseMove(int x, int y);
    void MouseUp(int x, int y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    parvel::ServoDrawing m_drawing;
};

// The up/down spinner beside a number field. A click steps the field's number by one within
// minimum..maximum, puts it into the field and reports it, so the field's rule runs on it like
// on typed input.
class TUpDown : public QWidget {
    Q_OBJECT
  public:
    TUpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent);

    void Step(int delta);

  signals:
    void Stepped();

  private:
    QLineEdit* m_associate;
    int m_minimum;
    int m_maximum;
    int m_position;
};

// The servo curve editor of the servo decoders. It keeps the working copy of the four servo
// pages (shared with the address table TFrameTorvAdr), draws the current curve and its relay
// lane, routes mouse and button events to the curve models and writes the pages into the image
// on "übernehmen". Button mode and threshold go into the image at once.
//
// Object names are the component names: servo_rad_a1..4, edt_Anzahl, UpDown1, edt_stretch,
// UpDown2, lbl_KurveInfo1/2, servo_Image1, cbx_raster_x, cbx_raster_y, Label_Servo_Relais,
// servo_Image2, text_torvik_schwelle, edt_torvik_schwelle, UpDown4, btn_Lin, btn_Log, btn_Sin,
// btn_sin2, btn_MirrorVertikal, btn_MirrorHorizontal, btn_copy1..4, servo_load_1, servo_save_1,
// servo_load_all, servo_save_all, edt_scale, btn_scale, edt_shift, btn_shift, servo_GroupBox1,
// servo_rad_servo, servo_rad_lernen, Label_Servo_sw1a/sw1b/sw2a/sw2b, servo_cbx_s1c/s1o/s2c/s2o,
// servo_btn_verwerfen, servo_btn_uebernehmen.
class TFrameTorv : public QFrame {
    Q_OBJECT
  public:
    TFrameTorv(parvel::DecoderDocument& document, parvel::Dialogs& dialogs,
               QWidget* parent = nullptr);

    // The address table that shares the pages (Refresh after a reload, pulse values on apply).
    void SetAddressTable(TFrameTorvAdr* table);
    // Where the grid list selections are kept (the main window's raster_x / raster_y, saved
    // with its settings). Without it the frame keeps them itself.
    void SetGridSettings(int* raster_x, int* raster_y);

    void LoadFromImage();
    void ReloadFromImage();
    // Shows the pages as they are now: button lists, button mode, threshold, curve, relay lane
    // and time texts (after a reload from the image and after an undo alike).
    void ShowPages();
    void ShowCurveInfo();
    void DrawCurve();
    void DrawRelayLane();

    // The working copy holds a change: "übernehmen" is enabled.
    void EnableApply();
    bool HasPendingChanges() const;
    void TakeOver() { servo_btn_uebernehmenClick(); }

    // Page of the checked curve radio (0..3).
    int CurrentPage() const;

    // Shows the document's working copy as it is now, on curve `page` (after an undo, a redo
    // or a take-over); button mode and threshold come from the image.
    void ShowWorkingCopy(int page);

    // ---- event handlers ----
    void servo_rad_axClick();
    void servo_ImagexMouseDown();
    void servo_ImagexMouseUp();
    void servo_Image1MouseMove(int x, int y);
    void servo_Image2MouseMove(int x, int y);
    void edt_AnzahlChange();
    void edt_stretchChange();
    void btn_LinClick();
    void btn_LogClick();
    void btn_SinClick();
    void btn_sin2Click();
    void btn_MirrorVertikalClick();
    void btn_MirrorHorizontalClick();
    void btn_copy1Click();
    void btn_copy2Click();
    void btn_copy3Click();
    void btn_copy4Click();
    void btn_scaleClick();
    void btn_shiftClick();
    void cbx_raster_xChange();
    void servo_cbx_sxxChange(int button);
    void servo_rad_Click();
    void edt_torvik_schwelleChange();
    void servo_btn_uebernehmenClick();
    void servo_btn_verwerfenClick();
    void servo_load_1Click();
    void servo_save_1Click();
    void servo_load_allClick();
    void servo_save_allClick();

    parvel::ServoPages& pages;  // the document's working copy

    bool loading = false;  // set while the frame fills its own controls
    bool mouse_down = false;
    // Pixels per point of the current curve, set by each DrawCurve. The position steps in
    // pixels (height x 0.0078125) are worked out by the canvas model from the heights below.
    float point_spacing = parvel::PointSpacing(parvel::kCurveCanvasWidth, 10);
    int curve_height = parvel::kCurveCanvasHeight;
    int relay_height = parvel::kRelayLaneHeight;
    int threshold = 0;

    std::array<QRadioButton*, 4> servo_rad_a{};
    QLineEdit* edt_Anzahl;
    TUpDown* UpDown1;
    QLineEdit* edt_stretch;
    TUpDown* UpDown2;
    QLabel* lbl_KurveInfo1;
    QLabel* lbl_KurveInfo2;
    TServoCanvas* servo_Image1;
    QComboBox* cbx_raster_x;
    QComboBox* cbx_raster_y;
    QLabel* Label_Servo_Relais;
    TServoCanvas* servo_Image2;
    QLabel* text_torvik_schwelle;
    QLineEdit* edt_torvik_schwelle;
    TUpDown* UpDown4;
    QPushButton* btn_Lin;
    QPushButton* btn_Log;
    QPushButton* btn_Sin;
    QPushButton* btn_sin2;
    QPushButton* btn_MirrorVertikal;
    QPushButton* btn_MirrorHorizontal;
    std::array<QPushButton*, 4> btn_copy{};
    QPushButton* servo_load_1;
    QPushButton* servo_save_1;
    QPushButton* servo_load_all;
    QPushButton* servo_save_all;
    QLineEdit* edt_scale;
    QPushButton* btn_scale;
    QLineEdit* edt_shift;
    QPushButton* btn_shift;
    QGroupBox* servo_GroupBox1;
    QRadioButton* servo_rad_servo;
    QRadioButton* servo_rad_lernen;
    // Labels and lists of the button events, in the order s1c, s1o, s2c, s2o.
    std::array<QLabel*, 4> Label_Servo_sw{};
    std::array<QComboBox*, 4> servo_cbx_s{};
    QPushButton* servo_btn_verwerfen;
    QPushButton* servo_btn_uebernehmen;  // the frame's size follows this button

  private:
    void BuildControls();
    void Generate(parvel::CurveShape shape);
    void CopyFrom(int from_page);
    // The curve data changed: redraw both canvases, optionally the count texts, enable apply.
    void CurveChanged(bool show_info, const std::string& what);
    // Records the change just made as a step of curve N: "Kurve 2: Lin".
    void Record(const std::string& what);
    // Shows an input error of a field (warning, one Cancel button) and gives it the focus back.
    void RejectInput(QLineEdit* field, const std::string& text);
    // Selects the four button lists from offset 110 of the pages.
    void ShowButtonCombos();
    void UpdateButtonModeVisibility();
    bool ThresholdShown() const;

    parvel::DecoderDocument& m_document;
    parvel::Dialogs& m_dialogs;
    TFrameTorvAdr* m_table = nullptr;
    int m_own_raster_x = 0;
    int m_own_raster_y = 0;
    int* m_raster_x = &m_own_raster_x;
    int* m_raster_y = &m_own_raster_y;
    bool m_checking_field = false;  // a field's rule is running (a message box moves focus)
    bool m_drawn = false;           // the mouse changed the curve or relay lane since its press
    bool m_drawn_relay = false;
};
