#include "frames/FrameZusatz.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSlider>
#include <algorithm>

#include "document/DecoderDocument.h"
#include "image/Dialogs.h"
#include "settings/ZusatzLayout.h"

namespace {

using parvel::ExtraControl;

constexpr int kFrameHeight = 485;
constexpr int kRowHeight = 20;
constexpr int kRowCaptionWidth = 100;
constexpr int kSecondsWidth = 100;
constexpr int kBoxLeft = 16;         // cbx_zusatz_x, below their heading
constexpr int kLabelLeft = 10;       // headings, notes, cbx_weiche_ab
constexpr int kGroupInnerLeft = 10;  // controls inside group_mode
constexpr int kGroupMinWidth = 300;  // room for the neon bars (left 120, width 180)

QString Q(const std::string& s) { return QString::fromStdString(s); }

QFont Bold(QFont font) {
    font.setBold(true);
    return font;
}

// Labels and boxes take the width their text needs, so no caption is cut.
void FitWidth(QWidget* w, int height = -1) {
    w->resize(w->sizeHint().width(), height < 0 ? w->sizeHint().height() : height);
}

QSlider* MakeBar(QWidget* parent, const char* name, int position) {
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(parvel::kNeonMinimum, parvel::kNeonMaximum);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setTickInterval(parvel::kNeonTick);
    bar->setPageStep(parvel::kNeonTick);
    bar->setToolTip(parvel::zusatz_text::kBarHint);
    bar->setValue(position);
    bar->hide();
    return bar;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

TFrameZusatz::TFrameZusatz(parvel::DecoderDocument& document, parvel::Dialogs& dialogs,
                           QWidget* parent)
    : QFrame(parent), m_document(document), m_dialogs(dialogs) {
    setObjectName("TFrameZusatz");
    BuildControls();
    resize(group_mode->x() + group_mode->width() + 10, kFrameHeight);
}

void TFrameZusatz::BuildControls() {
    namespace text = parvel::zusatz_text;

    pnl_Zusatz = new QFrame(this);
    pnl_Zusatz->setObjectName("pnl_Zusatz");
    pnl_Zusatz->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnl_Zusatz->setAutoFillBackground(true);

    for (int i = 0; i < parvel::kSettingRows; ++i) {
        SettingRow& row = rows[i];
        const int top = -10 + parvel::kRowPitch * (i + 1);
        row.edit = new QLineEdit(pnl_Zusatz);
        row.edit->setObjectName(QString("edt_row_value%1").arg(i));
        row.edit->setGeometry(166, top, parvel::kRowEditWidth, kRowHeight);
        row.caption = MakeLabel(pnl_Zusatz, QString("lbl_row_caption%1").arg(i));
        row.caption->setGeometry(16, top + 4, kRowCaptionWidth, kRowHeight);
        row.seconds = MakeLabel(pnl_Zusatz, QString("lbl_row_seconds%1").arg(i));
        row.seconds->setGeometry(211, top + 4, kSecondsWidth, kRowHeight);
        for (QWidget* w : std::initializer_list<QWidget*>{row.caption, row.edit, row.seconds}) {
            w->hide();
        }
        QLineEdit* edit = row.edit;
        // Stored when the edit is finished, so typing "128" never stores 1 and 12 on the way.
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { RowValueChange(edit); });
    }

    lbl_zusatz = MakeLabel(pnl_Zusatz, "lbl_zusatz");
    lbl_zusatz->setFont(Bold(lbl_zusatz->font()));
    lbl_zusatz3 = MakeLabel(pnl_Zusatz, "lbl_zusatz3");
    lbl_zusatz3->setFont(Bold(lbl_zusatz3->font()));
    lbl_zusatz3->hide();
    lbl_text_1 = MakeLabel(pnl_Zusatz, "lbl_text_1");
    lbl_text_1->hide();

    for (int i = 0; i < static_cast<int>(cbx_zusatz.size()); ++i) {
        auto* box = new QCheckBox(pnl_Zusatz);
        box->setObjectName(QString("cbx_zusatz_%1").arg(i + 1));
        box->hide();
        connect(box, &QCheckBox::clicked, this, [this] { cbx_zusatz_x_Click(); });
        cbx_zusatz[i] = box;
    }

    cbx_weiche_ab = new QCheckBox(text::kWeicheAbCaption, pnl_Zusatz);
    cbx_weiche_ab->setObjectName("cbx_weiche_ab");
    cbx_weiche_ab->setToolTip(text::kWeicheAbHint);
    cbx_weiche_ab->move(kLabelLeft, parvel::kWeicheAbTop);
    FitWidth(cbx_weiche_ab);
    cbx_weiche_ab->hide();
    connect(cbx_weiche_ab, &QCheckBox::clicked, this, [this] { cbx_weiche_abClick(); });

    TrackBar_01 = MakeBar(pnl_Zusatz, "TrackBar_01", 0);
    lbl_trackbar_01 = MakeLabel(pnl_Zusatz, "lbl_trackbar_01");
    lbl_trackbar_01_l = MakeLabel(pnl_Zusatz, "lbl_trackbar_01_l");
    lbl_trackbar_01_r = MakeLabel(pnl_Zusatz, "lbl_trackbar_01_r");
    for (QWidget* w : {lbl_trackbar_01, lbl_trackbar_01_l, lbl_trackbar_01_r}) w->hide();
    connect(TrackBar_01, &QSlider::valueChanged, this, [this] { TrackBar_01Change(); });

    TrackBar_neon_1 = MakeBar(pnl_Zusatz, "TrackBar_neon_1", 10);
    TrackBar_neon_2 = MakeBar(pnl_Zusatz, "TrackBar_neon_2", 5);
    lbl_fNeon_01 = MakeLabel(pnl_Zusatz, "lbl_fNeon_01", text::kNeonDark);
    lbl_fNeon_02 = MakeLabel(pnl_Zusatz, "lbl_fNeon_02", text::kNeonBright);
    lbl_fNeon_03 = MakeLabel(pnl_Zusatz, "lbl_fNeon_03", text::kNeonNote);
    for (QWidget* w : {lbl_fNeon_01, lbl_fNeon_02, lbl_fNeon_03}) {
        FitWidth(w);
        w->hide();
    }
    connect(TrackBar_neon_1, &QSlider::valueChanged, this, [this] { TrackBar_neon_1Change(); });
    connect(TrackBar_neon_2, &QSlider::valueChanged, this, [this] { TrackBar_neon_2Change(); });

    group_mode = new QGroupBox(text::kGroupMode, pnl_Zusatz);
    group_mode->setObjectName("group_mode");
    lbl_mode = MakeLabel(group_mode, "lbl_mode", text::kModeNote);
    for (int i = 0; i < static_cast<int>(rad_mode.size()); ++i) {
        auto* radio = new QRadioButton(QString("Mode %1").arg(i + 1), group_mode);
        radio->setObjectName(QString("rad_mode%1").arg(i + 1));
        connect(radio, &QRadioButton::clicked, this, [this, radio] { rad_modexClick(radio); });
        rad_mode[i] = radio;
    }
    cbx_mode_bit7 = new QCheckBox(text::kLockCaption, group_mode);
    cbx_mode_bit7->setObjectName("cbx_mode_bit7");
    cbx_mode_bit7->setToolTip(text::kLockHint);
    cbx_mode_bit6 = new QCheckBox(text::kStartDarkCaption, group_mode);
    cbx_mode_bit6->setObjectName("cbx_mode_bit6");
    cbx_mode_bit6->setToolTip(text::kStartDarkHint);
    for (QCheckBox* box : {cbx_mode_bit6, cbx_mode_bit7}) {
        connect(box, &QCheckBox::clicked, this, [this, box] { rad_modexClick(box); });
    }

    // The group is as wide as its widest content: the note, the option boxes and every radio
    // caption the type table has. The frame's width follows the group's right edge.
    int widest = std::max({lbl_mode->sizeHint().width(), cbx_mode_bit6->sizeHint().width(),
                           cbx_mode_bit7->sizeHint().width()});
    QRadioButton probe;
    probe.setFont(rad_mode[0]->font());
    for (const parvel::ZusatzType& type : parvel::ZusatzTypeTable()) {
        for (const std::string& caption : parvel::ModeCaptions(type.modes)) {
            probe.setText(Q(caption));
            widest = std::max(widest, probe.sizeHint().width());
        }
    }
    // The neon bars, right of their labels, must fit too: the frame ends 10 right of the group.
    const int neon_right = NeonBarsLeft() + parvel::NeonBar(0).width + 10;
    const int group_width =
        std::max({kGroupMinWidth, widest + 2 * kGroupInnerLeft, neon_right - 10 - 10});
    group_mode->setGeometry(10, 100, group_width, 200);
    group_mode->hide();
}

void TFrameZusatz::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    pnl_Zusatz->setGeometry(rect());
}

