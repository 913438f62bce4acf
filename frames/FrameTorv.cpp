#include "frames/FrameTorv.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <utility>

#include "document/DecoderDocument.h"
#include "frames/LabelFit.h"
#include "frames/LoadingScope.h"
#include "frames/LocaleNumbers.h"
#include "frames/FrameTorvAdr.h"
#include "settings/NumberInput.h"
#include "settings/NumberText.h"
#include "image/Dialogs.h"
#include "settings/ServoCurve.h"
#include "settings/ServoFiles.h"
#include "settings/ServoPulses.h"
#include "settings/TorvSettings.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

QColor Colour(parvel::ServoColour colour) {
    switch (colour) {
        case parvel::ServoColour::Black:
            return QColor(0, 0, 0);
        case parvel::ServoColour::Red:
            return QColor(255, 0, 0);
        case parvel::ServoColour::Green:
            return QColor(0, 128, 0);
        case parvel::ServoColour::White:
            break;
    }
    return QColor(255, 255, 255);
}

int PixelOf(qreal coordinate) { return static_cast<int>(std::floor(coordinate)); }

QGroupBox* Group(QWidget* parent, const char* name, const QString& title, QRect geometry) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    return box;
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& hint, QRect geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setGeometry(geometry);
    return button;
}

QLineEdit* Field(QWidget* parent, const char* name, const QString& text, const QString& hint,
                 QRect geometry) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setToolTip(hint);
    field->setGeometry(geometry);
    return field;
}

QLabel* Label(QWidget* parent, const QString& name, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

// Grid list items "0".."count-1".
QComboBox* NumberList(QWidget* parent, const char* name, int count, QRect geometry) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    for (int i = 0; i < count; ++i) list->addItem(QString::number(i));
    list->setMaxVisibleItems(15);
    list->setGeometry(geometry);
    return list;
}

int ListIndex(int index, const QComboBox* list) {
    return index >= 0 && index < list->count() ? index : -1;
}

const char* const kScaleHint =
    "Wert, mit dem die Kurve multipliziert wird. \nD.h. Werte > 1 ziehen die Kurve in der Y-Achse "
    "auseinander, Werte < 1 stauchen die Kurve";
const char* const kShiftHint =
    "Wert, um den die Kurve nach oben (positive Werte) oder nach unten (negative Werte) "
    "verschoben wird\nEin Wert von 64 verschiebt die Kurve um die halbe Y-Achse nach oben";

}  // namespace

// ---------------------------------------------------------------- canvas

TServoCanvas::TServoCanvas(int width, int height, QWidget* parent) : QWidget(parent) {
    setFixedSize(width, height);
    setCursor(Qt::CrossCursor);
    // Moves without a held button arrive too; the frame decides what a move edits.
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_drawing.width = width;
    m_drawing.height = height;
}

void TServoCanvas::SetDrawing(parvel::ServoDrawing drawing) {
    m_drawing = std::move(drawing);
    update();
}

void TServoCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Colour(m_drawing.background));
    p.setBrush(Qt::NoBrush);
    for (const parvel::ServoDrawOp& op : m_drawing.ops) {
        const QColor pen = Colour(op.pen);
        if (op.kind == parvel::ServoDrawOp::Kind::Line) {
            p.setPen(QPen(pen, 0));
            p.drawLine(op.x1, op.y1, op.x2, op.y2);
            continue;
        }
        if (op.x2 <= op.x1) continue;
        if (op.y2 <= op.y1) {
            // A relay that is off: a line along the bottom row of the block.
            p.fillRect(QRect(op.x1, op.y2 - 1, op.x2 - op.x1, 1), pen);
            continue;
        }
        // The block covers x1..x2-1 and y1..y2-1: filled, then outlined on its edge pixels.
        const QRect block(op.x1, op.y1, op.x2 - op.x1, op.y2 - op.y1);
        p.fillRect(block, Colour(op.fill));
        p.setPen(QPen(pen, 0));
        p.drawRect(block.adjusted(0, 0, -1, -1));
    }
}

void TServoCanvas::mousePressEvent(QMouseEvent* event) {
    emit MouseDown(PixelOf(event->position().x()), PixelOf(event->position().y()));
}

void TServoCanvas::mouseMoveEvent(QMouseEvent* event) {
    emit MouseMove(PixelOf(event->position().x()), PixelOf(event->position().y()));
}

void TServoCanvas::mouseReleaseEvent(QMouseEvent* event) {
    emit MouseUp(PixelOf(event->position().x()), PixelOf(event->position().y()));
}

