// A Qt generic plugin that ends the process as soon as the first top-level window has been
// exposed and painted. startup.sh loads it into hexparvel and into the minimal window alike
// (QT_QPA_GENERIC_PLUGINS), so both are timed from start to the first visible frame without
// any hook in the program under test.
#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <cstdlib>

namespace {

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
