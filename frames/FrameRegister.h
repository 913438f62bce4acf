#pragma once

#include <QFrame>
#include <array>

#include "settings/CvRegisterTable.h"

class QLabel;
class QLineEdit;

namespace parvel {
class DecoderDocument;
class Dialogs;
}  // namespace parvel

// The CV register table of the function decoder with CVs, shown over the grid: one labelled
// value field per configuration variable, each accepted value written into its EEPROM cell at
// once.
//
// Qt object names: pnl_cv, Line1 .. Line3; row r (0..63) has lbl_cv<r> and edt_cv<r>.
class TFrameRegister : public QFrame {
    Q_OBJECT
  public:
    TFrameRegister(parvel::DecoderDocument& document, parvel::Dialogs& dialogs,
                   QWidget* parent = nullptr);

    void ClearView();
    void LoadFromImage();

    // The change handler of every value edit; ignored while `loading` is set.
    void CvValueChange(QLineEdit* sender);

    bool loading = false;  // set while the frame fills its own controls

    struct CvRow {
        QLabel* caption = nullptr;
        QLineEdit* edit = nullptr;
        int cell = 0;
    };
    std::array<CvRow, parvel::CvRegisterTable::kRows> rows;
    int row_count = 0;

    QFrame* pnl_cv;
    std::array<QFrame*, 3> Line;  // Line1 .. Line3

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void FitCaption(CvRow& row);

    parvel::DecoderDocument& m_document;
    parvel::Dialogs& m_dialogs;
};
