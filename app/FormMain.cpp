#include "FormMain.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>
#include <utility>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "FrmInfo.h"
#include "FrameBlinkmuster.h"
#include "FrameBlinkmusterLed.h"
#include "FrameRegister.h"
#include "FrameTorv.h"
#include "FrameTorvAdr.h"
#include "FrameZusatz.h"
#include "LabelFit.h"
#include "Logo.h"
#include "PatternEditorWidgets.h"
#include "NeighbourFiles.h"
#include "QtDialogs.h"
#include "FrmRoster.h"
#include "FrmSeries.h"
#include "WindowLayout.h"
#include "WindowSettings.h"

namespace {

constexpr const char* kCaption = "Hex Parvel V0.985";
constexpr const char* kVersionPanel = " HEX Parvel V0.985 vom 20. Jun 2013";
constexpr const char* kStartHeader = "Hex Parvel";
constexpr const char* kStartHint = "HEX-Datei laden: Knopf „HEX laden“ oder Datei hierher ziehen";
constexpr int kDesignPointSize = 8;

// Component edges as the layout rules use them: right = left + width, bottom = top + height.
int RightEdge(const QWidget* w) { return w->x() + w->width(); }
int BottomEdge(const QWidget* w) { return w->y() + w->height(); }

QString Q(const std::string& s) { return QString::fromStdString(s); }

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& hint, bool bold) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    if (bold) {
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
    }
    return button;
}

QColor Colour(parvel::RowColour colour) {
    switch (colour) {
        case parvel::RowColour::Green:
            return QColor(0, 255, 0);
        case parvel::RowColour::Red:
            return QColor(255, 0, 0);
        case parvel::RowColour::White:
            break;
    }
    return QColor(255, 255, 255);
}

}  // namespace

TFormMain::TFormMain(const parvel::StartOptions& options, parvel::Dialogs* dialogs, QWidget* parent)
    : QMainWindow(parent),
      m_own_dialogs(dialogs ? nullptr : std::make_unique<parvel::QtDialogs>(this)),
      m_dialogs(dialogs ? dialogs : m_own_dialogs.get()),
      m_session(*m_dialogs),
      m_settings_path(options.settings_path),
      m_open_url([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName("FormMain");
    // The pixel layout was made for an 8-point font; a larger desktop font would cut the
    // captions of the narrow buttons and the five-digit addresses in the 40-pixel fields.
    QFont design = font();
    design.setPointSize(kDesignPointSize);
    setFont(design);
    BuildControls();

    setWindowTitle(kCaption);
    StatusPanel[3]->setText(kVersionPanel);

    move(20, 20);
    setMinimumSize(750, 630);
    resize(750, 630);

    // The grid rows are built when first used; they keep the design font whatever the
    // window's font becomes.
    m_row_font = QApplication::font();
    m_row_font.setPointSize(kDesignPointSize);

    btn_save->setEnabled(false);
    m_session.SetListener(this);

    GroupBoxMain->setGeometry(5, 5, 400, 475);

    LoadWindowSettings();
    ResetLayout();

    m_session.SetDocumentationRoot(options.doc_root);
    SetWebCaption(m_session.doc_address());

    // Browsing starts only with a file opened through the dialog: no neighbours here. The
    // header then names the loaded firmware, as after "HEX laden".
    if (!options.hex_file.empty()) LoadHexFile(options.hex_file);
    UpdateStartHint();

    // Files dropped on a field would become its text; the window takes them instead.
    for (QLineEdit* edit : findChildren<QLineEdit*>()) edit->setAcceptDrops(false);
    setAcceptDrops(true);

    // The series of decoders and the address plan of the loaded file's folder: window shortcuts
    // and entries of the grid's context menu, where they do not change the window's fixed layout.
    auto add_action = [this](const QString& text, const char* name, const char* keys,
                             void (TFormMain::*click)()) {
        auto* action = new QAction(text, this);
        action->setObjectName(name);
        action->setShortcut(QKeySequence(keys));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this,
                [this, click] { Guarded([this, click] { (this->*click)(); }); });
        addAction(action);
        GroupBoxMain->addAction(action);
    };
    GroupBoxMain->setContextMenuPolicy(Qt::ActionsContextMenu);
    add_action("Reihe erzeugen …", "act_series", "Ctrl+R", &TFormMain::SeriesClick);
    add_action("Anlagen-Übersicht …", "act_roster", "Ctrl+U", &TFormMain::RosterClick);

    BuildUndoActions();
}

TFormMain::~TFormMain() {
    // The document outlives the window's widgets by a few statements: it must not tell them.
    m_session.SetListener(nullptr);
}

