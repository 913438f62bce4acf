#pragma once

#include <QDialog>
#include <memory>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace parvel {
class DecoderDocument;
class Dialogs;
struct Roster;
}  // namespace parvel

// "Reihe erzeugen": copies of the loaded firmware for several decoders, each with its own
// addresses, written into the loaded file's folder (or one the user picks). Every copy is
// checked against the decoders of that folder before anything is written. The work itself is
// parvel::PlanSeries / WriteSeries.
class TfrmSeries : public QDialog {
    Q_OBJECT
public:
    TfrmSeries(parvel::DecoderDocument& document, parvel::Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmSeries() override;

    // "Erzeugen": takes over pending frame changes, validates and encodes the grid like saving,
    // plans every copy, writes them with progress and lists them. True when files were written.
    bool btn_createClick();

    QSpinBox* edt_first;
    QSpinBox* edt_count;
    QSpinBox* edt_step;  // 0: the span of the used rows
    QLineEdit* edt_folder;
    QPushButton* btn_folder;  // chooses the folder
    QProgressBar* ProgressBar1;
    QPlainTextEdit* Memo1;
    QPushButton* btn_create;
    QPushButton* btn_close;

    // "…" beside "Ordner": chooses the folder and proposes a free range there.
    void btn_folderClick();

signals:
    // A copy was written (the address plan of its folder may be open).
    void fileWritten(const QString& path);

private:
    // The first address of the folder's first free range that holds all copies, unless the
    // user set the first address himself.
    void ProposeFreeRange();
    // The folder as typed; asks before creating it when it does not exist. False: no folder.
    bool EnsureFolder();

    std::unique_ptr<parvel::Roster> m_roster;  // of m_roster_folder, for the proposals
    QString m_roster_folder;
    bool m_first_chosen = false;  // the user set the first address: no more proposals
    bool m_proposing = false;

    parvel::DecoderDocument& m_document;
    parvel::Dialogs& m_dialogs;
};
