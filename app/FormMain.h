#pragma once

#include <QMainWindow>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <string>

#include "DecoderSession.h"
#include "Ports.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
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

// What the program is started with.
struct StartOptions {
    std::string settings_path;  // window settings file; empty: neither read nor written
    std::string hex_file;       // loaded at start when not empty (first program argument)
    std::string doc_root;       // prefix of the documentation pages, e.g. "file:///…/doc/"
};

}  // namespace parvel

// The main window. It owns the one DecoderSession (image, recognition, grid values), carries
// out what the session asks of the window (MainView) and routes every message and file dialog
// through one Dialogs object, so the tests can script them.
//
// Qt object names are the component names: GroupBoxMain, lbl_header, Line, StatusBar1,
// GroupBoxImage, Image2, GroupBoxButtons, btn_prev, btn_load, btn_next, btn_save, btn_info,
// btn_close, ProgressBar1, btn_goweb, FrameZusatz1, FrameBlinkmuster1, FrameBlinkmuster_led1,
// FrameTorv1, FrameTorvAdr1, FrameRegister1. The status bar panels are StatusPanel0..3.
// Grid row r (0..47) has lbl_row<r>, edt_address<r>, edt_function<r> and btn_rg<r>.
class TFormMain : public QMainWindow, public parvel::MainView {
    Q_OBJECT
public:
    // dialogs: nullptr makes the window use real Qt dialogs (owned by the window). Loads
    // options.hex_file during construction, as the start-up order requires.
    explicit TFormMain(const parvel::StartOptions& options, parvel::Dialogs* dialogs = nullptr,
                       QWidget* parent = nullptr);
    ~TFormMain() override;

    parvel::DecoderSession& session() { return m_session; }
    parvel::Dialogs& dialogs() { return *m_dialogs; }

    // Loads a file (an empty path loads nothing).
    void LoadHexFile(const std::string& path);
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
    // Loads a chosen file as "HEX laden" does after its file dialog.
    void OpenHexFile(const std::string& path);

    // Web addresses are handed to the desktop; tests catch them here instead.
    void SetUrlOpener(std::function<void(const QUrl&)> opener) { m_open_url = std::move(opener); }

    // ---- MainView ----
    void SetStatusText(int panel, const std::string& text) override;
    void HideAllFrames() override;
    void ResetLayout() override;
    void SetRowLabel(int row, const std::string& label) override;
    void LayoutGrid(int split, int gap) override;
    void ShowFrame(int frame_code) override;
    void SetHeader(const std::string& text) override;
    void ShowRows(parvel::DecoderKind kind, int max_address, int max_function) override;
    void HideAllRows() override;
    void SetProgressMaximum(int maximum) override;
    void SetProgress(int position) override;
    void SetRowFields(int row, const std::string& address, const std::string& function) override;
    std::string AddressFieldText(int row) const override;
    std::string FunctionFieldText(int row) const override;
    void RecolourRows(const std::array<parvel::RowColour, parvel::kGridRows>& colours) override;
    void FocusAddressField(int row) override;
    void FocusFunctionField(int row) override;
    void SetSaveEnabled(bool enabled) override;
    void SetWebCaption(const std::string& address) override;
    bool HasPendingChanges(parvel::PendingFrame frame) const override;
    void TakeOverChanges(parvel::PendingFrame frame) override;

    std::string prev_file;
    std::string next_file;
    // The curve editor's grid list selections, kept in the settings file (-1: none).
    int raster_x = 0;
    int raster_y = 0;

    struct GridRow {
        QLabel* label = nullptr;
        QLineEdit* address = nullptr;
        QLineEdit* function = nullptr;
        QPushButton* button = nullptr;  // "R/G"
    };
    std::array<GridRow, parvel::kGridRows> rows;

    QGroupBox* GroupBoxMain;
    QLabel* lbl_header;
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
    TFrameZusatz* FrameZusatz1;
    TFrameBlinkmuster* FrameBlinkmuster1;
    TFrameBlinkmuster_led* FrameBlinkmuster_led1;
    TFrameTorv* FrameTorv1;
    TFrameTorvAdr* FrameTorvAdr1;
    TFrameRegister* FrameRegister1;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Runs a user action; an exception it raises is shown with its message and the program
    // goes on.
    void Guarded(const std::function<void()>& action);
    void BuildControls();
    void CreateGridRows();
    void UpdateWebCaption();

    std::unique_ptr<parvel::Dialogs> m_own_dialogs;
    parvel::Dialogs* m_dialogs;
    parvel::DecoderSession m_session;
    std::string m_settings_path;
    std::string m_web_caption;
    std::function<void(const QUrl&)> m_open_url;
};
