#include "info/DialogPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QObject>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace parvel {

namespace {

class PlaceOnShow : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            KeepInsideScreen(static_cast<QWidget*>(watched));
        }
        return false;
    }
};

}  // namespace

void KeepInsideScreen(QWidget* window) {
    if (!window) return;
    const QRect frame = window->frameGeometry();
    QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (!screen && window->parentWidget()) screen = window->parentWidget()->screen();
    if (!screen) screen = window->screen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const int x = std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width()));
    const int y = std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height()));
    if (x != frame.left() || y != frame.top()) {
        window->move(window->pos() + QPoint(x - frame.left(), y - frame.top()));
    }
}

void KeepInsideScreenWhenShown(QWidget* window) {
    if (window) window->installEventFilter(new PlaceOnShow(window));
}

}  // namespace parvel