// ---------------------------------------------------------------- spinner

TUpDown::TUpDown(QLineEdit* associate, int minimum, int maximum, QWidget* parent)
    : QWidget(parent),
      m_associate(associate),
      m_minimum(minimum),
      m_maximum(maximum),
      m_position(minimum) {
    const QRect field = associate->geometry();
    setGeometry(field.right() + 1, field.top(), 15, field.height());
    const int half = field.height() / 2;
    auto* up = new QToolButton(this);
    up->setObjectName("up");
    up->setArrowType(Qt::UpArrow);
    up->setGeometry(0, 0, 15, half);
    up->setAutoRepeat(true);
    auto* down = new QToolButton(this);
    down->setObjectName("down");
    down->setArrowType(Qt::DownArrow);
    down->setGeometry(0, half, 15, field.height() - half);
    down->setAutoRepeat(true);
    connect(up, &QToolButton::clicked, this, [this] { Step(1); });
    connect(down, &QToolButton::clicked, this, [this] { Step(-1); });
}

void TUpDown::Step(int delta) {
    // The step starts from the number in the field, so a typed value is where it goes on.
    if (const auto shown = parvel::ParseWholeNumber(m_associate->text().toStdString())) {
        m_position = static_cast<int>(std::clamp<long long>(*shown, m_minimum, m_maximum));
    }
    m_position = std::clamp(m_position + delta, m_minimum, m_maximum);
    m_associate->setText(QString::number(m_position));
    emit Stepped();
}

// ---------------------------------------------------------------- frame

TFrameTorv::TFrameTorv(parvel::DecoderDocument& document, parvel::Dialogs& dialogs, QWidget* parent)
    : QFrame(parent), pages(document.servo().pages), m_document(document), m_dialogs(dialogs) {
    setObjectName("TFrameTorv");
    BuildControls();
    resize(540, 555);
}