parvel::ZusatzSettings TFrameZusatz::Settings() {
    return parvel::ZusatzSettings(m_document.image(), m_document.type_code(), m_document.version());
}

void TFrameZusatz::ClearView() {
    // The panel fills the frame; a hidden frame gets its resize event only when shown.
    pnl_Zusatz->setGeometry(rect());

    for (SettingRow& row : rows) {
        row.caption->setText({});
        row.edit->setToolTip({});
        row.caption->hide();
        row.edit->hide();
        row.seconds->hide();
    }
    row_count = 0;

    cbx_weiche_ab->hide();
    cbx_weiche_ab->move(kLabelLeft, parvel::kWeicheAbTop);
    lbl_text_1->hide();
    for (QCheckBox* box : cbx_zusatz) box->hide();
    for (QWidget* w : TrackBarControls()) w->hide();

    group_mode->hide();
    group_mode->move(10, 100);
    for (int i = 0; i < static_cast<int>(rad_mode.size()); ++i) {
        rad_mode[i]->setText(QString("Mode %1").arg(i + 1));
        rad_mode[i]->setVisible(i < 2);
    }
    // No mode of the previous firmware stays checked: a mode cell without a mode bit then
    // shows no mode instead of one that belongs to another file.
    for (QRadioButton* radio : rad_mode) radio->setAutoExclusive(false);
    for (QRadioButton* radio : rad_mode) radio->setChecked(false);
    for (QRadioButton* radio : rad_mode) radio->setAutoExclusive(true);
    lbl_mode->show();
    cbx_mode_bit6->hide();
    cbx_mode_bit7->hide();

    TrackBar_neon_1->hide();
    TrackBar_neon_2->hide();
    for (QWidget* w : {lbl_fNeon_01, lbl_fNeon_02, lbl_fNeon_03}) w->hide();
    TrackBar_neon_1->move(TrackBar_neon_1->x(), 40);
    TrackBar_neon_2->move(TrackBar_neon_2->x(), 60);
    lbl_fNeon_01->move(lbl_fNeon_01->x(), TrackBar_neon_1->y() + 4);
    lbl_fNeon_02->move(lbl_fNeon_02->x(), TrackBar_neon_2->y() + 4);
    lbl_fNeon_03->move(lbl_fNeon_03->x(), TrackBar_neon_2->y() + 44);

    lbl_zusatz->setText({});
    lbl_zusatz->move(kLabelLeft, 16);
    lbl_zusatz3->setText({});
    lbl_zusatz3->move(kLabelLeft, 18);
    lbl_zusatz3->hide();
}

