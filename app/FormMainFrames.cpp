// The main window's six feature frames: built on first use, shown and sized for the loaded
// firmware, filled again after an undo or redo, and watched for typed text the document counts
// as unsaved.

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/FormMain.h"
#include "frames/FrameBlinkmuster.h"
#include "frames/FrameBlinkmusterLed.h"
#include "frames/FrameRegister.h"
#include "frames/FrameTorv.h"
#include "frames/FrameTorvAdr.h"
#include "frames/FrameZusatz.h"
#include "frames/LabelFit.h"

namespace {

// Component edges as the layout rules use them: right = left + width, bottom = top + height.
int RightEdge(const QWidget* w) { return w->x() + w->width(); }
int BottomEdge(const QWidget* w) { return w->y() + w->height(); }

}  // namespace

void TFormMain::SetFrameBuilders() {
    FrameZusatz1.SetBuilder([this] {
        FrameZusatz1.Set(new TFrameZusatz(m_document, *m_dialogs, centralWidget()));
        BuildFrame(FrameZusatz1.IfBuilt(), "FrameZusatz1");
    });
    FrameBlinkmuster1.SetBuilder([this] {
        FrameBlinkmuster1.Set(new TFrameBlinkmuster(m_document, *m_dialogs, centralWidget()));
        BuildFrame(FrameBlinkmuster1.IfBuilt(), "FrameBlinkmuster1");
    });
    FrameBlinkmuster_led1.SetBuilder([this] {
        FrameBlinkmuster_led1.Set(
            new TFrameBlinkmuster_led(m_document, *m_dialogs, centralWidget()));
        BuildFrame(FrameBlinkmuster_led1.IfBuilt(), "FrameBlinkmuster_led1");
    });
    FrameTorv1.SetBuilder([this] { BuildServoFrames(); });
    FrameTorvAdr1.SetBuilder([this] { BuildServoFrames(); });
    FrameRegister1.SetBuilder([this] {
        FrameRegister1.Set(new TFrameRegister(m_document, *m_dialogs, centralWidget()));
        BuildFrame(FrameRegister1.IfBuilt(), "FrameRegister1");
    });
}

void TFormMain::BuildServoFrames() {
    if (FrameTorv1.IfBuilt()) return;
    auto* torv = new TFrameTorv(m_document, *m_dialogs, centralWidget());
    auto* table = new TFrameTorvAdr(m_document, *m_dialogs, centralWidget());
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

void TFormMain::ShowPatternEditor(parvel::PatternEditorFrame* frame, const QPushButton* take_over, int top) {
    // The frame is as large as its take-over button reaches; the window fits around it.
    frame->loading = true;
    frame->show();
    const int height = BottomEdge(take_over) + 15;
    const int width = RightEdge(take_over) + 15;
    frame->setGeometry(410, top + 5, width, height);
    FitWindowToFrame(5, 410, height, width);
    frame->SetUp(width);
    frame->LoadFromImage();
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
        case parvel::kFrameBlinkmuster:
            ShowPatternEditor(FrameBlinkmuster1, FrameBlinkmuster1->blinkmuster_btn_uebernehmen, t);
            break;
        case parvel::kFrameBlinkmusterLed:
            ShowPatternEditor(FrameBlinkmuster_led1, FrameBlinkmuster_led1->led_blinkmuster_btn_uebernehmen, t);
            break;
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

void TFormMain::HideAllFrames() {
    for (QWidget* frame : BuiltFrames()) frame->hide();
}

void TFormMain::StateRestored(int view) {
    switch (m_document.frame_code()) {
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
    switch (m_document.frame_code()) {
        case parvel::kFrameBlinkmuster:
            FrameBlinkmuster1->ShowWorkingCopy();
            break;
        case parvel::kFrameBlinkmusterLed:
            FrameBlinkmuster_led1->ShowWorkingCopy();
            break;
        case parvel::kFrameTorv:
            FrameTorv1->ShowWorkingCopy(m_document.servo().page);
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
                [this, area, name] { m_document.NoteTyped(area, name, true); });
        // Connected after the frame's own handlers: the frame has taken the value over (or
        // refused it) when this runs.
        connect(edit, &QLineEdit::editingFinished, this,
                [this, area, name] { m_document.NoteTyped(area, name, false); });
    }
}
