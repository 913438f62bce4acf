#pragma once

#include <QDialog>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QList>
#include <QRect>
#include <QTimer>
#include <atomic>
#include <string>
#include <vector>

#include "workflows/Roster.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTableView;
class RosterFilterModel;
class RosterTableModel;

namespace parvel {
class Dialogs;
}

// Where a window of `wanted` size goes on a screen whose free area is `available`: as large as
// wanted but no larger than fits together with its frame (`frame`: the frame's width and
// height, title bar included), centred on `centre` and moved so that it lies inside `available`.
// The result is the window's inner geometry, as QWidget::setGeometry takes it.
QRect FitIntoScreen(const QSize& wanted, const QSize& frame, const QPoint& centre,
                    const QRect& available);

// "Anlagen-Übersicht": the address plan of every decoder image in a folder, double-used
// addresses listed above the table. The folder is read off the GUI thread by
// parvel::BuildRoster; the dialog stays usable and can be closed while it reads. It reads the
// folder again when its files change on disk, when the program wrote one of them and on "Neu
// einlesen" (F5), keeping the sort, the filter, the selected row and the scroll position.
class TfrmRoster : public QDialog {
    Q_OBJECT
  public:
    TfrmRoster(const QString& folder, parvel::Dialogs& dialogs, QWidget* parent = nullptr);
    ~TfrmRoster() override;

    // Reads the folder anew (stopping a reading still running).
    void StartReading();
    // "Neu einlesen": reads the folder again; while a reading runs, once more after it.
    void Reread();
    // The program wrote `path`: the folder is read again (after a short pause that gathers the
    // writes of several files into one reading) when the file lies in the folder shown, or
    // below it with "mit Unterordnern".
    void NoteFileWritten(const QString& path);
    // The main window loaded `path` (double-click or Enter on its row): named below the table.
    void NoteFileLoaded(const QString& path);
    // The size and column widths kept from the last time (see ColumnWidths), applied before
    // the dialog is first shown; the size is fitted into the screen then. An empty size or
    // list keeps the dialog's own fit to its content.
    void RestoreLayout(const QSize& size, const QList<int>& widths);
    // The width of every column, in the model's order. The column shown last takes the rest of
    // the table's width; its kept width is not restored.
    QList<int> ColumnWidths() const;
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
    QPushButton* btn_reread;
    QLabel* lbl_loaded;
    QPushButton* btn_close;

    RosterTableModel* model;
    RosterFilterModel* proxy;

  signals:
    void fileActivated(const QString& path);
    void readingFinished();
    // The dialog was closed (or hidden): its size and column widths, for the settings file.
    void layoutToKeep(const QSize& size, const QList<int>& widths);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void StopReading();
    void ShowRoster();
    void UpdateSummary();
    // Columns the user did not size himself fitted to their contents.
    void FitColumns();
    // The size that shows the whole table and the conflict lines, and the splitter's share
    // for each list.
    QSize ContentSize() const;
    void FitSplitter();
    // Places the dialog: `wanted` fitted into its screen, centred on the main window.
    void Place(const QSize& wanted);
    void WatchFolder();
    void Export(const char* filter, const char* extension, const std::string& text);

    parvel::Dialogs& m_dialogs;
    parvel::Roster m_roster;
    QFutureWatcher<parvel::Roster> m_watcher;
    QTimer m_poll;
    QSplitter* m_splitter = nullptr;
    // Re-reading after changes: the file system's reports and the program's writes wait for a
    // quiet moment; a change while reading asks for one more reading.
    QFileSystemWatcher m_files;
    QTimer m_reread_timer;
    bool m_reread_pending = false;
    std::string m_shown_folder;  // the folder whose roster the table shows
    // Columns whose width the user set (by dragging, or kept from the last time).
    std::vector<bool> m_user_width;
    bool m_header_drag = false;
    QSize m_remembered_size;
    bool m_placed = false;          // shown and placed once
    QSize m_auto_size;              // the size the dialog gave itself, until the user changes it
    bool m_content_fitted = false;  // sized to the first reading's content
    std::atomic<bool> m_cancel{false};
    std::atomic<std::size_t> m_done{0};
    std::atomic<std::size_t> m_total{0};
};