void TFrameTorv::BuildControls() {
    // ---- curve choice, count, stretch, grid
    QGroupBox* curves = Group(this, "GroupBox_Kurve", "Parameter für ...", {0, 0, 150, 56});
    for (int k = 0; k < 4; ++k) {
        auto* radio = new QRadioButton(QString("Kurve %1").arg(k + 1), curves);
        radio->setObjectName(QString("servo_rad_a%1").arg(k + 1));
        radio->setToolTip("Auswahl, für welche Adresse die Angezeigten Parameter gültig sind");
        radio->setGeometry(8 + 70 * (k % 2), 16 + 18 * (k / 2), 68, 17);
        servo_rad_a[k] = radio;
    }
    servo_rad_a[0]->setChecked(true);

    QGroupBox* count = Group(this, "GroupBox_Anzahl", "Anzahl Punkte", {153, 0, 94, 56});
    edt_Anzahl = Field(count, "edt_Anzahl", "10", "Anzahl der Kurven-Punkte", {8, 22, 46, 20});
    UpDown1 = new TUpDown(edt_Anzahl, 1, 200, count);
    UpDown1->setObjectName("UpDown1");

    QGroupBox* stretch = Group(this, "GroupBox_Stretch", "Stretch-Faktor", {250, 0, 94, 56});
    edt_stretch = Field(stretch, "edt_stretch", "10", "ermöglicht es, den Ablauf zu Verlangsamen",
                        {8, 22, 46, 20});
    UpDown2 = new TUpDown(edt_stretch, 1, parvel::kMaxStretch, stretch);
    UpDown2->setObjectName("UpDown2");

    QGroupBox* raster_x = Group(this, "GroupBox_RasterX", "Raster X", {347, 0, 94, 56});
    cbx_raster_x = NumberList(raster_x, "cbx_raster_x", parvel::kRasterXItems, {8, 21, 60, 22});
    QGroupBox* raster_y = Group(this, "GroupBox_RasterY", "Raster Y", {444, 0, 96, 56});
    cbx_raster_y = NumberList(raster_y, "cbx_raster_y", parvel::kRasterYItems, {8, 21, 60, 22});

    // ---- canvases
    QGroupBox* servo = Group(this, "GroupBox_Servo", "Servo", {0, 58, 540, 222});
    servo_Image1 = new TServoCanvas(parvel::kCurveCanvasWidth, parvel::kCurveCanvasHeight, servo);
    servo_Image1->setObjectName("servo_Image1");
    servo_Image1->move(5, 16);
    servo_Image1->setToolTip("Definieren der Kurvenform (Maus: Klick & Move)");

    Label_Servo_Relais = Label(this, "Label_Servo_Relais", "Relais", {5, 283, 50, 15});
    lbl_KurveInfo1 = Label(this, "lbl_KurveInfo1", "", {62, 283, 210, 15});
    lbl_KurveInfo2 = Label(this, "lbl_KurveInfo2", "", {285, 283, 250, 15});
    servo_Image2 = new TServoCanvas(parvel::kRelayLaneWidth, parvel::kRelayLaneHeight, this);
    servo_Image2->setObjectName("servo_Image2");
    servo_Image2->move(5, 300);
    servo_Image2->setToolTip(
        "Definieren, ob Relais zu einem bestimmten Kurven-Zeitpunkt AUS oder EIN (rotes Feld) "
        "ist");

    for (TServoCanvas* canvas : {servo_Image1, servo_Image2}) {
        connect(canvas, &TServoCanvas::MouseDown, this, [this] { servo_ImagexMouseDown(); });
        connect(canvas, &TServoCanvas::MouseUp, this, [this] { servo_ImagexMouseUp(); });
    }
    connect(servo_Image1, &TServoCanvas::MouseMove, this, &TFrameTorv::servo_Image1MouseMove);
    connect(servo_Image2, &TServoCanvas::MouseMove, this, &TFrameTorv::servo_Image2MouseMove);

    // ---- curve operations
    QGroupBox* functions = Group(this, "GroupBox_Funktionen", "Funktionen", {0, 360, 196, 42});
    btn_Lin = Button(functions, "btn_Lin", "Lin", "lineare Kurvenform erstellen", {6, 15, 44, 22});
    btn_Log = Button(functions, "btn_Log", "Log", "log, Kurvenform erstellen", {52, 15, 44, 22});
    btn_Sin = Button(functions, "btn_Sin", "1/4 Sin", "Sinus-Kurvenform erstellen (halbe Welle)",
                     {98, 15, 44, 22});
    btn_sin2 = Button(functions, "btn_sin2", "1/2 Sin", "Sinus-Kurvenform erstellen (Welle)",
                      {144, 15, 44, 22});

    QGroupBox* mirror = Group(this, "GroupBox_Spiegeln", "Spiegeln", {199, 360, 134, 42});
    btn_MirrorVertikal = Button(mirror, "btn_MirrorVertikal", "vertikal",
                                "vertikales Spiegeln der Kurvenform", {6, 15, 60, 22});
    btn_MirrorHorizontal = Button(mirror, "btn_MirrorHorizontal", "horizontal",
                                  "horizonzales Spiegeln der Kurvenform", {68, 15, 60, 22});

    QGroupBox* copy = Group(this, "GroupBox_Kopieren", "Kurve kopieren", {336, 360, 204, 42});
    for (int k = 0; k < 4; ++k) {
        btn_copy[k] = Button(copy, QString("btn_copy%1").arg(k + 1), QString("von #%1").arg(k + 1),
                             QString("Kopieren der Kurvenformen von Kurve %1").arg(k + 1),
                             {6 + 49 * k, 15, 47, 22});
    }

    QGroupBox* curve_file = Group(this, "GroupBox_KurveFile", "Kurve", {0, 405, 124, 42});
    servo_load_1 =
        Button(curve_file, "servo_load_1", "laden", "laden von Kurven-Daten", {6, 15, 54, 22});
    servo_save_1 = Button(curve_file, "servo_save_1", "speichern", "speichern von Kurven-Daten",
                          {62, 15, 56, 22});
    QGroupBox* set_file = Group(this, "GroupBox_Setup", "Setup", {127, 405, 124, 42});
    servo_load_all =
        Button(set_file, "servo_load_all", "laden",
               "laden Kurven-Daten inkl. Pukte-Anzahl, Stretch-Faktor etc.", {6, 15, 54, 22});
    servo_save_all =
        Button(set_file, "servo_save_all", "speichern",
               "speichern Kurven-Daten inkl. Pukte-Anzahl, Stretch-Faktor etc.", {62, 15, 56, 22});

    QGroupBox* scale = Group(this, "GroupBox_Skalierung", "Skalierung", {254, 405, 141, 42});
    // The default factor one half, written the way the user's locale writes decimals.
    edt_scale = Field(scale, "edt_scale", QString("0") + QChar(LocaleDecimalSeparator()) + "5",
                      kScaleHint, {6, 16, 58, 20});
    btn_scale = Button(scale, "btn_scale", "anwenden", "", {68, 15, 66, 22});
    QGroupBox* shift = Group(this, "GroupBox_HochRunter", "Hoch/Runter", {398, 405, 142, 42});
    edt_shift = Field(shift, "edt_shift", "10", kShiftHint, {6, 16, 58, 20});
    btn_shift = Button(shift, "btn_shift", "anwenden", "", {68, 15, 66, 22});

    // ---- push buttons of the decoder
    servo_GroupBox1 = Group(this, "servo_GroupBox1", "Funktion für Taster SW1", {0, 450, 142, 58});
    servo_rad_servo = new QRadioButton("Servo-Bedienung", servo_GroupBox1);
    servo_rad_servo->setObjectName("servo_rad_servo");
    servo_rad_servo->setGeometry(8, 17, 128, 18);
    servo_rad_lernen = new QRadioButton("Lernen + Justage", servo_GroupBox1);
    servo_rad_lernen->setObjectName("servo_rad_lernen");
    servo_rad_lernen->setGeometry(8, 37, 128, 18);
    servo_rad_lernen->setChecked(true);

    // Threshold of the Torvik from V3.58, where the button-mode group is never shown.
    text_torvik_schwelle =
        Label(this, "text_torvik_schwelle", parvel::kThresholdCaption, {5, 453, 137, 15});
    text_torvik_schwelle->setToolTip(
        "X7 kann ein Relais ansteuern in Abhängigkeit des Kurven-Wertes (unverstärkter "
        "Logik-Pegel)");
    edt_torvik_schwelle =
        Field(this, "edt_torvik_schwelle", "10", "In der Grafik: rote Linie", {5, 471, 46, 20});
    UpDown4 = new TUpDown(edt_torvik_schwelle, 1, 200, this);
    UpDown4->setObjectName("UpDown4");

    static const char* const kButtonNames[4] = {"s1c", "s1o", "s2c", "s2o"};
    static const char* const kLabelNames[4] = {"sw1a", "sw1b", "sw2a", "sw2b"};
    for (int b = 0; b < 4; ++b) {
        const int left = b % 2 == 0 ? 150 : 344;
        const int top = b < 2 ? 454 : 480;
        Label_Servo_sw[b] =
            Label(this, QString("Label_Servo_%1").arg(kLabelNames[b]), "", {left, top + 3, 84, 15});
        auto* list = new QComboBox(this);
        list->setObjectName(QString("servo_cbx_%1").arg(kButtonNames[b]));
        list->setToolTip("ermöglicht das Auslösen von Aktionen \r\nvia (Justage-)Taster");
        list->setGeometry(left + 86, top, 104, 22);
        servo_cbx_s[b] = list;
        connect(list, &QComboBox::currentIndexChanged, this, [this, b] { servo_cbx_sxxChange(b); });
    }

    servo_btn_verwerfen =
        Button(this, "servo_btn_verwerfen", "verwerfen", "Daten verwerfen", {340, 515, 90, 25});
    servo_btn_uebernehmen =
        Button(this, "servo_btn_uebernehmen", "übernehmen", "Daten übernehmen", {435, 515, 90, 25});
    servo_btn_uebernehmen->setEnabled(false);

    // ---- handlers (connected last: setting the start values above must not run them)
    for (QRadioButton* radio : servo_rad_a) {
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on) servo_rad_axClick();
        });
    }
    for (QRadioButton* radio : {servo_rad_servo, servo_rad_lernen}) {
        connect(radio, &QRadioButton::toggled, this, [this](bool on) {
            if (on) servo_rad_Click();
        });
    }
    // Typed numbers count when the edit is finished (Return or leaving the field), so typing
    // "128" never stores 1 and 12 on the way; a spinner click counts at once.
    auto field_rule = [this](QLineEdit* field, void (TFrameTorv::*rule)(), bool typed) {
        if (m_checking_field || (typed && !field->isModified())) return;
        LoadingScope checking(m_checking_field);
        (this->*rule)();
    };
    const std::pair<QLineEdit*, void (TFrameTorv::*)()> fields[] = {
        {edt_Anzahl, &TFrameTorv::edt_AnzahlChange},
        {edt_stretch, &TFrameTorv::edt_stretchChange},
        {edt_torvik_schwelle, &TFrameTorv::edt_torvik_schwelleChange}};
    for (const auto& [field, rule] : fields) {
        connect(field, &QLineEdit::editingFinished, this,
                [field_rule, field = field, rule = rule] { field_rule(field, rule, true); });
    }
    connect(UpDown1, &TUpDown::Stepped, this,
            [=] { field_rule(edt_Anzahl, &TFrameTorv::edt_AnzahlChange, false); });
    connect(UpDown2, &TUpDown::Stepped, this,
            [=] { field_rule(edt_stretch, &TFrameTorv::edt_stretchChange, false); });
    connect(UpDown4, &TUpDown::Stepped, this, [=] {
        field_rule(edt_torvik_schwelle, &TFrameTorv::edt_torvik_schwelleChange, false);
    });

    const std::pair<QPushButton*, void (TFrameTorv::*)()> clicks[] = {
        {btn_Lin, &TFrameTorv::btn_LinClick},
        {btn_Log, &TFrameTorv::btn_LogClick},
        {btn_Sin, &TFrameTorv::btn_SinClick},
        {btn_sin2, &TFrameTorv::btn_sin2Click},
        {btn_MirrorVertikal, &TFrameTorv::btn_MirrorVertikalClick},
        {btn_MirrorHorizontal, &TFrameTorv::btn_MirrorHorizontalClick},
        {btn_copy[0], &TFrameTorv::btn_copy1Click},
        {btn_copy[1], &TFrameTorv::btn_copy2Click},
        {btn_copy[2], &TFrameTorv::btn_copy3Click},
        {btn_copy[3], &TFrameTorv::btn_copy4Click},
        {btn_scale, &TFrameTorv::btn_scaleClick},
        {btn_shift, &TFrameTorv::btn_shiftClick},
        {servo_load_1, &TFrameTorv::servo_load_1Click},
        {servo_save_1, &TFrameTorv::servo_save_1Click},
        {servo_load_all, &TFrameTorv::servo_load_allClick},
        {servo_save_all, &TFrameTorv::servo_save_allClick},
        {servo_btn_verwerfen, &TFrameTorv::servo_btn_verwerfenClick},
        {servo_btn_uebernehmen, &TFrameTorv::servo_btn_uebernehmenClick}};
    for (const auto& [button, handler] : clicks) {
        connect(button, &QPushButton::clicked, this, handler);
    }
    for (QComboBox* list : {cbx_raster_x, cbx_raster_y}) {
        connect(list, &QComboBox::currentIndexChanged, this, &TFrameTorv::cbx_raster_xChange);
    }
}

