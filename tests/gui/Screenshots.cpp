// Renders the main window after loading several kinds of firmware, and the info dialog after a
// comparison, into PNG files, so the layout can be checked by eye:
//   QT_QPA_PLATFORM=offscreen gui_screenshots /tmp/shots [POINTS]
// POINTS sets the desktop font size the program starts with (default: the platform's).
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QSpinBox>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTranslator>
#include <cstdio>

#include "settings/BlinkPatternTable.h"
#include "catalogue/Catalogue.h"
#include "app/FormMain.h"
#include "frames/FrameTorv.h"
#include "info/FrmInfo.h"
#include "app/FrmRoster.h"
#include "app/FrmSeries.h"
#include "tests/gui/GuiFixtures.h"
#include "settings/LedBlinkPatternTable.h"
#include "tests/support/ScriptedDialogs.h"

namespace fx = parvel::guitest;

namespace {

// Puts a running-light pattern into the first block of a blink pattern table and shows the
// frame again, so the screenshot has drawn strips.
void DrawChaser(TFormMain& window, parvel::PatternTable&& table, int frame_code) {
    table.ReadTable(window.document().image());
    table.EditCount("12");
    table.EditStretch("5");
    for (int k = 0; k < table.outputs(); ++k) {
        table.SetOutputUsed(k, k != 2);
        for (int s = 0; s < table.layout().max_steps; ++s) table.SetStepBit(s, k, (s + k) % 4 < 2);
    }
    table.WriteTable(window.document().image());
    window.ShowFrame(frame_code);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("HEX Parvel");
    QTranslator german;
    if (german.load("qtbase_de", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&german);
    }
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString("screenshots");
    if (argc > 2) {
        QFont desktop = QApplication::font();
        desktop.setPointSize(QString::fromLocal8Bit(argv[2]).toInt());
        QApplication::setFont(desktop);
    }
    QDir().mkpath(out);
    QTemporaryDir work;

    auto typed = [](std::uint32_t code, fx::Protocol protocol) {
        fx::Firmware f;
        f.type_code = code;
        f.protocol = protocol;
        return f;
    };
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
        {"led-blink-patterns", typed(0xDD, fx::Protocol::Motorola)},
        {"zusatz-traffic-light", typed(0x267, fx::Protocol::Motorola)},
        {"zusatz-neon", typed(0x2A4100, fx::Protocol::Dcc)},
        {"zusatz-switch-off", typed(0x308, fx::Protocol::Motorola)},
        {"zusatz-outputs", typed(0x270, fx::Protocol::Motorola)},
        {"cv-register", typed(0x4400, fx::Protocol::Dcc)},
        {"servo-torv4", typed(0xD3, fx::Protocol::Dcc)},
        {"servo-threshold", typed(0x1D2, fx::Protocol::Dcc)},
        {"servo-f-decoder", typed(16896, fx::Protocol::Dcc)},
    };

    parvel::ScriptedDialogs dialogs;
    {
        // The window before any file: the hint in the empty grid.
        TFormMain empty(parvel::StartOptions{}, &dialogs);
        empty.show();
        QApplication::processEvents();
        empty.grab().save(QDir(out).filePath("start-empty.png"));
    }
    for (const auto& shot : shots) {
        const std::string hex =
            fx::WriteHex(work.filePath(QString(shot.name) + ".hex").toStdString(), shot.firmware);
        parvel::StartOptions options;
        options.doc_root = "file:///usr/share/hexparvel/doc/";
        TFormMain window(options, &dialogs);
        dialogs.open_names.push_back(hex);
        window.btn_loadClick();
        if (shot.name == std::string("blink-patterns")) {
            DrawChaser(window, parvel::BlinkPatternTable(), parvel::kFrameBlinkmuster);
        } else if (shot.name == std::string("led-blink-patterns")) {
            DrawChaser(window, parvel::LedBlinkPatternTable(), parvel::kFrameBlinkmusterLed);
        }
        window.show();
        QApplication::processEvents();
        const QString file = QDir(out).filePath(QString(shot.name) + ".png");
        window.grab().save(file);
        std::printf("%s\n", qPrintable(file));

        if (QString(shot.name).startsWith("servo-")) {
            // The curve editor with a generated curve, relay points and grid lines.
            TFrameTorv* torv = window.FrameTorv1;
            torv->edt_Anzahl->setText("20");
            torv->edt_AnzahlChange();
            torv->btn_sin2Click();
            for (int i = 5; i < 12; ++i) torv->pages.SetRelay(0, i, i != 8);
            torv->cbx_raster_x->setCurrentIndex(4);
            torv->cbx_raster_y->setCurrentIndex(3);
            if (!torv->edt_torvik_schwelle->isHidden()) {
                torv->edt_torvik_schwelle->setText("90");
                torv->edt_torvik_schwelleChange();
            }
            QApplication::processEvents();
            window.grab().save(file);
        }

        if (shot.name == std::string("klemmo-accessory")) {
            fx::Firmware other = shot.firmware;
            other.id = "3359";
            other.rows.push_back({10, 0x12, 0xFF, 0xFF});
            const std::string second =
                fx::WriteHex(work.filePath("other.hex").toStdString(), other);
            TfrmInfo info(window.document().image(), dialogs,
                          QString::fromStdString(window.document().status_text(3)), &window);
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
    // The address plan of all images written above (klemmo and other.hex share addresses).
    fx::WriteHex(work.filePath("kaputt.hex").toStdString(), fx::Firmware{});
    TfrmRoster roster(work.path(), dialogs);
    roster.show();
    while (roster.IsReading()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QApplication::processEvents();
    roster.grab().save(QDir(out).filePath("roster.png"));
    std::printf("%s\n", qPrintable(QDir(out).filePath("roster.png")));

    {
        // "Reihe erzeugen" over the first firmware of the folder, with its summary filled.
        TFormMain window(parvel::StartOptions{}, &dialogs);
        window.LoadHexFile(work.filePath("klemmo-accessory.hex").toStdString());
        TfrmSeries series(window.document(), dialogs, &window);
        series.edt_count->setValue(3);
        series.edt_folder->setText(work.filePath("reihe"));
        QDir().mkpath(work.filePath("reihe"));
        series.btn_createClick();
        series.show();
        QApplication::processEvents();
        series.grab().save(QDir(out).filePath("series.png"));
        std::printf("%s\n", qPrintable(QDir(out).filePath("series.png")));
    }

    for (const parvel::Message& m : dialogs.messages) std::printf("message: %s\n", m.text.c_str());
    return 0;
}
