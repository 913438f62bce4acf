#include "frames/PatternEditorFrame.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <utility>

#include "document/DecoderDocument.h"
#include "frames/LabelFit.h"
#include "settings/NumberText.h"
#include "frames/PatternEditorWidgets.h"
#include "settings/PatternTable.h"
#include "image/Dialogs.h"

namespace parvel {

namespace {

// The window's layout is made for an 8-point font.
constexpr int kDesignPointSize = 8;

}  // namespace

PatternEditorFrame::PatternEditorFrame(DecoderDocument& document, Dialogs& dialogs,
                                       PatternTable& table, PendingFrame kind,
                                       const PatternEditorNames& names, QWidget* parent)
    : QFrame(parent), m_document(document), m_dialogs(dialogs), m_table(&table), m_kind(kind) {
    QFont design = font();
    design.setPointSize(kDesignPointSize);
    setFont(design);
    const QString& p = names.prefix;

    for (int k = 0; k < m_table->outputs(); ++k) {
        const QString n = QString::number(k + 1);
        auto* strip = new PatternStripCanvas(*m_table, k, this);
        strip->setObjectName(names.strip_prefix + n);
        m_strips.push_back(strip);

        auto* label = new QLabel("Out#" + n, this);
        label->setObjectName(p + "lbl_out" + n);
        m_strip_labels.push_back(label);

        auto* use = new QCheckBox(this);
        use->setObjectName(p + "cbx_out" + n);
        use->setToolTip("Ausgang " + n + " verwenden (wird sonst nicht beeinflusst)");
        m_use_boxes.push_back(use);
    }

    const QString address_hint =
        "Auswahl, für welche Adresse die Angezeigten Parameter gültig sind";
    m_address_group = new QGroupBox("Parameter für ...", this);
    m_address_group->setObjectName(p + "grp_adresse");
    m_address_group->setToolTip(address_hint);
    for (int n = 0; n < 4; ++n) {
        auto* rad = new QRadioButton("Adresse " + QString::number(n + 1), m_address_group);
        rad->setObjectName(p + "rad_a" + QString::number(n + 1));
        rad->setToolTip(address_hint);
        m_address[n] = rad;
    }
    m_address[0]->setChecked(true);

    m_loop = new QCheckBox("Loop", this);
    m_loop->setObjectName(p + "cbx_loop");
    m_loop->setToolTip("Ablauf wieder immer wieder neu gestartet");

    m_count_label = new QLabel("Anzahl Punkte", this);
    m_count_label->setObjectName(p + "lbl_Anzahl");
    m_count = new QLineEdit(this);
    m_count->setObjectName(p + "edt_Anzahl");
    m_count->setToolTip("Anzahl der Kurven-Punkte");
    m_count_updown = new PatternUpDown(this);
    m_count_updown->setObjectName(names.count_updown);
    m_count_updown->setRange(1, m_table->layout().max_steps);

    m_stretch_label = new QLabel("Stretch-Faktor", this);
    m_stretch_label->setObjectName(p + "lbl_stretch");
    m_stretch = new QLineEdit(this);
    m_stretch->setObjectName(p + "edt_stretch");
    m_stretch->setToolTip("ermöglicht es, den Ablauf zu Verlangsamen");
    m_stretch_updown = new PatternUpDown(this);
    m_stretch_updown->setObjectName(names.stretch_updown);
    m_stretch_updown->setRange(PatternTable::kMinStretch, PatternTable::kMaxStretch);

    m_info1 = new QLabel(this);
    m_info1->setObjectName(p + "lbl_KurveInfo1");
    m_info2 = new QLabel(this);
    m_info2->setObjectName(p + "lbl_KurveInfo2");

    m_copy_label = new QLabel("Kurve kopieren", this);
    m_copy_label->setObjectName(p + "lbl_kopieren");
    for (int n = 0; n < 4; ++n) {
        const QString num = QString::number(n + 1);
        auto* copy = new QPushButton("von #" + num, this);
        copy->setObjectName(p + "btn_copy" + num);
        copy->setToolTip("Kopieren der Kurvenformen von Adresse " + num);
        m_copy[n] = copy;
    }

    m_discard = new QPushButton("Verwerfen", this);
    m_discard->setObjectName(p + "btn_verwerfen");
    m_take_over = new QPushButton("Übernehmen", this);
    m_take_over->setObjectName(p + "btn_uebernehmen");
    m_take_over->setEnabled(false);

    connect(m_count, &QLineEdit::textEdited, this, [this] { NoteTyped(Field::Count); });
    connect(m_stretch, &QLineEdit::textEdited, this, [this] { NoteTyped(Field::Stretch); });
}

PatternEditorFrame::~PatternEditorFrame() = default;

void PatternEditorFrame::PlaceLabel(QLabel* label, int left, int top) {
    label->adjustSize();
    label->move(left, top);
}

// ---------------------------------------------------------------- operations

void PatternEditorFrame::SetUp(int width) {
    loading = true;
    show();
    m_table->EndDrag();
    LayOut(width);
    m_table->SetStripSize(m_strips[0]->width(), m_strips[0]->height());
    ShowParameters();
    DrawStrips();
    ShowPending();
    loading = false;
}

void PatternEditorFrame::LoadFromImage() {
    loading = true;
    ShowParameters();
    DrawStrips();
    loading = false;
}

bool PatternEditorFrame::CommitTypedInput() {
    return CommitEdit(Field::Count) && CommitEdit(Field::Stretch);
}

void PatternEditorFrame::ShowWorkingCopy() {
    ShowParameters();
    DrawStrips();
    ShowPending();
    m_count->setModified(false);
    m_stretch->setModified(false);
    NoteTyped(Field::Count);
    NoteTyped(Field::Stretch);
}

void PatternEditorFrame::Record(const std::string& what) {
    m_document.Record("Muster Adresse " + std::to_string(m_table->selected() + 1) + ": " + what);
}

bool PatternEditorFrame::TypedPending(Field field) const {
    const QLineEdit* edit = field == Field::Count ? m_count : m_stretch;
    const QString text = edit->text().trimmed();
    return edit->isModified() && !text.isEmpty() && text != QString::number(StoredValue(field));
}

void PatternEditorFrame::NoteTyped(Field field) {
    const QLineEdit* edit = field == Field::Count ? m_count : m_stretch;
    m_document.NoteTyped(m_kind == PendingFrame::Blinkmuster ? EditArea::Blinkmuster
                                                            : EditArea::BlinkmusterLed,
                        edit->objectName().toStdString(), TypedPending(field));
}

int PatternEditorFrame::StoredValue(Field field) const {
    // The byte itself, not the value shown for it: a stored 255 is shown as the maximum, and
    // typing the maximum must still store it.
    const PatternLayout& l = m_table->layout();
    return m_table->BlockByte(m_table->selected(),
                              field == Field::Count ? l.count_offset : l.stretch_offset);
}

void PatternEditorFrame::setVisible(bool visible) {
    if (!visible) {
        m_table->EndDrag();
        m_count->setModified(false);
        m_stretch->setModified(false);
    }
    QFrame::setVisible(visible);
}


void PatternEditorFrame::ShowParameters() {
    // Filling the controls is no user edit, whoever calls this.
    const bool was_loading = loading;
    loading = true;
    const PatternParameters shown = m_table->Parameters();
    for (int n = 0; n < 4; ++n) m_copy[n]->setEnabled(shown.copy_enabled[n]);
    m_address[m_table->selected()]->setChecked(true);
    m_count->setText(QString::number(shown.count));
    m_stretch->setText(QString::number(shown.stretch));
    m_loop->setChecked(shown.loop);
    for (int k = 0; k < m_table->outputs(); ++k) m_use_boxes[k]->setChecked(shown.used[k]);
    m_info1->setText(QString::fromStdString(shown.raster_text));
    m_info2->setText(QString::fromStdString(shown.total_text));
    FitLabelToText(m_info1);
    FitLabelToText(m_info2);
    loading = was_loading;
}

void PatternEditorFrame::DrawStrips() {
    for (int k = 0; k < m_table->outputs(); ++k) {
        m_strips[k]->setVisible(m_table->OutputUsed(k));
        m_strips[k]->update();
    }
}

void PatternEditorFrame::ShowPending() { m_take_over->setEnabled(m_table->modified()); }

// ---------------------------------------------------------------- handlers

void PatternEditorFrame::AddressClick(int block) {
    if (loading) return;
    m_table->Select(block);
    ShowParameters();
    DrawStrips();
}

bool PatternEditorFrame::CommitEdit(Field field) {
    QLineEdit* edit = field == Field::Count ? m_count : m_stretch;
    // Only text the user changed is stored: a Return in an untouched edit is no edit.
    if (loading || m_reporting || !edit->isModified()) return true;
    if (edit->text().trimmed() == QString::number(StoredValue(field))) {
        edit->setModified(false);  // the value the block holds: no edit
        return true;
    }
    const std::string text = edit->text().toStdString();
    const EditOutcome out =
        field == Field::Count ? m_table->EditCount(text) : m_table->EditStretch(text);
    edit->setModified(false);
    NoteTyped(field);
    switch (out.kind) {
        case EditOutcome::Kind::Ignored:
            return true;
        case EditOutcome::Kind::Rejected:
            // The message box takes the focus; the edit must not report a second time meanwhile.
            m_reporting = true;
            m_dialogs.ShowMessage(*out.message);
            m_reporting = false;
            edit->setFocus();
            return false;
        case EditOutcome::Kind::Stored:
            DrawStrips();
            ShowParameters();  // puts the limited value back and updates the time texts
            ShowPending();
            Record(std::string(field == Field::Count ? "Anzahl " : "Stretch-Faktor ") +
                   edit->text().toStdString());
            return true;
    }
    return true;
}

void PatternEditorFrame::CountChange() { CommitEdit(Field::Count); }

void PatternEditorFrame::StretchChange() { CommitEdit(Field::Stretch); }

void PatternEditorFrame::Step(Field field, int delta) {
    if (loading) return;
    QLineEdit* edit = field == Field::Count ? m_count : m_stretch;
    const PatternUpDown* updown = field == Field::Count ? m_count_updown : m_stretch_updown;
    // A number typed but not yet stored is the one to step from.
    int value = field == Field::Count ? m_table->Count() : m_table->Stretch();
    if (const auto typed = ParseWholeNumber(edit->text().toStdString())) {
        value =
            static_cast<int>(std::clamp<long long>(*typed, updown->minimum(), updown->maximum()));
    }
    const int next = updown->Stepped(value, delta);
    const int stored = field == Field::Count ? m_table->Count() : m_table->Stretch();
    if (next == stored && !edit->isModified()) return;  // at the end of the range
    edit->setText(QString::number(next));
    edit->setModified(true);
    CommitEdit(field);
}

void PatternEditorFrame::CountStep(int delta) { Step(Field::Count, delta); }

void PatternEditorFrame::StretchStep(int delta) { Step(Field::Stretch, delta); }

void PatternEditorFrame::LoopClick() {
    if (loading) return;
    m_table->SetLoop(m_loop->isChecked());
    ShowPending();
    Record(m_loop->isChecked() ? "Schleife an" : "Schleife aus");
}

void PatternEditorFrame::OutputClick(int output) {
    if (loading || output < 0 || output >= m_table->outputs()) return;
    m_table->SetOutputUsed(output, m_use_boxes[output]->isChecked());
    DrawStrips();
    ShowPending();
    Record("Out#" + std::to_string(output + 1) + (m_use_boxes[output]->isChecked() ? " an" : " aus"));
}

void PatternEditorFrame::CopyClick(int source_block) {
    if (loading) return;
    if (!m_table->CopyFrom(source_block)) return;
    DrawStrips();
    ShowParameters();
    ShowPending();
    Record("von #" + std::to_string(source_block + 1) + " kopiert");
}

void PatternEditorFrame::TakeOverClick() {
    // A number typed but not yet finished belongs to what the user takes over.
    CommitEdit(Field::Count);
    CommitEdit(Field::Stretch);
    m_document.TakeOverChanges(m_kind);
    ShowPending();
}

void PatternEditorFrame::DiscardClick() {
    m_table->EndDrag();
    m_document.DiscardChanges(m_kind);
    ShowParameters();
    DrawStrips();
    ShowPending();
}

void PatternEditorFrame::StripMouseDown(int output) { m_table->BeginDrag(output); }

void PatternEditorFrame::StripMouseMove(int output, QPoint position) {
    if (!m_table->dragging()) return;
    const int drawn = m_table->drag_output();
    if (drawn < 0 || drawn >= static_cast<int>(m_strips.size())) return;
    // Only the strip where the drag started changes: a position reported by another strip is
    // taken in that strip's coordinates.
    QPoint p = position;
    if (output != drawn && output >= 0 && output < static_cast<int>(m_strips.size())) {
        p = m_strips[drawn]->mapFrom(this, m_strips[output]->mapTo(this, position));
    }
    if (m_table->DragTo(p.x(), p.y())) {
        DrawStrips();
        ShowPending();
    }
}

void PatternEditorFrame::StripMouseUp() {
    if (!m_table->dragging()) return;
    m_table->EndDrag();
    m_document.Record("Muster Adresse " + std::to_string(m_table->selected() + 1) + " gezeichnet");
}

}  // namespace parvel
