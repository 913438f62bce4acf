// A Qt generic plugin that ends the process as soon as the first top-level window has been
// exposed and painted. startup.sh loads it into hexparvel and into the yardstick windows alike
// (QT_QPA_GENERIC_PLUGINS), so all are timed from start to the first visible frame without
// any hook in the program under test.
//
// With PARVEL_PROBE_WIDGETS=FILE it first writes the visible widgets to FILE, each before its
// children, one line each of tab-separated fields:
//   index, parent index (-1: top level), Qt class, x, y, width, height, point size, bold,
//   base colour (#rrggbb), has a picture (0/1), text (tabs and line breaks as spaces)
// The Qt class is the nearest class of Qt's own, so that the program's own widget classes read
// as the Qt widgets they are built on. parvel_same_widgets_window builds a window from the list.
#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdlib>

#include "image/TextFile.h"

namespace {

QString QtClass(const QWidget* w) {
    const QMetaObject* meta = w->metaObject();
    while (meta->superClass() && !QByteArray(meta->className()).startsWith('Q')) {
        meta = meta->superClass();
    }
    return QString::fromLatin1(meta->className());
}

QString ShownText(const QWidget* w) {
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(w)) text = label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(w)) text = button->text();
    if (auto* edit = qobject_cast<const QLineEdit*>(w)) text = edit->text();
    if (auto* box = qobject_cast<const QGroupBox*>(w)) text = box->title();
    return text.replace('\t', ' ').replace('\n', ' ').replace('\r', ' ');
}

// Visible widgets of the tree under `w`, each before its children, siblings in the order they
// were made (which is also the status bar's order of its panels).
void CollectShown(QWidget* w, QList<QWidget*>& shown) {
    if (!w->isVisible()) return;
    shown.append(w);
    for (QObject* child : w->children()) {
        if (auto* widget = qobject_cast<QWidget*>(child); widget && !widget->isWindow()) {
            CollectShown(widget, shown);
        }
    }
}

void WriteWidgets(const QString& path) {
    QList<QWidget*> shown;
    for (QWidget* window : QApplication::topLevelWidgets()) CollectShown(window, shown);
    QHash<const QWidget*, int> index;
    QByteArray out;
    for (const QWidget* w : std::as_const(shown)) {
        const int i = static_cast<int>(index.size());
        index.insert(w, i);
        const QRect r = w->geometry();
        const auto* label = qobject_cast<const QLabel*>(w);
        const bool picture = label && !label->pixmap().isNull();
        const QStringList fields{
            QString::number(i), QString::number(index.value(w->parentWidget(), -1)), QtClass(w),
            QString::number(r.x()), QString::number(r.y()), QString::number(r.width()),
            QString::number(r.height()), QString::number(w->font().pointSize()),
            w->font().bold() ? "1" : "0", w->palette().color(QPalette::Base).name(),
            picture ? "1" : "0", ShownText(w)};
        out += fields.join('\t').toUtf8() + '\n';
    }
    const parvel::WriteResult written = parvel::AtomicWriteFile(path.toStdString(), out.toStdString());
    if (!written.ok) qWarning("PARVEL_PROBE_WIDGETS: %s: %s", qPrintable(path), written.error.c_str());
}

class PaintProbe : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Expose) {
            auto* window = qobject_cast<QWindow*>(watched);
            // The expose handler paints the widgets and flushes the backing store; the queued
            // call runs right after it, pushes everything to the X server and ends the process.
            if (window && window->isTopLevel() && window->isExposed()) {
                m_seen = true;
                QTimer::singleShot(0, [] {
                    const QString list = qEnvironmentVariable("PARVEL_PROBE_WIDGETS");
                    if (!list.isEmpty()) WriteWidgets(list);
                    QGuiApplication::sync();
                    std::_Exit(0);
                });
            }
        }
        return false;
    }

private:
    bool m_seen = false;
};

}  // namespace

class PaintProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "PaintProbe.json")
public:
    QObject* create(const QString&, const QString&) override {
        auto* probe = new PaintProbe;
        QCoreApplication::instance()->installEventFilter(probe);
        return probe;
    }
};

#include "PaintProbe.moc"
