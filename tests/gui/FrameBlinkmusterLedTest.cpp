// The ten-output LED blink pattern editor inside the main window: a made-up firmware with a
// known 1024-byte pattern table is loaded, the frame is driven with mouse and keyboard, and the
// image and the saved file are checked.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <array>
#include <memory>

#include "frames/FrameBlinkmusterLed.h"
#include "tests/gui/GuiFixtures.h"
#include "tests/Harness.h"
#include "tests/gui/WidgetTestSupport.h"
#include "frames/PatternEditorWidgets.h"
#include "settings/PatternTable.h"
#include "app/FormMain.h"
#include "tests/support/ScriptedDialogs.h"

using parvel::ScriptedDialogs;
using parvel::test::FixtureImage;

namespace {

// The pattern table of the fixture, byte i = low byte of program word 0x300 + i; block n is
// bytes 256 n .. 256 n + 255.
// Block 0 ("Adresse 1"): 10 steps, stretch 10, loop, all ten outputs (byte 103 = 0x7F: bit 6
// is no output and must stay); unused bytes hold values the editor must keep.
// Block 1: bytes (7 j + 3), count 30, stretch 4, outputs 1 and 7 only, no loop.
// Block 2: all 0. Block 3: count 5, stretch 2, no outputs, byte 255 = 0xEE.
constexpr std::array<int, 10> kFirst{0x01, 0x02, 0x04, 0x08, 0x0F, 0x00, 0x03, 0x0C, 0xF5, 0x0A};
constexpr std::array<int, 10> kSecond{0x01, 0x20, 0x3F, 0x00, 0x15, 0x2A, 0x00, 0x01, 0xC2, 0x10};

int FixtureByte(int i) {
    const int block = i / 256;
    const int j = i % 256;
    switch (block) {
        case 0:
            if (j < 10) return kFirst[j];
            if (j < 100) return 0x00;
            if (j == 100) return 0xF1;
            if (j == 101) return 10;
            if (j == 102) return 10;
            if (j == 103) return 0x7F;
            if (j < 128) return 0x50 + j - 104;
            if (j < 138) return kSecond[j - 128];
            if (j < 228) return 0x00;
            if (j < 255) return 0x60;
            return 0x99;
        case 1:
            if (j == 100) return 0x10;
            if (j == 101) return 30;
            if (j == 102) return 4;
            if (j == 103) return 0x04;
            return (7 * j + 3) & 0xFF;
        case 2:
            return 0x00;
        default:
            if (j == 101) return 5;
            if (j == 102) return 2;
            if (j == 255) return 0xEE;
            return 0x00;
    }
}

int FixtureWord(int i) { return 0x3400 | FixtureByte(i); }

std::string Hex2(int v) { return QString("%1").arg(v, 2, 16, QChar('0')).toUpper().toStdString(); }

// Frame width 490 (right edge of "Übernehmen" 475 + 15). The strips start right of their
// labels ("Out#10"), at 40 or more; they are 490 - left - 10 wide and the steps share all but
// their last 10 pixels.
constexpr int kFrameWidth = 490;
int g_strip_left = 40;
int StepWidth() { return kFrameWidth - g_strip_left - 10 - 10; }
int StepCentre(int step, int count) { return static_cast<int>((step + 0.5) * StepWidth() / count); }
int StepLeft(int step, int count) { return static_cast<int>(step * double(StepWidth()) / count); }

int Right(const QWidget* w) { return w->x() + w->width(); }

using guitest::Child;
using guitest::Drag;
using guitest::Reread;
void TypeInto(QLineEdit* edit, const QString& text) { guitest::TypeText(edit, text, true); }

}  // namespace

class FrameBlinkmusterLedTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;

    std::string Path(const QString& name) const { return m_dir->filePath(name).toStdString(); }

    std::string WriteFixture(const QString& name) {
        FixtureImage f = parvel::test::Firmware(0xDD, FixtureImage::Protocol::Dcc);
        f.rom_last_word = 0x6FF;
        for (int i = 0; i < 1024; ++i) f.words[0x300 + i] = FixtureWord(i);
        guitest::DccRowsAtAddressOne(f);
        const std::string path = Path(name);
        parvel::test::WriteFile(path, parvel::test::BuildHex(f));
        return path;
    }

    std::unique_ptr<TFormMain> Loaded() {
        parvel::StartOptions options;
        auto w = std::make_unique<TFormMain>(options, &m_dialogs);
        m_dialogs.open_names.push_back(WriteFixture("led.hex"));
        w->btn_loadClick();
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) qFatal("window not shown");
        g_strip_left = Strip(*w, 1)->x();
        return w;
    }

    static TFrameBlinkmuster_led* Frame(TFormMain& w) { return w.FrameBlinkmuster_led1; }
    static QWidget* Strip(TFormMain& w, int n) {
        return Child<QWidget>(Frame(w), QString("Image_led_Blink%1").arg(n));
    }
    static QWidget* Control(TFormMain& w, const QString& name) {
        return Child<QWidget>(Frame(w), "led_blinkmuster_" + name);
    }
    static QPushButton* TakeOverButton(TFormMain& w) {
        return Child<QPushButton>(Frame(w), "led_blinkmuster_btn_uebernehmen");
    }
    static void Click(TFormMain& w, const QString& name) {
        QTest::mouseClick(Control(w, name), Qt::LeftButton);
    }
    static int Byte(TFormMain& w, int i) { return Frame(w)->table().Byte(i); }
    static std::string Cell(TFormMain& w, int i) {
        return w.document().image().rom_cells[0x600 + 2 * i];
    }



  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = ScriptedDialogs();
    }

    void controlsAndHints() {
        auto w = Loaded();
        QVERIFY(m_dialogs.messages.empty());
        for (int n = 1; n <= 10; ++n) {
            const QString s = QString::number(n);
            auto* use = Child<QCheckBox>(Frame(*w), "led_blinkmuster_cbx_out" + s);
            QCOMPARE(use->toolTip(), "Ausgang " + s + " verwenden (wird sonst nicht beeinflusst)");
            QCOMPARE(Child<QLabel>(Frame(*w), "led_blinkmuster_lbl_out" + s)->text(), "Out#" + s);
        }
        for (int n = 1; n <= 4; ++n) {
            const QString s = QString::number(n);
            QCOMPARE(Child<QRadioButton>(Frame(*w), "led_blinkmuster_rad_a" + s)->text(),
                     "Adresse " + s);
            auto* copy = Child<QPushButton>(Frame(*w), "led_blinkmuster_btn_copy" + s);
            QCOMPARE(copy->text(), "von #" + s);
            QCOMPARE(copy->toolTip(), "Kopieren der Kurvenformen von Adresse " + s);
        }
        QCOMPARE(Child<QGroupBox>(Frame(*w), "led_blinkmuster_grp_adresse")->title(),
                 QString("Parameter für ..."));
        QCOMPARE(Child<QCheckBox>(Frame(*w), "led_blinkmuster_cbx_loop")->text(), QString("Loop"));
        QCOMPARE(Child<QLabel>(Frame(*w), "led_blinkmuster_lbl_kopieren")->text(),
                 QString("Kurve kopieren"));
        QCOMPARE(TakeOverButton(*w)->text(), QString("Übernehmen"));
        QCOMPARE(Child<QPushButton>(Frame(*w), "led_blinkmuster_btn_verwerfen")->text(),
                 QString("Verwerfen"));
        auto* count_spin = Child<parvel::PatternUpDown>(Frame(*w), "UpDown9");
        auto* stretch_spin = Child<parvel::PatternUpDown>(Frame(*w), "UpDown10");
        QCOMPARE(count_spin->minimum(), 1);
        QCOMPARE(count_spin->maximum(), 100);
        QCOMPARE(stretch_spin->minimum(), 1);
        QCOMPARE(stretch_spin->maximum(), 200);
    }

    void setUpLaysOutTheRows() {
        auto w = Loaded();
        TFrameBlinkmuster_led* f = Frame(*w);
        QCOMPARE(f->width(), kFrameWidth);
        QVERIFY(g_strip_left >= 40);
        for (int n = 1; n <= 10; ++n) {
            QCOMPARE(Strip(*w, n)->x(), g_strip_left);
            QCOMPARE(Strip(*w, n)->size(), QSize(kFrameWidth - g_strip_left - 10, 38));
            QWidget* label = Control(*w, QString("lbl_out%1").arg(n));
            QVERIFY(Right(label) <= g_strip_left);  // "Out#10" is not covered by its strip
        }
        // Address buttons in one row: lefts 10, d + 10, 2d + 10, 3d + 10 with d = width + 10.
        QWidget* a1 = Control(*w, "rad_a1");
        const int d = a1->width() + 10;
        for (int n = 0; n < 4; ++n) {
            QWidget* a = Control(*w, QString("rad_a%1").arg(n + 1));
            QCOMPARE(a->x(), n * d + 10);
            QCOMPARE(a->y(), a1->y());
            QCOMPARE(a->width(), a1->width());
            QVERIFY(!a->isHidden());
        }
        QWidget* group = Control(*w, "grp_adresse");
        QCOMPARE(group->width(), 4 * d + 10);
        QVERIFY(a1->y() + a1->height() <= group->height());  // the row fits into the group
        QCOMPARE(Control(*w, "cbx_loop")->x(), Right(group) + 10);

        // Stretch label, 5, stretch edit, spinner, 10, count label, 5, count edit, spinner, 10,
        // the info labels one above the other.
        QWidget* stretch_label = Control(*w, "lbl_stretch");
        QWidget* stretch = Control(*w, "edt_stretch");
        QWidget* stretch_spin = Child<QWidget>(f, "UpDown10");
        QWidget* count_label = Control(*w, "lbl_Anzahl");
        QWidget* count = Control(*w, "edt_Anzahl");
        QWidget* count_spin = Child<QWidget>(f, "UpDown9");
        QWidget* info1 = Control(*w, "lbl_KurveInfo1");
        QWidget* info2 = Control(*w, "lbl_KurveInfo2");
        QCOMPARE(stretch->x(), Right(stretch_label) + 5);
        QCOMPARE(stretch_spin->x(), Right(stretch));
        QCOMPARE(count_label->x(), Right(stretch_spin) + 10);
        QCOMPARE(count->x(), Right(count_label) + 5);
        QCOMPARE(count_spin->x(), Right(count));
        QCOMPARE(info1->x(), Right(count_spin) + 10);
        QCOMPARE(info2->x(), info1->x());
        QVERIFY(info2->y() >= info1->y() + info1->height());
        QVERIFY(Right(info1) <= f->width());

        // Copy buttons at the height of "Verwerfen", the label 3 lower, buttons side by side.
        QWidget* discard = Control(*w, "btn_verwerfen");
        QWidget* copy_label = Control(*w, "lbl_kopieren");
        QCOMPARE(copy_label->y(), discard->y() + 3);
        QCOMPARE(Control(*w, "btn_copy1")->x(), Right(copy_label) + 5);
        for (int n = 1; n <= 4; ++n) {
            QWidget* copy = Control(*w, QString("btn_copy%1").arg(n));
            QCOMPARE(copy->y(), discard->y());
            if (n > 1) QCOMPARE(copy->x(), Right(Control(*w, QString("btn_copy%1").arg(n - 1))));
        }
        QVERIFY(Right(Control(*w, "btn_copy4")) <= discard->x());
        // The rows lie below the last strip.
        QVERIFY(group->y() >= Strip(*w, 10)->y() + 38);
    }

    void setUpShowsTheFirstAddress() {
        auto w = Loaded();
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        QVERIFY(Child<QRadioButton>(Frame(*w), "led_blinkmuster_rad_a1")->isChecked());
        QCOMPARE(Child<QLineEdit>(Frame(*w), "led_blinkmuster_edt_Anzahl")->text(), QString("10"));
        QCOMPARE(Child<QLineEdit>(Frame(*w), "led_blinkmuster_edt_stretch")->text(), QString("10"));
        QCOMPARE(Child<QLabel>(Frame(*w), "led_blinkmuster_lbl_KurveInfo1")->text(),
                 QString("Zeit-Raster = 200 ms"));
        QCOMPARE(Child<QLabel>(Frame(*w), "led_blinkmuster_lbl_KurveInfo2")->text(),
                 QString("Gesamtzeit = 2000 ms"));
        QVERIFY(Child<QCheckBox>(Frame(*w), "led_blinkmuster_cbx_loop")->isChecked());
        for (int n = 1; n <= 10; ++n) {
            QVERIFY(Child<QCheckBox>(Frame(*w), QString("led_blinkmuster_cbx_out%1").arg(n))
                        ->isChecked());
            QVERIFY(!Strip(*w, n)->isHidden());
        }
        QVERIFY(!Control(*w, "btn_copy1")->isEnabled());
        for (int i = 0; i < 1024; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
    }

    void secondAddressShowsItsUseBoxes() {
        auto w = Loaded();
        Click(*w, "rad_a2");
        QCOMPARE(Child<QLineEdit>(Frame(*w), "led_blinkmuster_edt_Anzahl")->text(), QString("30"));
        QCOMPARE(Child<QLineEdit>(Frame(*w), "led_blinkmuster_edt_stretch")->text(), QString("4"));
        QCOMPARE(Child<QLabel>(Frame(*w), "led_blinkmuster_lbl_KurveInfo2")->text(),
                 QString("Gesamtzeit = 2400 ms"));
        QVERIFY(!Child<QCheckBox>(Frame(*w), "led_blinkmuster_cbx_loop")->isChecked());
        for (int n = 1; n <= 10; ++n) {
            const bool used = n == 1 || n == 7;  // byte 100 bit 4, byte 103 bit 2
            QCOMPARE(Child<QCheckBox>(Frame(*w), QString("led_blinkmuster_cbx_out%1").arg(n))
                         ->isChecked(),
                     used);
            QCOMPARE(Strip(*w, n)->isHidden(), !used);
        }
        QVERIFY(!TakeOverButton(*w)->isEnabled());
    }

    void countAndStretchEdits_data() {
        QTest::addColumn<QString>("edit");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("message");
        const QString range = "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich ";
        QTest::newRow("count 150") << "edt_Anzahl"
                                   << "150"
                                   << "100" << 101 << 100 << "";
        QTest::newRow("count 0") << "edt_Anzahl"
                                 << "0"
                                 << "1" << 101 << 1 << "";
        QTest::newRow("count 64") << "edt_Anzahl"
                                  << "64"
                                  << "64" << 101 << 64 << "";
        QTest::newRow("count text") << "edt_Anzahl"
                                    << "x"
                                    << "x" << 101 << 10 << range + "1..100";
        QTest::newRow("stretch 300") << "edt_stretch"
                                     << "300"
                                     << "200" << 102 << 200 << "";
        QTest::newRow("stretch text") << "edt_stretch"
                                      << "5a"
                                      << "5a" << 102 << 10 << range + "1..200";
    }

    void countAndStretchEdits() {
        QFETCH(QString, edit);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, offset);
        QFETCH(int, stored);
        QFETCH(QString, message);
        auto w = Loaded();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* e = Child<QLineEdit>(Frame(*w), "led_blinkmuster_" + edit);
        TypeInto(e, typed);
        QCOMPARE(e->text(), shown);
        QCOMPARE(Byte(*w, offset), stored);
        if (message.isEmpty()) {
            QVERIFY(m_dialogs.messages.empty());
            QVERIFY(TakeOverButton(*w)->isEnabled());
        } else {
            QCOMPARE(m_dialogs.messages.size(), size_t(1));
            QCOMPARE(QString::fromStdString(m_dialogs.messages[0].text), message);
            QVERIFY(m_dialogs.messages[0].icon == parvel::Icon::Warning);
            QVERIFY(m_dialogs.messages[0].buttons == parvel::Buttons::Cancel);
            QCOMPARE(QApplication::focusWidget(), e);
            QVERIFY(!TakeOverButton(*w)->isEnabled());
        }
    }

    void drawingBeyondTheCountIsStoredNotDrawn() {
        auto w = Loaded();
        QWidget* out6 = Strip(*w, 6);
        const QImage before = out6->grab().toImage();
        // Count 10: step 15 lies beyond the strip's end.
        QVERIFY(StepCentre(15, 10) > out6->width());
        Drag(out6, {{StepCentre(15, 10), 5}});
        QCOMPARE(Byte(*w, 128 + 15), 0x02);
        // Still further right: step 99, the last step byte, never beyond.
        Drag(out6, {{50000, 5}});
        QCOMPARE(Byte(*w, 128 + 99), 0x02);
        QCOMPARE(Byte(*w, 228), 0x60);
        QCOMPARE(out6->grab().toImage(), before);
        QVERIFY(TakeOverButton(*w)->isEnabled());
        QTest::mouseClick(TakeOverButton(*w), Qt::LeftButton);
        QCOMPARE(Cell(*w, 128 + 15), std::string("02"));
        QCOMPARE(Cell(*w, 128 + 99), std::string("02"));
        QCOMPARE(w->document().image().rom_cells[0x600 + 2 * (128 + 15) + 1], std::string("34"));
        QVERIFY(!TakeOverButton(*w)->isEnabled());
    }

    void dragLeftOfTheStripChangesTheFirstStep() {
        auto w = Loaded();
        QWidget* out1 = Strip(*w, 1);
        QTest::mousePress(out1, Qt::LeftButton, {}, {StepCentre(4, 10), 30});
        QTest::mouseMove(out1, {-40, 30});  // lower part: clears step 1
        QTest::mouseRelease(out1, Qt::LeftButton, {}, {-40, 30});
        QCOMPARE(Byte(*w, 0), 0x00);
        QCOMPARE(Byte(*w, 4), 0x0F);  // the press alone changed nothing
    }

    void stripsMapToTheirBytesAndBits() {
        auto w = Loaded();
        // h = 38: level (38 - y) * 128 / 38 > 50 for y <= 23 only.
        Drag(Strip(*w, 10), {{StepCentre(3, 10), 23}});
        QCOMPARE(Byte(*w, 128 + 3), 0x20);  // output 10: bit 5 of the second byte
        Drag(Strip(*w, 5), {{StepCentre(2, 10), 24}});
        QCOMPARE(Byte(*w, 128 + 2), 0x3E);  // output 5: bit 0 of the second byte, cleared
        Drag(Strip(*w, 4), {{StepCentre(5, 10), 10}});
        QCOMPARE(Byte(*w, 5), 0x08);  // output 4: bit 3 of the first byte
        Drag(Strip(*w, 2), {{StepCentre(8, 10), 30}});
        QCOMPARE(Byte(*w, 8), 0xF5);  // bit 1 was clear; bits 4..7 kept
        // Another address draws into its own block.
        Click(*w, "rad_a2");
        Drag(Strip(*w, 1), {{StepCentre(1, 30), 5}});
        QCOMPARE(Byte(*w, 256 + 1), 0x0B);  // 7 * 1 + 3 = 0x0A, bit 0 set
        QCOMPARE(Byte(*w, 1), 0x02);
    }

    void stripsPaintSteps() {
        auto w = Loaded();
        const QColor red(255, 0, 0), white(255, 255, 255), black(0, 0, 0);
        const QImage out1 = Strip(*w, 1)->grab().toImage();
        QCOMPARE(out1.size(), QSize(kFrameWidth - g_strip_left - 10, 38));
        // Step 0 of output 1: y from trunc(38 - 100 * 38/128) = 8 to the bottom edge.
        QCOMPARE(out1.pixelColor(20, 20), red);
        QCOMPARE(out1.pixelColor(20, 8), black);
        QCOMPARE(out1.pixelColor(20, 7), white);
        QCOMPARE(out1.pixelColor(20, 37), black);
        QCOMPARE(out1.pixelColor(0, 20), black);
        QCOMPARE(out1.pixelColor(StepLeft(1, 10) - 1, 20), black);  // right edge of step 0
        QCOMPARE(out1.pixelColor(StepCentre(1, 10), 20), white);    // 0x02
        const QImage out10 = Strip(*w, 10)->grab().toImage();
        QCOMPARE(out10.pixelColor(StepCentre(1, 10), 20), red);    // 0x20
        QCOMPARE(out10.pixelColor(StepCentre(0, 10), 20), white);  // 0x01
    }

    void useBoxBitsBelongToTheSelectedBlock() {
        auto w = Loaded();
        Click(*w, "cbx_out7");
        QCOMPARE(Byte(*w, 103), 0x7B);  // bit 2 cleared, bit 6 kept
        QVERIFY(Strip(*w, 7)->isHidden());
        QCOMPARE(Byte(*w, 256 + 103), 0x04);
        QCOMPARE(Byte(*w, 100), 0xF1);
        Click(*w, "cbx_out3");
        QCOMPARE(Byte(*w, 100), 0xB1);  // bit 6
        QVERIFY(TakeOverButton(*w)->isEnabled());
        // Its steps are kept and show again.
        Click(*w, "cbx_out7");
        QCOMPARE(Byte(*w, 103), 0x7F);
        QVERIFY(!Strip(*w, 7)->isHidden());
        Click(*w, "cbx_loop");
        QCOMPARE(Byte(*w, 100), 0xB0);
    }

    void copyLeavesByte255() {
        auto w = Loaded();
        Click(*w, "rad_a4");
        QVERIFY(!Control(*w, "btn_copy4")->isEnabled());
        Click(*w, "btn_copy2");
        for (int j = 0; j < 255; ++j) QCOMPARE(Byte(*w, 768 + j), FixtureByte(256 + j));
        QCOMPARE(Byte(*w, 768 + 255), 0xEE);
        for (int i = 0; i < 768; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
        QCOMPARE(Child<QLineEdit>(Frame(*w), "led_blinkmuster_edt_Anzahl")->text(), QString("30"));
        QVERIFY(!Strip(*w, 1)->isHidden());
        QVERIFY(Strip(*w, 2)->isHidden());
        QVERIFY(TakeOverButton(*w)->isEnabled());
    }

    void discardRestores() {
        auto w = Loaded();
        Drag(Strip(*w, 9), {{StepCentre(0, 10), 5}, {StepCentre(9, 10), 5}});
        QVERIFY(TakeOverButton(*w)->isEnabled());
        Click(*w, "btn_verwerfen");
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        for (int i = 0; i < 1024; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
    }

    void saveWithPendingChangesAsksFirst() {
        auto w = Loaded();
        Click(*w, "rad_a3");
        QVERIFY(Strip(*w, 8)->isHidden());  // block 2 drives no output
        Click(*w, "cbx_out8");
        Drag(Strip(*w, 8), {{StepCentre(0, 1), 5}});  // count 0 is shown as 1
        QCOMPARE(Byte(*w, 512 + 103), 0x08);          // output 8: bit 3 of byte 103
        QCOMPARE(Byte(*w, 512 + 128), 0x08);          // and of the second step byte
        const std::string out = Path("out.hex");

        m_dialogs.answers = {parvel::Answer::No};
        m_dialogs.save_names.push_back(out);
        w->btn_saveClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, std::string("Geänderte Werte übernehmen?"));
        QVERIFY(m_dialogs.messages[0].buttons == parvel::Buttons::YesNo);
        QVERIFY(!QFile::exists(QString::fromStdString(out)));
        QVERIFY(Frame(*w)->HasPendingChanges());

        m_dialogs.answers = {parvel::Answer::Yes};
        w->btn_saveClick();
        QVERIFY(QFile::exists(QString::fromStdString(out)));
        QVERIFY(!Frame(*w)->HasPendingChanges());
        const parvel::FirmwareImage saved = Reread(out);
        for (int i = 0; i < 1024; ++i) {
            int expected = i == 512 + 128 || i == 512 + 103 ? 0x08 : FixtureByte(i);
            // Block 2 holds count and stretch 0; the editor showed 1 and wrote what it showed.
            if (i == 512 + 101 || i == 512 + 102) expected = 1;
            QCOMPARE(saved.rom_cells[0x600 + 2 * i], Hex2(expected));
            QCOMPARE(saved.rom_cells[0x600 + 2 * i + 1], std::string("34"));
        }
    }

    void loadingAnotherFileDropsTheChangesNotTakenOver() {
        auto w = Loaded();
        Drag(Strip(*w, 1), {{StepCentre(5, 10), 5}});
        QVERIFY(Frame(*w)->HasPendingChanges());
        m_dialogs.open_names.push_back(
            parvel::guitest::WriteHex(Path("other.hex"), parvel::guitest::BlinkPatternMotorola()));
        m_dialogs.answers.push_back(parvel::Answer::Discard);  // drop the unsaved changes
        w->btn_loadClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text,
                 std::string("Nicht gespeicherte Änderungen verwerfen?"));
        m_dialogs.messages.clear();
        QVERIFY(Frame(*w)->isHidden());
        QVERIFY(!Frame(*w)->HasPendingChanges());
        const std::string out = Path("other-saved.hex");
        m_dialogs.save_names.push_back(out);
        w->btn_saveClick();
        QVERIFY(m_dialogs.messages.empty());
        QCOMPARE(Reread(out).rom_cells[0x600 + 2 * 5], std::string("FF"));
    }

    void savingAnUneditedTableKeepsEveryWord() {
        auto w = Loaded();
        Click(*w, "rad_a2");
        Click(*w, "rad_a4");
        QVERIFY(!Frame(*w)->HasPendingChanges());
        const std::string out = Path("same.hex");
        m_dialogs.save_names.push_back(out);
        w->btn_saveClick();
        QVERIFY(m_dialogs.messages.empty());
        const parvel::FirmwareImage saved = Reread(out);
        for (int i = 0; i < 1024; ++i) {
            QCOMPARE(saved.rom_cells[0x600 + 2 * i], Hex2(FixtureWord(i) & 0xFF));
            QCOMPARE(saved.rom_cells[0x600 + 2 * i + 1], Hex2(FixtureWord(i) >> 8));
        }
    }

    // Undo all after a run of edits gives back the loaded file, redo all the edited one.
    void undoRoundTrip_data() { guitest::PatternUndoRows(); }

    void undoRoundTrip() {
        QFETCH(QString, actions);
        auto w = Loaded();
        guitest::PatternActions(Frame(*w), {"led_blinkmuster_", "Image_led_Blink", "UpDown9", "UpDown10"}, actions);
        int steps = 0;
        guitest::UndoRoundTrip(*w, m_dialogs, Path("led.hex"), m_dir->path().toStdString(), steps);
        if (QTest::currentTestFailed()) return;
        QVERIFY(steps >= actions.count(';'));
    }
};

QTEST_MAIN(FrameBlinkmusterLedTest)
#include "FrameBlinkmusterLedTest.moc"
