// The four-output blink pattern editor inside the main window: a made-up firmware with a known
// pattern table is loaded, the frame is driven with mouse and keyboard, and the image and the
// saved file are checked.
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <algorithm>
#include <array>
#include <memory>

#include "frames/FrameBlinkmuster.h"
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

// The pattern table of the fixture, byte i = low byte of program word 0x300 + i.
// Block 0 ("Adresse 1"): 10 steps, stretch 10, loop and all four outputs; steps 10..49 hold
// bits that are not drawn; bytes 50..52 and 56..63 hold values the editor must keep.
// Block 1: 20 empty steps, stretch 5, outputs 1 and 2, no loop; unused bytes 0x77.
// Block 2: count and stretch 0 (shown as 1). Block 3: erased words (0x3FFF).
constexpr std::array<int, 10> kBlock0Steps{0x01, 0x03, 0x07, 0x0F, 0x0E,
                                           0x0C, 0x08, 0x00, 0xA5, 0x5A};

int FixtureByte(int i) {
    const int block = i / 64;
    const int j = i % 64;
    switch (block) {
        case 0:
            if (j < 10) return kBlock0Steps[j];
            if (j < 50) return 0x0F;
            if (j < 53) return 0x11 * (j - 49);  // 0x11, 0x22, 0x33
            if (j == 53) return 10;
            if (j == 54) return 10;
            if (j == 55) return 0xF1;
            return 0x40 + j - 56;
        case 1:
            if (j < 50) return 0x00;
            if (j == 53) return 20;
            if (j == 54) return 5;
            if (j == 55) return 0x30;
            return 0x77;
        case 2:
            return 0x00;
        default:
            return 0xFF;
    }
}

// Byte i after an edited table was taken over: counts and stretches as the editor shows them
// (block 2: 0 -> 1; block 3, erased: 255 -> 50 and 200).
int TakenOverByte(int i) {
    const int j = i % 64;
    if (j == 53) return std::clamp(FixtureByte(i), 1, 50);
    if (j == 54) return std::clamp(FixtureByte(i), 1, 200);
    return FixtureByte(i);
}

// Program word 0x300 + i as the fixture writes it: retlw (0x34xx), erased in block 3.
int FixtureWord(int i) { return i >= 192 ? 0x3FFF : 0x3400 | FixtureByte(i); }

std::string Hex2(int v) { return QString("%1").arg(v, 2, 16, QChar('0')).toUpper().toStdString(); }

// Step width of the frame as the main window places it: frame width 490 (right edge of
// "Übernehmen" 475 + 15), strip width 490 - 40 - 10 = 440, steps share 440 - 10 = 430 pixels.
constexpr int kStripWidth = 440;
int StepCentre(int step, int count) { return static_cast<int>((step + 0.5) * 430.0 / count); }

using guitest::Child;
using guitest::Drag;
using guitest::Reread;
void TypeInto(QLineEdit* edit, const QString& text) { guitest::TypeText(edit, text, true); }

}  // namespace

class FrameBlinkmusterTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;

    std::string Path(const QString& name) const { return m_dir->filePath(name).toStdString(); }

    std::string WriteFixture(const QString& name) {
        FixtureImage f = parvel::test::Firmware(0x1, FixtureImage::Protocol::Motorola);
        f.rom_last_word = 0x3FF;
        for (int i = 0; i < 256; ++i) f.words[0x300 + i] = FixtureWord(i);
        const std::string path = Path(name);
        parvel::test::WriteFile(path, parvel::test::BuildHex(f));
        return path;
    }

    std::unique_ptr<TFormMain> Loaded() {
        parvel::StartOptions options;
        auto w = std::make_unique<TFormMain>(options, &m_dialogs);
        m_dialogs.open_names.push_back(WriteFixture("blink.hex"));
        w->btn_loadClick();
        w->show();
        if (!QTest::qWaitForWindowExposed(w.get())) qFatal("window not shown");
        return w;
    }

    static TFrameBlinkmuster* Frame(TFormMain& w) { return w.FrameBlinkmuster1; }
    static QWidget* Strip(TFormMain& w, int n) {
        return Child<QWidget>(Frame(w), QString("Image_Blink%1").arg(n));
    }
    static QPushButton* TakeOverButton(TFormMain& w) {
        return Child<QPushButton>(Frame(w), "blinkmuster_btn_uebernehmen");
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

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        const QString address = "Auswahl, für welche Adresse die Angezeigten Parameter gültig sind";
        for (int n = 1; n <= 4; ++n) {
            const QString s = QString::number(n);
            QTest::addRow("out%d", n)
                << "blinkmuster_cbx_out" + s << ""
                << "Ausgang " + s + " verwenden (wird sonst nicht beeinflusst)";
            QTest::addRow("rad%d", n) << "blinkmuster_rad_a" + s << "Adresse " + s << address;
            QTest::addRow("copy%d", n) << "blinkmuster_btn_copy" + s << "von #" + s
                                       << "Kopieren der Kurvenformen von Adresse " + s;
        }
        QTest::newRow("loop") << "blinkmuster_cbx_loop"
                              << "Loop"
                              << "Ablauf wieder immer wieder neu gestartet";
        QTest::newRow("discard") << "blinkmuster_btn_verwerfen"
                                 << "Verwerfen"
                                 << "";
        QTest::newRow("take over") << "blinkmuster_btn_uebernehmen"
                                   << "Übernehmen"
                                   << "";
        QTest::newRow("count") << "blinkmuster_edt_Anzahl"
                               << "10"
                               << "Anzahl der Kurven-Punkte";
        QTest::newRow("stretch") << "blinkmuster_edt_stretch"
                                 << "10"
                                 << "ermöglicht es, den Ablauf zu Verlangsamen";
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        auto w = Loaded();
        QWidget* c = Child<QWidget>(Frame(*w), name);
        QCOMPARE(c->toolTip(), hint);
        if (auto* b = qobject_cast<QAbstractButton*>(c)) QCOMPARE(b->text(), caption);
        if (auto* e = qobject_cast<QLineEdit*>(c)) QCOMPARE(e->text(), caption);
    }

    void setUpShowsTheFirstAddress() {
        auto w = Loaded();
        TFrameBlinkmuster* f = Frame(*w);
        QVERIFY(m_dialogs.messages.empty());
        QVERIFY(!f->isHidden());
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        QVERIFY(!f->HasPendingChanges());
        QVERIFY(Child<QRadioButton>(f, "blinkmuster_rad_a1")->isChecked());
        QCOMPARE(Child<QLabel>(f, "blinkmuster_lbl_KurveInfo1")->text(),
                 QString("Zeit-Raster = 200 ms"));
        QCOMPARE(Child<QLabel>(f, "blinkmuster_lbl_KurveInfo2")->text(),
                 QString("Gesamtzeit = 2000 ms"));
        QVERIFY(Child<QCheckBox>(f, "blinkmuster_cbx_loop")->isChecked());
        QVERIFY(!Child<QPushButton>(f, "blinkmuster_btn_copy1")->isEnabled());
        for (int n = 1; n <= 4; ++n) {
            QVERIFY(Child<QCheckBox>(f, QString("blinkmuster_cbx_out%1").arg(n))->isChecked());
            QVERIFY(!Strip(*w, n)->isHidden());
            // Left 40 and height 41 from the form, width = frame width - 40 - 10.
            QCOMPARE(Strip(*w, n)->x(), 40);
            QCOMPARE(Strip(*w, n)->size(), QSize(kStripWidth, 41));
            QCOMPARE(Strip(*w, n)->cursor().shape(), Qt::CrossCursor);
        }
        for (int n = 2; n <= 4; ++n) {
            QVERIFY(Child<QPushButton>(f, QString("blinkmuster_btn_copy%1").arg(n))->isEnabled());
        }
        auto* count_spin = Child<parvel::PatternUpDown>(f, "UpDown3");
        auto* stretch_spin = Child<parvel::PatternUpDown>(f, "UpDown4");
        QCOMPARE(count_spin->minimum(), 1);
        QCOMPARE(count_spin->maximum(), 50);
        QCOMPARE(stretch_spin->minimum(), 1);
        QCOMPARE(stretch_spin->maximum(), 200);
        // The working copy is the table as loaded.
        for (int i = 0; i < 256; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
    }

    void addressButtonsShowTheirBlock() {
        auto w = Loaded();
        TFrameBlinkmuster* f = Frame(*w);
        auto* count = Child<QLineEdit>(f, "blinkmuster_edt_Anzahl");
        auto* stretch = Child<QLineEdit>(f, "blinkmuster_edt_stretch");
        auto* info2 = Child<QLabel>(f, "blinkmuster_lbl_KurveInfo2");

        QTest::mouseClick(Child<QRadioButton>(f, "blinkmuster_rad_a2"), Qt::LeftButton);
        QCOMPARE(count->text(), QString("20"));
        QCOMPARE(stretch->text(), QString("5"));
        QCOMPARE(Child<QLabel>(f, "blinkmuster_lbl_KurveInfo1")->text(),
                 QString("Zeit-Raster = 100 ms"));
        QCOMPARE(info2->text(), QString("Gesamtzeit = 2000 ms"));
        QVERIFY(!Child<QCheckBox>(f, "blinkmuster_cbx_loop")->isChecked());
        QVERIFY(Child<QCheckBox>(f, "blinkmuster_cbx_out2")->isChecked());
        QVERIFY(!Child<QCheckBox>(f, "blinkmuster_cbx_out3")->isChecked());
        QVERIFY(!Strip(*w, 2)->isHidden());
        QVERIFY(Strip(*w, 3)->isHidden());
        QVERIFY(Strip(*w, 4)->isHidden());
        QVERIFY(Child<QPushButton>(f, "blinkmuster_btn_copy1")->isEnabled());
        QVERIFY(!Child<QPushButton>(f, "blinkmuster_btn_copy2")->isEnabled());

        // Stored count and stretch 0 are shown as 1, erased 255 as the maximum; the time texts
        // say what was stored and what taking the table over will write.
        auto* info1 = Child<QLabel>(f, "blinkmuster_lbl_KurveInfo1");
        QTest::mouseClick(Child<QRadioButton>(f, "blinkmuster_rad_a3"), Qt::LeftButton);
        QCOMPARE(count->text(), QString("1"));
        QCOMPARE(stretch->text(), QString("1"));
        QCOMPARE(info1->text(), QString("gespeichert: 0, wird 1"));
        QCOMPARE(info2->text(), QString("gespeichert: 0, wird 1"));
        QTest::mouseClick(Child<QRadioButton>(f, "blinkmuster_rad_a4"), Qt::LeftButton);
        QCOMPARE(count->text(), QString("50"));
        QCOMPARE(stretch->text(), QString("200"));
        QCOMPARE(info1->text(), QString("gespeichert: 255, wird 200"));
        QCOMPARE(info2->text(), QString("gespeichert: 255, wird 50"));

        // Looking is no edit: nothing pending, the working copy unchanged.
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        for (int i = 0; i < 256; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
    }

    void dragUpperSetsLowerClears() {
        auto w = Loaded();
        QWidget* out4 = Strip(*w, 4);
        // Count 10: 43 pixels per step. Upper part over steps 0..2 sets bit 3.
        Drag(out4, {{StepCentre(0, 10), 10}, {StepCentre(1, 10), 10}, {StepCentre(2, 10), 10}});
        QCOMPARE(Byte(*w, 0), 0x09);
        QCOMPARE(Byte(*w, 1), 0x0B);
        QCOMPARE(Byte(*w, 2), 0x0F);
        QVERIFY(TakeOverButton(*w)->isEnabled());
        // Lower part over steps 3..5 clears it.
        Drag(out4, {{StepCentre(3, 10), 35}, {StepCentre(4, 10), 35}, {StepCentre(5, 10), 35}});
        QCOMPARE(Byte(*w, 3), 0x07);
        QCOMPARE(Byte(*w, 4), 0x06);
        QCOMPARE(Byte(*w, 5), 0x04);
        // Bits 4..7 of a step stay as they are.
        Drag(out4, {{StepCentre(8, 10), 10}});
        QCOMPARE(Byte(*w, 8), 0xAD);

        // h = 41, level scale 41/128: level (41 - y) * 128 / 41 > 50 for y <= 24 only.
        QWidget* out1 = Strip(*w, 1);
        Drag(out1, {{StepCentre(7, 10), 24}});
        QCOMPARE(Byte(*w, 7), 0x01);
        Drag(out1, {{StepCentre(7, 10), 25}});
        QCOMPARE(Byte(*w, 7), 0x00);

        // The image is untouched until "Übernehmen".
        QCOMPARE(Cell(*w, 0), std::string("01"));
        QTest::mouseClick(TakeOverButton(*w), Qt::LeftButton);
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        QVERIFY(!Frame(*w)->HasPendingChanges());
        const int expected[] = {0x09, 0x0B, 0x0F, 0x07, 0x06, 0x04, 0x08, 0x00, 0xAD, 0x5A};
        for (int i = 0; i < 10; ++i) {
            QCOMPARE(Cell(*w, i), Hex2(expected[i]));
            QCOMPARE(w->document().image().rom_cells[0x600 + 2 * i + 1], std::string("34"));
        }
    }

    void pressWithoutMoveChangesNothing() {
        auto w = Loaded();
        QWidget* out1 = Strip(*w, 1);
        QTest::mousePress(out1, Qt::LeftButton, {}, {StepCentre(7, 10), 5});
        QTest::mouseRelease(out1, Qt::LeftButton, {}, {StepCentre(7, 10), 5});
        QCOMPARE(Byte(*w, 7), 0x00);
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        // After the release a move draws nothing.
        QTest::mouseMove(out1, {StepCentre(7, 10), 5});
        QCOMPARE(Byte(*w, 7), 0x00);
        QVERIFY(!TakeOverButton(*w)->isEnabled());
    }

    void dragLeavingTheStripStaysOnItsSteps() {
        auto w = Loaded();
        QWidget* out2 = Strip(*w, 2);
        QTest::mousePress(out2, Qt::LeftButton, {}, {StepCentre(5, 10), 35});
        // Left of the strip: the first step; low: cleared.
        QTest::mouseMove(out2, {-60, 35});
        QCOMPARE(Byte(*w, 0), 0x01);         // bit 1 was clear already
        QTest::mouseMove(out2, {-60, -30});  // above the strip: upper part, sets
        QCOMPARE(Byte(*w, 0), 0x03);
        // Far right: the last counted step (9), never the hidden steps beyond the count.
        QTest::mouseMove(out2, {2000, 300});
        QCOMPARE(Byte(*w, 9), 0x58);
        QTest::mouseRelease(out2, Qt::LeftButton, {}, {2000, 300});
        for (int i = 10; i < 64; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
        for (int i = 64; i < 256; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
    }

    void onlyTheStripWhereTheDragStartedChanges() {
        auto w = Loaded();
        QWidget* out1 = Strip(*w, 1);
        QWidget* out2 = Strip(*w, 2);
        const int dy = out2->y() - out1->y();
        QVERIFY(dy > 41);
        // Started on strip 1, moved over strip 2's upper part: for strip 1 that is below its
        // bottom edge, so step 3 of output 1 is cleared and output 2 keeps its bit.
        QTest::mousePress(out1, Qt::LeftButton, {}, {StepCentre(3, 10), 10});
        QTest::mouseMove(out2, {StepCentre(3, 10), 5});
        QTest::mouseRelease(out2, Qt::LeftButton, {}, {StepCentre(3, 10), 5});
        QCOMPARE(Byte(*w, 3), 0x0E);
        // Started on strip 2, moved over strip 1 (above strip 2): sets output 2 only.
        QTest::mousePress(out2, Qt::LeftButton, {}, {StepCentre(7, 10), 35});
        QTest::mouseMove(out1, {StepCentre(7, 10), 35});
        QTest::mouseRelease(out1, Qt::LeftButton, {}, {StepCentre(7, 10), 35});
        QCOMPARE(Byte(*w, 7), 0x02);
        QVERIFY(TakeOverButton(*w)->isEnabled());
    }

    void stripsPaintTheCountedSteps() {
        auto w = Loaded();
        const QImage img = Strip(*w, 1)->grab().toImage();
        QCOMPARE(img.size(), QSize(kStripWidth, 41));
        const QColor red(255, 0, 0), white(255, 255, 255), black(0, 0, 0);
        // Step 0 (bit 0 set): x 0..42, y from trunc(41 - 100 * 41/128) = 8 to the bottom.
        QCOMPARE(img.pixelColor(20, 30), red);
        QCOMPARE(img.pixelColor(20, 8), black);
        QCOMPARE(img.pixelColor(20, 7), white);
        QCOMPARE(img.pixelColor(0, 30), black);
        QCOMPARE(img.pixelColor(20, 40), black);
        // Steps 0..2 are set in a row; step 3 too (0x0F), step 4 (0x0E) not.
        QCOMPARE(img.pixelColor(4 * 43 + 20, 30), white);
        QCOMPARE(img.pixelColor(3 * 43 + 42, 30), black);  // right edge of step 3
        // Steps beyond the count (10) hold set bits but are not drawn; nor the last 10 pixels.
        QCOMPARE(img.pixelColor(430 + 5, 30), white);
        QCOMPARE(img.pixelColor(9 * 43 + 20, 30), white);  // step 9: 0x5A, bit 0 clear

        // Drawing shows at once.
        Drag(Strip(*w, 1), {{StepCentre(9, 10), 5}});
        QCOMPARE(Strip(*w, 1)->grab().toImage().pixelColor(9 * 43 + 20, 30), red);
    }

    void countEdit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("zero becomes 1") << "0"
                                        << "1" << 1 << false;
        QTest::newRow("75 becomes 50") << "75"
                                       << "50" << 50 << false;
        QTest::newRow("negative") << "-3"
                                  << "1" << 1 << false;
        QTest::newRow("in range") << "25"
                                  << "25" << 25 << false;
        QTest::newRow("not a number") << "abc"
                                      << "abc" << 10 << true;
        QTest::newRow("decimal") << "2,5"
                                 << "2,5" << 10 << true;
    }

    void countEdit() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, stored);
        QFETCH(bool, rejected);
        auto w = Loaded();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* count = Child<QLineEdit>(Frame(*w), "blinkmuster_edt_Anzahl");
        TypeInto(count, typed);
        QCOMPARE(count->text(), shown);
        QCOMPARE(Byte(*w, 53), stored);
        if (rejected) {
            QCOMPARE(m_dialogs.messages.size(), size_t(1));
            QCOMPARE(m_dialogs.messages[0].text,
                     std::string("Ungültige Eingabe.\rZugelassen sind nur Zahlen im "
                                 "Werte-Bereich 1..50"));
            QVERIFY(m_dialogs.messages[0].icon == parvel::Icon::Warning);
            QVERIFY(m_dialogs.messages[0].buttons == parvel::Buttons::Cancel);
            QCOMPARE(QApplication::focusWidget(), count);
            QVERIFY(!TakeOverButton(*w)->isEnabled());
        } else {
            QVERIFY(m_dialogs.messages.empty());
            QVERIFY(TakeOverButton(*w)->isEnabled());
            QCOMPARE(Child<QLabel>(Frame(*w), "blinkmuster_lbl_KurveInfo2")->text(),
                     QString("Gesamtzeit = %1 ms").arg(200 * stored));
        }
        QCOMPARE(Cell(*w, 53), std::string("0A"));  // the image waits for "Übernehmen"
    }

    void stretchEdit_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("stored");
        QTest::addColumn<bool>("rejected");
        QTest::newRow("zero becomes 1") << "0"
                                        << "1" << 1 << false;
        QTest::newRow("250 becomes 200") << "250"
                                         << "200" << 200 << false;
        QTest::newRow("in range") << "128"
                                  << "128" << 128 << false;
        QTest::newRow("not a number") << "x1"
                                      << "x1" << 10 << true;
    }

    void stretchEdit() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, stored);
        QFETCH(bool, rejected);
        auto w = Loaded();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* stretch = Child<QLineEdit>(Frame(*w), "blinkmuster_edt_stretch");
        TypeInto(stretch, typed);
        QCOMPARE(stretch->text(), shown);
        QCOMPARE(Byte(*w, 54), stored);
        QCOMPARE(TakeOverButton(*w)->isEnabled(), !rejected);
        if (rejected) {
            QCOMPARE(m_dialogs.messages.size(), size_t(1));
            QCOMPARE(m_dialogs.messages[0].text,
                     std::string("Ungültige Eingabe.\rZugelassen sind nur Zahlen im "
                                 "Werte-Bereich 1..200"));
            QVERIFY(m_dialogs.messages[0].buttons == parvel::Buttons::Cancel);
            QCOMPARE(QApplication::focusWidget(), stretch);
        } else {
            QCOMPARE(Child<QLabel>(Frame(*w), "blinkmuster_lbl_KurveInfo1")->text(),
                     QString("Zeit-Raster = %1 ms").arg(20 * stored));
            QCOMPARE(Byte(*w, 53), 10);  // the count is not touched
        }
    }

    void typingStoresOnlyWhenTheEditIsFinished() {
        auto w = Loaded();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* stretch = Child<QLineEdit>(Frame(*w), "blinkmuster_edt_stretch");
        stretch->setFocus();
        stretch->selectAll();
        QTest::keyClicks(stretch, "128");
        QCOMPARE(Byte(*w, 54), 10);  // neither 1 nor 12 on the way
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        // Leaving the edit finishes it.
        Child<QLineEdit>(Frame(*w), "blinkmuster_edt_Anzahl")->setFocus();
        QCOMPARE(Byte(*w, 54), 128);
        QVERIFY(TakeOverButton(*w)->isEnabled());

        // An empty edit stores nothing and asks nothing.
        auto* count = Child<QLineEdit>(Frame(*w), "blinkmuster_edt_Anzahl");
        TypeInto(count, "");
        QCOMPARE(Byte(*w, 53), 10);
        QVERIFY(m_dialogs.messages.empty());
    }

    void spinnersStepWithinTheRange() {
        auto w = Loaded();
        TFrameBlinkmuster* f = Frame(*w);
        auto* count_spin = Child<parvel::PatternUpDown>(f, "UpDown3");
        auto* stretch_spin = Child<parvel::PatternUpDown>(f, "UpDown4");
        QTest::mouseClick(count_spin->upButton(), Qt::LeftButton);
        QCOMPARE(Byte(*w, 53), 11);
        QCOMPARE(Child<QLineEdit>(f, "blinkmuster_edt_Anzahl")->text(), QString("11"));
        QVERIFY(TakeOverButton(*w)->isEnabled());
        QTest::mouseClick(stretch_spin->downButton(), Qt::LeftButton);
        QCOMPARE(Byte(*w, 54), 9);
        // At the top of the range the spinner changes nothing.
        QTest::mouseClick(Child<QRadioButton>(f, "blinkmuster_rad_a4"), Qt::LeftButton);
        QTest::mouseClick(count_spin->upButton(), Qt::LeftButton);
        QCOMPARE(Byte(*w, 3 * 64 + 53), 0xFF);
        QTest::mouseClick(count_spin->downButton(), Qt::LeftButton);
        QCOMPARE(Byte(*w, 3 * 64 + 53), 49);
    }

    void outputBoxHidesTheStripAndKeepsItsSteps() {
        auto w = Loaded();
        auto* out2 = Child<QCheckBox>(Frame(*w), "blinkmuster_cbx_out2");
        QTest::mouseClick(out2, Qt::LeftButton);
        QVERIFY(!out2->isChecked());
        QVERIFY(Strip(*w, 2)->isHidden());
        QCOMPARE(Byte(*w, 55), 0xD1);  // bit 5 cleared
        QVERIFY(TakeOverButton(*w)->isEnabled());
        for (int i = 0; i < 64; ++i) {
            if (i != 55) QCOMPARE(Byte(*w, i), FixtureByte(i));
        }
        QTest::mouseClick(out2, Qt::LeftButton);
        QVERIFY(!Strip(*w, 2)->isHidden());
        QCOMPARE(Byte(*w, 55), 0xF1);
        QCOMPARE(Strip(*w, 2)->grab().toImage().pixelColor(StepCentre(1, 10), 30),
                 QColor(255, 0, 0));  // step 1 = 0x03 still drawn on output 2
    }

    void loopBoxSetsBitZero() {
        auto w = Loaded();
        auto* loop = Child<QCheckBox>(Frame(*w), "blinkmuster_cbx_loop");
        QTest::mouseClick(loop, Qt::LeftButton);
        QCOMPARE(Byte(*w, 55), 0xF0);
        QVERIFY(TakeOverButton(*w)->isEnabled());
        QTest::mouseClick(Child<QRadioButton>(Frame(*w), "blinkmuster_rad_a2"), Qt::LeftButton);
        QTest::mouseClick(loop, Qt::LeftButton);
        QCOMPARE(Byte(*w, 64 + 55), 0x31);
    }

    void copyTakesTheWholeBlock() {
        auto w = Loaded();
        TFrameBlinkmuster* f = Frame(*w);
        QTest::mouseClick(Child<QRadioButton>(f, "blinkmuster_rad_a3"), Qt::LeftButton);
        QVERIFY(!Child<QPushButton>(f, "blinkmuster_btn_copy3")->isEnabled());
        QVERIFY(Child<QPushButton>(f, "blinkmuster_btn_copy1")->isEnabled());
        QTest::mouseClick(Child<QPushButton>(f, "blinkmuster_btn_copy1"), Qt::LeftButton);
        // Steps, bytes 50..52, count, stretch, flags and 56..63: all 64 bytes.
        for (int j = 0; j < 64; ++j) QCOMPARE(Byte(*w, 128 + j), FixtureByte(j));
        for (int i = 0; i < 128; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
        for (int i = 192; i < 256; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
        QCOMPARE(Child<QLineEdit>(f, "blinkmuster_edt_Anzahl")->text(), QString("10"));
        QVERIFY(Child<QCheckBox>(f, "blinkmuster_cbx_loop")->isChecked());
        QVERIFY(!Strip(*w, 4)->isHidden());
        QVERIFY(TakeOverButton(*w)->isEnabled());
    }

    void editsStayWhileSwitchingAddresses() {
        auto w = Loaded();
        TFrameBlinkmuster* f = Frame(*w);
        Drag(Strip(*w, 1), {{StepCentre(7, 10), 5}});
        QTest::mouseClick(Child<QRadioButton>(f, "blinkmuster_rad_a2"), Qt::LeftButton);
        QTest::mouseClick(Child<QRadioButton>(f, "blinkmuster_rad_a1"), Qt::LeftButton);
        QCOMPARE(Byte(*w, 7), 0x01);
        QVERIFY(TakeOverButton(*w)->isEnabled());
    }

    void discardRestoresFromTheImage() {
        auto w = Loaded();
        TFrameBlinkmuster* f = Frame(*w);
        Drag(Strip(*w, 1), {{StepCentre(7, 10), 5}, {StepCentre(0, 10), 35}});
        TypeInto(Child<QLineEdit>(f, "blinkmuster_edt_Anzahl"), "30");
        QCOMPARE(Cell(*w, 7), std::string("00"));  // nothing in the image yet
        QTest::mouseClick(Child<QPushButton>(f, "blinkmuster_btn_verwerfen"), Qt::LeftButton);
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        for (int i = 0; i < 256; ++i) QCOMPARE(Byte(*w, i), FixtureByte(i));
        QCOMPARE(Child<QLineEdit>(f, "blinkmuster_edt_Anzahl")->text(), QString("10"));
        const QImage img = Strip(*w, 1)->grab().toImage();
        QCOMPARE(img.pixelColor(StepCentre(0, 10), 30), QColor(255, 0, 0));
        QCOMPARE(img.pixelColor(StepCentre(7, 10), 30), QColor(255, 255, 255));
    }

    void saveWithPendingChangesAsksFirst() {
        auto w = Loaded();
        Drag(Strip(*w, 1), {{StepCentre(7, 10), 5}});
        Drag(Strip(*w, 3), {{StepCentre(2, 10), 35}});
        QVERIFY(Frame(*w)->HasPendingChanges());
        const std::string out = Path("out.hex");

        m_dialogs.answers = {parvel::Answer::No};
        m_dialogs.save_names.push_back(out);
        w->btn_saveClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, std::string("Geänderte Werte übernehmen?"));
        QVERIFY(m_dialogs.messages[0].buttons == parvel::Buttons::YesNo);
        QVERIFY(!QFile::exists(QString::fromStdString(out)));
        QVERIFY(TakeOverButton(*w)->isEnabled());
        QCOMPARE(Cell(*w, 7), std::string("00"));

        m_dialogs.answers = {parvel::Answer::Yes};
        w->btn_saveClick();
        QVERIFY(QFile::exists(QString::fromStdString(out)));
        QVERIFY(!TakeOverButton(*w)->isEnabled());

        const parvel::FirmwareImage saved = Reread(out);
        const auto& rom = saved.rom_cells;
        for (int i = 0; i < 256; ++i) {
            int expected = TakenOverByte(i);
            if (i == 7) expected = 0x01;
            if (i == 2) expected = 0x03;
            QCOMPARE(rom[0x600 + 2 * i], Hex2(expected));
            QCOMPARE(rom[0x600 + 2 * i + 1], Hex2(FixtureWord(i) >> 8));
        }
    }

    void saveTakesOverATypedNumber() {
        auto w = Loaded();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* count = Child<QLineEdit>(Frame(*w), "blinkmuster_edt_Anzahl");
        count->setFocus();
        count->selectAll();
        QTest::keyClicks(count, "12");  // not finished: the save is reached without a focus change
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        QVERIFY(Frame(*w)->HasPendingChanges());
        const std::string out = Path("typed.hex");
        m_dialogs.answers = {parvel::Answer::Yes};
        m_dialogs.save_names.push_back(out);
        w->btn_saveClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, std::string("Geänderte Werte übernehmen?"));
        QVERIFY(!Frame(*w)->HasPendingChanges());
        QCOMPARE(Reread(out).rom_cells[0x600 + 2 * 53], std::string("0C"));
    }

    void saveReportsARejectedTypedNumberAndKeepsTheStoredOne() {
        auto w = Loaded();
        auto* count = Child<QLineEdit>(Frame(*w), "blinkmuster_edt_Anzahl");
        count->selectAll();
        QTest::keyClicks(count, "zz");
        Drag(Strip(*w, 1), {{StepCentre(7, 10), 5}});
        const std::string out = Path("rejected.hex");
        m_dialogs.answers = {parvel::Answer::Yes};
        m_dialogs.save_names.push_back(out);
        w->btn_saveClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(2));
        QCOMPARE(
            m_dialogs.messages[1].text,
            std::string("Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 1..50"));
        // The drawing is taken over, the rejected count is not stored.
        const parvel::FirmwareImage saved = Reread(out);
        QCOMPARE(saved.rom_cells[0x600 + 2 * 7], std::string("01"));
        QCOMPARE(saved.rom_cells[0x600 + 2 * 53], std::string("0A"));
    }

    void untouchedOrEmptyEditsAreNoPendingChange() {
        auto w = Loaded();
        auto* count = Child<QLineEdit>(Frame(*w), "blinkmuster_edt_Anzahl");
        count->selectAll();
        QTest::keyClick(count, Qt::Key_Backspace);
        QVERIFY(!Frame(*w)->HasPendingChanges());
        QTest::keyClicks(count, "10");  // the stored value again
        QVERIFY(!Frame(*w)->HasPendingChanges());
        QTest::keyClick(count, Qt::Key_Return);
        QVERIFY(!TakeOverButton(*w)->isEnabled());  // retyping the stored value is no edit

        // Adresse 4 holds an erased count (255), shown as 50: typing 50 stores it.
        QTest::mouseClick(Child<QRadioButton>(Frame(*w), "blinkmuster_rad_a4"), Qt::LeftButton);
        QCOMPARE(count->text(), QString("50"));
        count->selectAll();
        QTest::keyClicks(count, "50");
        QVERIFY(Frame(*w)->HasPendingChanges());
        QTest::keyClick(count, Qt::Key_Return);
        QCOMPARE(Byte(*w, 3 * 64 + 53), 50);
        QVERIFY(TakeOverButton(*w)->isEnabled());
    }

    void savingAnUneditedTableKeepsEveryWord() {
        auto w = Loaded();
        TFrameBlinkmuster* f = Frame(*w);
        for (const char* name :
             {"blinkmuster_rad_a2", "blinkmuster_rad_a4", "blinkmuster_rad_a1"}) {
            QTest::mouseClick(Child<QRadioButton>(f, name), Qt::LeftButton);
        }
        QVERIFY(!f->HasPendingChanges());
        const std::string out = Path("same.hex");
        m_dialogs.save_names.push_back(out);
        w->btn_saveClick();
        QVERIFY(m_dialogs.messages.empty());  // nothing to take over, no question

        const parvel::FirmwareImage saved = Reread(out);
        const auto& rom = saved.rom_cells;
        for (int i = 0; i < 256; ++i) {
            QCOMPARE(rom[0x600 + 2 * i], Hex2(FixtureWord(i) & 0xFF));
            QCOMPARE(rom[0x600 + 2 * i + 1], Hex2(FixtureWord(i) >> 8));
        }
    }

    void loadingAnotherFileDropsTheChangesNotTakenOver() {
        auto w = Loaded();
        Drag(Strip(*w, 1), {{StepCentre(7, 10), 5}});
        QVERIFY(Frame(*w)->HasPendingChanges());
        // Another firmware: the frame goes away with its changes, the save asks nothing and
        // writes nothing of the old pattern into the new image.
        m_dialogs.open_names.push_back(
            parvel::guitest::WriteHex(Path("other.hex"), parvel::guitest::KlemmoMotorola()));
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
        QCOMPARE(Reread(out).rom_cells[0x600 + 2 * 7], std::string("FF"));

        // The same firmware again: a fresh working copy from the file.
        m_dialogs.open_names.push_back(WriteFixture("again.hex"));
        w->btn_loadClick();
        QVERIFY(!Frame(*w)->isHidden());
        QVERIFY(!Frame(*w)->HasPendingChanges());
        QCOMPARE(Byte(*w, 7), 0x00);
    }

    void takingOverAnUneditedTableChangesNoCell() {
        auto w = Loaded();
        const auto before = w->document().image().rom_cells;
        Frame(*w)->TakeOver();
        QVERIFY(w->document().image().rom_cells == before);
    }

    void takingOverAnEditWritesWhatIsShown() {
        auto w = Loaded();
        QTest::mouseClick(Child<QCheckBox>(Frame(*w), "blinkmuster_cbx_loop"), Qt::LeftButton);
        auto expected = w->document().image().rom_cells;
        expected[0x600 + 2 * 55] = "F0";  // the edit: block 0 loses its loop bit
        // Only the counts and stretches the editor showed limited change: block 2 holds 0 for
        // both (shown 1), block 3 is erased (shown 50 and 200); their high bytes stay.
        expected[0x600 + 2 * (2 * 64 + 53)] = "01";
        expected[0x600 + 2 * (2 * 64 + 54)] = "01";
        expected[0x600 + 2 * (3 * 64 + 53)] = "32";
        expected[0x600 + 2 * (3 * 64 + 54)] = "C8";
        QTest::mouseClick(TakeOverButton(*w), Qt::LeftButton);
        QVERIFY(w->document().image().rom_cells == expected);
        QCOMPARE(Byte(*w, 3 * 64 + 53), 50);
    }

    // Undo all after a run of edits gives back the loaded file, redo all the edited one.
    void undoRoundTrip_data() { guitest::PatternUndoRows(); }

    void undoRoundTrip() {
        QFETCH(QString, actions);
        auto w = Loaded();
        guitest::PatternActions(Frame(*w), {"blinkmuster_", "Image_Blink", "UpDown3", "UpDown4"}, actions);
        int steps = 0;
        guitest::UndoRoundTrip(*w, m_dialogs, Path("blink.hex"), m_dir->path().toStdString(), steps);
        if (QTest::currentTestFailed()) return;
        QVERIFY(steps >= actions.count(';'));
    }

    // Ctrl+Z in the count edit undoes its own unfinished typing first, then the history.
    void undoKeysInsideAnUnfinishedEdit() {
        auto w = Loaded();
        w->activateWindow();  // window shortcuts need the active window
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        guitest::PatternActions(Frame(*w), {"blinkmuster_", "Image_Blink", "UpDown3", "UpDown4"}, "draw1");
        QVERIFY(TakeOverButton(*w)->isEnabled());
        auto* count = Child<QLineEdit>(Frame(*w), "blinkmuster_edt_Anzahl");
        const QString shown = count->text();
        guitest::TypeText(count, "7", false);
        QTest::keyClick(count, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(count->text() != "7");  // the edit's own undo
        QVERIFY(TakeOverButton(*w)->isEnabled());
        while (count->isUndoAvailable()) QTest::keyClick(count, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(count->text(), shown);
        QTest::keyClick(count, Qt::Key_Z, Qt::ControlModifier);  // now the stroke
        QVERIFY(!TakeOverButton(*w)->isEnabled());
        QCOMPARE(w->act_redo->text().startsWith("Wiederherstellen: Muster Adresse 1 gezeichnet"), true);
    }
};

QTEST_MAIN(FrameBlinkmusterTest)
#include "FrameBlinkmusterTest.moc"
