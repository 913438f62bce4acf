// The second yardstick of the window start in startup.sh: a main window with the widgets that
// hexparvel shows for the benchmark's file (a turntable firmware with 28 rows), with the same
// kinds, places, texts and bold captions, built from a table. It reads no file and does none of
// the program's work. hexparvel against this window is what the program itself adds at start;
// this window against the one-label window is what the window's contents cost in Qt.
#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMap>
#include <QPalette>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <cstring>

namespace {

struct Item {
    const char* type;
    const char* name;
    int x, y, width, height;
    const char* text;
    const char* parent;
    bool bold;
};

// Group boxes first: the other widgets are placed in them.
const Item kItems[] = {
    {"QGroupBox", "GroupBoxButtons", 410, 515, 300, 80, "", "FormMainClient", false},
    {"QGroupBox", "GroupBoxImage", 5, 515, 400, 50, "", "FormMainClient", false},
    {"QGroupBox", "GroupBoxMain", 5, 5, 400, 505, "", "FormMainClient", false},
    {"QLabel", "Image2", 100, 9, 200, 32, "", "GroupBoxImage", false},
    {"QFrame", "Line", 200, 44, 2, 478, "", "GroupBoxMain", false},
    {"QProgressBar", "ProgressBar1", 25, 50, 188, 14, "", "GroupBoxButtons", false},
    {"QLabel", "StatusPanel0", 2, 3, 35, 13, "ID: 3", "StatusBar1", false},
    {"QLabel", "StatusPanel1", 43, 3, 50, 13, "V 3.58", "StatusBar1", false},
    {"QLabel", "StatusPanel2", 99, 3, 50, 13, "DCC", "StatusBar1", false},
    {"QLabel", "StatusPanel3", 155, 3, 565, 13, "full.hex (12F629/16F630)", "StatusBar1", false},
    {"QPushButton", "btn_close", 238, 44, 52, 26, "Ende", "GroupBoxButtons", true},
    {"QPushButton", "btn_goweb", 5, 569, 400, 25, "file:///usr/share/hexparvel/doc/drehscheibe.html", "FormMainClient", false},
    {"QPushButton", "btn_info", 238, 12, 52, 26, "HEX Info", "GroupBoxButtons", false},
    {"QPushButton", "btn_load", 25, 12, 89, 26, "HEX laden", "GroupBoxButtons", true},
    {"QPushButton", "btn_next", 114, 12, 15, 26, ">", "GroupBoxButtons", false},
    {"QPushButton", "btn_prev", 10, 12, 15, 26, "<", "GroupBoxButtons", false},
    {"QPushButton", "btn_rg10", 155, 242, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg11", 155, 267, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg12", 155, 292, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg13", 155, 317, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg14", 155, 342, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg15", 155, 367, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg16", 355, 17, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg17", 355, 42, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg18", 355, 67, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg19", 355, 92, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg20", 355, 117, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg21", 355, 142, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg22", 355, 167, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg23", 355, 192, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg24", 355, 217, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg25", 355, 242, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg26", 355, 267, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg27", 355, 292, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg28", 355, 317, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg29", 355, 342, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg30", 355, 367, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg31", 355, 392, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg4", 155, 92, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg5", 155, 117, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg6", 155, 142, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg7", 155, 167, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg8", 155, 192, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_rg9", 155, 217, 30, 16, "R/G", "GroupBoxMain", false},
    {"QPushButton", "btn_save", 139, 12, 89, 26, "speichern", "GroupBoxButtons", true},
    {"QLineEdit", "edt_address10", 105, 240, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address11", 105, 265, 40, 20, "2041", "GroupBoxMain", false},
    {"QLineEdit", "edt_address12", 105, 290, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address13", 105, 315, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address14", 105, 340, 40, 20, "2041", "GroupBoxMain", false},
    {"QLineEdit", "edt_address15", 105, 365, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address16", 305, 15, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address17", 305, 40, 40, 20, "2041", "GroupBoxMain", false},
    {"QLineEdit", "edt_address18", 305, 65, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address19", 305, 90, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address20", 305, 115, 40, 20, "2041", "GroupBoxMain", false},
    {"QLineEdit", "edt_address21", 305, 140, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address22", 305, 165, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address23", 305, 190, 40, 20, "2041", "GroupBoxMain", false},
    {"QLineEdit", "edt_address24", 305, 215, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address25", 305, 240, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address26", 305, 265, 40, 20, "2041", "GroupBoxMain", false},
    {"QLineEdit", "edt_address27", 305, 290, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address28", 305, 315, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address29", 305, 340, 40, 20, "2041", "GroupBoxMain", false},
    {"QLineEdit", "edt_address30", 305, 365, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address31", 305, 390, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address4", 105, 90, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address5", 105, 115, 40, 20, "2041", "GroupBoxMain", false},
    {"QLineEdit", "edt_address6", 105, 140, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address7", 105, 165, 40, 20, "2044", "GroupBoxMain", false},
    {"QLineEdit", "edt_address8", 105, 190, 40, 20, "2041", "GroupBoxMain", false},
    {"QLineEdit", "edt_address9", 105, 215, 40, 20, "2044", "GroupBoxMain", false},
    {"QLabel", "lbl_row10", 5, 244, 50, 20, "Position3", "GroupBoxMain", false},
    {"QLabel", "lbl_row11", 5, 269, 50, 20, "Position4", "GroupBoxMain", false},
    {"QLabel", "lbl_row12", 5, 294, 50, 20, "Position5", "GroupBoxMain", false},
    {"QLabel", "lbl_row13", 5, 319, 50, 20, "Position6", "GroupBoxMain", false},
    {"QLabel", "lbl_row14", 5, 344, 50, 20, "Position7", "GroupBoxMain", false},
    {"QLabel", "lbl_row15", 5, 369, 50, 20, "Position8", "GroupBoxMain", false},
    {"QLabel", "lbl_row16", 205, 19, 50, 20, "Position9", "GroupBoxMain", false},
    {"QLabel", "lbl_row17", 205, 44, 57, 20, "Position10", "GroupBoxMain", false},
    {"QLabel", "lbl_row18", 205, 69, 57, 20, "Position11", "GroupBoxMain", false},
    {"QLabel", "lbl_row19", 205, 94, 57, 20, "Position12", "GroupBoxMain", false},
    {"QLabel", "lbl_row20", 205, 119, 57, 20, "Position13", "GroupBoxMain", false},
    {"QLabel", "lbl_row21", 205, 144, 57, 20, "Position14", "GroupBoxMain", false},
    {"QLabel", "lbl_row22", 205, 169, 57, 20, "Position15", "GroupBoxMain", false},
    {"QLabel", "lbl_row23", 205, 194, 57, 20, "Position16", "GroupBoxMain", false},
    {"QLabel", "lbl_row24", 205, 219, 57, 20, "Position17", "GroupBoxMain", false},
    {"QLabel", "lbl_row25", 205, 244, 57, 20, "Position18", "GroupBoxMain", false},
    {"QLabel", "lbl_row26", 205, 269, 57, 20, "Position19", "GroupBoxMain", false},
    {"QLabel", "lbl_row27", 205, 294, 57, 20, "Position20", "GroupBoxMain", false},
    {"QLabel", "lbl_row28", 205, 319, 57, 20, "Position21", "GroupBoxMain", false},
    {"QLabel", "lbl_row29", 205, 344, 57, 20, "Position22", "GroupBoxMain", false},
    {"QLabel", "lbl_row30", 205, 369, 57, 20, "Position23", "GroupBoxMain", false},
    {"QLabel", "lbl_row31", 205, 394, 57, 20, "Position24", "GroupBoxMain", false},
    {"QLabel", "lbl_row4", 5, 94, 28, 20, "Licht", "GroupBoxMain", false},
    {"QLabel", "lbl_row5", 5, 119, 26, 20, "Step", "GroupBoxMain", false},
    {"QLabel", "lbl_row6", 5, 144, 62, 20, "Turn (180°)", "GroupBoxMain", false},
    {"QLabel", "lbl_row7", 5, 169, 73, 20, "Drehrichtung", "GroupBoxMain", false},
    {"QLabel", "lbl_row8", 5, 194, 50, 20, "Position1", "GroupBoxMain", false},
    {"QLabel", "lbl_row9", 5, 219, 50, 20, "Position2", "GroupBoxMain", false},
};

QWidget* Make(const Item& item, QWidget* parent) {
    const QString text = QString::fromUtf8(item.text);
    if (!std::strcmp(item.type, "QGroupBox")) return new QGroupBox(text, parent);
    if (!std::strcmp(item.type, "QLabel")) return new QLabel(text, parent);
    if (!std::strcmp(item.type, "QLineEdit")) return new QLineEdit(text, parent);
    if (!std::strcmp(item.type, "QPushButton")) return new QPushButton(text, parent);
    if (!std::strcmp(item.type, "QProgressBar")) return new QProgressBar(parent);
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("HEX Parvel");
    auto* central = new QWidget;
    central->setObjectName("FormMainClient");
    window.setCentralWidget(central);
    QStatusBar* bar = window.statusBar();
    bar->setSizeGripEnabled(false);
    QMap<QString, QWidget*> parents{{"FormMainClient", central}};
    for (const Item& item : kItems) {
        const bool in_bar = !std::strcmp(item.parent, "StatusBar1");
        QWidget* w = Make(item, in_bar ? bar : parents.value(item.parent, central));
        w->setObjectName(item.name);
        if (item.bold) {
            QFont font = w->font();
            font.setBold(true);
            w->setFont(font);
        }
        if (in_bar) {
            w->setMinimumWidth(item.width);
            bar->addWidget(w, std::strcmp(item.name, "StatusPanel3") ? 0 : 1);
        } else {
            w->setGeometry(item.x, item.y, item.width, item.height);
        }
        if (!std::strcmp(item.type, "QGroupBox")) parents.insert(item.name, w);
    }
    // The logo's place: a white picture of its size.
    if (auto* logo = window.findChild<QLabel*>("Image2")) {
        QPixmap white(logo->size());
        white.fill(Qt::white);
        logo->setPixmap(white);
    }
    window.resize(720, 648);
    window.show();
    return QApplication::exec();
}