void TFrameZusatz::LoadFromImage() {
    loading = true;
    row_count = 0;
    pnl_Zusatz->setGeometry(rect());

    parvel::ZusatzSettings settings = Settings();
    // The one write filling makes: a fading cell holding none of the six speeds becomes the
    // slowest, which is what the bar then shows.
    settings.NormaliseOnLoad();
    const parvel::ZusatzView& view = settings.view();

    // The radio buttons and option boxes follow the mode cell for every firmware, also where
    // the group stays hidden.
    if (const std::optional<int> mode = settings.CheckedMode()) rad_mode[*mode]->setChecked(true);
    cbx_mode_bit6->setChecked(settings.Bit6Checked());
    cbx_mode_bit7->setChecked(settings.Bit7Checked());

    FillRows(settings);
    FillModeGroup(settings);
    if (view.extra == ExtraControl::WeicheAb) {
        cbx_weiche_ab->setChecked(settings.WeicheAbChecked());
        cbx_weiche_ab->show();
    }
    FillBoxGroup(settings);
    FillTrackBar(settings);
    FillNeonBars(settings);

    LayOutRows(view.rows_top);
    if (!group_mode->isHidden()) LayOutModeGroup();
    loading = false;
}

QString TFrameZusatz::SecondsText(const parvel::ZusatzSettings& settings, int row) const {
    return Q(settings.RowSecondsText(row, QLocale().decimalPoint().toStdString()));
}

