#include "app/FormMain.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
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
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

#include "info/FrmInfo.h"
#include "frames/FrameTorv.h"
#include "frames/FrameZusatz.h"
#include "app/Logo.h"
#include "app/NeighbourFiles.h"
#include "app/QtDialogs.h"
#include "app/FrmRoster.h"
#include "app/FrmSeries.h"
#include "app/WindowLayout.h"
#include "app/WindowSettings.h"

namespace {

constexpr const char* kCaption = "Hex Parvel V0.985";
constexpr const char* kVersionPanel = " HEX Parvel V0.985 vom 20. Jun 2013";
constexpr const char* kStartHeader = "Hex Parvel";
constexpr const char* kStartHint =
    "HEX-Datei laden: Knopf „HEX laden“ oder Datei hierher ziehen.\n\n"
    "Rückgängig (Strg+Z), Wiederherstellen (Strg+Y), Reihe erzeugen (Strg+R) und "
    "Anlagen-Übersicht (Strg+U): in den Menüs oben und mit der rechten Maustaste.";
constexpr int kDesignPointSize = 8;

// Component edges as the layout rules use them: right = left + width, bottom = top + height.
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

}  // namespace

TFormMain::TFormMain(const parvel::StartOptions& options, parvel::Dialogs* dialogs, QWidget* parent)
    : QMainWindow(parent),
      m_own_dialogs(dialogs ? nullptr : std::make_unique<parvel::QtDialogs>(this)),
      m_dialogs(dialogs ? dialogs : m_own_dialogs.get()),
      m_document(*m_dialogs),
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
    QFont row_font = QApplication::font();
    row_font.setPointSize(kDesignPointSize);
    m_grid = std::make_unique<TGridRows>(GroupBoxMain, this, row_font);
    m_grid->SetOnBuilt([this](int r, TGridRows::Row& row) {
        QPushButton* button = row.button;
        connect(button, &QPushButton::clicked, this,
                [this, button] { Guarded([this, button] { btn_RGClick(button); }); });
        // Whatever changes a field's text (keys, paste, a test driver, accessibility) goes to the
        // document; the window's own filling gives the document its own text back, which is no
        // change.
        connect(row.address, &QLineEdit::textChanged, this,
                [this, r](const QString& text) { m_document.SetAddressText(r, text.toStdString()); });
        connect(row.function, &QLineEdit::textChanged, this,
                [this, r](const QString& text) { m_document.SetFunctionText(r, text.toStdString()); });
        for (QLineEdit* edit : {row.address, row.function}) {
            connect(edit, &QLineEdit::editingFinished, this, [this] { m_document.CloseStep(); });
            edit->installEventFilter(this);
        }
    });

    btn_save->setEnabled(false);
    m_document.SetListener(this);

    GroupBoxMain->setGeometry(5, 5, 400, 475);

    LoadWindowSettings();
    ResetLayout();

    m_document.SetDocumentationRoot(options.doc_root);
    SetWebCaption(m_document.doc_address());

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
        mnu_layout->addAction(action);
    };
    GroupBoxMain->setContextMenuPolicy(Qt::ActionsContextMenu);
    add_action("Reihe erzeugen …", "act_series", "Ctrl+R", &TFormMain::SeriesClick);
    add_action("Anlagen-Übersicht …", "act_roster", "Ctrl+U", &TFormMain::RosterClick);

    // The buttons' commands in the file menu, for those who look there first.
    auto add_file_action = [this](const QString& text, const char* name, void (TFormMain::*click)()) {
        auto* action = mnu_file->addAction(text);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this,
                [this, click] { Guarded([this, click] { (this->*click)(); }); });
        return action;
    };
    add_file_action("HEX laden …", "act_load", &TFormMain::btn_loadClick);
    act_save = add_file_action("Speichern …", "act_save", &TFormMain::btn_saveClick);
    act_save->setEnabled(btn_save->isEnabled());
    add_file_action("HEX Info …", "act_info", &TFormMain::btn_infoClick);
    mnu_file->addSeparator();
    add_file_action("Ende", "act_close", &TFormMain::btn_closeClick);

    BuildUndoActions();
    mnu_edit->addAction(act_undo);
    mnu_edit->addAction(act_redo);
}

