#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "document/DecoderDocument.h"
#include "app/OnDemand.h"
#include "app/GridRows.h"
#include "app/WindowLayout.h"

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QStatusBar;
class TFrameBlinkmuster;
class TFrameBlinkmuster_led;
class TFrameRegister;
class TFrameTorv;
class TFrameTorvAdr;
class TFrameZusatz;

namespace parvel {

class PatternEditorFrame;

// What the program is started with.
struct StartOptions {
    std::string settings_path;  // window settings file; empty: neither read nor written
    std::string hex_file;       // loaded at start when not empty (first program argument)
    std::string doc_root;       // prefix of the documentation pages, e.g. "file:///…/doc/"
};

}  // namespace parvel

// The main window. It owns the one DecoderDocument (image, recognition, grid rows, working
// copies, history) and shows it: it listens to the document's changes and turns the user's
// input into the document's edits. Every message and file dialog goes through one Dialogs
// object, so the tests can script them.
//
// Qt object names are the component names: GroupBoxMain, lbl_header, Line, StatusBar1,
// GroupBoxImage, Image2, GroupBoxButtons, btn_prev, btn_load, btn_next, btn_save, btn_info,
// btn_close, ProgressBar1, btn_goweb, FrameZusatz1, FrameBlinkmuster1, FrameBlinkmuster_led1,
// FrameTorv1, FrameTorvAdr1, FrameRegister1. The status bar panels are StatusPanel0..3.
// Grid row r (0..47) has lbl_row<r>, edt_address<r>, edt_function<r> and btn_rg<r>.
class TFormMain : public QMainWindow, public parvel::DocumentListener {
    Q_OBJECT
public:
    // dialogs: nullptr makes the window use real Qt dialogs (owned by the window). Loads
    // options.hex_file during construction, as the start-up order requires.
    explicit TFormMain(const parvel::StartOptions& options, parvel::Dialogs* dialogs = nullptr,
                       QWidget* parent = nullptr);
    ~TFormMain() override;

    parvel::DecoderDocument& document() { return m_document; }
    parvel::Dialogs& dialogs() { return *m_dialogs; }

    // Loads a file (an empty path loads nothing).
    void LoadHexFile(const std::string& path);
    // A file the user chose ("HEX laden", dropped on the window or double-clicked in the
    // Anlagen-Übersicht): loads it and finds its neighbours for the browse buttons.
    void OpenHexFile(const std::string& path);
    // Where the file dialogs start: the loaded file's folder, before any file the folder last
    // used (kept in the settings file).
    std::string StartFolder() const;
    // Sets prev_file and next_file from the loaded file's folder.
    void FindNeighbourFiles(const std::string& path);
    // il: picture box left, bl: button box left, h/w: height and width of the shown frame.
    void FitWindowToFrame(int il, int bl, int h, int w);
    void LoadWindowSettings();
    // Returns false when the file could not be written (the user was told).
    bool SaveWindowSettings();

    void btn_loadClick();
    void btn_prevClick();
    void btn_nextClick();
    void btn_saveClick();
    void btn_infoClick();
    void btn_closeClick();
    void btn_gowebClick();
    void gointoweb();
    void btn_RGClick(QPushButton* button);
    // "Reihe erzeugen" (grid context menu, Ctrl+R): copies for several decoders.
    void SeriesClick();
    // "Anlagen-Übersicht" (grid context menu, Ctrl+U): the address plan of the loaded file's
    // folder, in a window of its own beside the main window.
    void RosterClick();

    // ---- undo history ----
    // The document records every change as a step; these put steps back and forth.
    void UndoClick();
    void RedoClick();
    // True when there is nothing unsaved or the user saves or drops it ("Nicht gespeicherte
    // Änderungen verwerfen?" with Speichern, Verwerfen, Abbrechen); asked before another file
    // is loaded and at "Ende".
    bool ConfirmDiscard();
    // The save flow of "speichern"; true when the file was written.
    bool SaveDocument();
    // A file the program wrote (a save, the copies of "Reihe erzeugen"): an open
    // Anlagen-Übersicht of its folder reads the folder again.
    void NoteFileWritten(const std::string& path);
    QAction* act_undo = nullptr;
    QAction* act_redo = nullptr;
    QAction* act_save = nullptr;  // follows btn_save
    QMenu* mnu_file = nullptr;
    QMenu* mnu_edit = nullptr;
    QMenu* mnu_layout = nullptr;
    // A field's right-click menu: its own cut, copy and paste, with undo and redo of the
    // history unless the field holds its own unfinished text (as Ctrl+Z there).
    QMenu* FieldContextMenu(QLineEdit* edit);

