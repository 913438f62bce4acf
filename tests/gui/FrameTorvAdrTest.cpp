// The servo address and action table in the main window: lists and their nibbles, the
// variants, the servo flags, the pulse times and their step buttons, and apply through the
// curve editor.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "frames/FrameTorv.h"
#include "frames/FrameTorvAdr.h"
#include "tests/gui/ServoFrameFixture.h"

using guitest::Child;
using servotest::Bench;

class FrameTorvAdrTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Bench> m_bench;

    static QComboBox* List(TFormMain* w, int row, const char* kind) {
        return Child<QComboBox>(w->FrameTorvAdr1, QString("cbx_a%1_%2").arg(row).arg(kind));
    }
    static int Byte(TFormMain* w, int page, int offset) {
        return w->FrameTorv1->pages.at(page, offset);
    }
    static QString Text(TFormMain* w, const QString& name) {
        return Child<QLineEdit>(w->FrameTorvAdr1, name)->text();
    }

  private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void init() { m_bench = std::make_unique<Bench>(); }

    void listsShowTheStoredBytes_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("servo");
        QTest::addColumn<int>("action");
        QTest::addColumn<int>("curve");
        QTest::addColumn<int>("relay");
        QTest::addColumn<bool>("curveShown");
        // Rows 1..4 at offsets 103/104 of pages 1..4, rows 5..8 at 106/107.
        QTest::newRow("row 1: 0x12, 0x11") << 1 << 1 << 1 << 0 << 0 << true;
        QTest::newRow("row 2: 0x01, 0x22") << 2 << 0 << 0 << 1 << 1 << true;
        QTest::newRow("row 4: 0x48, 0x88") << 4 << 3 << 3 << 3 << 3 << false;
        QTest::newRow("row 5: 0x01, 0x11") << 5 << 0 << 0 << 0 << 0 << true;
        QTest::newRow("row 7: 0x14, 0x21") << 7 << 2 << 1 << 1 << 0 << true;
        QTest::newRow("row 8: 0x28, 0x42") << 8 << 3 << 2 << 2 << 1 << false;
    }

    void listsShowTheStoredBytes() {
        QFETCH(int, row);
        QFETCH(int, servo);
        QFETCH(int, action);
        QFETCH(int, curve);
        QFETCH(int, relay);
        QFETCH(bool, curveShown);
        auto w = m_bench->Loaded(servotest::ServoImage(0xD3));
        QCOMPARE(List(w.get(), row, "servo")->currentIndex(), servo);
        QCOMPARE(List(w.get(), row, "action")->currentIndex(), action);
        QCOMPARE(List(w.get(), row, "curve")->currentIndex(), curve);
        QCOMPARE(List(w.get(), row, "relais")->currentIndex(), relay);
        QCOMPARE(!List(w.get(), row, "curve")->isHidden(), curveShown);
        QCOMPARE(!List(w.get(), row, "relais")->isHidden(), curveShown);
        QVERIFY(!w->FrameTorv1->HasPendingChanges());
    }

    void listItemsAndHints() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD3));
        QComboBox* action = List(w.get(), 3, "action");
        QCOMPARE(action->count(), 4);
        QCOMPARE(action->itemText(1), QString("Start Loop"));
        QCOMPARE(action->itemText(3), QString("Beenden"));
        QCOMPARE(List(w.get(), 8, "relais")->itemText(3), QString("Relais 4"));
        QCOMPARE(List(w.get(), 8, "servo")->toolTip(), QString("Auswahl des Servo"));
        QCOMPARE(Child<QCheckBox>(w->FrameTorvAdr1, "cbx_no_ir_1")->toolTip(),
                 QString("eine aktive Kurve für Servo 1 kann nicht durch eine andere Kurve "
                         "unterbrochen werden"));
        QCOMPARE(Child<QCheckBox>(w->FrameTorvAdr1, "cbx_no_ir_2")->toolTip(),
                 QString("eine aktive Kurve für Servo2 kann nicht durch eine andere Kurve "
                         "unterbrochen werden"));
        QCOMPARE(Child<QPushButton>(w->FrameTorvAdr1, "btn_dec10faktor_3")->text(), QString("<<"));
        QCOMPARE(Child<QPushButton>(w->FrameTorvAdr1, "btn_inc1offset_4")->toolTip(),
                 QString("+ 8 us"));
    }

    void listChangesRewriteTheirNibble() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD3));
        // Row 3 "Beenden": high nibble of page 3 offset 103 := 0x40, servo nibble kept.
        List(w.get(), 3, "action")->setCurrentIndex(3);
        QCOMPARE(Byte(w.get(), 2, 103), 0x44);
        QVERIFY(List(w.get(), 3, "curve")->isHidden());
        QVERIFY(List(w.get(), 3, "relais")->isHidden());
        QVERIFY(w->FrameTorv1->HasPendingChanges());
        // Row 6 "Kurve 4" and "Relais 3": page 2 offset 107 from 0x12.
        List(w.get(), 6, "curve")->setCurrentIndex(3);
        QCOMPARE(Byte(w.get(), 1, 107), 0x82);
        List(w.get(), 6, "relais")->setCurrentIndex(2);
        QCOMPARE(Byte(w.get(), 1, 107), 0x84);
        // Row 8 "Servo 1": low nibble of page 4 offset 106 from 0x28.
        List(w.get(), 8, "servo")->setCurrentIndex(0);
        QCOMPARE(Byte(w.get(), 3, 106), 0x21);
        // Back to "Start" shows the curve list of row 4 again.
        List(w.get(), 4, "action")->setCurrentIndex(0);
        QCOMPARE(Byte(w.get(), 3, 103), 0x08);
        QVERIFY(!List(w.get(), 4, "curve")->isHidden());
        QVERIFY(!List(w.get(), 4, "relais")->isHidden());

        w->FrameTorv1->servo_btn_uebernehmen->click();
        const auto& rom = w->document().image().rom_cells;
        QCOMPARE(rom[servotest::LowCell(2 * 128 + 103)], std::string("44"));
        QCOMPARE(rom[servotest::LowCell(1 * 128 + 107)], std::string("84"));
        QCOMPARE(rom[servotest::LowCell(3 * 128 + 106)], std::string("21"));
    }

    void flagsChangeTheirBitOnly() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD3));
        TFrameTorvAdr* t = w->FrameTorvAdr1;
        // Servo 3 holds 0xC6: all four flags set. Servo 2 0x06, servo 4 0x01 (no flag).
        for (const char* kind : {"cbx_v_off_3", "cbx_imp_off_3", "cbx_no_ir_3", "cbx_no_rep_3"}) {
            QVERIFY(Child<QCheckBox>(t, kind)->isChecked());
        }
        QVERIFY(Child<QCheckBox>(t, "cbx_imp_off_2")->isChecked());
        QVERIFY(!Child<QCheckBox>(t, "cbx_no_ir_2")->isChecked());
        QVERIFY(!Child<QCheckBox>(t, "cbx_v_off_4")->isChecked());

        Child<QCheckBox>(t, "cbx_imp_off_3")->click();
        QCOMPARE(Byte(w.get(), 2, 100), 0xC2);
        QCOMPARE(Byte(w.get(), 1, 100), 0x06);
        QVERIFY(w->FrameTorv1->HasPendingChanges());
        Child<QCheckBox>(t, "cbx_no_rep_4")->click();
        QCOMPARE(Byte(w.get(), 3, 100), 0x81);
    }

    void variants_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("labels");
        QTest::addColumn<bool>("fourServos");
        const QStringList plain = {"Adresse 01", "Adresse 02", "Adresse 03", "Adresse 04"};
        QTest::newRow("Torv-4") << 0xD3 << plain << true;
        QTest::newRow("Torvik") << 0xD2 << plain << false;
        QTest::newRow("Torvik V3.58") << 0x1D2 << plain << false;
        QTest::newRow("Torvik F") << 0x4200
                                  << QStringList{"Adresse 01 ein", "Adresse 01 aus",
                                                 "Adresse 02 ein", "Adresse 02 aus"}
                                  << false;
    }

    void variants() {
        QFETCH(int, code);
        QFETCH(QStringList, labels);
        QFETCH(bool, fourServos);
        auto w = m_bench->Loaded(servotest::ServoImage(code));
        TFrameTorvAdr* t = w->FrameTorvAdr1;
        QVERIFY(!t->isHidden());
        for (int r = 1; r <= 4; ++r) {
            auto* label =
                Child<QLabel>(t, QString("lbl_servo_adresse%1").arg(r, 2, 10, QChar('0')));
            QCOMPARE(label->text(), labels[r - 1]);
            QVERIFY(!label->isHidden());
            QVERIFY(!List(w.get(), r, "action")->isHidden());
            QCOMPARE(!List(w.get(), r, "servo")->isHidden(), fourServos);
        }
        QCOMPARE(Child<QLabel>(t, "lbl_servo_adresse05")->text(), QString("Adresse 05:"));
        for (int r = 5; r <= 8; ++r) {
            QCOMPARE(!Child<QLabel>(t, QString("lbl_servo_adresse0%1").arg(r))->isHidden(),
                     fourServos);
            QCOMPARE(!List(w.get(), r, "servo")->isHidden(), fourServos);
            QCOMPARE(!List(w.get(), r, "action")->isHidden(), fourServos);
            // Row 8 holds "Abbruch": its curve and relay lists are hidden in every variant.
            const bool curve_shown = fourServos && r != 8;
            QCOMPARE(!List(w.get(), r, "curve")->isHidden(), curve_shown);
            QCOMPARE(!List(w.get(), r, "relais")->isHidden(), curve_shown);
        }
        // The relay lists follow the curve lists with four servos and are hidden otherwise.
        QCOMPARE(!List(w.get(), 1, "relais")->isHidden(), fourServos);
        QVERIFY(!List(w.get(), 1, "curve")->isHidden());
        QVERIFY(List(w.get(), 4, "curve")->isHidden());  // row 4 "Beenden"
        QVERIFY(!Child<QGroupBox>(t, "GroupBox_Servo1")->isHidden());
        for (int s = 2; s <= 4; ++s) {
            QCOMPARE(!Child<QGroupBox>(t, QString("GroupBox_Servo%1").arg(s))->isHidden(),
                     fourServos);
        }
    }

    void hiddenFieldsKeepTheirBits() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD2));
        // Row 1 "Abbruch": the hidden servo nibble (Servo 2) stays.
        List(w.get(), 1, "action")->setCurrentIndex(2);
        QCOMPARE(Byte(w.get(), 0, 103), 0x22);
        List(w.get(), 1, "curve")->setCurrentIndex(2);
        QCOMPARE(Byte(w.get(), 0, 104), 0x41);  // relay nibble kept
        QVERIFY(List(w.get(), 1, "relais")->isHidden());
        QVERIFY(List(w.get(), 1, "curve")->isHidden());  // "Abbruch" hides it
    }

    void pulseTimesInTheUsersLocale() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD3));
        // pulse_min 125 everywhere; spans 0, 127, 128, 253.
        QCOMPARE(Text(w.get(), "servo_edt_Offset_1"), QString("1,000"));
        QCOMPARE(Text(w.get(), "servo_edt_max_1"), QString("2,016"));
        QCOMPARE(Text(w.get(), "servo_edt_max_2"), QString("3,024"));
        QCOMPARE(Text(w.get(), "servo_edt_max_3"), QString("1,008"));
        QCOMPARE(Text(w.get(), "servo_edt_max_4"), QString("2,008"));
        QVERIFY(Child<QLineEdit>(w->FrameTorvAdr1, "servo_edt_max_4")->isReadOnly());
        QVERIFY(!w->FrameTorv1->HasPendingChanges());
    }

    void spanButtons_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("longest");
        QTest::newRow("> on 253") << 253 << "inc1" << 1 << "2,016";
        QTest::newRow("< on 1") << 1 << "dec1" << 253 << "2,008";
        QTest::newRow(">> on 120") << 120 << "inc10" << 127 << "3,024";
        QTest::newRow("<< on 130") << 130 << "dec10" << 128 << "1,008";
        QTest::newRow(">> on 250") << 250 << "inc10" << 7 << "2,064";
        QTest::newRow("<< on 5") << 5 << "dec10" << 248 << "1,968";
    }

    void spanButtons() {
        QFETCH(int, start);
        QFETCH(QString, button);
        QFETCH(int, result);
        QFETCH(QString, longest);
        auto image = servotest::ServoImage(0xD3);
        image.eeprom[0x61] = static_cast<std::uint8_t>(start);
        auto w = m_bench->Loaded(image);
        Child<QPushButton>(w->FrameTorvAdr1, "btn_" + button + "faktor_1")->click();
        QCOMPARE(w->FrameTorvAdr1->pulses.pulse_span[0], result);
        QCOMPARE(Text(w.get(), "servo_edt_max_1"), longest);
        QCOMPARE(Text(w.get(), "servo_edt_Offset_1"), QString("1,000"));
        QVERIFY(w->FrameTorv1->HasPendingChanges());
        // Not in the image before apply.
        QCOMPARE(w->document().image().eeprom_cells[0x61], servotest::Hex(start));
        w->FrameTorv1->servo_btn_uebernehmen->click();
        QCOMPARE(w->document().image().eeprom_cells[0x61], servotest::Hex(result));
    }

    void shortestPulseIsClamped_data() {
        QTest::addColumn<int>("start");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("shortest");
        QTest::addColumn<QString>("longest");
        QTest::newRow("<< on 55") << 55 << "dec10" << 50 << "0,400"
                                  << "1,416";
        QTest::newRow(">> on 250") << 250 << "inc10" << 255 << "2,040"
                                   << "3,056";
        QTest::newRow("> on 125") << 125 << "inc1" << 126 << "1,008"
                                  << "2,024";
    }

    void shortestPulseIsClamped() {
        QFETCH(int, start);
        QFETCH(QString, button);
        QFETCH(int, result);
        QFETCH(QString, shortest);
        QFETCH(QString, longest);
        auto image = servotest::ServoImage(0xD3);
        image.eeprom[0x60] = static_cast<std::uint8_t>(start);
        auto w = m_bench->Loaded(image);
        Child<QPushButton>(w->FrameTorvAdr1, "btn_" + button + "offset_1")->click();
        QCOMPARE(w->FrameTorvAdr1->pulses.pulse_min[0], result);
        QCOMPARE(Text(w.get(), "servo_edt_Offset_1"), shortest);
        QCOMPARE(Text(w.get(), "servo_edt_max_1"), longest);  // moves with the shortest
    }

    void applyWritesThePulseCellsInOrder() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD3));
        Child<QPushButton>(w->FrameTorvAdr1, "btn_inc1offset_2")->click();
        Child<QPushButton>(w->FrameTorvAdr1, "btn_dec1faktor_4")->click();
        w->FrameTorv1->servo_btn_uebernehmen->click();
        const auto& cells = w->document().image().eeprom_cells;
        const std::vector<std::string> expected = {"7D", "00", "7E", "7F", "7D", "80", "7D", "FC"};
        for (int i = 0; i < 8; ++i) QCOMPARE(cells[0x60 + i], expected[i]);
    }

    void pulseCellThatIsNoHexByteKeepsItsValue() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD3));
        w->document().image().eeprom_cells[0x62] = "Z1";
        w->FrameTorv1->LoadFromImage();
        w->FrameTorvAdr1->LoadFromImage();
        QCOMPARE(w->FrameTorvAdr1->pulses.pulse_min[1], 125);
        QCOMPARE(Text(w.get(), "servo_edt_Offset_2"), QString("1,000"));
        w->FrameTorv1->servo_btn_uebernehmenClick();
        QCOMPARE(w->document().image().eeprom_cells[0x62], std::string("7D"));
    }

    void discardRefreshesTheTableAndKeepsSteppedPulses() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD3));
        List(w.get(), 1, "servo")->setCurrentIndex(3);
        Child<QCheckBox>(w->FrameTorvAdr1, "cbx_v_off_1")->click();
        Child<QPushButton>(w->FrameTorvAdr1, "btn_inc1offset_1")->click();
        w->FrameTorv1->servo_btn_verwerfen->click();
        QCOMPARE(List(w.get(), 1, "servo")->currentIndex(), 1);
        QVERIFY(!Child<QCheckBox>(w->FrameTorvAdr1, "cbx_v_off_1")->isChecked());
        QCOMPARE(Byte(w.get(), 0, 103), 0x12);
        QCOMPARE(Text(w.get(), "servo_edt_Offset_1"), QString("1,008"));
        QVERIFY(!w->FrameTorv1->HasPendingChanges());
        QVERIFY(!w->FrameTorvAdr1->loading);
    }

    // Undo all after a run of address table edits gives back the loaded file, redo all the
    // edited one. Actions as servotest::ServoActions.
    void undoRoundTrip_data() {
        QTest::addColumn<QString>("actions");
        QTest::addColumn<QString>("last_step");  // how the last step's name starts
        QTest::newRow("lists") << "pick:cbx_a1_servo=2;pick:cbx_a2_action=1;pick:cbx_a3_curve=3"
                               << "";
        QTest::newRow("flags") << "click:cbx_v_off_1;click:cbx_no_rep_2;click:cbx_v_off_1"
                               << "Servo 1: „Spannung aus“ aus";
        QTest::newRow("pulse steps")
            << "click:btn_inc10offset_1;click:btn_inc10offset_1;click:btn_dec10faktor_2"
            << "Servo 2: Impuls-Zeit (Max) ";
    }

    void undoRoundTrip() {
        QFETCH(QString, actions);
        QFETCH(QString, last_step);
        servotest::Bench bench;
        auto image = servotest::ServoImage(0xD3);
        guitest::DccRowsAtAddressOne(image);
        auto w = bench.Loaded(image);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        servotest::ServoActions(*w, bench, actions);
        QVERIFY(bench.dialogs.messages.empty());
        const QString name = QString::fromStdString(w->document().UndoName());
        QVERIFY2(name.startsWith(last_step), qPrintable(name));
        int steps = 0;
        guitest::UndoRoundTrip(*w, bench.dialogs, bench.Path("servo.hex"), bench.Path("."), steps);
        if (QTest::currentTestFailed()) return;
        // One step per action and the save's taking over.
        QCOMPARE(steps, actions.count(';') + 2);
    }
};

QTEST_MAIN(FrameTorvAdrTest)
#include "FrameTorvAdrTest.moc"