void TFrameTorv::SetAddressTable(TFrameTorvAdr* table) {
    m_table = table;
    if (table) {
        connect(table, &TFrameTorvAdr::Changed, this, &TFrameTorv::EnableApply);
    }
}

void TFrameTorv::SetGridSettings(int* raster_x, int* raster_y) {
    m_raster_x = raster_x ? raster_x : &m_own_raster_x;
    m_raster_y = raster_y ? raster_y : &m_own_raster_y;
}

// ---------------------------------------------------------------- loading

void TFrameTorv::LoadFromImage() {
    loading = true;
    servo_Image1->SetDrawing(parvel::ServoDrawing{
        servo_Image1->width(), servo_Image1->height(), parvel::ServoColour::White, {}});
    curve_height = servo_Image1->height();
    relay_height = servo_Image2->height();

    const parvel::TorvVariant variant = parvel::TorvVariantFor(m_document.type_code());
    for (int b = 0; b < 4; ++b) {
        const auto& items = b < 2 ? variant.first_button_items : variant.second_button_items;
        servo_cbx_s[b]->clear();
        for (const std::string& item : items) servo_cbx_s[b]->addItem(Q(item));
        Label_Servo_sw[b]->setText(Q(variant.button_labels[b]));
        Label_Servo_sw[b]->show();
        servo_cbx_s[b]->show();
    }

    for (QWidget* w :
         std::initializer_list<QWidget*>{servo_Image2, Label_Servo_Relais, servo_GroupBox1}) {
        w->setVisible(variant.relay_lane);
    }
    for (QWidget* w :
         std::initializer_list<QWidget*>{text_torvik_schwelle, edt_torvik_schwelle, UpDown4}) {
        w->setVisible(variant.threshold);
    }

    cbx_raster_x->setCurrentIndex(ListIndex(*m_raster_x, cbx_raster_x));
    cbx_raster_y->setCurrentIndex(ListIndex(*m_raster_y, cbx_raster_y));

    ReloadFromImage();
    loading = false;
}

