#include "frames/PatternEditorWidgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <algorithm>

#include "settings/PatternTable.h"

namespace parvel {

namespace {

QColor ToQColor(const StripColour& c) { return QColor(c.red, c.green, c.blue); }

}  // namespace

PatternStripCanvas::PatternStripCanvas(const PatternTable& table, int output, QWidget* parent)
    : QWidget(parent), m_table(table), m_output(output) {
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PatternStripCanvas::paintEvent(QPaintEvent* /*event*/) {
    const StripPaint paint = m_table.Paint(m_output);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(rect(), ToQColor(paint.background));
    painter.setPen(QPen(ToQColor(paint.step_outline), 0));
    painter.setBrush(ToQColor(paint.step_fill));
    for (const StripRect& r : paint.steps) {
        if (r.right <= r.left || r.bottom <= r.top) continue;
        // A QRect outline covers one pixel more than its width: this one lies on the border
        // pixels left..right-1, top..bottom-1.
        painter.drawRect(QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1));
    }
}

void PatternStripCanvas::mousePressEvent(QMouseEvent* event) {
    emit pressed(m_output);
    event->accept();
}

void PatternStripCanvas::mouseMoveEvent(QMouseEvent* event) {
    // Without a button held there is nothing to draw (a release may have gone elsewhere).
    if (event->buttons() == Qt::NoButton) {
        emit released(m_output);
    } else {
        emit moved(m_output, event->position().toPoint());
    }
    event->accept();
}

void PatternStripCanvas::mouseReleaseEvent(QMouseEvent* event) {
    emit released(m_output);
    event->accept();
}

PatternUpDown::PatternUpDown(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    m_up->setObjectName("up");
    m_down->setObjectName("down");
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {m_up, m_down}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
    }
    connect(m_up, &QToolButton::clicked, this, [this] { emit stepped(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { emit stepped(-1); });
}

void PatternUpDown::setRange(int minimum, int maximum) {
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
}

int PatternUpDown::Stepped(int value, int delta) const {
    return std::clamp(value + delta, m_minimum, m_maximum);
}

void PatternUpDown::resizeEvent(QResizeEvent* /*event*/) {
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper, width(), height() - upper);
}

}  // namespace parvel
