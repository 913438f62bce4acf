#include "frames/FrameTorvAdr.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "document/DecoderDocument.h"
#include "frames/LoadingScope.h"
#include "frames/LocaleNumbers.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

struct ListKind {
    parvel::AddressField field;
    const char* name;
    std::array<const char*, 4> items;
    const char* hint;
    int left;
    int width;
};

const ListKind kLists[] = {
    {parvel::AddressField::Servo,
     "servo",
     {"Servo 1", "Servo 2", "Servo 3", "Servo 4"},
     "Auswahl des Servo",
     86,
     72},
    {parvel::AddressField::Action,
     "action",
     {"Start", "Start Loop", "Abbruch", "Beenden"},
     "Start: Kurve einmalig starten\r\nStart Loop: Kurve immer wieder starten\r\nAbbruch: Kurve "
     "sofort abbrechen\r\nBeenden: Kurve nach Beendigung abbrechen (Loop Ende)",
     160,
     84},
    {parvel::AddressField::Curve,
     "curve",
     {"Kurve 1", "Kurve 2", "Kurve 3", "Kurve 4"},
     "Auswahl der Kurve",
     246,
     70},
    {parvel::AddressField::Relay,
     "relais",
     {"Relais 1", "Relais 2", "Relais 3", "Relais 4"},
     "Auswahl des Relais",
     318,
     74},
};

const char* const kOffsetHint =
    "Diese Zeit definiert die untere Grenze, mit der der Servo\r\nangesteuert wird.\r\nDieser "
    "Parameter kann später über eine Lern-Funktion \r\nan den Servo und die Konstruktion "
    "angepasst werden.\r\nEine Änderung der Min-Zeit verschieb auch die Max-Zeit\r\n(wirkt wie "
    "ein Offset)";
const char* const kMaxHint =
    "Mit dieser Impuls-Zeit wird der Servo Maximal angesteuert. \r\nDieser Parameter kann später "
    "über eine Lern-Funktion \r\nan den Servo und die Konstruktion angepasst werden.\r\nEine "
    "Änderung der Min-Zeit verschieb auch die Max-Zeit\r\n(wirkt wie ein Offset)";

// The four step buttons of a pulse value, left to right.
struct StepKind {
    const char* name;  // "dec10" .. "inc10"
    const char* caption;
    const char* hint;
    int step;
};
const StepKind kSteps[4] = {{"dec10", "<<", "- 80 us", -10},
                            {"dec1", "<", "- 8 us", -1},
                            {"inc1", ">", "+ 8 us", 1},
                            {"inc10", ">>", "+ 80 us", 10}};

}  // namespace

TFrameTorvAdr::TFrameTorvAdr(parvel::DecoderDocument& document, parvel::Dialogs& /*dialogs*/,
                             QWidget* parent)
    : QFrame(parent), pulses(document.servo().pulses), m_document(document) {
    setObjectName("TFrameTorvAdr");
    // The table lies over the parameter grid.
    setAutoFillBackground(true);
    BuildControls();
    resize(398, 530);
}