void TFrameTorv::ReloadFromImage() {
    // Filling the lists and radios raises their change signals; none of them may write.
    LoadingScope scope(loading);
    ShowPages();
    if (m_table) m_table->Refresh();
    servo_btn_uebernehmen->setEnabled(m_document.servo().modified);
}

void TFrameTorv::ShowWorkingCopy(int page) {
    if (page >= 0 && page < 4) {
        LoadingScope scope(loading);
        servo_rad_a[page]->setChecked(true);
    }
    ReloadFromImage();
    if (m_table) {
        LoadingScope table_scope(m_table->loading);
        m_table->Refresh();
    }
}

void TFrameTorv::ShowPages() {
    ShowButtonCombos();
    const bool learn = parvel::IsLearnMode(m_document.image());
    (learn ? servo_rad_lernen : servo_rad_servo)->setChecked(true);
    UpdateButtonModeVisibility();
    if (ThresholdShown()) {
        threshold = parvel::ReadThreshold(m_document.image());
        edt_torvik_schwelle->setText(QString::number(threshold));
    }
    DrawCurve();
    DrawRelayLane();
    ShowCurveInfo();
}


void TFrameTorv::ShowCurveInfo() {
    const int page = CurrentPage();
    // Fields and times show the values taken over; a stored byte outside its range is named
    // in the time text's place.
    const auto count = parvel::ShowStoredValue(pages.StoredPointCount(page), 1, parvel::kMaxCurvePoints);
    const auto stretch = parvel::ShowStoredValue(pages.Stretch(page), 1, parvel::kMaxStretch);
    edt_Anzahl->setText(QString::number(count.value));
    edt_stretch->setText(QString::number(stretch.value));
    for (int k = 0; k < 4; ++k) btn_copy[k]->setEnabled(k != page);
    const auto texts = parvel::CurveInfoTexts(count.value, stretch.value);
    lbl_KurveInfo1->setText(Q(stretch.note.empty() ? texts[0] : stretch.note));
    lbl_KurveInfo2->setText(Q(count.note.empty() ? texts[1] : count.note));
    parvel::FitLabelToText(lbl_KurveInfo1);
    parvel::FitLabelToText(lbl_KurveInfo2);
}