void TFormMain::BuildControls() {
    auto* central = new QWidget(this);
    central->setObjectName("FormMainClient");
    setCentralWidget(central);

    GroupBoxMain = new QGroupBox(central);
    GroupBoxMain->setObjectName("GroupBoxMain");
    GroupBoxMain->setGeometry(5, 5, 400, 475);

    Line = new QFrame(GroupBoxMain);
    Line->setObjectName("Line");
    Line->setFrameShape(QFrame::VLine);
    Line->setFrameShadow(QFrame::Sunken);

    lbl_header = new QLabel(GroupBoxMain);
    lbl_header->setObjectName("lbl_header");
    lbl_header->setTextFormat(Qt::PlainText);  // a firmware name, never markup
    lbl_header->move(5, 15);
    SetHeader(kStartHeader);

    lbl_hint = new QLabel(kStartHint, GroupBoxMain);
    lbl_hint->setObjectName("lbl_hint");
    lbl_hint->setAlignment(Qt::AlignCenter);
    lbl_hint->setWordWrap(true);
    lbl_hint->setGeometry(40, 180, 320, 80);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setToolTip("Anzeige der HEX-Version und des Namens");
    StatusBar1->setSizeGripEnabled(false);
    const int panel_widths[4] = {35, 50, 50, 250};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QString("StatusPanel%1").arg(i));
        panel->setMinimumWidth(panel_widths[i]);
        // The file name panel takes the rest of the bar so that long paths stay readable.
        if (i < 3) panel->setMaximumWidth(panel_widths[i]);
        StatusBar1->addWidget(panel, i == 3 ? 1 : 0);
        StatusPanel[i] = panel;
    }

    GroupBoxImage = new QGroupBox(central);
    GroupBoxImage->setObjectName("GroupBoxImage");
    GroupBoxImage->setAutoFillBackground(true);
    QPalette white = GroupBoxImage->palette();
    white.setColor(QPalette::Window, Qt::white);
    GroupBoxImage->setPalette(white);
    GroupBoxImage->setCursor(Qt::PointingHandCursor);
    GroupBoxImage->installEventFilter(this);
    GroupBoxImage->setGeometry(5, 515, 400, 50);

    Image2 = new QLabel(GroupBoxImage);
    Image2->setObjectName("Image2");
    Image2->setPixmap(parvel::ParvelLogo());
    Image2->setFixedSize(parvel::kLogoWidth, parvel::kLogoHeight);
    Image2->setToolTip("Zur WebSite");
    Image2->setCursor(Qt::PointingHandCursor);
    Image2->installEventFilter(this);

    GroupBoxButtons = new QGroupBox(central);
    GroupBoxButtons->setObjectName("GroupBoxButtons");
    GroupBoxButtons->resize(300, 80);

    btn_prev = MakeButton(GroupBoxButtons, "btn_prev", "<", QString(), false);
    btn_prev->setGeometry(10, 12, 15, 26);
    btn_load = MakeButton(GroupBoxButtons, "btn_load", "HEX laden",
                          "Hex-File laden.\nAnschliessend können Parameter wie z.B. die Adressen "
                          "geändert werden.",
                          true);
    btn_load->setGeometry(25, 12, 89, 26);
    btn_next = MakeButton(GroupBoxButtons, "btn_next", ">", QString(), false);
    btn_next->setGeometry(114, 12, 15, 26);
    btn_save = MakeButton(GroupBoxButtons, "btn_save", "speichern",
                          "Hex-File speichern\nDas neue HEX-File kann dann in den PIC 'gebrannt' "
                          "werden",
                          true);
    btn_save->setGeometry(139, 12, 89, 26);
    btn_info = MakeButton(GroupBoxButtons, "btn_info", "HEX Info", "Anzeige der HEX-Daten", false);
    btn_info->setGeometry(238, 12, 52, 26);
    btn_close = MakeButton(GroupBoxButtons, "btn_close", "Ende",
                           "Programm beenden (ohne eine Nachfrage!)", true);
    btn_close->setGeometry(238, 44, 52, 26);

    ProgressBar1 = new QProgressBar(GroupBoxButtons);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setGeometry(25, 50, 188, 14);

    btn_goweb = MakeButton(central, "btn_goweb", "Web",
                           "Gehe auf die WebSite zu dieser Software-Variante", false);
    btn_goweb->setGeometry(5, 569, 400, 25);

    const std::pair<QPushButton*, void (TFormMain::*)()> handlers[] = {
        {btn_prev, &TFormMain::btn_prevClick},  {btn_load, &TFormMain::btn_loadClick},
        {btn_next, &TFormMain::btn_nextClick},  {btn_save, &TFormMain::btn_saveClick},
        {btn_info, &TFormMain::btn_infoClick},  {btn_close, &TFormMain::btn_closeClick},
        {btn_goweb, &TFormMain::btn_gowebClick}};
    for (const auto& [button, handler] : handlers) {
        connect(button, &QPushButton::clicked, this,
                [this, handler = handler] { Guarded([this, handler] { (this->*handler)(); }); });
    }

    FrameZusatz1.SetBuilder([this] {
        FrameZusatz1.Set(new TFrameZusatz(m_session, *m_dialogs, centralWidget()));
        BuildFrame(FrameZusatz1.IfBuilt(), "FrameZusatz1");
    });
    FrameBlinkmuster1.SetBuilder([this] {
        FrameBlinkmuster1.Set(new TFrameBlinkmuster(m_session, *m_dialogs, centralWidget()));
        BuildFrame(FrameBlinkmuster1.IfBuilt(), "FrameBlinkmuster1");
    });
    FrameBlinkmuster_led1.SetBuilder([this] {
        FrameBlinkmuster_led1.Set(
            new TFrameBlinkmuster_led(m_session, *m_dialogs, centralWidget()));
        BuildFrame(FrameBlinkmuster_led1.IfBuilt(), "FrameBlinkmuster_led1");
    });
    FrameTorv1.SetBuilder([this] { BuildServoFrames(); });
    FrameTorvAdr1.SetBuilder([this] { BuildServoFrames(); });
    FrameRegister1.SetBuilder([this] {
        FrameRegister1.Set(new TFrameRegister(m_session, *m_dialogs, centralWidget()));
        BuildFrame(FrameRegister1.IfBuilt(), "FrameRegister1");
    });
}

