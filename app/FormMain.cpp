#include "FormMain.h"

#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
#include "Logo.h"
#include "NeighbourFiles.h"
#include "QtDialogs.h"
#include "RecordingView.h"
#include "FrmRoster.h"
#include "FrmSeries.h"
#include "WindowLayout.h"
#include "WindowSettings.h"

namespace {

constexpr const char* kCaption = "Hex Parvel V0.985";
constexpr const char* kVersionPanel = " HEX Parvel V0.985 vom 20. Jun 2013";
constexpr const char* kStartHeader = "Hex Parvel";
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
      m_session(*this, *m_dialogs),
      m_settings_path(options.settings_path),
      m_open_url([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
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

    CreateGridRows();

    btn_save->setEnabled(false);
    m_session.is_motorola = false;
    m_session.is_dcc = false;

    GroupBoxMain->setGeometry(5, 5, 400, 475);

    LoadWindowSettings();
    ResetLayout();

    m_session.SetDocumentationRoot(options.doc_root);
    SetWebCaption(m_session.doc_address);

    // Browsing starts only with a file opened through the dialog: no neighbours here.
    if (!options.hex_file.empty()) LoadHexFile(options.hex_file);

    lbl_header->setText(kStartHeader);
    lbl_header->adjustSize();

    // Series of decoders: offered where it does not change the window's fixed layout.
    auto* series = new QAction("Reihe erzeugen …", this);
    series->setObjectName("act_series");
    series->setShortcut(QKeySequence("Ctrl+R"));
    series->setShortcutContext(Qt::WindowShortcut);
    connect(series, &QAction::triggered, this, [this] { Guarded([this] { SeriesClick(); }); });
    addAction(series);
    GroupBoxMain->setContextMenuPolicy(Qt::ActionsContextMenu);
    GroupBoxMain->addAction(series);

    // The address plan of the loaded file's folder, offered the same way.
    auto* roster = new QAction("Anlagen-Übersicht …", this);
    roster->setObjectName("act_roster");
    roster->setShortcut(QKeySequence("Ctrl+U"));
    roster->setShortcutContext(Qt::WindowShortcut);
    connect(roster, &QAction::triggered, this, [this] { Guarded([this] { RosterClick(); }); });
    addAction(roster);
    GroupBoxMain->addAction(roster);
}

TFormMain::~TFormMain() = default;

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
    lbl_header->move(5, 15);
    SetHeader(kStartHeader);

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
    Image2->setPixmap(parvel::DrawParvelLogo());
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

    FrameZusatz1 = new TFrameZusatz(m_session, *m_dialogs, central);
    FrameZusatz1->setObjectName("FrameZusatz1");
    FrameBlinkmuster1 = new TFrameBlinkmuster(m_session, *m_dialogs, central);
    FrameBlinkmuster1->setObjectName("FrameBlinkmuster1");
    FrameBlinkmuster_led1 = new TFrameBlinkmuster_led(m_session, *m_dialogs, central);
    FrameBlinkmuster_led1->setObjectName("FrameBlinkmuster_led1");
    FrameTorv1 = new TFrameTorv(m_session, *m_dialogs, central);
    FrameTorv1->setObjectName("FrameTorv1");
    FrameTorvAdr1 = new TFrameTorvAdr(m_session, *m_dialogs, central);
    FrameTorvAdr1->setObjectName("FrameTorvAdr1");
    // The curve editor shares its servo pages with the address table and keeps its grid
    // choice in raster_x / raster_y, which the settings file saves.
    FrameTorv1->SetAddressTable(FrameTorvAdr1);
    FrameTorv1->SetGridSettings(&raster_x, &raster_y);
    FrameRegister1 = new TFrameRegister(m_session, *m_dialogs, central);
    FrameRegister1->setObjectName("FrameRegister1");
    for (QWidget* frame :
         std::initializer_list<QWidget*>{FrameZusatz1, FrameBlinkmuster1, FrameBlinkmuster_led1,
                                         FrameTorv1, FrameTorvAdr1, FrameRegister1}) {
        frame->hide();
    }
}

void TFormMain::CreateGridRows() {
    for (int r = 0; r < parvel::kGridRows; ++r) {
        GridRow& row = rows[r];
        row.label = new QLabel(GroupBoxMain);
        row.label->setObjectName(QString("lbl_row%1").arg(r));
        row.label->resize(100, parvel::kGridLabelHeight);

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

        // The row controls keep their own font whatever the window's font becomes.
        QFont own = QApplication::font();
        own.setPointSize(kDesignPointSize);
        for (QWidget* w :
             std::initializer_list<QWidget*>{row.label, row.address, row.function, row.button}) {
            w->setFont(own);
            w->hide();
        }
    }
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
    const auto chosen = m_dialogs->OpenFileName(parvel::kHexFileFilter);
    if (!chosen) return;
    OpenHexFile(*chosen);
}

void TFormMain::OpenHexFile(const std::string& path) {
    LoadHexFile(path);
    FindNeighbourFiles(path);
}

void TFormMain::btn_prevClick() {
    const std::string path = prev_file;  // FindNeighbourFiles empties the field first
    LoadHexFile(path);
    FindNeighbourFiles(path);
}

void TFormMain::btn_nextClick() {
    const std::string path = next_file;
    LoadHexFile(path);
    FindNeighbourFiles(path);
}

void TFormMain::btn_saveClick() { m_session.Save(); }

void TFormMain::btn_infoClick() {
    TfrmInfo info(m_session.image(), *m_dialogs, StatusPanel[3]->text(), this);
    info.exec();
}

void TFormMain::btn_closeClick() {
    SaveWindowSettings();
    close();
}

void TFormMain::btn_gowebClick() { m_open_url(QUrl(Q(m_session.doc_address))); }

void TFormMain::gointoweb() { m_open_url(QUrl(Q(m_session.OwnDocAddress()))); }

void TFormMain::btn_RGClick(QPushButton* button) {
    for (int r = 0; r < parvel::kGridRows; ++r) {
        if (rows[r].button == button) {
            m_session.ToggleGreen(r);
            return;
        }
    }
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event) {
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
    QFont font = lbl_header->font();
    auto width_at = [&](int points) {
        font.setPointSize(points);
        lbl_header->setFont(font);
        lbl_header->adjustSize();
        return lbl_header->width();
    };
    lbl_header->setText(Q(text));
    const int points = parvel::HeaderPointSize(width_at, GroupBoxMain->width());
    width_at(points);

    Line->setGeometry(200, BottomEdge(lbl_header) + 5, 2,
                      GroupBoxMain->height() - lbl_header->height() - 3);
}

void TFormMain::ShowFrame(int frame_code) {
    FrameZusatz1->hide();
    FrameBlinkmuster1->hide();
    FrameBlinkmuster_led1->hide();
    FrameTorv1->hide();
    FrameTorvAdr1->hide();
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
}

// ---------------------------------------------------------------- grid

void TFormMain::SetRowLabel(int row, const std::string& label) {
    QLabel* l = rows[row].label;
    l->setText(Q(label));
    // The label's width follows its text; an empty label takes no room.
    l->resize(label.empty() ? 0 : l->sizeHint().width(), parvel::kGridLabelHeight);
}

void TFormMain::LayoutGrid(int split, int gap) {
    std::array<int, parvel::kGridRows> widths{};
    for (int r = 0; r < parvel::kGridRows; ++r) widths[r] = rows[r].label->width();
    const parvel::GridPlacement p = parvel::PlaceGrid(split, gap, widths);
    lbl_header->setVisible(p.header_visible);
    Line->setVisible(p.line_visible);
    for (int r = 1; r < parvel::kGridRows; ++r) {
        const parvel::GridRowPlace& place = p.rows[r];
        GridRow& row = rows[r];
        row.label->move(place.label_left, place.label_top);
        row.address->setGeometry(place.address_left, place.address_top, parvel::kGridAddressWidth,
                                 parvel::kGridFieldHeight);
        row.function->setGeometry(place.function_left, place.function_top,
                                  parvel::kGridFunctionWidth, parvel::kGridFieldHeight);
        row.button->setGeometry(place.button_left, place.button_top, parvel::kGridButtonWidth,
                                parvel::kGridButtonHeight);
    }
}

void TFormMain::ShowRows(parvel::DecoderKind kind, int max_address, int max_function) {
    const bool accessory = kind == parvel::DecoderKind::Accessory;
    for (int r = 0; r < parvel::kGridRows; ++r) {
        GridRow& row = rows[r];
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
        row.label->hide();
        row.address->hide();
        row.function->hide();
        row.button->hide();
    }
}

void TFormMain::SetRowFields(int row, const std::string& address, const std::string& function) {
    rows[row].address->setText(Q(address));
    rows[row].function->setText(Q(function));
}

std::string TFormMain::AddressFieldText(int row) const {
    return rows[row].address->text().toStdString();
}

std::string TFormMain::FunctionFieldText(int row) const {
    return rows[row].function->text().toStdString();
}

void TFormMain::RecolourRows(const std::array<parvel::RowColour, parvel::kGridRows>& colours) {
    for (int r = 0; r < parvel::kGridRows; ++r) {
        QPalette palette = rows[r].address->palette();
        palette.setColor(QPalette::Base, Colour(colours[r]));
        palette.setColor(QPalette::Text, Qt::black);
        rows[r].address->setPalette(palette);
    }
}

void TFormMain::FocusAddressField(int row) {
    rows[row].address->setFocus(Qt::OtherFocusReason);
    rows[row].address->selectAll();
}

void TFormMain::FocusFunctionField(int row) {
    rows[row].function->setFocus(Qt::OtherFocusReason);
    rows[row].function->selectAll();
}

// ---------------------------------------------------------------- the rest of MainView

void TFormMain::SetStatusText(int panel, const std::string& text) {
    // The file-name panel may show a path that is not valid UTF-8.
    if (panel >= 0 && panel < 4) StatusPanel[panel]->setText(Q(parvel::ReadableText(text)));
}

void TFormMain::HideAllFrames() {
    FrameZusatz1->hide();
    FrameBlinkmuster1->hide();
    FrameBlinkmuster_led1->hide();
    FrameTorv1->hide();
    FrameTorvAdr1->hide();
    FrameRegister1->hide();
}

void TFormMain::SetProgressMaximum(int maximum) { ProgressBar1->setMaximum(maximum); }

void TFormMain::SetProgress(int position) { ProgressBar1->setValue(position); }

void TFormMain::SetSaveEnabled(bool enabled) { btn_save->setEnabled(enabled); }

void TFormMain::SetWebCaption(const std::string& address) {
    m_web_caption = address;
    UpdateWebCaption();
}

void TFormMain::UpdateWebCaption() {
    if (m_web_caption.empty()) return;
    // A file address can be longer than the button; the middle goes, the page name stays.
    const QFontMetrics metrics(btn_goweb->font());
    btn_goweb->setText(metrics.elidedText(Q(m_web_caption), Qt::ElideMiddle,
                                          std::max(0, btn_goweb->width() - 12)));
}

bool TFormMain::HasPendingChanges(parvel::PendingFrame frame) const {
    switch (frame) {
        case parvel::PendingFrame::Torv:
            return FrameTorv1->HasPendingChanges();
        case parvel::PendingFrame::Blinkmuster:
            return FrameBlinkmuster1->HasPendingChanges();
        case parvel::PendingFrame::BlinkmusterLed:
            return FrameBlinkmuster_led1->HasPendingChanges();
    }
    return false;
}

void TFormMain::TakeOverChanges(parvel::PendingFrame frame) {
    switch (frame) {
        case parvel::PendingFrame::Torv:
            FrameTorv1->TakeOver();
            break;
        case parvel::PendingFrame::Blinkmuster:
            FrameBlinkmuster1->TakeOver();
            break;
        case parvel::PendingFrame::BlinkmusterLed:
            FrameBlinkmuster_led1->TakeOver();
            break;
    }
}

void TFormMain::SeriesClick() {
    if (!btn_save->isEnabled()) return;  // nothing loaded that could be copied
    TfrmSeries dialog(m_session, *m_dialogs, this);
    dialog.exec();
}

void TFormMain::RosterClick() {
    // The loaded file's folder; the file-name panel may carry the chip family after the path.
    std::string loaded = m_session.status_text[3];
    if (!loaded.empty() && loaded.back() == ')') {
        const std::size_t suffix = loaded.rfind(" (");
        if (suffix != std::string::npos) loaded.resize(suffix);
    }
    QString folder;
    if (!loaded.empty()) {
        folder = QFileInfo(QFile::decodeName(QByteArray::fromStdString(loaded))).absolutePath();
    } else {
        const auto chosen = m_dialogs->FolderName(QDir::currentPath().toStdString());
        if (!chosen) return;
        folder = QFile::decodeName(QByteArray::fromStdString(*chosen));
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
            Guarded([&] { OpenHexFile(QFile::encodeName(path).toStdString()); });
        });
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