void TFrameTorv::DrawCurve() {
    const int page = CurrentPage();
    point_spacing = parvel::PointSpacing(servo_Image1->width(), pages.PointCount(page));
    std::optional<int> line;
    if (ThresholdShown()) line = threshold;
    servo_Image1->SetDrawing(parvel::DrawCurve(pages, page, servo_Image1->width(), curve_height,
                                               cbx_raster_x->currentIndex(),
                                               cbx_raster_y->currentIndex(), line));
}

void TFrameTorv::DrawRelayLane() {
    servo_Image2->SetDrawing(parvel::DrawRelayLane(pages, CurrentPage(), servo_Image1->width(),
                                                   servo_Image2->width(), relay_height,
                                                   cbx_raster_x->currentIndex()));
}

void TFrameTorv::EnableApply() {
    m_document.servo().modified = true;
    servo_btn_uebernehmen->setEnabled(true);
}

bool TFrameTorv::HasPendingChanges() const {
    return m_document.HasPendingChanges(parvel::PendingFrame::Torv);
}

void TFrameTorv::Record(const std::string& what) {
    m_document.Record("Kurve " + std::to_string(CurrentPage() + 1) + ": " + what);
}

int TFrameTorv::CurrentPage() const {
    for (int k = 0; k < 4; ++k) {
        if (servo_rad_a[k]->isChecked()) return k;
    }
    return 0;
}

bool TFrameTorv::ThresholdShown() const {
    return parvel::TorvVariantFor(m_document.type_code()).threshold;
}

void TFrameTorv::ShowButtonCombos() {
    LoadingScope scope(loading);
    for (int b = 0; b < 4; ++b) {
        servo_cbx_s[b]->setCurrentIndex(parvel::ButtonItem(pages, b, servo_cbx_s[b]->count()));
    }
}

void TFrameTorv::UpdateButtonModeVisibility() {
    const bool servo_mode = servo_rad_servo->isChecked();
    for (int b = 0; b < 2; ++b) {
        Label_Servo_sw[b]->setVisible(servo_mode);
        servo_cbx_s[b]->setVisible(servo_mode);
    }
}

void TFrameTorv::CurveChanged(bool show_info, const std::string& what) {
    DrawCurve();
    DrawRelayLane();
    if (show_info) ShowCurveInfo();
    EnableApply();
    Record(what);
}

void TFrameTorv::RejectInput(QLineEdit* field, const std::string& text) {
    m_dialogs.ShowMessage({text, parvel::Icon::Warning, parvel::Buttons::Cancel});
    field->setFocus();
}

