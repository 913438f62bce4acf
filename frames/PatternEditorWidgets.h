#pragma once

#include <QWidget>

class QToolButton;

namespace parvel {

class PatternTable;

// One output's strip of a blink pattern editor. It paints what the table reports for its output
// (white ground, a black-outlined red rectangle per set step) and hands pointer events to the
// frame, which decides what they change.
class PatternStripCanvas : public QWidget {
    Q_OBJECT
  public:
    PatternStripCanvas(const PatternTable& table, int output, QWidget* parent = nullptr);

  signals:
    void pressed(int output);
    void moved(int output, QPoint position);
    void released(int output);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    const PatternTable& m_table;
    int m_output;
};

// A pair of arrow buttons beside a number edit: each click asks for one step up or down. The
// frame changes the value (within minimum..maximum) and stores it like a typed one.
class PatternUpDown : public QWidget {
    Q_OBJECT
  public:
    explicit PatternUpDown(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return m_minimum; }
    int maximum() const { return m_maximum; }
    // value + delta, limited to the range.
    int Stepped(int value, int delta) const;

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

  signals:
    void stepped(int delta);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    QToolButton* m_up;
    QToolButton* m_down;
    int m_minimum = 0;
    int m_maximum = 99;
};

}  // namespace parvel