TFormMain::~TFormMain() {
    // The widgets are taken apart first, while the document their handlers call still exists
    // (a field losing its focus on the way finishes its edit); the document tells nobody then.
    m_document.SetListener(nullptr);
    delete takeCentralWidget();
}

void TFormMain::BuildControls() {
    auto* central = new QWidget(this);
    central->setObjectName("FormMainClient");
    setCentralWidget(central);

    // The menu bar sits above the fixed layout (the window grows by its height): every
    // command with its shortcut, reachable by mouse in every frame's layout.
    menuBar()->setObjectName("MainMenu");
    mnu_file = menuBar()->addMenu("&Datei");
    mnu_file->setObjectName("mnu_file");
    mnu_edit = menuBar()->addMenu("&Bearbeiten");
    mnu_edit->setObjectName("mnu_edit");
    mnu_layout = menuBar()->addMenu("&Anlage");
    mnu_layout->setObjectName("mnu_layout");

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
    lbl_hint->setGeometry(30, 150, 340, 160);

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

    SetFrameBuilders();
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
    m_document.LoadHexFile(path);
    // A file that could be read becomes the folder the dialogs start in next time.
    if (m_document.file_path() == path && !parvel::FileFolder(path).empty()) {
        m_last_folder = parvel::FileFolder(path);
    }
    UpdateStartHint();
}

void TFormMain::OpenHexFile(const std::string& path) {
    LoadHexFile(path);
    FindNeighbourFiles(path);
}

std::string TFormMain::StartFolder() const {
    const std::string loaded = parvel::FileFolder(m_document.file_path());
    return loaded.empty() ? m_last_folder : loaded;
}

void TFormMain::UpdateStartHint() {
    const bool empty = m_document.file_path().empty();
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

void TFormMain::btn_saveClick() { SaveDocument(); }

bool TFormMain::SaveDocument() {
    const parvel::DecoderDocument::SaveResult result = m_document.Save();
    if (result != parvel::DecoderDocument::SaveResult::Saved) return false;
    const std::string folder = parvel::FileFolder(m_document.file_path());
    if (!folder.empty()) m_last_folder = folder;
    NoteFileWritten(m_document.file_path());
    return true;
}

void TFormMain::btn_infoClick() {
    TfrmInfo info(m_document.image(), *m_dialogs, StatusPanel[3]->text(), this);
    info.start_folder = StartFolder();
    info.exec();
}

void TFormMain::btn_closeClick() {
    if (!ConfirmDiscard()) return;
    m_close_confirmed = true;
    SaveWindowSettings();
    close();
}

void TFormMain::btn_gowebClick() { OpenPage(QUrl(Q(m_document.doc_address()))); }

void TFormMain::gointoweb() { OpenPage(QUrl(Q(m_document.OwnDocAddress()))); }

void TFormMain::OpenPage(const QUrl& url) {
    if (m_open_url(url)) return;
    // No browser could be started: say where the page lies, so it can be opened by hand.
    const QString where = url.isLocalFile() ? url.toLocalFile() : url.toString();
    m_dialogs->ShowMessage({"Die Seite konnte nicht im Browser geöffnet werden. Bitte von Hand "
                            "öffnen:\n" + where.toStdString(),
                            parvel::Icon::Information, parvel::Buttons::Ok});
}

namespace {

// The endings the open dialog names ("*.hex", "*.txt"); its "all files" entry is a choice the
// user makes there, which a drop cannot make.
QStringList DroppableEndings() {
    QStringList endings;
    const QStringList parts = QString(parvel::kHexFileFilter).split('|');
    for (int i = 1; i < parts.size(); i += 2) {
        for (const QString& pattern : parts[i].split(';')) {
            if (pattern.startsWith("*.") && pattern != "*.*") endings << pattern.mid(1);
        }
    }
    return endings;
}

// The first dragged local file the open dialog would offer (ending in any case), or "". A
// folder is no file, whatever its name.
QString DroppedHexFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls()) return {};
    static const QStringList endings = DroppableEndings();
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile()) continue;
        const QString path = url.toLocalFile();
        const bool named = std::any_of(endings.begin(), endings.end(), [&](const QString& e) {
            return path.endsWith(e, Qt::CaseInsensitive);
        });
        if (named && QFileInfo(path).isFile()) return path;
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
        if (m_grid->rows[r].button == button) {
            m_document.ToggleGreen(r);
            m_document.CloseStep();
            return;
        }
    }
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
    if (RouteUndoKeys(watched, event)) return true;
    if (event->type() == QEvent::ContextMenu) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            QMenu* menu = FieldContextMenu(edit);
            menu->setAttribute(Qt::WA_DeleteOnClose);
            menu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    }
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
    m_roster_size = QSize(s.roster_width, s.roster_height);
    m_roster_columns = QList<int>(s.roster_columns.begin(), s.roster_columns.end());
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
    if (const auto* roster = findChild<TfrmRoster*>(); roster && roster->isVisible()) {
        m_roster_size = roster->size();  // still open at "Ende": as it is now
        m_roster_columns = roster->ColumnWidths();
    }
    if (m_roster_size.isValid()) {
        s.roster_width = m_roster_size.width();
        s.roster_height = m_roster_size.height();
    }
    s.roster_columns.assign(m_roster_columns.begin(), m_roster_columns.end());
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
    const int menu_height = menuBar()->sizeHint().height();
    resize(f.window_width, f.window_height + menu_height);
    setMinimumSize(f.window_width, f.window_height + menu_height);

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
    for (int r = 0; r < parvel::kGridRows; ++r) m_grid->SetRowLabel(r, std::string());
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

