// The second yardstick of the window start in startup.sh: a main window built from the list of
// visible widgets that hexparvel showed for the benchmark's file (written by the paint probe,
// see PaintProbe.cpp), with the same Qt classes, places, texts, fonts and field colours. It
// does none of the program's work. hexparvel against this window is what the program itself
// adds at start; this window against the one-label window is what the window's contents cost.
//   parvel_same_widgets_window WIDGETS.tsv
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPalette>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <cstdio>
#include <vector>

namespace {

QWidget* Make(const QString& kind, const QString& text, QWidget* parent) {
    if (kind == "QGroupBox") return new QGroupBox(text, parent);
    if (kind == "QLabel") return new QLabel(text, parent);
    if (kind == "QLineEdit") return new QLineEdit(text, parent);
    if (kind == "QPushButton") return new QPushButton(text, parent);
    if (kind == "QRadioButton") return new QRadioButton(text, parent);
    if (kind == "QCheckBox") return new QCheckBox(text, parent);
    if (kind == "QComboBox") {
        auto* box = new QComboBox(parent);
        box->addItem(text);
        return box;
    }
    if (kind == "QSpinBox") return new QSpinBox(parent);
    if (kind == "QProgressBar") return new QProgressBar(parent);
    if (kind == "QFrame") {
        auto* line = new QFrame(parent);
        line->setFrameShape(QFrame::VLine);
        line->setFrameShadow(QFrame::Sunken);
        return line;
    }
    return new QWidget(parent);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QFile list(argc == 2 ? QString::fromLocal8Bit(argv[1]) : QString());
    if (argc != 2 || !list.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "usage: parvel_same_widgets_window WIDGETS.tsv (from the paint probe)\n");
        return 2;
    }
    QMainWindow window;
    window.setWindowTitle("HEX Parvel");
    auto* central = new QWidget;
    window.setCentralWidget(central);
    QStatusBar* bar = window.statusBar();
    bar->setSizeGripEnabled(false);

    // By index in the list; the list names every widget before its children.
    std::vector<QWidget*> made;
    for (const QByteArray& line : list.readAll().split('\n')) {
        const QStringList f = QString::fromUtf8(line).split('\t');
        if (f.size() < 12) continue;
        const int parent = f[1].toInt();
        const QString kind = f[2];
        const QRect place(f[3].toInt(), f[4].toInt(), f[5].toInt(), f[6].toInt());
        QWidget* w = nullptr;
        if (parent < 0) {
            w = &window;
            window.resize(place.size());
        } else if (kind == "QStatusBar") {
            w = bar;
        } else if (parent == 0 && made.size() > 0 && made[0] == &window) {
            w = central;
        } else if (kind == "QSizeGrip") {
            bar->setSizeGripEnabled(true);
        } else if (parent < static_cast<int>(made.size()) && made[parent]) {
            QWidget* in = made[parent];
            w = Make(kind, f[11], in);
            if (in == bar) {
                w->setMinimumWidth(place.width());
                bar->addWidget(w);
            } else {
                w->setGeometry(place);
            }
        }
        made.push_back(w);
        if (!w || w == &window || w == central || w == bar) continue;
        QFont font = w->font();
        font.setPointSize(f[7].toInt());
        font.setBold(f[8] == "1");
        w->setFont(font);
        if (kind == "QLineEdit") {
            QPalette palette = w->palette();
            palette.setColor(QPalette::Base, QColor(f[9]));
            w->setPalette(palette);
        }
        if (f[10] == "1") {
            QPixmap picture(place.size());
            picture.fill(Qt::white);
            static_cast<QLabel*>(w)->setPixmap(picture);
        }
    }
    window.show();
    return QApplication::exec();
}
