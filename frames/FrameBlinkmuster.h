#pragma once

#include <QPoint>

#include "frames/PatternEditorFrame.h"

class QPushButton;

namespace parvel {
class DecoderDocument;
class Dialogs;
}  // namespace parvel

// The blink pattern editor of the four-output blink-pattern firmware: four addresses, one
// pattern each, drawn on one strip per output. The patterns are the low bytes of program words
// 0x300..0x3FF (BlinkPatternTable); the frame edits a working copy that goes into the image on
// "Übernehmen".
class TFrameBlinkmuster : public parvel::PatternEditorFrame {
    Q_OBJECT
  public:
    TFrameBlinkmuster(parvel::DecoderDocument& document, parvel::Dialogs& dialogs,
                      QWidget* parent = nullptr);

    // Handlers of the controls.
    void blinkmuster_rad_axClick(int block);
    void blinkmuster_edt_AnzahlChange();
    void blinkmuster_edt_stretchChange();
    void blinkmuster_cbx_loopClick();
    void blinkmuster_cbx_out1Click();
    void blinkmuster_cbx_out2Click();
    void blinkmuster_cbx_out3Click();
    void blinkmuster_cbx_out4Click();
    void blinkmuster_btn_copy1Click();
    void blinkmuster_btn_copy2Click();
    void blinkmuster_btn_copy3Click();
    void blinkmuster_btn_copy4Click();
    void blinkmuster_btn_uebernehmenClick();
    void blinkmuster_btn_verwerfenClick();
    void Image_BlinkxMouseDown(int output);
    void Image_BlinkxMouseMove(int output, QPoint position);
    void Image_BlinkxMouseUp();

    QPushButton* blinkmuster_btn_uebernehmen;  // the frame's size follows this button

  protected:
    void LayOut(int width) override;
};