    // Web addresses are handed to the desktop; tests catch them here instead. An opener that
    // returns false could not show the page (the user is then told where it lies); one that
    // returns nothing counts as successful.
    template <class Opener>
    void SetUrlOpener(Opener opener) {
        if constexpr (std::is_void_v<std::invoke_result_t<Opener&, const QUrl&>>) {
            m_open_url = [opener](const QUrl& url) mutable {
                opener(url);
                return true;
            };
        } else {
            m_open_url = std::move(opener);
        }
    }

    void SetHeader(const std::string& text);
    // Shows the frame of a frame code, sized into the window, filled from the document.
    void ShowFrame(int frame_code);
    // Shows one of the two pattern editors below `top`, sized by its take-over button.
    void ShowPatternEditor(parvel::PatternEditorFrame* frame, const QPushButton* take_over, int top);
    // Gives a grid row its label, building the row's controls on first use.
    void SetRowLabel(int row, const std::string& label);

    // ---- what the document tells ----
    void LoadStarted() override;
    void DecoderChanged() override;
    void RowsChanged() override;
    void StatusChanged(int panel) override;
    void SaveEnabledChanged() override;
    void FieldRejected(int row, parvel::RowField field) override;
    void StateRestored(int view) override;
    void WorkingCopyChanged() override;
    void HistoryChanged() override;
    bool CommitTypedInput(parvel::PendingFrame frame) override;

    std::string prev_file;
    std::string next_file;
    // The curve editor's grid list selections, kept in the settings file (-1: none).
    int raster_x = 0;
    int raster_y = 0;

    // The grid's rows (built when they first get a label).
    TGridRows& grid() { return *m_grid; }

    QGroupBox* GroupBoxMain;
    QLabel* lbl_header;
    QLabel* lbl_hint;  // what to do first, shown in the empty grid until a file is loaded
    QFrame* Line;
    QStatusBar* StatusBar1;
    std::array<QLabel*, 4> StatusPanel;
    QGroupBox* GroupBoxImage;
    QLabel* Image2;
    QGroupBox* GroupBoxButtons;
    QPushButton* btn_prev;
    QPushButton* btn_load;
    QPushButton* btn_next;
    QPushButton* btn_save;
    QPushButton* btn_info;
    QPushButton* btn_close;
    QProgressBar* ProgressBar1;
    QPushButton* btn_goweb;
    // The six frames are built the first time they are needed (at most one frame code is
    // shown per firmware); FrameTorv1 and FrameTorvAdr1 are built together.
    OnDemand<TFrameZusatz> FrameZusatz1;
    OnDemand<TFrameBlinkmuster> FrameBlinkmuster1;
    OnDemand<TFrameBlinkmuster_led> FrameBlinkmuster_led1;
    OnDemand<TFrameTorv> FrameTorv1;
    OnDemand<TFrameTorvAdr> FrameTorvAdr1;
    OnDemand<TFrameRegister> FrameRegister1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A .hex file dragged from a file manager onto the window is loaded like "HEX laden".
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Runs a user action; an exception it raises is shown with its message and the program
    // goes on.
    void Guarded(const std::function<void()>& action);
    void BuildControls();
    // Tells each of the six frames how it is built on first use.
    void SetFrameBuilders();
    // Builds the frames on first use (see FrameZusatz1 and the others).
    void BuildFrame(QWidget* frame, const char* name);
    void BuildServoFrames();
    // The frames built so far.
    std::vector<QWidget*> BuiltFrames() const;
    void UpdateWebCaption();
    void OpenPage(const QUrl& url);
    void UpdateStartHint();

    std::unique_ptr<parvel::Dialogs> m_own_dialogs;
    parvel::Dialogs* m_dialogs;
    parvel::DecoderDocument m_document;
    std::string m_settings_path;
    std::string m_web_caption;
    std::function<bool(const QUrl&)> m_open_url;
    std::string m_last_folder;
    // The "Anlagen-Übersicht" size and column widths as it was last closed (settings file).
    QSize m_roster_size;
    QList<int> m_roster_columns;
    std::unique_ptr<TGridRows> m_grid;

    // ---- grid and frames, as the document has them ----
    void ResetLayout();
    // Lays the grid out and shows the header and column line as the placement says.
    void LayoutGrid(int split, int gap);
    void HideAllFrames();
    void SetWebCaption(const std::string& address);
    // Where the user types into a frame's field: the document counts the text as unsaved until
    // the field is finished.
    void WatchTyping(QWidget* frame, parvel::EditArea area);

    // ---- undo history ----
    void BuildUndoActions();
    // Ctrl+Z / Ctrl+Y in one of the window's fields go to the history unless the field holds
    // its own unfinished text.
    bool RouteUndoKeys(QObject* watched, QEvent* event);
    // True when the field's own undo (or redo) handles its unfinished text.
    bool KeepsOwnUndo(const QLineEdit* edit, bool undo) const;
    bool m_close_confirmed = false;
};