void TFrameZusatz::FillRows(const parvel::ZusatzSettings& settings) {
    const std::vector<parvel::SettingRowDef>& defs = settings.view().rows;
    row_count = std::min(static_cast<int>(defs.size()), parvel::kSettingRows);
    for (int i = 0; i < parvel::kSettingRows; ++i) {
        SettingRow& row = rows[i];
        if (i >= row_count) {
            // Rows the firmware does not use stay empty, whatever was shown before.
            row.caption->setText({});
            row.edit->setToolTip({});
            row.seconds->hide();
            continue;
        }
        const parvel::SettingRowDef& def = defs[i];
        row.caption->setText(Q(def.caption));
        row.edit->setToolTip(Q(def.hint));
        row.cell = def.cell;
        row.minimum = def.minimum;
        row.maximum = def.maximum;
        row.factor = def.factor;
        row.edit->setText(QString::number(settings.RowValue(i)));
        row.edit->setModified(false);
        if (row.factor != 0.0f) {
            row.seconds->setText(SecondsText(settings, i));
            row.seconds->show();
        } else {
            row.seconds->hide();
        }
    }
}

void TFrameZusatz::LayOutRows(int start) {
    std::vector<SettingRow*> shown;
    for (SettingRow& row : rows) {
        const bool used = !row.caption->text().isEmpty();
        row.caption->setVisible(used);
        row.edit->setVisible(used);
        if (!used) {
            row.seconds->hide();
            continue;
        }
        shown.push_back(&row);
    }
    const std::vector<parvel::RowPlacement> tops =
        parvel::PlaceRows(start, static_cast<int>(shown.size()));
    int widest = 0;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        SettingRow& row = *shown[i];
        FitWidth(row.caption, kRowHeight);
        FitWidth(row.seconds, kRowHeight);
        row.edit->move(row.edit->x(), tops[i].edit_top);
        row.caption->move(row.caption->x(), tops[i].caption_top);
        row.seconds->move(row.seconds->x(), tops[i].seconds_top);
        widest = std::max(widest, row.caption->width());
    }
    const parvel::RowLefts lefts = parvel::PlaceRowColumns(widest);
    for (SettingRow& row : rows) {
        row.caption->move(lefts.caption, row.caption->y());
        row.edit->move(lefts.edit, row.edit->y());
        row.seconds->move(lefts.seconds, row.seconds->y());
    }
}

void TFrameZusatz::FillModeGroup(const parvel::ZusatzSettings& settings) {
    const parvel::ZusatzView& view = settings.view();
    group_mode->setVisible(view.group_visible);
    if (!view.group_visible) return;
    lbl_mode->setVisible(view.mode_note_visible);
    for (int i = 0; i < static_cast<int>(rad_mode.size()); ++i) {
        const bool shown = i < static_cast<int>(view.radio_captions.size());
        if (shown) rad_mode[i]->setText(Q(view.radio_captions[i]));
        rad_mode[i]->setVisible(shown);
    }
    cbx_mode_bit6->setVisible(view.bit6_visible);
    cbx_mode_bit7->setVisible(view.bit7_visible);
}

void TFrameZusatz::LayOutModeGroup() {
    parvel::ModeGroupHeights heights;
    heights.note_visible = !lbl_mode->isHidden();
    FitWidth(lbl_mode);
    heights.note = lbl_mode->height();
    heights.bit7_visible = !cbx_mode_bit7->isHidden();
    FitWidth(cbx_mode_bit7);
    heights.bit7 = cbx_mode_bit7->height();
    std::vector<QRadioButton*> radios;
    for (QRadioButton* radio : rad_mode) {
        if (radio->isHidden()) continue;
        FitWidth(radio);
        radios.push_back(radio);
        heights.radios.push_back(radio->height());
    }
    heights.bit6_visible = !cbx_mode_bit6->isHidden();
    FitWidth(cbx_mode_bit6);
    heights.bit6 = cbx_mode_bit6->height();

    const parvel::ModeGroupPlacement place = parvel::PlaceModeGroup(heights, pnl_Zusatz->height());
    if (heights.note_visible) lbl_mode->move(kGroupInnerLeft, place.note_top);
    if (heights.bit7_visible) cbx_mode_bit7->move(kGroupInnerLeft, place.bit7_top);
    for (std::size_t i = 0; i < radios.size(); ++i) {
        radios[i]->move(kGroupInnerLeft, place.radio_tops[i]);
    }
    if (heights.bit6_visible) cbx_mode_bit6->move(kGroupInnerLeft, place.bit6_top);
    group_mode->setGeometry(group_mode->x(), place.top, group_mode->width(), place.height);
}