void TFrameTorvAdr::BuildControls() {
    for (int r = 0; r < parvel::kAddressRows; ++r) {
        // Rows 24 pixels apart, a little more room between the first and the second four.
        const int top = 6 + 24 * r + (r >= 4 ? 8 : 0);
        Row& row = rows[r];
        row.label = new QLabel(QString("Adresse %1:").arg(r + 1, 2, 10, QChar('0')), this);
        row.label->setObjectName(QString("lbl_servo_adresse%1").arg(r + 1, 2, 10, QChar('0')));
        row.label->setGeometry(6, top + 3, 78, 16);
        for (const ListKind& kind : kLists) {
            auto* list = new QComboBox(this);
            list->setObjectName(QString("cbx_a%1_%2").arg(r + 1).arg(kind.name));
            for (const char* item : kind.items) list->addItem(item);
            list->setToolTip(kind.hint);
            list->setGeometry(kind.left, top, kind.width, 22);
            const parvel::AddressField field = kind.field;
            connect(list, &QComboBox::currentIndexChanged, this,
                    [this, r, field] { cbx_ax_Change(r, field); });
            switch (field) {
                case parvel::AddressField::Servo:
                    row.servo = list;
                    break;
                case parvel::AddressField::Action:
                    row.action = list;
                    break;
                case parvel::AddressField::Curve:
                    row.curve = list;
                    break;
                case parvel::AddressField::Relay:
                    row.relais = list;
                    break;
            }
        }
    }

    for (int s = 0; s < 4; ++s) {
        const int n = s + 1;
        ServoGroup& g = groups[s];
        g.box = new QGroupBox(QString("Servo %1").arg(n), this);
        g.box->setObjectName(QString("GroupBox_Servo%1").arg(n));
        g.box->setGeometry(3, 210 + 80 * s, 392, 78);

        const struct {
            QCheckBox** box;
            const char* name;
            const char* caption;
            QString hint;
            parvel::ServoFlag flag;
        } flags[] = {
            {&g.v_off, "cbx_v_off", "Spannung aus",
             "Versorgungs-Spannung des Servos nach Ablauf abschalten",
             parvel::ServoFlag::VoltageOff},
            {&g.imp_off, "cbx_imp_off", "Impulse aus",
             "Ansteuer-Impulse des Servos nach Ablauf abschalten", parvel::ServoFlag::PulsesOff},
            {&g.no_ir, "cbx_no_ir", "keine Unterbrechung",
             QString("eine aktive Kurve für Servo%1 kann nicht durch eine andere Kurve "
                     "unterbrochen werden")
                 .arg(n == 1 ? QString(" 1") : QString::number(n)),
             parvel::ServoFlag::NoInterrupt},
            {&g.no_rep, "cbx_no_rep", "keine Wiederholung",
             "es kann nicht 2x hintereinander die selbe Kurve gefahren werden",
             parvel::ServoFlag::NoRepeat},
        };
        int top = 14;
        for (const auto& f : flags) {
            auto* box = new QCheckBox(f.caption, g.box);
            box->setObjectName(QString("%1_%2").arg(f.name).arg(n));
            box->setToolTip(f.hint);
            box->setGeometry(6, top, 138, 15);
            top += 15;
            *f.box = box;
            const parvel::ServoFlag flag = f.flag;
            connect(box, &QCheckBox::clicked, this, [this, flag, box] {
                cbx_flag_xClick(flag);
                RecordFlag(box);
            });
        }

        for (int line = 0; line < 2; ++line) {
            const bool offset = line == 0;
            const int top_line = offset ? 18 : 46;
            auto* field = new QLineEdit(g.box);
            field->setObjectName(
                QString(offset ? "servo_edt_Offset_%1" : "servo_edt_max_%1").arg(n));
            field->setReadOnly(true);
            field->setAlignment(Qt::AlignRight);
            field->setToolTip(offset ? kOffsetHint : kMaxHint);
            field->setGeometry(188, top_line, 40, 20);
            connect(field, &QLineEdit::textChanged, this, &TFrameTorvAdr::servo_edt_x_xChange);
            (offset ? g.edt_offset : g.edt_max) = field;

            auto& buttons = offset ? g.offset_buttons : g.faktor_buttons;
            const int lefts[4] = {146, 167, 230, 251};
            for (int b = 0; b < 4; ++b) {
                auto* button = new QPushButton(kSteps[b].caption, g.box);
                button->setObjectName(QString("btn_%1%2_%3")
                                          .arg(kSteps[b].name)
                                          .arg(offset ? "offset" : "faktor")
                                          .arg(n));
                button->setToolTip(kSteps[b].hint);
                button->setGeometry(lefts[b], top_line, 20, 20);
                buttons[b] = button;
                const int step = kSteps[b].step;
                if (offset) {
                    connect(button, &QPushButton::clicked, this,
                            [this, s, step] { btn_offset_Click(s, step); });
                } else {
                    connect(button, &QPushButton::clicked, this,
                            [this, s, step] { btn_faktor_Click(s, step); });
                }
            }
            auto* unit =
                new QLabel(offset ? "ms Impuls-Zeit (Min)" : "ms Impuls-Zeit (Max)", g.box);
            unit->setObjectName(QString(offset ? "lbl_min_%1" : "lbl_max_%1").arg(n));
            unit->setGeometry(274, top_line + 3, 116, 15);
        }
    }
}

