// Renders the main window after loading several kinds of firmware, and the info dialog after a
// comparison, into PNG files, so the layout can be checked by eye:
//   QT_QPA_PLATFORM=offscreen gui_screenshots /tmp/shots
#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTranslator>
#include <cstdio>

#include "Dlg_info.h"
#include "GuiFixtures.h"
#include "Reader.h"
#include "RecordingView.h"

namespace fx = parvel::guitest;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("HEX Parvel");
    QTranslator german;
    if (german.load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&german);
    }
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("screenshots");
    QDir().mkpath(out);
    QTemporaryDir work;

    const struct {
        const char* name;
        fx::Firmware firmware;
    } shots[] = {
        {"klemmo-accessory", fx::KlemmoMotorola()},
        {"relais-gap", fx::RelaisDcc()},
        {"function-decoder", fx::FunctionDecoderDcc()},
        {"turntable-two-columns", fx::Turntable48Dcc()},
        {"servo-decoder", fx::ServoDecoderDcc()},
        {"blink-patterns", fx::BlinkPatternMotorola()},
    };

    parvel::ScriptedDialogs dialogs;
    for (const auto& shot : shots) {
        const std::string hex =
            fx::WriteHex(work.filePath(QString(shot.name) + ".hex").toStdString(), shot.firmware);
        parvel::StartOptions options;
        options.doc_root = "file:///usr/share/hexparvel/doc/";
        TFormMain window(options, &dialogs);
        dialogs.open_names.push_back(hex);
        window.btn_loadClick();
        window.show();
        QApplication::processEvents();
        const QString file = QDir(out).filePath(QString(shot.name) + ".png");
        window.grab().save(file);
        std::printf("%s\n", qPrintable(file));

        if (shot.name == std::string("klemmo-accessory")) {
            fx::Firmware other = shot.firmware;
            other.id = "3359";
            other.rows.push_back({10, 0x12, 0xFF, 0xFF});
            const std::string second =
                fx::WriteHex(work.filePath("other.hex").toStdString(), other);
            TfrmInfo info(window.session().image(), dialogs,
                          QString::fromStdString(window.session().status_text[3]), &window);
            info.show();
            QApplication::processEvents();
            info.grab().save(QDir(out).filePath("info-dump.png"));
            dialogs.open_names.push_back(second);
            info.btn_compareClick();
            QApplication::processEvents();
            info.grab().save(QDir(out).filePath("info-compare.png"));
            std::printf("%s\n", qPrintable(QDir(out).filePath("info-compare.png")));
        }
    }
    for (const parvel::Message& m : dialogs.messages) std::printf("message: %s\n", m.text.c_str());
    return 0;
}