void TFormMain::BuildServoFrames() {
    if (FrameTorv1.IfBuilt()) return;
    auto* torv = new TFrameTorv(m_session, *m_dialogs, centralWidget());
    auto* table = new TFrameTorvAdr(m_session, *m_dialogs, centralWidget());
    FrameTorv1.Set(torv);
    FrameTorvAdr1.Set(table);
    BuildFrame(torv, "FrameTorv1");
    BuildFrame(table, "FrameTorvAdr1");
    // The curve editor shares its servo pages with the address table and keeps its grid
    // choice in raster_x / raster_y, which the settings file saves.
    torv->SetAddressTable(table);
    torv->SetGridSettings(&raster_x, &raster_y);
}

void TFormMain::BuildFrame(QWidget* frame, const char* name) {
    frame->setObjectName(name);
    frame->hide();
    // The pattern editors tell the document themselves which typed number is a change.
    static const std::pair<const char*, parvel::EditArea> kAreas[] = {
        {"FrameZusatz1", parvel::EditArea::Zusatz},
        {"FrameTorv1", parvel::EditArea::Torv},
        {"FrameTorvAdr1", parvel::EditArea::TorvAdr},
        {"FrameRegister1", parvel::EditArea::Register}};
    for (const auto& [frame_name, area] : kAreas) {
        if (std::string(name) == frame_name) WatchTyping(frame, area);
    }
    for (QLineEdit* edit : frame->findChildren<QLineEdit*>()) edit->installEventFilter(this);
    // Files dropped on a field would become its text; the window takes them instead.
    for (QLineEdit* edit : frame->findChildren<QLineEdit*>()) edit->setAcceptDrops(false);
    // Tab order: a frame's controls come after the buttons and before the grid, in their
    // order within the frame, however late the frame is built.
    std::vector<QWidget*> controls;
    for (QWidget* w = frame->nextInFocusChain(); w != frame && w != this;
         w = w->nextInFocusChain()) {
        if (!frame->isAncestorOf(w) || w->focusPolicy() == Qt::NoFocus) continue;
        // A control inside a compound control moves with it.
        const bool inner = std::any_of(controls.begin(), controls.end(),
                                       [w](const QWidget* c) { return c->isAncestorOf(w); });
        if (!inner) controls.push_back(w);
    }
    QWidget* after = btn_goweb;
    if (frame == FrameTorvAdr1.IfBuilt()) {
        // The address table follows the curve editor, which is shown with it.
        for (QWidget* w = btn_goweb->nextInFocusChain(); FrameTorv1.IfBuilt()->isAncestorOf(w);
             w = w->nextInFocusChain()) {
            after = w;
        }
    }
    for (QWidget* control : controls) {
        QWidget::setTabOrder(after, control);
        after = control;
    }
}

std::vector<QWidget*> TFormMain::BuiltFrames() const {
    std::vector<QWidget*> frames;
    for (QWidget* frame : std::initializer_list<QWidget*>{
             FrameZusatz1.IfBuilt(), FrameBlinkmuster1.IfBuilt(), FrameBlinkmuster_led1.IfBuilt(),
             FrameTorv1.IfBuilt(), FrameTorvAdr1.IfBuilt(), FrameRegister1.IfBuilt()}) {
        if (frame) frames.push_back(frame);
    }
    return frames;
}

TFormMain::GridRow& TFormMain::EnsureRow(int r) {
    GridRow& row = rows[r];
    if (row.label) return row;
    row.label = new QLabel(GroupBoxMain);
    row.label->setObjectName(QString("lbl_row%1").arg(r));
    row.label->resize(0, parvel::kGridLabelHeight);  // an empty label takes no room

    row.address = new QLineEdit(GroupBoxMain);
    row.address->setObjectName(QString("edt_address%1").arg(r));
    row.address->resize(parvel::kGridAddressWidth, parvel::kGridFieldHeight);

    row.function = new QLineEdit(GroupBoxMain);
    row.function->setObjectName(QString("edt_function%1").arg(r));
    row.function->resize(parvel::kGridFunctionWidth, parvel::kGridFieldHeight);
    row.function->setToolTip("Funktion Nummer");

    row.button = new QPushButton("R/G", GroupBoxMain);
    row.button->setObjectName(QString("btn_rg%1").arg(r));
    row.button->resize(parvel::kGridButtonWidth, parvel::kGridButtonHeight);
    row.button->setToolTip("Wechsel zwischen ROTer und GRÜNer Adresse ");
    QPushButton* button = row.button;
    connect(button, &QPushButton::clicked, this,
            [this, button] { Guarded([this, button] { btn_RGClick(button); }); });

    for (QWidget* w :
         std::initializer_list<QWidget*>{row.label, row.address, row.function, row.button}) {
        w->setFont(m_row_font);
        w->hide();
    }
    // Files dropped on a field would become its text; the window takes them instead.
    row.address->setAcceptDrops(false);
    row.function->setAcceptDrops(false);
    // Whatever changes a field's text (keys, paste, a test driver, accessibility) goes to the
    // document; the window's own filling gives the document its own text back, which is no
    // change.
    connect(row.address, &QLineEdit::textChanged, this,
            [this, r](const QString& text) { m_session.SetAddressText(r, text.toStdString()); });
    connect(row.function, &QLineEdit::textChanged, this,
            [this, r](const QString& text) { m_session.SetFunctionText(r, text.toStdString()); });
    for (QLineEdit* edit : {row.address, row.function}) {
        connect(edit, &QLineEdit::editingFinished, this, [this] { m_session.CloseStep(); });
        edit->installEventFilter(this);
    }
    if (!m_row_address[r].empty()) row.address->setText(Q(std::exchange(m_row_address[r], {})));
    if (!m_row_function[r].empty()) row.function->setText(Q(std::exchange(m_row_function[r], {})));

    if (r > 0) PlaceRow(r);  // row 0 is never placed
    if (m_rows_coloured) ColourRow(r);

    // Tab order by row number, however late a row is built: after the nearest built row
    // above it, else in front of the nearest built row below it.
    QWidget* after = nullptr;
    for (int above = r - 1; above >= 0 && !after; --above) after = rows[above].button;
    for (int below = r + 1; below < parvel::kGridRows && !after; ++below) {
        if (!rows[below].address) continue;
        after = rows[below].address->previousInFocusChain();
        while (after != this && after->focusPolicy() == Qt::NoFocus) {
            after = after->previousInFocusChain();
        }
        if (after == this) after = nullptr;
        break;
    }
    if (after) {
        for (QWidget* control :
             std::initializer_list<QWidget*>{row.address, row.function, row.button}) {
            QWidget::setTabOrder(after, control);
            after = control;
        }
    }
    return row;
}