parvel::ServoPages& TFrameTorvAdr::Pages() { return m_document.servo().pages; }

void TFrameTorvAdr::Record(const std::string& name) { m_document.Record(name); }

void TFrameTorvAdr::RecordPulse(int servo, bool longest, int min_before, int span_before) {
    const char separator = LocaleDecimalSeparator();
    auto shown = [&](int pulse_min, int pulse_span) {
        return longest ? parvel::FormatPulseMs(parvel::LongestPulseMs(pulse_min, pulse_span), separator)
                       : parvel::FormatPulseMs(parvel::ShortestPulseMs(pulse_min), separator);
    };
    Record("Servo " + std::to_string(servo + 1) + ": Impuls-Zeit " + (longest ? "(Max) " : "(Min) ") +
           shown(min_before, span_before) + " → " +
           shown(pulses.pulse_min[servo], pulses.pulse_span[servo]));
}

QComboBox* TFrameTorvAdr::List(int row, parvel::AddressField field) const {
    const Row& r = rows[row];
    switch (field) {
        case parvel::AddressField::Servo:
            return r.servo;
        case parvel::AddressField::Action:
            return r.action;
        case parvel::AddressField::Curve:
            return r.curve;
        case parvel::AddressField::Relay:
            break;
    }
    return r.relais;
}

void TFrameTorvAdr::LoadFromImage() {
    loading = true;
    const parvel::TorvAdrVariant variant = parvel::TorvAdrVariantFor(m_document.type_code());
    m_four_servos = variant.four_servos;
    for (int r = 0; r < 4; ++r) {
        rows[r].label->setText(Q(variant.row_labels[r]));
        rows[r].label->show();
        rows[r].action->show();
        rows[r].curve->show();
    }
    groups[0].box->show();
    for (int s = 1; s < 4; ++s) groups[s].box->setVisible(m_four_servos);
    for (int r = 0; r < parvel::kAddressRows; ++r) {
        rows[r].servo->setVisible(m_four_servos);
        rows[r].relais->setVisible(m_four_servos);
        if (r >= 4) {
            rows[r].label->setVisible(m_four_servos);
            rows[r].action->setVisible(m_four_servos);
            rows[r].curve->setVisible(m_four_servos);
        }
    }
    Refresh();
    loading = false;
}

void TFrameTorvAdr::Refresh() {
    ShowServoFlags();
    ShowAddressCombos();
    ShowPulseTimes();
}

void TFrameTorvAdr::ShowServoFlags() {
    LoadingScope scope(loading);
    const parvel::ServoPages& pages = Pages();
    for (int s = 0; s < 4; ++s) {
        groups[s].v_off->setChecked(HasServoFlag(pages, s, parvel::ServoFlag::VoltageOff));
        groups[s].imp_off->setChecked(HasServoFlag(pages, s, parvel::ServoFlag::PulsesOff));
        groups[s].no_ir->setChecked(HasServoFlag(pages, s, parvel::ServoFlag::NoInterrupt));
        groups[s].no_rep->setChecked(HasServoFlag(pages, s, parvel::ServoFlag::NoRepeat));
    }
}

void TFrameTorvAdr::ShowAddressCombos() {
    LoadingScope scope(loading);
    const parvel::ServoPages& pages = Pages();
    for (parvel::AddressField field :
         {parvel::AddressField::Servo, parvel::AddressField::Curve, parvel::AddressField::Action}) {
        for (int r = 0; r < parvel::kAddressRows; ++r) {
            List(r, field)->setCurrentIndex(AddressItem(pages, r, field));
        }
    }
    UpdateCurveVisibility();
    for (int r = 0; r < parvel::kAddressRows; ++r) {
        rows[r].relais->setCurrentIndex(AddressItem(pages, r, parvel::AddressField::Relay));
    }
}

