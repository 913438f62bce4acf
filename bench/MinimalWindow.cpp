// The yardstick of the window start in startup.sh: a Qt main window with one label.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel("HEX Parvel"));
    window.show();
    return QApplication::exec();
}