void TFormMain::Guarded(const std::function<void()>& action) {
    // Caught here, before it would unwind through Qt's own frames (built without exception
    // support, they would skip their clean-up); the application object catches the rest.
    try {
        action();
    } catch (const std::exception& e) {
        m_dialogs->ShowMessage({e.what(), parvel::Icon::Warning, parvel::Buttons::Ok});
    } catch (...) {
        m_dialogs->ShowMessage({"Unbekannter Fehler", parvel::Icon::Warning, parvel::Buttons::Ok});
    }
}

// ---------------------------------------------------------------- loading and browsing

void TFormMain::LoadHexFile(const std::string& path) {
    if (path.empty()) return;
    m_session.LoadHexFile(path);
    // A file that could be read becomes the folder the dialogs start in next time.
    if (m_session.file_path() == path && !parvel::FileFolder(path).empty()) {
        m_last_folder = parvel::FileFolder(path);
    }
    UpdateStartHint();
}

void TFormMain::OpenHexFile(const std::string& path) {
    LoadHexFile(path);
    FindNeighbourFiles(path);
}

std::string TFormMain::StartFolder() const {
    const std::string loaded = parvel::FileFolder(m_session.file_path());
    return loaded.empty() ? m_last_folder : loaded;
}

void TFormMain::UpdateStartHint() {
    const bool empty = m_session.file_path().empty();
    lbl_hint->setVisible(empty);
    // The column separator has nothing to separate yet; it would run through the hint.
    if (empty) Line->hide();
}

void TFormMain::FindNeighbourFiles(const std::string& path) {
    if (path.empty()) {
        prev_file.clear();
        next_file.clear();
        return;
    }
    const parvel::Neighbours n = parvel::FindNeighbourFiles(path);
    prev_file = n.prev_file;
    next_file = n.next_file;
}

void TFormMain::btn_loadClick() {
    if (!ConfirmDiscard()) return;
    const auto chosen = m_dialogs->OpenFileName(parvel::kHexFileFilter, {"OpenDialog1", StartFolder()});
    if (!chosen) return;
    OpenHexFile(*chosen);
}

void TFormMain::btn_prevClick() {
    if (!prev_file.empty() && !ConfirmDiscard()) return;
    const std::string path = prev_file;  // FindNeighbourFiles empties the field first
    LoadHexFile(path);
    FindNeighbourFiles(path);
}

void TFormMain::btn_nextClick() {
    if (!next_file.empty() && !ConfirmDiscard()) return;
    const std::string path = next_file;
    LoadHexFile(path);
    FindNeighbourFiles(path);
}

void TFormMain::btn_saveClick() {
    const parvel::DecoderDocument::SaveResult result = m_session.Save();
    if (result == parvel::DecoderDocument::SaveResult::Saved) {
        const std::string folder = parvel::FileFolder(m_session.file_path());
        if (!folder.empty()) m_last_folder = folder;
    }
}

void TFormMain::btn_infoClick() {
    TfrmInfo info(m_session.image(), *m_dialogs, StatusPanel[3]->text(), this);
    info.start_folder = StartFolder();
    info.exec();
}

void TFormMain::btn_closeClick() {
    if (!ConfirmDiscard()) return;
    m_close_confirmed = true;
    SaveWindowSettings();
    close();
}

void TFormMain::btn_gowebClick() { OpenPage(QUrl(Q(m_session.doc_address()))); }

void TFormMain::gointoweb() { OpenPage(QUrl(Q(m_session.OwnDocAddress()))); }

void TFormMain::OpenPage(const QUrl& url) {
    if (m_open_url(url)) return;
    // No browser could be started: say where the page lies, so it can be opened by hand.
    const QString where = url.isLocalFile() ? url.toLocalFile() : url.toString();
    m_dialogs->ShowMessage({"Die Seite konnte nicht im Browser geöffnet werden. Bitte von Hand "
                            "öffnen:\n" + where.toStdString(),
                            parvel::Icon::Information, parvel::Buttons::Ok});
}

namespace {

// The first local file with the extension .hex (any case) among the dragged URLs, or "".
QString DroppedHexFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    for (const QUrl& url : mime->urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(".hex", Qt::CaseInsensitive)) {
            return url.toLocalFile();
        }
    }
    return {};
}

}  // namespace

