#pragma once

#include <QPoint>

#include "frames/PatternEditorFrame.h"

class QPushButton;

namespace parvel {
class DecoderDocument;
class Dialogs;
struct LedFrameGeometry;
}  // namespace parvel

// The blink pattern editor of the ten-output LED firmware: four addresses, one pattern each,
// drawn on ten strips. The patterns are the low bytes of program words 0x300..0x6FF
// (LedBlinkPatternTable); the frame edits a working copy that goes into the image on
// "Übernehmen". The set-up rearranges the parameter controls into rows below the strips.
class TFrameBlinkmuster_led : public parvel::PatternEditorFrame {
    Q_OBJECT
  public:
    TFrameBlinkmuster_led(parvel::DecoderDocument& document, parvel::Dialogs& dialogs,
                          QWidget* parent = nullptr);

    // Handlers of the controls.
    void led_blinkmuster_rad_axClick(int block);
    void led_blinkmuster_edt_AnzahlChange();
    void led_blinkmuster_edt_stretchChange();
    void led_blinkmuster_cbx_loopClick();
    void led_blinkmuster_cbx_outsClick(int output);
    void led_blinkmuster_btn_copy1Click();
    void led_blinkmuster_btn_copy2Click();
    void led_blinkmuster_btn_copy3Click();
    void led_blinkmuster_btn_copy4Click();
    void led_blinkmuster_btn_uebernehmenClick();
    void led_blinkmuster_btn_verwerfenClick();
    void Image_led_BlinkxMouseDown(int output);
    void Image_led_BlinkxMouseMove(int output, QPoint position);
    void Image_led_BlinkxMouseUp();

    QPushButton* led_blinkmuster_btn_uebernehmen;  // the frame's size follows this button

  protected:
    void LayOut(int width) override;

  private:
    parvel::LedFrameGeometry CurrentGeometry() const;
    void Apply(const parvel::LedFrameGeometry& geometry);
};
