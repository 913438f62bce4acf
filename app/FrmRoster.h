#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <QTimer>
#include <atomic>

#include "workflows/Roster.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QTableView;
class RosterFilterModel;
class RosterTableModel;

namespace parvel {
class Dialogs;
}

// "Anlagen-Übersicht": the address plan of every decoder image in a folder, double-used
// addresses listed above the table. The folder is read off the GUI thread by
// parvel::BuildRoster; the dialog stays usable and can be closed while it reads.
class TfrmRoster : public QDialog {
    Q_OBJECT
  public:
    TfrmRoster(const QString& folder, parvel::Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmRoster() override;

    // Reads the folder anew (stopping a reading still running).
    void StartReading();
    bool IsReading() const { return m_watcher.isRunning(); }
    const parvel::Roster& roster() const { return m_roster; }

    void btn_folderClick();
    void btn_csvClick();
    void btn_htmlClick();
    // Double-click on a row: that output's file is loaded in the main window.
    void tbl_outputsDblClick(const QModelIndex& index);

    QLineEdit* edt_folder;
    QPushButton* btn_folder;
    QCheckBox* cbx_subfolders;
    QLineEdit* edt_filter;
    QListWidget* lst_conflicts;
    QTableView* tbl_outputs;
    QListWidget* lst_skipped;
    QProgressBar* ProgressBar1;
    QLabel* lbl_summary;
    QPushButton* btn_csv;
    QPushButton* btn_html;
    QPushButton* btn_close;

    RosterTableModel* model;
    RosterFilterModel* proxy;

  signals:
    void fileActivated(const QString& path);
    void readingFinished();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void StopReading();
    void ShowRoster();
    void Export(const char* filter, const char* extension, const std::string& text);

    parvel::Dialogs& m_dialogs;
    parvel::Roster m_roster;
    QFutureWatcher<parvel::Roster> m_watcher;
    QTimer m_poll;
    std::atomic<bool> m_cancel{false};
    std::atomic<std::size_t> m_done{0};
    std::atomic<std::size_t> m_total{0};
};