// ---------------------------------------------------------------- handlers

void TFrameTorv::servo_rad_axClick() {
    if (loading) return;
    m_document.servo().page = CurrentPage();
    DrawCurve();
    DrawRelayLane();
    ShowCurveInfo();
}

void TFrameTorv::servo_ImagexMouseDown() {
    mouse_down = true;
    m_drawn = false;
}

void TFrameTorv::servo_ImagexMouseUp() {
    mouse_down = false;
    if (!std::exchange(m_drawn, false)) return;
    const std::string page = std::to_string(CurrentPage() + 1);
    m_document.Record(m_drawn_relay ? "Relais von Kurve " + page + " gezeichnet"
                                   : "Kurve " + page + " gezeichnet");
}

void TFrameTorv::servo_Image1MouseMove(int x, int y) {
    if (!mouse_down) return;
    parvel::EditCurveAt(pages, CurrentPage(), x, y, servo_Image1->width(), curve_height);
    DrawCurve();
    EnableApply();
    m_drawn = true;
    m_drawn_relay = false;
}

void TFrameTorv::servo_Image2MouseMove(int x, int y) {
    if (!mouse_down) return;
    parvel::EditRelayAt(pages, CurrentPage(), x, y, servo_Image1->width(), relay_height);
    DrawRelayLane();
    EnableApply();
    m_drawn = true;
    m_drawn_relay = true;
}

void TFrameTorv::edt_AnzahlChange() {
    const auto entry = parvel::ReadPointCountEntry(edt_Anzahl->text().toStdString());
    if (entry.verdict == parvel::ServoFieldVerdict::Empty) return;
    if (entry.verdict == parvel::ServoFieldVerdict::Rejected) {
        RejectInput(edt_Anzahl, parvel::kPointCountInputMessage);
        return;
    }
    const int page = CurrentPage();
    parvel::SetPointCount(pages, page, entry.value);
    point_spacing = parvel::PointSpacing(servo_Image1->width(), pages.PointCount(page));
    if (loading) return;
    CurveChanged(true, "Punkte " + std::to_string(entry.value));
}

void TFrameTorv::edt_stretchChange() {
    if (loading) return;
    const auto entry = parvel::ReadStretchEntry(edt_stretch->text().toStdString());
    if (entry.verdict == parvel::ServoFieldVerdict::Empty) return;
    if (entry.verdict == parvel::ServoFieldVerdict::Rejected) {
        RejectInput(edt_stretch, parvel::kStretchInputMessage);
        return;
    }
    parvel::SetStretch(pages, CurrentPage(), entry.value);
    CurveChanged(true, "Stretch-Faktor " + std::to_string(entry.value));
}

void TFrameTorv::Generate(parvel::CurveShape shape) {
    // A single point has no step to generate with; it keeps the position the user gave it.
    static const char* const kNames[] = {"Lin", "Log", "Sin", "Sin2"};
    if (parvel::GenerateCurve(pages, CurrentPage(), shape)) {
        CurveChanged(false, kNames[static_cast<int>(shape)]);
    }
}

void TFrameTorv::btn_LinClick() { Generate(parvel::CurveShape::Lin); }
void TFrameTorv::btn_LogClick() { Generate(parvel::CurveShape::Log); }
void TFrameTorv::btn_SinClick() { Generate(parvel::CurveShape::QuarterSine); }
void TFrameTorv::btn_sin2Click() { Generate(parvel::CurveShape::HalfSine); }

void TFrameTorv::btn_MirrorVertikalClick() {
    parvel::MirrorVertical(pages, CurrentPage());
    CurveChanged(false, "vertikal gespiegelt");
}

void TFrameTorv::btn_MirrorHorizontalClick() {
    parvel::MirrorHorizontal(pages, CurrentPage());
    CurveChanged(false, "horizontal gespiegelt");
}

void TFrameTorv::CopyFrom(int from_page) {
    const int page = CurrentPage();
    if (from_page == page) return;
    parvel::CopyCurve(pages, from_page, page);
    // The copy carries the page's button byte, flags and address bytes as well: show them, so
    // the lists never show other values than the ones "übernehmen" writes.
    ShowButtonCombos();
    if (m_table) m_table->Refresh();
    CurveChanged(true, "von #" + std::to_string(from_page + 1) + " kopiert");
}

void TFrameTorv::btn_copy1Click() { CopyFrom(0); }
void TFrameTorv::btn_copy2Click() { CopyFrom(1); }
void TFrameTorv::btn_copy3Click() { CopyFrom(2); }
void TFrameTorv::btn_copy4Click() { CopyFrom(3); }

