#include "frames/FrameRegister.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "document/DecoderDocument.h"
#include "image/Dialogs.h"

namespace {

constexpr int kPanelWidth = 940;
constexpr int kPanelHeight = 571;
constexpr int kCaptionWidth = 100;
constexpr int kCaptionGap = 5;  // between a caption and its value field
constexpr double kSmallestPointSize = 6.0;

QRect Rect(const parvel::CvRegisterTable::Rect& r) { return {r.left, r.top, r.width, r.height}; }

}  // namespace

TFrameRegister::TFrameRegister(parvel::DecoderDocument& document, parvel::Dialogs& dialogs,
                               QWidget* parent)
    : QFrame(parent), m_document(document), m_dialogs(dialogs) {
    setObjectName("TFrameRegister");
    pnl_cv = new QFrame(this);
    pnl_cv->setObjectName("pnl_cv");
    pnl_cv->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // The frame lies over the grid and its header: it paints its own background.
    pnl_cv->setAutoFillBackground(true);
    pnl_cv->setGeometry(0, 0, kPanelWidth, kPanelHeight);

    for (int i = 0; i < 3; ++i) {
        Line[i] = new QFrame(pnl_cv);
        Line[i]->setObjectName(QString("Line%1").arg(i + 1));
        Line[i]->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    }

    for (int r = 0; r < parvel::CvRegisterTable::kRows; ++r) {
        CvRow& row = rows[r];
        const parvel::CvRegisterTable::RowGeometry g = parvel::CvRegisterTable::Geometry(r);
        row.caption = new QLabel(pnl_cv);
        row.caption->setObjectName(QString("lbl_cv%1").arg(r));
        row.caption->setGeometry(Rect(g.caption));
        row.edit = new QLineEdit(pnl_cv);
        row.edit->setObjectName(QString("edt_cv%1").arg(r));
        row.edit->setGeometry(Rect(g.edit));
        row.caption->hide();
        row.edit->hide();
        QLineEdit* edit = row.edit;
        // Checked when the edit is finished (Return or leaving the field), not per keystroke.
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { CvValueChange(edit); });
    }
    resize(kPanelWidth, 555);
}

void TFrameRegister::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    pnl_cv->setGeometry(rect());
}

void TFrameRegister::ClearView() {
    loading = true;
    // The panel fills the frame; a hidden frame gets its resize event only when shown.
    pnl_cv->setGeometry(rect());
    pnl_cv->show();
    for (CvRow& row : rows) {
        row.caption->hide();
        row.edit->hide();
    }
    row_count = 0;
    const auto lines = parvel::CvRegisterTable::Separators(pnl_cv->height());
    for (int i = 0; i < 3; ++i) Line[i]->setGeometry(Rect(lines[i]));
    loading = false;
}

void TFrameRegister::LoadFromImage() {
    loading = true;
    const parvel::CvRegisterTable table(m_document.type_code());
    row_count = table.row_count();
    for (int r = 0; r < parvel::CvRegisterTable::kRows; ++r) {
        CvRow& row = rows[r];
        if (r < row_count) {
            row.caption->setText(QString::fromStdString(table.row(r).caption));
            row.cell = table.row(r).cell;
            row.edit->setText(QString::fromStdString(table.ValueText(m_document.image(), r)));
            row.edit->setModified(false);
        } else {
            row.caption->setText({});
        }
        FitCaption(row);
    }
    loading = false;
    for (CvRow& row : rows) {
        const bool used = !row.caption->text().isEmpty();
        row.caption->setVisible(used);
        row.edit->setVisible(used);
    }
}

void TFrameRegister::FitCaption(CvRow& row) {
    // A caption may use the room up to its value field (the designed 100 pixels cut the long
    // ones); one that is still too wide gets a smaller font rather than losing its end.
    const int room = row.edit->x() - row.caption->x() - kCaptionGap;
    QFont font = pnl_cv->font();
    row.caption->setFont(font);
    while (row.caption->sizeHint().width() > room && font.pointSizeF() > kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        row.caption->setFont(font);
    }
    row.caption->resize(std::max(kCaptionWidth, std::min(room, row.caption->sizeHint().width())),
                        row.caption->height());
    row.caption->setToolTip(row.caption->text());
}

void TFrameRegister::CvValueChange(QLineEdit* sender) {
    // A hidden frame belongs to no image any more: loading the next file hides it (moving the
    // focus out of an unfinished edit) after the image was reset for that file.
    if (loading || isHidden()) return;
    int index = -1;
    for (int r = 0; r < row_count; ++r) {
        if (rows[r].edit == sender) index = r;
    }
    if (index < 0) return;
    // Only text typed since the last check: an unchanged field, or the focus moving to a
    // message box, is not checked (and reported) twice.
    if (!sender->isModified()) return;
    sender->setModified(false);

    const parvel::CvRegisterTable table(m_document.type_code());
    const parvel::NumberInput input =
        table.Change(m_document.image(), index, sender->text().toStdString());
    if (input.message) m_dialogs.ShowMessage(*input.message);
    if (input.refocus) sender->setFocus();
    m_document.Record("CV: " + table.row(index).caption + " " + sender->text().toStdString());
}
