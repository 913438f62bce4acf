#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace parvel {
class DecoderDocument;
class Dialogs;
}  // namespace parvel

// "Reihe erzeugen": copies of the loaded firmware for several decoders, each with its own
// addresses. Reached from the grid's context menu or Ctrl+R, so the main window's fixed
// layout stays as it is. The work itself is parvel::PlanSeries / WriteSeries.
class TfrmSeries : public QDialog {
    Q_OBJECT
public:
    TfrmSeries(parvel::DecoderDocument& document, parvel::Dialogs& dialogs, QWidget* parent = nullptr);

    // "Erzeugen": takes over pending frame changes, validates and encodes the grid like saving,
    // plans every copy, writes them with progress and lists them. True when files were written.
    bool btn_createClick();

    QSpinBox* edt_first;
    QSpinBox* edt_count;
    QSpinBox* edt_step;  // 0: the span of the used rows
    QLineEdit* edt_folder;
    QProgressBar* ProgressBar1;
    QPlainTextEdit* Memo1;
    QPushButton* btn_create;
    QPushButton* btn_close;

private:
    void ProposeFreeRange(const QString& folder);

    parvel::DecoderDocument& m_document;
    parvel::Dialogs& m_dialogs;
};