void TFrameTorvAdr::ShowPulseTimes() {
    LoadingScope scope(loading);
    const char separator = LocaleDecimalSeparator();
    for (int s = 0; s < 4; ++s) {
        const int pulse_min = pulses.pulse_min[s];
        groups[s].edt_offset->setText(
            Q(parvel::FormatPulseMs(parvel::ShortestPulseMs(pulse_min), separator)));
        groups[s].edt_max->setText(Q(parvel::FormatPulseMs(
            parvel::LongestPulseMs(pulse_min, pulses.pulse_span[s]), separator)));
    }
}

void TFrameTorvAdr::UpdateCurveVisibility() {
    std::array<int, parvel::kAddressRows> actions{};
    for (int r = 0; r < parvel::kAddressRows; ++r) actions[r] = rows[r].action->currentIndex();
    const parvel::CurveListVisibility v = parvel::CurveVisibilityFor(actions, m_four_servos);
    for (int r = 0; r < 4; ++r) rows[r].curve->setVisible(v.curve[r]);
    if (!m_four_servos) return;  // relay lists and rows 5..8 stay hidden
    for (int r = 4; r < parvel::kAddressRows; ++r) rows[r].curve->setVisible(v.curve[r]);
    for (int r = 0; r < parvel::kAddressRows; ++r) rows[r].relais->setVisible(v.relay[r]);
}

void TFrameTorvAdr::cbx_ax_Change(int row, parvel::AddressField field) {
    if (loading) return;
    SetAddressItem(Pages(), row, field, List(row, field)->currentIndex());
    if (field == parvel::AddressField::Action) UpdateCurveVisibility();
    emit Changed();
    // Keys stepping through one list make one step.
    static const char* const kFields[] = {"Servo", "Aktion", "Kurve", "Relais"};
    m_document.Record(rows[row].label->text().toStdString() + ": " + kFields[static_cast<int>(field)] +
                         " " + List(row, field)->currentText().toStdString(),
                     "servo-list-" + std::to_string(row) + "-" + kFields[static_cast<int>(field)]);
}

void TFrameTorvAdr::cbx_flag_xClick(parvel::ServoFlag flag) {
    if (loading) return;
    for (int s = 0; s < 4; ++s) {
        const ServoGroup& g = groups[s];
        QCheckBox* box = flag == parvel::ServoFlag::VoltageOff    ? g.v_off
                         : flag == parvel::ServoFlag::PulsesOff   ? g.imp_off
                         : flag == parvel::ServoFlag::NoInterrupt ? g.no_ir
                                                                  : g.no_rep;
        SetServoFlag(Pages(), s, flag, box->isChecked());
    }
    emit Changed();
}

void TFrameTorvAdr::RecordFlag(const QCheckBox* box) {
    // "Servo 2: „Impulse aus“ an": the group's title names the servo.
    const auto* group = qobject_cast<const QGroupBox*>(box->parentWidget());
    Record((group ? group->title().toStdString() + ": " : std::string()) + "„" +
           box->text().toStdString() + (box->isChecked() ? "“ an" : "“ aus"));
}

void TFrameTorvAdr::btn_offset_Click(int servo, int step) {
    if (loading) return;
    const int min_before = pulses.pulse_min[servo];
    const int span_before = pulses.pulse_span[servo];
    pulses.pulse_min[servo] = parvel::StepPulseMin(pulses.pulse_min[servo], step);
    ShowPulseTimes();
    emit Changed();
    RecordPulse(servo, false, min_before, span_before);
}

void TFrameTorvAdr::btn_faktor_Click(int servo, int step) {
    if (loading) return;
    const int min_before = pulses.pulse_min[servo];
    const int span_before = pulses.pulse_span[servo];
    pulses.pulse_span[servo] = parvel::StepPulseSpan(pulses.pulse_span[servo], step);
    ShowPulseTimes();
    emit Changed();
    RecordPulse(servo, true, min_before, span_before);
}

void TFrameTorvAdr::servo_edt_x_xChange() {
    if (loading) return;
    // The fields are read-only: the step buttons change them and record their own step with
    // the servo and both values, after the fields show the new value.
    emit Changed();
}
