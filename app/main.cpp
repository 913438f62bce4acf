#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("HEX Parvel");
    QMainWindow window;
    window.setWindowTitle("Hex Parvel V0.985");
    window.show();
    return app.exec();
}