void TFrameZusatz::FillBoxGroup(const parvel::ZusatzSettings& settings) {
    const parvel::BoxGroupDef* group = settings.box_group();
    if (!group) return;
    QLabel* heading =
        group->heading_label == parvel::HeadingLabel::Zusatz ? lbl_zusatz : lbl_zusatz3;
    heading->setText(Q(group->heading));
    heading->move(kLabelLeft, group->heading_top);
    FitWidth(heading);
    heading->show();

    std::array<bool, 8> used{};
    for (std::size_t i = 0; i < group->boxes.size(); ++i) {
        const parvel::BitBoxDef& def = group->boxes[i];
        QCheckBox* box = cbx_zusatz[def.box - 1];
        used[def.box - 1] = true;
        box->setText(Q(def.caption));
        box->setToolTip(Q(def.hint));
        box->setChecked(settings.BoxChecked(i));
        box->move(kBoxLeft, def.top);
        FitWidth(box);
        box->show();
    }
    for (std::size_t i = 0; i < cbx_zusatz.size(); ++i) {
        if (used[i]) continue;
        cbx_zusatz[i]->setText(" ");
        cbx_zusatz[i]->setToolTip(" ");
        cbx_zusatz[i]->hide();
    }

    if (group->note.empty()) return;
    lbl_text_1->setText(Q(group->note));
    lbl_text_1->move(kLabelLeft, group->note_top);
    FitWidth(lbl_text_1);
    lbl_text_1->setVisible(settings.NoteVisible());
}

void TFrameZusatz::FillTrackBar(const parvel::ZusatzSettings& settings) {
    const parvel::TrackBarDef* def = settings.track_bar();
    if (!def) return;
    const bool fading = settings.view().extra == ExtraControl::FadingBar;
    // The running-speed bar is set up only the first time after ClearView, so it keeps the
    // position the user drags it to; the fading bar follows its cell on every refresh.
    const bool first = TrackBar_01->isHidden();
    if (fading || first) {
        TrackBar_01->setRange(def->minimum, def->maximum);
        TrackBar_01->setTickInterval(def->tick);
        TrackBar_01->setPageStep(def->tick);
        TrackBar_01->setToolTip(Q(def->hint));
        lbl_trackbar_01_l->setText(Q(def->left_caption));
        lbl_trackbar_01_r->setText(Q(def->right_caption));
        TrackBar_01->setValue(fading ? settings.FadingPosition() : settings.RunningSpeed());
    }
    lbl_trackbar_01->setText(Q(fading ? def->caption : settings.RunningCaption()));

    lbl_trackbar_01->move(def->caption_left, def->caption_top);
    FitWidth(lbl_trackbar_01);
    FitWidth(lbl_trackbar_01_l);
    FitWidth(lbl_trackbar_01_r);
    const int end_top = def->bar_top + 3;
    lbl_trackbar_01_l->move(def->side_gap, end_top);
    lbl_trackbar_01_r->move(pnl_Zusatz->width() - def->side_gap - lbl_trackbar_01_r->width(),
                            end_top);
    const int bar_left = lbl_trackbar_01_l->x() + lbl_trackbar_01_l->width() + def->bar_gap;
    const int bar_right = lbl_trackbar_01_r->x() - def->bar_gap;
    TrackBar_01->setGeometry(bar_left, def->bar_top, bar_right - bar_left,
                             TrackBar_01->sizeHint().height());
    for (QWidget* w : TrackBarControls()) w->show();
}

std::array<QWidget*, 4> TFrameZusatz::TrackBarControls() const {
    return {TrackBar_01, lbl_trackbar_01, lbl_trackbar_01_l, lbl_trackbar_01_r};
}

int TFrameZusatz::NeonBarsLeft() const {
    // At their designed left unless a label needs more room: a bar never covers its label.
    int left = 0;
    QLabel* labels[2] = {lbl_fNeon_01, lbl_fNeon_02};
    for (int i = 0; i < 2; ++i) {
        left = std::max({left, parvel::NeonBar(i).left,
                         parvel::NeonBar(i).label_left + labels[i]->sizeHint().width() + 10});
    }
    return left;
}