void TFormMain::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedHexFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TFormMain::dropEvent(QDropEvent* event) {
    const QString path = DroppedHexFile(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    const std::string file = path.toStdString();
    // The same question as "HEX laden" before unsaved changes are dropped.
    Guarded([this, file] {
        if (ConfirmDiscard()) OpenHexFile(file);
    });
}

void TFormMain::btn_RGClick(QPushButton* button) {
    for (int r = 0; r < parvel::kGridRows; ++r) {
        if (rows[r].button == button) {
            m_session.ToggleGreen(r);
            m_session.CloseStep();
            return;
        }
    }
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (RouteUndoKeys(watched, event)) return true;
    if ((watched == GroupBoxImage || watched == Image2) &&
        event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        Guarded([this] { gointoweb(); });
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- window settings

void TFormMain::LoadWindowSettings() {
    if (m_settings_path.empty()) return;
    const parvel::WindowSettings s = parvel::LoadWindowSettingsFile(m_settings_path);
    raster_x = s.raster_x;
    raster_y = s.raster_y;
    m_last_folder = s.last_folder;
    resize(s.width, height());
    move(x(), s.top);
    move(s.left, y());
}

bool TFormMain::SaveWindowSettings() {
    if (m_settings_path.empty()) return true;
    parvel::WindowSettings s;
    s.raster_x = raster_x;
    s.raster_y = raster_y;
    s.width = width();
    s.top = y();
    s.left = x();
    s.last_folder = m_last_folder;
    const parvel::WriteResult written = parvel::SaveWindowSettingsFile(m_settings_path, s);
    if (written.ok) return true;
    m_dialogs->ShowMessage({"Die Fenster-Einstellungen konnten nicht in " + m_settings_path +
                                " gespeichert werden: " + written.error +
                                ". Das Programm wird trotzdem beendet; beim nächsten Start gelten "
                                "die bisherigen Einstellungen.",
                            parvel::Icon::Warning, parvel::Buttons::Ok});
    return false;
}

// ---------------------------------------------------------------- geometry

void TFormMain::FitWindowToFrame(int il, int bl, int h, int w) {
    parvel::FitFixed fixed;
    fixed.status_bar_height = StatusBar1->sizeHint().height();
    fixed.buttons_box_height = GroupBoxButtons->height();
    fixed.prev_width = btn_prev->width();
    fixed.next_width = btn_next->width();
    fixed.goweb_height = btn_goweb->height();
    fixed.image_width = Image2->width();
    fixed.image_height = Image2->height();
    const parvel::FitResult f = parvel::FitWindowToFrame(il, bl, h, w, fixed);

    GroupBoxMain->resize(GroupBoxMain->width(), f.main_box_height);

    setMinimumSize(0, 0);
    resize(f.window_width, f.window_height);
    setMinimumSize(f.window_width, f.window_height);

    btn_load->setGeometry(f.load_left, btn_load->y(), f.load_width, btn_load->height());
    btn_save->setGeometry(f.save_left, btn_save->y(), f.save_width, btn_save->height());
    btn_info->setGeometry(f.info_left, btn_info->y(), f.info_width, btn_info->height());
    btn_close->setGeometry(f.close_left, btn_close->y(), f.close_width, btn_close->height());
    btn_prev->move(f.prev_left, btn_prev->y());
    btn_next->move(f.next_left, btn_next->y());
    ProgressBar1->setGeometry(f.progress_left, ProgressBar1->y(), f.progress_width,
                              ProgressBar1->height());
    GroupBoxButtons->setGeometry(f.buttons_left, f.buttons_top, f.buttons_width,
                                 GroupBoxButtons->height());
    GroupBoxImage->setGeometry(f.image_box.left, f.image_box.top, f.image_box.width,
                               f.image_box.height);
    Image2->move(f.image_left, f.image_top);
    btn_goweb->setGeometry(f.goweb_left, f.goweb_top, f.goweb_width, btn_goweb->height());
    UpdateWebCaption();
}

void TFormMain::ResetLayout() {
    FitWindowToFrame(5, 410, 500, 300);
    for (int r = 0; r < parvel::kGridRows; ++r) SetRowLabel(r, std::string());
    LayoutGrid(15, 0);
}

void TFormMain::SetHeader(const std::string& text) {
    const QString caption = Q(text);
    // The width the label sizes itself to (one line of plain text), measured for each point
    // size without putting the size on the label: every setFont and adjustSize on the label
    // would lay it out again.
    QFont font = lbl_header->font();
    const int flags = lbl_header->alignment() & ~(Qt::AlignVCenter | Qt::AlignHCenter);
    auto width_at = [&](int points) {
        font.setPointSize(points);
        return QFontMetrics(font, lbl_header)
            .boundingRect(QRect(0, 0, 2000, 2000), flags, caption)
            .width();
    };
    font.setPointSize(parvel::HeaderPointSize(width_at, GroupBoxMain->width()));
    lbl_header->setFont(font);
    lbl_header->setText(caption);
    lbl_header->adjustSize();

    Line->setGeometry(200, BottomEdge(lbl_header) + 5, 2,
                      GroupBoxMain->height() - lbl_header->height() - 3);
}

void TFormMain::ShowFrame(int frame_code) {
    for (QWidget* frame : BuiltFrames()) {
        if (frame != FrameRegister1.IfBuilt()) frame->hide();
    }
    const int t = GroupBoxMain->y();

    switch (frame_code) {
        case parvel::kFrameZusatz: {
            FrameZusatz1->loading = true;
            FrameZusatz1->show();
            const int width = RightEdge(FrameZusatz1->group_mode) + 10;
            FrameZusatz1->setGeometry(410, t + 5, width, 485);
            FitWindowToFrame(5, 410, 485, width);
            FrameZusatz1->ClearView();
            FrameZusatz1->LoadFromImage();
            break;
        }
        case parvel::kFrameBlinkmuster: {
            FrameBlinkmuster1->loading = true;
            FrameBlinkmuster1->show();
            const QPushButton* b = FrameBlinkmuster1->blinkmuster_btn_uebernehmen;
            const int height = BottomEdge(b) + 15;
            const int width = RightEdge(b) + 15;
            FrameBlinkmuster1->setGeometry(410, t + 5, width, height);
            FitWindowToFrame(5, 410, height, width);
            FrameBlinkmuster1->SetUp(width);
            FrameBlinkmuster1->LoadFromImage();
            break;
        }
        case parvel::kFrameBlinkmusterLed: {
            FrameBlinkmuster_led1->loading = true;
            FrameBlinkmuster_led1->show();
            const QPushButton* b = FrameBlinkmuster_led1->led_blinkmuster_btn_uebernehmen;
            const int height = BottomEdge(b) + 15;
            const int width = RightEdge(b) + 15;
            FrameBlinkmuster_led1->setGeometry(410, t + 5, width, height);
            FitWindowToFrame(5, 410, height, width);
            FrameBlinkmuster_led1->SetUp(width);
            FrameBlinkmuster_led1->LoadFromImage();
            break;
        }
        case parvel::kFrameTorv: {
            FrameTorv1->loading = true;
            FrameTorv1->setGeometry(410, t + 5, 540, 555);
            FrameTorv1->show();
            FrameTorvAdr1->setGeometry(GroupBoxMain->x() + 1, 120, GroupBoxMain->width() - 2, 530);
            FrameTorvAdr1->show();
            FrameTorvAdr1->raise();
            const QPushButton* b = FrameTorv1->servo_btn_uebernehmen;
            const int height = BottomEdge(b) + 15;
            const int width = RightEdge(b) + 15;
            FrameTorv1->resize(width, height);
            FitWindowToFrame(410, 650, height, width - 240);
            FrameTorv1->LoadFromImage();
            FrameTorvAdr1->LoadFromImage();
            break;
        }
        case parvel::kFrameRegister:
            FitWindowToFrame(5, 410, 555, 535);
            FrameRegister1->loading = true;
            FrameRegister1->setGeometry(5, t + 3, 940, 555);
            FrameRegister1->show();
            FrameRegister1->raise();
            FrameRegister1->ClearView();
            FrameRegister1->LoadFromImage();
            break;
        default:
            break;
    }
    // Captions were laid out for the design font; a larger one must not cut them.
    for (QWidget* frame : BuiltFrames()) {
        if (!frame->isHidden()) parvel::FitLabelsToText(frame);
    }
}

// ---------------------------------------------------------------- grid

void TFormMain::SetRowLabel(int row, const std::string& label) {
    if (label.empty() && !rows[row].label) return;  // a row not built is empty already
    QLabel* l = EnsureRow(row).label;
    l->setText(Q(label));
    // The label's width follows its text; an empty label takes no room.
    l->resize(label.empty() ? 0 : l->sizeHint().width(), parvel::kGridLabelHeight);
}

void TFormMain::LayoutGrid(int split, int gap) {
    std::array<int, parvel::kGridRows> widths{};
    for (int r = 0; r < parvel::kGridRows; ++r) {
        widths[r] = rows[r].label ? rows[r].label->width() : 0;
    }
    m_grid_place = parvel::PlaceGrid(split, gap, widths);
    lbl_header->setVisible(m_grid_place.header_visible);
    Line->setVisible(m_grid_place.line_visible);
    for (int r = 1; r < parvel::kGridRows; ++r) {
        if (rows[r].label) PlaceRow(r);
    }
}

void TFormMain::PlaceRow(int r) {
    const parvel::GridRowPlace& place = m_grid_place.rows[r];
    GridRow& row = rows[r];
    row.label->move(place.label_left, place.label_top);
    row.address->setGeometry(place.address_left, place.address_top, parvel::kGridAddressWidth,
                             parvel::kGridFieldHeight);
    row.function->setGeometry(place.function_left, place.function_top, parvel::kGridFunctionWidth,
                              parvel::kGridFieldHeight);
    row.button->setGeometry(place.button_left, place.button_top, parvel::kGridButtonWidth,
                            parvel::kGridButtonHeight);
}

void TFormMain::ShowRows(parvel::DecoderKind kind, int max_address, int max_function) {
    const bool accessory = kind == parvel::DecoderKind::Accessory;
    for (int r = 0; r < parvel::kGridRows; ++r) {
        GridRow& row = rows[r];
        if (!row.label) continue;
        if (row.label->text().isEmpty()) {
            row.label->hide();
            row.address->hide();
            row.function->hide();
            row.button->hide();
            row.address->setToolTip(QString());
            continue;
        }
        row.label->show();
        row.address->show();
        row.button->setVisible(accessory);
        row.function->setVisible(!accessory);
        row.address->setToolTip(Q(parvel::AddressHint(max_address)));
        row.function->setToolTip(Q(parvel::FunctionHint(max_function)));
    }
}

void TFormMain::HideAllRows() {
    for (GridRow& row : rows) {
        if (!row.label) continue;
        row.label->hide();
        row.address->hide();
        row.function->hide();
        row.button->hide();
    }
}

void TFormMain::SetRowFields(int row, const std::string& address, const std::string& function) {
    if (!rows[row].address) {
        m_row_address[row] = address;
        m_row_function[row] = function;
        return;
    }
    rows[row].address->setText(Q(address));
    rows[row].function->setText(Q(function));
}

void TFormMain::RecolourRows(const std::array<parvel::RowColour, parvel::kGridRows>& colours) {
    m_row_colours = colours;
    m_rows_coloured = true;
    for (int r = 0; r < parvel::kGridRows; ++r) {
        if (rows[r].address) ColourRow(r);
    }
}

void TFormMain::ColourRow(int r) {
    QPalette palette = rows[r].address->palette();
    palette.setColor(QPalette::Base, Colour(m_row_colours[r]));
    // A row whose stored bytes match no address: its number stands for nothing stored, so it
    // is shown in italics and dark blue, and its hint names the bytes.
    const bool marked = !m_row_stored_hint[r].empty();
    palette.setColor(QPalette::Text, marked ? QColor(0, 0, 160) : QColor(Qt::black));
    rows[r].address->setPalette(palette);
    QFont font = m_row_font;
    font.setItalic(marked);
    rows[r].address->setFont(font);
    rows[r].address->setProperty("storedCode", marked);
}

void TFormMain::MarkStoredCode(int row, const std::string& hint) {
    if (row < 0 || row >= parvel::kGridRows) return;
    m_row_stored_hint[row] = hint;
    GridRow& r = rows[row];
    if (!r.address) return;
    if (!hint.empty() || r.address->property("storedCode").toBool()) {
        const std::string base = r.label && !r.label->text().isEmpty()
                                     ? parvel::AddressHint(m_session.max_address())
                                     : std::string();
        r.address->setToolTip(Q(hint.empty() ? base : base + "\n\n" + hint));
    }
    if (m_rows_coloured) ColourRow(row);
}

void TFormMain::FocusAddressField(int row) {
    QLineEdit* edit = EnsureRow(row).address;
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void TFormMain::FocusFunctionField(int row) {
    QLineEdit* edit = EnsureRow(row).function;
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

// ---------------------------------------------------------------- what the document tells

void TFormMain::StatusChanged(int panel) {
    // The file-name panel may show a path that is not valid UTF-8.
    if (panel >= 0 && panel < 4) {
        StatusPanel[panel]->setText(Q(parvel::ReadableText(m_session.status_text(panel))));
    }
}

void TFormMain::LoadStarted() { HideAllFrames(); }

void TFormMain::DecoderChanged() {
    ResetLayout();
    const parvel::DecoderType* entry = m_session.entry();
    if (entry) {
        for (int r = 1; r < parvel::kGridRows; ++r) SetRowLabel(r, m_session.row(r).label);
        LayoutGrid(entry->split, entry->gap);
        if (m_session.frame_code() != parvel::kFrameNone) ShowFrame(m_session.frame_code());
    }
    SetHeader(m_session.header_text());
    ShowRows(m_session.kind(), m_session.max_address(), m_session.max_function());
    SetWebCaption(m_session.doc_address());
}

void TFormMain::RowsChanged() {
    const bool recognised = m_session.recognised();
    std::array<parvel::RowColour, parvel::kGridRows> colours;
    for (int r = 0; r < parvel::kGridRows; ++r) {
        const parvel::GridRow& row = m_session.row(r);
        SetRowFields(r, row.address_text, row.function_text);
        colours[r] = recognised ? m_session.RowColourOf(r) : parvel::RowColour::White;
    }
    RecolourRows(colours);
    if (!recognised) return;
    if (!m_session.rows_visible()) HideAllRows();
    ProgressBar1->setMaximum(32);
    ProgressBar1->setValue(0);
    for (int r = 0; r < parvel::kGridRows; ++r) MarkStoredCode(r, m_session.StoredCodeHint(r));
}

void TFormMain::SaveEnabledChanged() { btn_save->setEnabled(m_session.save_enabled()); }

void TFormMain::FieldRejected(int row, parvel::RowField field) {
    if (field == parvel::RowField::Address) FocusAddressField(row);
    else FocusFunctionField(row);
}

void TFormMain::StateRestored(int view) {
    switch (m_session.frame_code()) {
        case parvel::kFrameZusatz:
            FrameZusatz1->loading = true;
            FrameZusatz1->ClearView();
            FrameZusatz1->LoadFromImage();
            break;
        case parvel::kFrameRegister:
            FrameRegister1->ClearView();
            FrameRegister1->LoadFromImage();
            break;
        case parvel::kFrameBlinkmuster:
            FrameBlinkmuster1->ShowWorkingCopy();
            break;
        case parvel::kFrameBlinkmusterLed:
            FrameBlinkmuster_led1->ShowWorkingCopy();
            break;
        case parvel::kFrameTorv:
            FrameTorv1->ShowWorkingCopy(view);
            break;
        default:
            break;
    }
}

void TFormMain::WorkingCopyChanged() {
    switch (m_session.frame_code()) {
        case parvel::kFrameBlinkmuster:
            FrameBlinkmuster1->ShowWorkingCopy();
            break;
        case parvel::kFrameBlinkmusterLed:
            FrameBlinkmuster_led1->ShowWorkingCopy();
            break;
        case parvel::kFrameTorv:
            FrameTorv1->ShowWorkingCopy(m_session.servo().page);
            break;
        default:
            break;
    }
}

bool TFormMain::CommitTypedInput(parvel::PendingFrame frame) {
    switch (frame) {
        case parvel::PendingFrame::Blinkmuster:
            return FrameBlinkmuster1->CommitTypedInput();
        case parvel::PendingFrame::BlinkmusterLed:
            return FrameBlinkmuster_led1->CommitTypedInput();
        case parvel::PendingFrame::Torv:
            break;
    }
    return true;
}

void TFormMain::WatchTyping(QWidget* frame, parvel::EditArea area) {
    for (QLineEdit* edit : frame->findChildren<QLineEdit*>()) {
        const std::string name = edit->objectName().toStdString();
        connect(edit, &QLineEdit::textEdited, this,
                [this, area, name] { m_session.NoteTyped(area, name, true); });
        // Connected after the frame's own handlers: the frame has taken the value over (or
        // refused it) when this runs.
        connect(edit, &QLineEdit::editingFinished, this,
                [this, area, name] { m_session.NoteTyped(area, name, false); });
    }
}

void TFormMain::HideAllFrames() {
    for (QWidget* frame : BuiltFrames()) frame->hide();
}


void TFormMain::SetWebCaption(const std::string& address) {
    m_web_caption = address;
    UpdateWebCaption();
}

void TFormMain::UpdateWebCaption() {
    if (m_web_caption.empty()) return;
    // A file address can be longer than the button; the middle goes, the page name stays.
    const QFontMetrics metrics(btn_goweb->font());
    btn_goweb->setProperty("address", Q(m_web_caption));  // the whole address, for scripts
    btn_goweb->setText(metrics.elidedText(Q(m_web_caption), Qt::ElideMiddle,
                                          std::max(0, btn_goweb->width() - 12)));
}

void TFormMain::SeriesClick() {
    if (!m_session.save_enabled()) return;  // nothing loaded that could be copied
    TfrmSeries dialog(m_session, *m_dialogs, this);
    dialog.exec();
}

// ---------------------------------------------------------------- undo history

void TFormMain::BuildUndoActions() {
    act_undo = new QAction("Rückgängig", this);
    act_undo->setObjectName("act_undo");
    act_undo->setShortcuts(QKeySequence::keyBindings(QKeySequence::Undo));
    act_redo = new QAction("Wiederherstellen", this);
    act_redo->setObjectName("act_redo");
    QList<QKeySequence> redo_keys = QKeySequence::keyBindings(QKeySequence::Redo);
    for (const QKeySequence& key : {QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")}) {
        if (!redo_keys.contains(key)) redo_keys.append(key);
    }
    act_redo->setShortcuts(redo_keys);
    for (QAction* action : {act_undo, act_redo}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
        addAction(action);
    }
    connect(act_undo, &QAction::triggered, this, [this] { Guarded([this] { UndoClick(); }); });
    connect(act_redo, &QAction::triggered, this, [this] { Guarded([this] { RedoClick(); }); });

    // The grid's context menu offers both, after "Reihe erzeugen".
    auto* separator = new QAction(this);
    separator->setSeparator(true);
    GroupBoxMain->addAction(separator);
    GroupBoxMain->addAction(act_undo);
    GroupBoxMain->addAction(act_redo);
    HistoryChanged();
}

void TFormMain::HistoryChanged() {
    if (!act_undo) return;  // construction: the actions come last
    const bool can_undo = m_session.CanUndo();
    const bool can_redo = m_session.CanRedo();
    act_undo->setEnabled(can_undo);
    act_redo->setEnabled(can_redo);
    act_undo->setText(can_undo ? "Rückgängig: " + Q(m_session.UndoName()) : "Rückgängig");
    act_redo->setText(can_redo ? "Wiederherstellen: " + Q(m_session.RedoName()) : "Wiederherstellen");
}

bool TFormMain::RouteUndoKeys(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ShortcutOverride) return false;
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool undo = key->matches(QKeySequence::Undo);
    const bool redo = key->matches(QKeySequence::Redo) ||
                      key->keyCombination() == QKeyCombination(Qt::CTRL, Qt::Key_Y);
    if (!undo && !redo) return false;
    // A grid field's text is a step of the history already; a frame's field keeps its own
    // unfinished text until it is taken over.
    const bool grid = edit->parentWidget() == GroupBoxMain;
    const bool own = !grid && !edit->isReadOnly() && edit->isModified() &&
                     (undo ? edit->isUndoAvailable() : edit->isRedoAvailable());
    if (own) return false;
    // An ignored override lets the window's shortcut run.
    event->ignore();
    return true;
}

void TFormMain::UndoClick() { m_session.Undo(); }

void TFormMain::RedoClick() { m_session.Redo(); }

bool TFormMain::ConfirmDiscard() {
    if (!m_session.HasUnsavedChanges()) return true;
    return m_dialogs->ShowMessage({"Nicht gespeicherte Änderungen verwerfen?",
                                   parvel::Icon::Warning, parvel::Buttons::YesNo}) ==
           parvel::Answer::Yes;
}

void TFormMain::closeEvent(QCloseEvent* event) {
    if (!m_close_confirmed && !ConfirmDiscard()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void TFormMain::RosterClick() {
    // The loaded file's folder; before any file, the user picks one (starting where the file
    // dialogs would).
    const std::string loaded = m_session.file_path();
    QString folder;
    if (!loaded.empty()) {
        folder = QFileInfo(QString::fromStdString(loaded)).absolutePath();
    } else {
        const std::string start = StartFolder();
        const auto chosen =
            m_dialogs->FolderName(start.empty() ? QDir::currentPath().toStdString() : start);
        if (!chosen) return;
        folder = QString::fromStdString(*chosen);
    }
    auto* dialog = findChild<TfrmRoster*>();
    if (dialog) {
        if (dialog->edt_folder->text() != folder) {
            dialog->edt_folder->setText(folder);
            dialog->StartReading();
        }
    } else {
        dialog = new TfrmRoster(folder, *m_dialogs, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        connect(dialog, &TfrmRoster::fileActivated, this, [this](const QString& path) {
            // The same question as "HEX laden" before unsaved changes are dropped.
            Guarded([&] {
                if (ConfirmDiscard()) OpenHexFile(path.toStdString());
            });
        });
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
