#include "app/GridRows.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <initializer_list>
#include <utility>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

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

TGridRows::TGridRows(QGroupBox* box, QWidget* window, const QFont& row_font)
    : m_box(box), m_window(window), m_row_font(row_font) {}

TGridRows::Row& TGridRows::EnsureRow(int r) {
    Row& row = rows[r];
    if (row.label) return row;
    row.label = new QLabel(m_box);
    row.label->setObjectName(QString("lbl_row%1").arg(r));
    row.label->resize(0, parvel::kGridLabelHeight);  // an empty label takes no room

    row.address = new QLineEdit(m_box);
    row.address->setObjectName(QString("edt_address%1").arg(r));
    row.address->resize(parvel::kGridAddressWidth, parvel::kGridFieldHeight);

    row.function = new QLineEdit(m_box);
    row.function->setObjectName(QString("edt_function%1").arg(r));
    row.function->resize(parvel::kGridFunctionWidth, parvel::kGridFieldHeight);
    row.function->setToolTip("Funktion Nummer");

    row.button = new QPushButton("R/G", m_box);
    row.button->setObjectName(QString("btn_rg%1").arg(r));
    row.button->resize(parvel::kGridButtonWidth, parvel::kGridButtonHeight);
    row.button->setToolTip("Wechsel zwischen ROTer und GRÜNer Adresse ");

    for (QWidget* w :
         std::initializer_list<QWidget*>{row.label, row.address, row.function, row.button}) {
        w->setFont(m_row_font);
        w->hide();
    }
    // Files dropped on a field would become its text; the window takes them instead.
    row.address->setAcceptDrops(false);
    row.function->setAcceptDrops(false);
    if (!m_row_address[r].empty()) row.address->setText(Q(std::exchange(m_row_address[r], {})));
    if (!m_row_function[r].empty()) row.function->setText(Q(std::exchange(m_row_function[r], {})));
    // The window connects the row's controls once their texts are in.
    if (m_on_built) m_on_built(r, row);

    if (r > 0) PlaceRow(r);  // row 0 is never placed
    if (m_rows_coloured) ColourRow(r);

    // Tab order by row number, however late a row is built: after the nearest built row
    // above it, else in front of the nearest built row below it.
    QWidget* after = nullptr;
    for (int above = r - 1; above >= 0 && !after; --above) after = rows[above].button;
    for (int below = r + 1; below < parvel::kGridRows && !after; ++below) {
        if (!rows[below].address) continue;
        after = rows[below].address->previousInFocusChain();
        while (after != m_window && after->focusPolicy() == Qt::NoFocus) {
            after = after->previousInFocusChain();
        }
        if (after == m_window) after = nullptr;
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

void TGridRows::SetRowLabel(int row, const std::string& label) {
    if (label.empty() && !rows[row].label) return;  // a row not built is empty already
    QLabel* l = EnsureRow(row).label;
    l->setText(Q(label));
    // The label's width follows its text; an empty label takes no room.
    l->resize(label.empty() ? 0 : l->sizeHint().width(), parvel::kGridLabelHeight);
}

const parvel::GridPlacement& TGridRows::LayoutGrid(int split, int gap) {
    std::array<int, parvel::kGridRows> widths{};
    for (int r = 0; r < parvel::kGridRows; ++r) {
        widths[r] = rows[r].label ? rows[r].label->width() : 0;
    }
    m_grid_place = parvel::PlaceGrid(split, gap, widths);
    for (int r = 1; r < parvel::kGridRows; ++r) {
        if (rows[r].label) PlaceRow(r);
    }
    return m_grid_place;
}

void TGridRows::PlaceRow(int r) {
    const parvel::GridRowPlace& place = m_grid_place.rows[r];
    Row& row = rows[r];
    row.label->move(place.label_left, place.label_top);
    row.address->setGeometry(place.address_left, place.address_top, parvel::kGridAddressWidth,
                             parvel::kGridFieldHeight);
    row.function->setGeometry(place.function_left, place.function_top, parvel::kGridFunctionWidth,
                              parvel::kGridFieldHeight);
    row.button->setGeometry(place.button_left, place.button_top, parvel::kGridButtonWidth,
                            parvel::kGridButtonHeight);
}

void TGridRows::ShowRows(parvel::DecoderKind kind, int max_address, int max_function) {
    const bool accessory = kind == parvel::DecoderKind::Accessory;
    for (int r = 0; r < parvel::kGridRows; ++r) {
        Row& row = rows[r];
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

void TGridRows::HideAllRows() {
    for (Row& row : rows) {
        if (!row.label) continue;
        row.label->hide();
        row.address->hide();
        row.function->hide();
        row.button->hide();
    }
}

void TGridRows::SetRowFields(int row, const std::string& address, const std::string& function) {
    if (!rows[row].address) {
        m_row_address[row] = address;
        m_row_function[row] = function;
        return;
    }
    rows[row].address->setText(Q(address));
    rows[row].function->setText(Q(function));
}

void TGridRows::RecolourRows(const std::array<parvel::RowColour, parvel::kGridRows>& colours) {
    m_row_colours = colours;
    m_rows_coloured = true;
    for (int r = 0; r < parvel::kGridRows; ++r) {
        if (rows[r].address) ColourRow(r);
    }
}

void TGridRows::ColourRow(int r) {
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

void TGridRows::MarkStoredCode(int row, const std::string& hint, int max_address) {
    m_max_address = max_address;
    if (row < 0 || row >= parvel::kGridRows) return;
    m_row_stored_hint[row] = hint;
    Row& r = rows[row];
    if (!r.address) return;
    if (!hint.empty() || r.address->property("storedCode").toBool()) {
        const std::string base = r.label && !r.label->text().isEmpty()
                                     ? parvel::AddressHint(m_max_address)
                                     : std::string();
        r.address->setToolTip(Q(hint.empty() ? base : base + "\n\n" + hint));
    }
    if (m_rows_coloured) ColourRow(row);
}

void TGridRows::FocusAddressField(int row) {
    QLineEdit* edit = EnsureRow(row).address;
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void TGridRows::FocusFunctionField(int row) {
    QLineEdit* edit = EnsureRow(row).function;
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