void TFrameZusatz::FillNeonBars(const parvel::ZusatzSettings& settings) {
    if (settings.view().extra != ExtraControl::NeonBars) return;
    // Set up the first time after ClearView only: a moved bar keeps its position.
    if (!TrackBar_neon_1->isHidden()) return;
    QSlider* bars[2] = {TrackBar_neon_1, TrackBar_neon_2};
    QLabel* labels[2] = {lbl_fNeon_01, lbl_fNeon_02};
    for (int i = 0; i < 2; ++i) {
        const parvel::NeonBarDef& def = parvel::NeonBar(i);
        bars[i]->setRange(parvel::kNeonMinimum, parvel::kNeonMaximum);
        bars[i]->setTickInterval(parvel::kNeonTick);
        bars[i]->setToolTip(parvel::zusatz_text::kBarHint);
        bars[i]->setGeometry(NeonBarsLeft(), def.top, def.width, bars[i]->sizeHint().height());
        bars[i]->setValue(settings.NeonLevel(i));
        labels[i]->move(def.label_left, def.top + 3);
        FitWidth(labels[i]);
        bars[i]->show();
        labels[i]->show();
    }
    lbl_fNeon_03->move(parvel::kNeonNoteLeft, parvel::kNeonNoteTop);
    lbl_fNeon_03->show();
}

void TFrameZusatz::Record(const std::string& what) { m_document.Record("Zusatz: " + what); }

void TFrameZusatz::rad_modexClick(QObject* sender) {
    if (loading) return;
    parvel::ZusatzSettings settings = Settings();
    const auto radio = std::find(rad_mode.begin(), rad_mode.end(), sender);
    if (radio != rad_mode.end()) {
        settings.ClickModeRadio(static_cast<int>(radio - rad_mode.begin()),
                                cbx_mode_bit6->isChecked(), cbx_mode_bit7->isChecked());
    } else {
        settings.ClickModeBox(cbx_mode_bit6->isChecked(), cbx_mode_bit7->isChecked());
    }
    LoadFromImage();
    const auto* button = qobject_cast<const QAbstractButton*>(sender);
    Record("Modus" + (button ? " " + button->text().remove('&').toStdString() : std::string()));
}

void TFrameZusatz::cbx_zusatz_x_Click() {
    if (loading) return;
    parvel::ZusatzSettings settings = Settings();
    const parvel::BoxGroupDef* group = settings.box_group();
    if (!group) return;
    std::vector<bool> checked;
    for (const parvel::BitBoxDef& def : group->boxes) {
        checked.push_back(cbx_zusatz[def.box - 1]->isChecked());
    }
    settings.ClickBoxes(checked);
    LoadFromImage();
    Record("Optionen");
}

void TFrameZusatz::cbx_weiche_abClick() {
    if (loading) return;
    Settings().ClickWeicheAb(cbx_weiche_ab->isChecked());
    LoadFromImage();
    Record(cbx_weiche_ab->text().remove('&').toStdString());
}

void TFrameZusatz::TrackBar_01Change() {
    if (loading) return;
    if (!Settings().MoveTrackBar(TrackBar_01->value())) return;
    TrackBar_01->setFocus();
    LoadFromImage();
    // One drag or run of keys on the slider is one step.
    m_document.Record("Zusatz: Regler " + std::to_string(TrackBar_01->value()), "zusatz-slider");
}

void TFrameZusatz::NeonBarChange(int bar) {
    if (loading) return;
    QSlider* slider = bar == 0 ? TrackBar_neon_1 : TrackBar_neon_2;
    if (!Settings().MoveNeonBar(bar, slider->value())) return;
    slider->setFocus();
    LoadFromImage();
    m_document.Record("Zusatz: Neon " + std::string(bar == 0 ? "dunkel " : "hell ") +
                         std::to_string(slider->value()),
                     "zusatz-neon" + std::to_string(bar));
}

void TFrameZusatz::TrackBar_neon_1Change() { NeonBarChange(0); }

void TFrameZusatz::TrackBar_neon_2Change() { NeonBarChange(1); }

void TFrameZusatz::RowValueChange(QLineEdit* sender) {
    // A hidden frame belongs to no image any more: loading the next file hides it (moving the
    // focus out of an unfinished edit) after the image was reset for that file.
    if (loading || isHidden()) return;
    int index = -1;
    for (int i = 0; i < row_count; ++i) {
        if (rows[i].edit == sender) index = i;
    }
    if (index < 0) return;
    // Only text the user typed since the last check: leaving the field unchanged, or the focus
    // moving to a message box, must not check (and report) the same text twice.
    if (!sender->isModified()) return;
    sender->setModified(false);

    const parvel::NumberInput input = Settings().EditRow(index, sender->text().toStdString());
    if (input.message) m_dialogs.ShowMessage(*input.message);
    if (input.refocus) sender->setFocus();
    if (input.accepted()) {
        LoadFromImage();
        Record(rows[index].caption->text().toStdString() + " " + sender->text().toStdString());
    }
}