// ---------------------------------------------------------------- grid

void TFormMain::SetRowLabel(int row, const std::string& label) { m_grid->SetRowLabel(row, label); }

void TFormMain::LayoutGrid(int split, int gap) {
    const parvel::GridPlacement& place = m_grid->LayoutGrid(split, gap);
    lbl_header->setVisible(place.header_visible);
    Line->setVisible(place.line_visible);
}

// ---------------------------------------------------------------- what the document tells

void TFormMain::StatusChanged(int panel) {
    // The file-name panel may show a path that is not valid UTF-8.
    if (panel >= 0 && panel < 4) {
        StatusPanel[panel]->setText(Q(parvel::ReadableText(m_document.status_text(panel))));
    }
}

void TFormMain::LoadStarted() { HideAllFrames(); }

void TFormMain::DecoderChanged() {
    ResetLayout();
    const parvel::DecoderType* entry = m_document.entry();
    if (entry) {
        for (int r = 1; r < parvel::kGridRows; ++r) m_grid->SetRowLabel(r, m_document.row(r).label);
        LayoutGrid(entry->split, entry->gap);
        if (m_document.frame_code() != parvel::kFrameNone) ShowFrame(m_document.frame_code());
    }
    SetHeader(m_document.header_text());
    m_grid->ShowRows(m_document.kind(), m_document.max_address(), m_document.max_function());
    SetWebCaption(m_document.doc_address());
}

void TFormMain::RowsChanged() {
    const bool recognised = m_document.recognised();
    std::array<parvel::RowColour, parvel::kGridRows> colours;
    for (int r = 0; r < parvel::kGridRows; ++r) {
        const parvel::GridRow& row = m_document.row(r);
        m_grid->SetRowFields(r, row.address_text, row.function_text);
        colours[r] = recognised ? m_document.RowColourOf(r) : parvel::RowColour::White;
    }
    m_grid->RecolourRows(colours);
    if (!recognised) return;
    if (!m_document.rows_visible()) m_grid->HideAllRows();
    ProgressBar1->setMaximum(32);
    ProgressBar1->setValue(0);
    for (int r = 0; r < parvel::kGridRows; ++r) m_grid->MarkStoredCode(r, m_document.StoredCodeHint(r), m_document.max_address());
}

void TFormMain::SaveEnabledChanged() {
    btn_save->setEnabled(m_document.save_enabled());
    if (act_save) act_save->setEnabled(m_document.save_enabled());
}

