#pragma once

// A servo decoder firmware with known bytes in every servo page and pulse cell, and the main
// window loaded with it, for the tests of the curve editor and the address table.

#include <QAbstractButton>
#include <QComboBox>
#include <QPushButton>
#include <QToolButton>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "tests/fixtures/FixtureBuilder.h"
#include "tests/Harness.h"
#include "app/FormMain.h"
#include "tests/support/ScriptedDialogs.h"
#include "tests/gui/WidgetTestSupport.h"

namespace servotest {

constexpr int kPageBytes = 512;

// The page bytes the fixture holds (index = page * 128 + offset).
inline std::array<std::uint8_t, kPageBytes> LoadedPages() {
    std::array<std::uint8_t, kPageBytes> b{};
    for (int p = 0; p < 4; ++p) {
        for (int k = 0; k < 128; ++k) {
            std::uint8_t v;
            if (k < 100) {
                v = static_cast<std::uint8_t>((k * 7 + p * 13) % 128);
                if (k % 5 == 3) v |= 0x80;
            } else {
                v = static_cast<std::uint8_t>(0xE0 + (k % 16));
            }
            b[p * 128 + k] = v;
        }
    }
    auto set = [&](int page, int offset, std::uint8_t value) { b[page * 128 + offset] = value; };
    // Curve 1: point 0 position 5 relay off, point 1 position 5 relay on.
    set(0, 0, 0x05);
    set(0, 1, 0x85);
    const std::uint8_t flags[4] = {0x00, 0x06, 0xC6, 0x01};
    const std::uint8_t stretch[4] = {10, 20, 5, 1};
    const std::uint8_t servo_action[4] = {0x12, 0x01, 0x04, 0x48};
    const std::uint8_t curve_relay[4] = {0x11, 0x22, 0x44, 0x88};
    const std::uint8_t servo_action2[4] = {0x01, 0x02, 0x14, 0x28};
    const std::uint8_t curve_relay2[4] = {0x11, 0x12, 0x21, 0x42};
    const std::uint8_t buttons[4] = {0x00, 0x02, 0x06, 0x00};
    for (int p = 0; p < 4; ++p) {
        set(p, 100, flags[p]);
        set(p, 101, 10);
        set(p, 102, stretch[p]);
        set(p, 103, servo_action[p]);
        set(p, 104, curve_relay[p]);
        set(p, 106, servo_action2[p]);
        set(p, 107, curve_relay2[p]);
        set(p, 110, buttons[p]);
    }
    return b;
}

// High byte of the program word that holds page byte i (a retlw with varying top bits).
inline std::uint8_t LoadedHighByte(int i) { return static_cast<std::uint8_t>(0x30 | (i % 16)); }

// Pulse cells 0x60..0x67: pulse_min 125 for every servo, spans 0, 127, 128, 253.
inline std::array<std::uint8_t, 8> LoadedPulses() {
    return {0x7D, 0x00, 0x7D, 0x7F, 0x7D, 0x80, 0x7D, 0xFD};
}

inline parvel::test::FixtureImage ServoImage(std::uint32_t type_code) {
    parvel::test::FixtureImage f =
        parvel::test::Firmware(type_code, parvel::test::FixtureImage::Protocol::Dcc);
    f.rom_last_word = 0x6FF;
    const auto pages = LoadedPages();
    for (int i = 0; i < kPageBytes; ++i) {
        f.words[0x500 + i] = static_cast<std::uint16_t>((LoadedHighByte(i) << 8) | pages[i]);
    }
    const auto pulses = LoadedPulses();
    for (int i = 0; i < 8; ++i) f.eeprom[0x60 + i] = pulses[i];
    f.eeprom[0x30] = 20;  // threshold
    return f;
}

// Cell index of the low byte of page byte i.
inline int LowCell(int i) { return 2 * (0x500 + i); }

inline std::string Hex(std::uint8_t v) { return parvel::hex_byte_names()[v]; }

// A main window with scripted dialogs, files in a temporary folder.
class Bench {
  public:
    Bench() {
        if (!m_dir.isValid()) qFatal("no temporary folder");
    }

    std::string Path(const QString& name) const { return m_dir.filePath(name).toStdString(); }

    std::unique_ptr<TFormMain> Window() {
        parvel::StartOptions options;
        options.settings_path = Path("hexpar.ini");
        auto window = std::make_unique<TFormMain>(options, &dialogs);
        return window;
    }

    // Writes the fixture and loads it into the window through the load button.
    void Load(TFormMain& window, const parvel::test::FixtureImage& image,
              const QString& name = "servo.hex") {
        const std::string path = Path(name);
        parvel::test::WriteFile(path, parvel::test::BuildHex(image));
        dialogs.open_names.push_back(path);
        window.btn_loadClick();
    }

    std::unique_ptr<TFormMain> Loaded(const parvel::test::FixtureImage& image,
                                      const QString& name = "servo.hex") {
        auto window = Window();
        Load(*window, image, name);
        return window;
    }

    parvel::ScriptedDialogs dialogs;

  private:
    QTemporaryDir m_dir;
};

// A user's actions on the servo frames of `window`, ';'-separated: "click:<button, box or
// radio>", "type:<field>=<text>" (finished with Return), "pick:<list>=<index>" (keys),
// "draw:<canvas>=x1,y1,x2,y2" (one stroke), "step:<spinner>=+" or "-", "load:<curve file
// text with | for line ends>" (through servo_load_1 and the open dialog).
inline void ServoActions(TFormMain& window, Bench& bench, const QString& actions) {
    int files = 0;
    for (const QString& action : actions.split(';')) {
        const QString kind = action.section(':', 0, 0);
        const QString name = action.section(':', 1).section('=', 0, 0);
        const QString value = action.section('=', 1);
        if (kind == "click") {
            auto* button = guitest::Child<QAbstractButton>(&window, name);
            QTest::mouseClick(button, Qt::LeftButton, {},
                              qobject_cast<QPushButton*>(button)
                                  ? button->rect().center()
                                  : QPoint(6, button->height() / 2));
        } else if (kind == "type") {
            guitest::TypeText(guitest::Child<QLineEdit>(&window, name), value, true);
        } else if (kind == "pick") {
            auto* list = guitest::Child<QComboBox>(&window, name);
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Home);
            for (int i = 0; i < value.toInt(); ++i) QTest::keyClick(list, Qt::Key_Down);
        } else if (kind == "draw") {
            const QStringList c = value.split(',');
            auto* canvas = guitest::Child<QWidget>(&window, name);
            const QPoint from(c[0].toInt(), c[1].toInt());
            const QPoint to(c[2].toInt(), c[3].toInt());
            guitest::Drag(canvas, {from, (from + to) / 2, to});
        } else if (kind == "step") {
            auto* spinner = guitest::Child<QWidget>(&window, name);
            const QList<QToolButton*> buttons = spinner->findChildren<QToolButton*>();
            QToolButton* up = buttons[0]->y() <= buttons[1]->y() ? buttons[0] : buttons[1];
            QToolButton* down = up == buttons[0] ? buttons[1] : buttons[0];
            QTest::mouseClick(value == "+" ? up : down, Qt::LeftButton);
        } else if (kind == "load") {
            const std::string path = bench.Path(QString("curve%1.cur").arg(++files));
            parvel::test::WriteFile(path, action.section(':', 1).replace('|', "\r\n").toStdString());
            bench.dialogs.open_names.push_back(path);
            QTest::mouseClick(guitest::Child<QPushButton>(&window, "servo_load_1"),
                              Qt::LeftButton);
        }
        QCoreApplication::processEvents();
    }
}

}  // namespace servotest