void TFrameTorv::btn_scaleClick() {
    const auto entry =
        parvel::ReadScaleEntry(edt_scale->text().toStdString(), LocaleDecimalSeparator());
    if (entry.verdict == parvel::ServoFieldVerdict::Empty) return;
    if (entry.verdict == parvel::ServoFieldVerdict::Rejected) {
        RejectInput(edt_scale, parvel::kScaleInputMessage);
        return;
    }
    parvel::ScaleCurve(pages, CurrentPage(), entry.value);
    CurveChanged(false, "skaliert " + edt_scale->text().toStdString());
}

void TFrameTorv::btn_shiftClick() {
    const auto entry =
        parvel::ReadShiftEntry(edt_shift->text().toStdString(), LocaleDecimalSeparator());
    if (entry.verdict == parvel::ServoFieldVerdict::Empty) return;
    if (entry.verdict == parvel::ServoFieldVerdict::Rejected) {
        RejectInput(edt_shift, parvel::kShiftInputMessage);
        return;
    }
    parvel::ShiftCurve(pages, CurrentPage(), entry.value);
    CurveChanged(false, "verschoben " + edt_shift->text().toStdString());
}

void TFrameTorv::cbx_raster_xChange() {
    if (loading) return;
    *m_raster_x = cbx_raster_x->currentIndex();
    *m_raster_y = cbx_raster_y->currentIndex();
    DrawCurve();
    DrawRelayLane();
}

void TFrameTorv::servo_cbx_sxxChange(int button) {
    if (loading) return;
    parvel::SetButtonItem(pages, button, servo_cbx_s[button]->currentIndex());
    EnableApply();
    m_document.Record(Label_Servo_sw[button]->text().toStdString() + " " +
                         servo_cbx_s[button]->currentText().toStdString(),
                     "servo-button-" + std::to_string(button));
}

void TFrameTorv::servo_rad_Click() {
    if (loading) return;
    parvel::WriteButtonMode(m_document.image(), servo_rad_lernen->isChecked());
    UpdateButtonModeVisibility();
    EnableApply();
    m_document.Record(servo_rad_lernen->isChecked() ? "Tasten-Modus: Lernen" : "Tasten-Modus: Servo");
}

void TFrameTorv::edt_torvik_schwelleChange() {
    if (loading) return;
    const auto entry = parvel::ReadThresholdEntry(edt_torvik_schwelle->text().toStdString());
    if (entry.verdict == parvel::ServoFieldVerdict::Empty) return;
    if (entry.verdict == parvel::ServoFieldVerdict::Rejected) {
        RejectInput(edt_torvik_schwelle, parvel::ThresholdInputMessage());
        return;
    }
    threshold = parvel::WriteThreshold(m_document.image(), entry.value);
    edt_torvik_schwelle->setText(QString::number(threshold));
    DrawCurve();
    m_document.Record("Schwelle " + std::to_string(threshold));
}

void TFrameTorv::servo_btn_uebernehmenClick() {
    m_document.TakeOverChanges(parvel::PendingFrame::Torv);
    ReloadFromImage();
}

void TFrameTorv::servo_btn_verwerfenClick() {
    m_document.DiscardChanges(parvel::PendingFrame::Torv);
    ReloadFromImage();
}

void TFrameTorv::servo_save_1Click() {
    parvel::SaveCurveWithDialog(m_dialogs, pages, CurrentPage());
}

void TFrameTorv::servo_load_1Click() {
    const parvel::ServoFileLoad load = parvel::LoadCurveWithDialog(m_dialogs, pages, CurrentPage());
    // Also after a load stopped at a bad line: the points taken so far are in the working
    // copy, so they are shown and "übernehmen" / "verwerfen" decide about them.
    if (load.changed) CurveChanged(true, "Kurve geladen");
}

void TFrameTorv::servo_save_allClick() { parvel::SaveSetWithDialog(m_dialogs, pages); }

void TFrameTorv::servo_load_allClick() {
    const parvel::ServoFileLoad load = parvel::LoadSetWithDialog(m_dialogs, pages);
    if (!load.changed) return;
    ShowButtonCombos();  // the set carries the button bytes too
    DrawCurve();
    DrawRelayLane();
    ShowCurveInfo();
    if (m_table) {
        LoadingScope table_scope(m_table->loading);
        m_table->Refresh();
    }
    EnableApply();
    m_document.Record("Setup geladen");
}