void TFormMain::FieldRejected(int row, parvel::RowField field) {
    if (field == parvel::RowField::Address) m_grid->FocusAddressField(row);
    else m_grid->FocusFunctionField(row);
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

void TFormMain::NoteFileWritten(const std::string& path) {
    if (auto* roster = findChild<TfrmRoster*>()) roster->NoteFileWritten(Q(path));
}

void TFormMain::SeriesClick() {
    if (!m_document.save_enabled()) {
        m_dialogs->ShowMessage({"Reihe erzeugen: erst eine HEX-Datei laden.", parvel::Icon::Information,
                                parvel::Buttons::Ok});
        return;
    }
    TfrmSeries dialog(m_document, *m_dialogs, this);
    connect(&dialog, &TfrmSeries::fileWritten, this,
            [this](const QString& path) { NoteFileWritten(path.toStdString()); });
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
    const bool can_undo = m_document.CanUndo();
    const bool can_redo = m_document.CanRedo();
    act_undo->setEnabled(can_undo);
    act_redo->setEnabled(can_redo);
    act_undo->setText(can_undo ? "Rückgängig: " + Q(m_document.UndoName()) : "Rückgängig");
    act_redo->setText(can_redo ? "Wiederherstellen: " + Q(m_document.RedoName()) : "Wiederherstellen");
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
    if (KeepsOwnUndo(edit, undo)) return false;
    // An ignored override lets the window's shortcut run.
    event->ignore();
    return true;
}

bool TFormMain::KeepsOwnUndo(const QLineEdit* edit, bool undo) const {
    // A grid field's text is a step of the history already; a frame's field keeps its own
    // unfinished text until it is taken over.
    const bool grid = edit->parentWidget() == GroupBoxMain;
    return !grid && !edit->isReadOnly() && edit->isModified() &&
           (undo ? edit->isUndoAvailable() : edit->isRedoAvailable());
}

QMenu* TFormMain::FieldContextMenu(QLineEdit* edit) {
    QMenu* menu = edit->createStandardContextMenu();
    // The field's own undo and redo (the first two entries of an editable field's menu) know
    // only its unfinished text; a disabled "Rückgängig" there would suggest the history does
    // not work.
    if (edit->isReadOnly() || menu->actions().size() < 2) return menu;
    const QList<QAction*> own = menu->actions().mid(0, 2);
    for (int i = 0; i < 2; ++i) {
        const bool undo = i == 0;
        if (KeepsOwnUndo(edit, undo)) continue;
        menu->insertAction(own[i], undo ? act_undo : act_redo);
        menu->removeAction(own[i]);
    }
    return menu;
}

void TFormMain::UndoClick() { m_document.Undo(); }

void TFormMain::RedoClick() { m_document.Redo(); }

bool TFormMain::ConfirmDiscard() {
    if (!m_document.HasUnsavedChanges()) return true;
    switch (m_dialogs->ShowMessage({"Nicht gespeicherte Änderungen verwerfen?", parvel::Icon::Warning,
                                    parvel::Buttons::SaveDiscardCancel})) {
        case parvel::Answer::Discard:
            return true;
        case parvel::Answer::Save:
            // The normal save flow with all its questions; whatever stops it (a "Nein", a
            // cancelled save dialog, a failed write) stops the load or close as well.
            return SaveDocument();
        default:
            return false;
    }
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
    const std::string loaded = m_document.file_path();
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
        } else {
            dialog->Reread();  // never the table of a while ago
        }
    } else {
        dialog = new TfrmRoster(folder, *m_dialogs, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        dialog->RestoreLayout(m_roster_size, m_roster_columns);
        connect(dialog, &TfrmRoster::layoutToKeep, this,
                [this](const QSize& size, const QList<int>& widths) {
                    m_roster_size = size;
                    m_roster_columns = widths;
                });
        connect(dialog, &TfrmRoster::fileActivated, this, [this, dialog](const QString& path) {
            // The same question as "HEX laden" before unsaved changes are dropped.
            Guarded([&] {
                if (!ConfirmDiscard()) return;
                OpenHexFile(path.toStdString());
                if (m_document.file_path() != path.toStdString()) return;  // not loaded
                // The loaded file comes to the front; the dialog names it.
                dialog->NoteFileLoaded(path);
                raise();
                activateWindow();
            });
        });
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
