// The servo curve editor in the main window: loading, mouse editing at the edge pixels, the
// variants, the operations with their messages, button mode and threshold, apply and discard,
// the grid lists and the curve and set files.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QtTest>

#include "frames/FrameTorv.h"
#include "frames/FrameTorvAdr.h"
#include "tests/gui/ServoFrameFixture.h"
#include "image/TextFile.h"

using guitest::Child;
using servotest::Bench;
using servotest::Hex;
using servotest::LowCell;

namespace {

using Pages = std::array<std::uint8_t, servotest::kPageBytes>;

Pages PagesOf(const TFrameTorv* frame) {
    Pages p{};
    for (int i = 0; i < servotest::kPageBytes; ++i) p[i] = frame->pages.flat(i);
    return p;
}

// Types into a field as a user does and finishes the edit with Return.
void Type(QLineEdit* field, const QString& text) {
    field->clear();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

std::vector<parvel::ServoDrawOp> LinesOf(const parvel::ServoDrawing& d, parvel::ServoColour pen,
                                         bool vertical) {
    std::vector<parvel::ServoDrawOp> lines;
    for (const auto& op : d.ops) {
        if (op.kind != parvel::ServoDrawOp::Kind::Line || op.pen != pen) continue;
        if (vertical ? op.x1 == op.x2 : op.y1 == op.y2) lines.push_back(op);
    }
    return lines;
}

}  // namespace

class FrameTorvTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Bench> m_bench;


    std::unique_ptr<TFormMain> Torv4() { return m_bench->Loaded(servotest::ServoImage(0xD3)); }

    const std::vector<parvel::Message>& Messages() const { return m_bench->dialogs.messages; }

  private slots:
    void initTestCase() {
        // The editor parses and shows decimals in the user's locale; the examples are German.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    void init() { m_bench = std::make_unique<Bench>(); }

    void loadShowsTheFirstCurve() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        QVERIFY(!f->isHidden());
        QCOMPARE(PagesOf(f), servotest::LoadedPages());
        QVERIFY(Child<QRadioButton>(f, "servo_rad_a1")->isChecked());
        QCOMPARE(Child<QLineEdit>(f, "edt_Anzahl")->text(), QString("10"));
        QCOMPARE(Child<QLineEdit>(f, "edt_stretch")->text(), QString("10"));
        QCOMPARE(Child<QLabel>(f, "lbl_KurveInfo1")->text(),
                 QString("Zeit zwischen 2 Punkten = 200 ms"));
        QCOMPARE(Child<QLabel>(f, "lbl_KurveInfo2")->text(),
                 QString("Gesamtzeit für diese Kurve = 1800 ms"));
        QVERIFY(!Child<QPushButton>(f, "btn_copy1")->isEnabled());
        QVERIFY(Child<QPushButton>(f, "btn_copy2")->isEnabled());
        QVERIFY(!f->HasPendingChanges());
        // Offset 110: page 2 holds 0x02 ("wie Adr.2"), page 3 0x06 (lowest bit wins).
        QCOMPARE(Child<QComboBox>(f, "servo_cbx_s1c")->currentIndex(), 0);
        QCOMPARE(Child<QComboBox>(f, "servo_cbx_s1o")->currentText(), QString("wie Adr.2"));
        QCOMPARE(Child<QComboBox>(f, "servo_cbx_s2c")->currentText(), QString("wie Adr.2"));
        QCOMPARE(Child<QComboBox>(f, "servo_cbx_s2o")->currentText(), QString("Adr.-Lernen"));
        // EEPROM cell 0x00 holds "FF": servo operation, the first button's lists shown.
        QVERIFY(Child<QRadioButton>(f, "servo_rad_servo")->isChecked());
        QVERIFY(!Child<QWidget>(f, "servo_cbx_s1c")->isHidden());
        QVERIFY(!Child<QWidget>(f, "Label_Servo_sw1a")->isHidden());
        QCOMPARE(w->document().image().eeprom_cells[0x00], std::string("FF"));
        QVERIFY(Messages().empty());
    }

    void canvasesPaintPointsAndRelayBlocks() {
        auto w = Torv4();
        w->show();
        QApplication::processEvents();
        const QImage curve = Child<QWidget>(w->FrameTorv1, "servo_Image1")->grab().toImage();
        QCOMPARE(curve.size(), QSize(530, 201));
        // Point 0 at position 5: y = trunc(201 - 5 * 1.5703125) = 193; with 52 pixels per
        // point the marker has half-size 3 and covers x -3..2, y 190..195.
        // (Row 193 itself carries the black line on to point 1, also at position 5.)
        QCOMPARE(curve.pixelColor(1, 192), QColor(255, 0, 0));
        QCOMPARE(curve.pixelColor(2, 192), QColor(0, 0, 0));
        QCOMPARE(curve.pixelColor(1, 193), QColor(0, 0, 0));
        QCOMPARE(curve.pixelColor(1, 195), QColor(0, 0, 0));
        QCOMPARE(curve.pixelColor(1, 190), QColor(0, 0, 0));
        QCOMPARE(curve.pixelColor(1, 196), QColor(255, 255, 255));
        QCOMPARE(curve.pixelColor(300, 20), QColor(255, 255, 255));

        const QImage lane = Child<QWidget>(w->FrameTorv1, "servo_Image2")->grab().toImage();
        QCOMPARE(lane.size(), QSize(530, 57));
        // Point 1 relay on: red block x 52..103, y trunc(57 - 100 * 0.4453125) = 12 .. 56.
        QCOMPARE(lane.pixelColor(78, 30), QColor(255, 0, 0));
        QCOMPARE(lane.pixelColor(52, 30), QColor(0, 0, 0));
        QCOMPARE(lane.pixelColor(103, 30), QColor(0, 0, 0));
        QCOMPARE(lane.pixelColor(78, 12), QColor(0, 0, 0));
        QCOMPARE(lane.pixelColor(78, 11), QColor(255, 255, 255));
        // Point 0 relay off: a line on the bottom row only.
        QCOMPARE(lane.pixelColor(25, 56), QColor(0, 0, 0));
        QCOMPARE(lane.pixelColor(25, 55), QColor(255, 255, 255));
    }

    void mouseEditsAtEdgePixels_data() {
        QTest::addColumn<QString>("canvas");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<int>("point");
        QTest::addColumn<int>("byte");
        // Curve 1 has 10 points (52 pixels apart); point 0 holds 0x05, point 1 0x85.
        QTest::newRow("canvas top edits point 0") << "servo_Image1" << QPoint(25, 0) << 0 << 0x7F;
        QTest::newRow("canvas X 26 edits point 1, relay kept")
            << "servo_Image1" << QPoint(26, 0) << 1 << 0xFF;
        QTest::newRow("canvas Y 201 is position 0")
            << "servo_Image1" << QPoint(26, 201) << 1 << 0x80;
        QTest::newRow("canvas past the last point edits point 10")
            << "servo_Image1" << QPoint(520, 100) << 10 << 64;
        QTest::newRow("lane Y 34 switches on") << "servo_Image2" << QPoint(51, 34) << 0 << 0x85;
        QTest::newRow("lane Y 35 switches off") << "servo_Image2" << QPoint(52, 35) << 1 << 0x05;
    }

    void mouseEditsAtEdgePixels() {
        QFETCH(QString, canvas);
        QFETCH(QPoint, pos);
        QFETCH(int, point);
        QFETCH(int, byte);
        auto w = Torv4();
        w->show();
        TFrameTorv* f = w->FrameTorv1;
        auto* c = Child<QWidget>(f, canvas);
        Pages expected = servotest::LoadedPages();

        QTest::mousePress(c, Qt::LeftButton, {}, pos);
        QCOMPARE(PagesOf(f), expected);  // a press alone changes nothing
        QVERIFY(!f->HasPendingChanges());

        QTest::mouseMove(c, pos);
        expected[point] = static_cast<std::uint8_t>(byte);
        QCOMPARE(PagesOf(f), expected);
        QVERIFY(f->HasPendingChanges());
        QTest::mouseRelease(c, Qt::LeftButton, {}, pos);
        QVERIFY(!f->mouse_down);

        // Moves without a held button edit nothing.
        f->servo_Image1MouseMove(200, 100);
        f->servo_Image2MouseMove(200, 0);
        QCOMPARE(PagesOf(f), expected);
        // The image changes only on apply.
        QCOMPARE(w->document().image().rom_cells[LowCell(point)],
                 Hex(servotest::LoadedPages()[point]));
    }

    void variants_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("relayLane");
        QTest::addColumn<bool>("thresholdShown");
        QTest::addColumn<QString>("firstLabel");
        QTest::addColumn<QStringList>("firstItems");
        QTest::addColumn<QStringList>("secondItems");
        const QStringList eight = {"keine Aktion", "wie Adr.1", "wie Adr.2",
                                   "wie Adr.3",    "wie Adr.4", "wie Adr.5",
                                   "wie Adr.6",    "wie Adr.7", "wie Adr.8"};
        QStringList learn = eight;
        learn[0] = "Adr.-Lernen";
        const QStringList four = eight.mid(0, 5);
        QTest::newRow("Torv-4") << 0xD3 << true << false << "Taster 1 close" << eight << learn;
        QTest::newRow("Torvik") << 0xD2 << false << false << "Taster 3 close" << four << four;
        QTest::newRow("Torvik V3.58") << 0x1D2 << false << true << "Taster 3 close" << four << four;
        QTest::newRow("Torvik F") << 0x4200 << false << false << "Taster 3 close" << four << four;
    }

    void variants() {
        QFETCH(int, code);
        QFETCH(bool, relayLane);
        QFETCH(bool, thresholdShown);
        QFETCH(QString, firstLabel);
        QFETCH(QStringList, firstItems);
        QFETCH(QStringList, secondItems);
        auto w = m_bench->Loaded(servotest::ServoImage(code));
        TFrameTorv* f = w->FrameTorv1;
        QVERIFY(!f->isHidden());
        for (const char* name : {"servo_Image2", "Label_Servo_Relais", "servo_GroupBox1"}) {
            QCOMPARE(!Child<QWidget>(f, name)->isHidden(), relayLane);
        }
        for (const char* name : {"text_torvik_schwelle", "edt_torvik_schwelle", "UpDown4"}) {
            QCOMPARE(!Child<QWidget>(f, name)->isHidden(), thresholdShown);
        }
        QCOMPARE(Child<QLabel>(f, "Label_Servo_sw1a")->text(), firstLabel);
        const QString second = firstLabel.left(7) + QString::number(firstLabel[7].digitValue() + 1);
        QCOMPARE(Child<QLabel>(f, "Label_Servo_sw1b")->text(), firstLabel.left(8) + " open");
        QCOMPARE(Child<QLabel>(f, "Label_Servo_sw2a")->text(), second + " close");
        QCOMPARE(Child<QLabel>(f, "Label_Servo_sw2b")->text(), second + " open");
        auto items = [&](const char* name) {
            QStringList list;
            auto* box = Child<QComboBox>(f, name);
            for (int i = 0; i < box->count(); ++i) list << box->itemText(i);
            return list;
        };
        QCOMPARE(items("servo_cbx_s1c"), firstItems);
        QCOMPARE(items("servo_cbx_s1o"), firstItems);
        QCOMPARE(items("servo_cbx_s2c"), secondItems);
        QCOMPARE(items("servo_cbx_s2o"), secondItems);
        // The red threshold line only where the threshold is shown.
        QCOMPARE(LinesOf(f->servo_Image1->drawing(), parvel::ServoColour::Red, false).size(),
                 size_t(thresholdShown ? 1 : 0));
        QVERIFY(Messages().empty());
    }

    void unlistedCodeTakesTheTorv4Layout() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD2));
        QVERIFY(w->FrameTorv1->servo_Image2->isHidden());
        // A code no table lists, loaded into the document; the frames are asked to show it.
        w->document().LoadHexLines(
            parvel::SplitLines(parvel::test::BuildHex(servotest::ServoImage(0x77))), "u.hex");
        w->FrameTorv1->show();
        w->FrameTorvAdr1->show();
        w->FrameTorv1->LoadFromImage();
        w->FrameTorvAdr1->LoadFromImage();
        TFrameTorv* f = w->FrameTorv1;
        QVERIFY(!f->servo_Image2->isHidden());
        QVERIFY(!f->servo_GroupBox1->isHidden());
        QVERIFY(f->text_torvik_schwelle->isHidden());
        QCOMPARE(Child<QLabel>(f, "Label_Servo_sw2b")->text(), QString("Taster 2 open"));
        QCOMPARE(Child<QComboBox>(f, "servo_cbx_s2c")->count(), 9);
        QVERIFY(!Child<QWidget>(w->FrameTorvAdr1, "GroupBox_Servo4")->isHidden());
    }

    void generators_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("positions");
        QTest::newRow("Lin 5") << "btn_Lin" << 5 << QList<int>{0, 31, 63, 95, 127};
        QTest::newRow("Log 5") << "btn_Log" << 5 << QList<int>{0, 54, 86, 109, 127};
        QTest::newRow("1/4 Sin 5") << "btn_Sin" << 5 << QList<int>{0, 18, 62, 107, 126};
        QTest::newRow("1/2 Sin 5") << "btn_sin2" << 5 << QList<int>{0, 62, 126, 63, 0};
        QTest::newRow("Lin 10") << "btn_Lin" << 10
                                << QList<int>{0, 14, 28, 42, 56, 70, 84, 98, 112, 127};
        QTest::newRow("Log 10") << "btn_Log" << 10
                                << QList<int>{0, 38, 60, 76, 88, 98, 107, 114, 121, 127};
        QTest::newRow("1/4 Sin 10")
            << "btn_Sin" << 10 << QList<int>{0, 3, 14, 31, 52, 73, 94, 111, 122, 126};
        QTest::newRow("1/2 Sin 10")
            << "btn_sin2" << 10 << QList<int>{0, 14, 52, 94, 122, 122, 94, 52, 14, 0};
    }

    void generators() {
        QFETCH(QString, button);
        QFETCH(int, count);
        QFETCH(QList<int>, positions);
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        Type(f->edt_Anzahl, QString::number(count));
        QCOMPARE(int(f->pages.at(0, parvel::kOffsetPointCount)), count);
        Child<QPushButton>(f, button)->click();
        Pages expected = servotest::LoadedPages();
        expected[parvel::kOffsetPointCount] = static_cast<std::uint8_t>(count);
        for (int i = 0; i < count; ++i) {
            // Each point keeps its relay bit (points 1 and 3 and 8 have it set).
            expected[i] = static_cast<std::uint8_t>((expected[i] & 0x80) | positions[i]);
        }
        QCOMPARE(PagesOf(f), expected);
        QVERIFY(f->HasPendingChanges());
    }

    void singlePointIsNotGenerated() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        Type(f->edt_Anzahl, "1");
        f->servo_btn_uebernehmenClick();
        const Pages before = PagesOf(f);
        for (const char* name : {"btn_Lin", "btn_Log", "btn_Sin", "btn_sin2"}) {
            Child<QPushButton>(f, name)->click();
        }
        QCOMPARE(PagesOf(f), before);
        QVERIFY(!f->HasPendingChanges());
    }

    void pointCountIsClampedAndStoredWhenTheEditEnds() {
        auto w = Torv4();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        TFrameTorv* f = w->FrameTorv1;
        QLineEdit* count = f->edt_Anzahl;
        count->setFocus();
        count->clear();
        QTest::keyClicks(count, "12");
        QCOMPARE(int(f->pages.at(0, parvel::kOffsetPointCount)), 10);  // not yet finished
        QVERIFY(!f->HasPendingChanges());
        QTest::keyClick(count, Qt::Key_Return);
        QCOMPARE(int(f->pages.at(0, parvel::kOffsetPointCount)), 12);

        Type(count, "150");
        QCOMPARE(int(f->pages.at(0, parvel::kOffsetPointCount)), 100);
        QCOMPARE(count->text(), QString("100"));
        QCOMPARE(f->lbl_KurveInfo2->text(), QString("Gesamtzeit für diese Kurve = 19800 ms"));
        QVERIFY(f->HasPendingChanges());
        QCOMPARE(f->point_spacing, 5.2f);

        // The spinner runs to 200; the count still stops at 100.
        QToolButton* up = f->UpDown1->findChild<QToolButton*>("up");
        QToolButton* down = f->UpDown1->findChild<QToolButton*>("down");
        up->click();
        QCOMPARE(count->text(), QString("100"));
        down->click();
        QCOMPARE(int(f->pages.at(0, parvel::kOffsetPointCount)), 99);
        QCOMPARE(count->text(), QString("99"));

        count->setFocus();
        Type(count, "abc");
        QCOMPARE(Messages().size(), size_t(1));
        QCOMPARE(Messages()[0].text,
                 std::string("Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich "
                             "1..100"));
        QVERIFY(Messages()[0].icon == parvel::Icon::Warning);
        QVERIFY(Messages()[0].buttons == parvel::Buttons::Cancel);
        QCOMPARE(QApplication::focusWidget(), count);
        QCOMPARE(int(f->pages.at(0, parvel::kOffsetPointCount)), 99);

        Type(f->edt_stretch, "x");
        QCOMPARE(Messages().back().text,
                 std::string("Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich "
                             "1..200"));
        Type(f->edt_stretch, "250");
        QCOMPARE(int(f->pages.at(0, parvel::kOffsetStretch)), 200);
        QCOMPARE(f->edt_stretch->text(), QString("200"));
        QCOMPARE(f->lbl_KurveInfo1->text(), QString("Zeit zwischen 2 Punkten = 4000 ms"));
    }

    void scaleAndShift_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("positions");  // of points 100, 3, 127, 10
        QTest::addColumn<QString>("message");
        const QList<int> same = {100, 3, 127, 10};
        const QString scale_range =
            "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich 0.1 .. 10";
        const QString shift_range =
            "Ungültige Eingabe.\rZugelassen sind nur Zahlen im Werte-Bereich -100 .. 100";
        QTest::newRow("scale 0,5") << "scale"
                                   << "0,5" << QList<int>{50, 1, 63, 5} << "";
        QTest::newRow("scale 10") << "scale"
                                  << "10" << QList<int>{127, 30, 127, 100} << "";
        QTest::newRow("scale 0,29") << "scale"
                                    << "0,29" << QList<int>{29, 0, 36, 2} << "";
        QTest::newRow("shift 64") << "shift"
                                  << "64" << QList<int>{127, 67, 127, 74} << "";
        QTest::newRow("shift -100") << "shift"
                                    << "-100" << QList<int>{0, 0, 27, 0} << "";
        QTest::newRow("shift 0,7") << "shift"
                                   << "0,7" << same << "";
        QTest::newRow("scale empty") << "scale"
                                     << "" << same << "";
        QTest::newRow("scale 20") << "scale"
                                  << "20" << same << scale_range;
        QTest::newRow("scale 0,05") << "scale"
                                    << "0,05" << same << scale_range;
        QTest::newRow("scale 0.5 is no German number") << "scale"
                                                       << "0.5" << same << scale_range;
        QTest::newRow("shift 101") << "shift"
                                   << "101" << same << shift_range;
        QTest::newRow("shift abc") << "shift"
                                   << "abc" << same << shift_range;
    }

    void scaleAndShift() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QList<int>, positions);
        QFETCH(QString, message);
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        QCOMPARE(f->edt_scale->text(), QString("0,5"));
        QCOMPARE(f->edt_shift->text(), QString("10"));
        // Points 0..3 at 100 (relay on), 3, 127, 10; count 4.
        const int start[4] = {100 | 0x80, 3, 127, 10};
        for (int i = 0; i < 4; ++i) f->pages.set(0, i, static_cast<std::uint8_t>(start[i]));
        Type(f->edt_Anzahl, "4");
        f->servo_btn_uebernehmenClick();

        Child<QLineEdit>(f, "edt_" + field)->setText(text);
        Child<QPushButton>(f, "btn_" + field)->click();
        for (int i = 0; i < 4; ++i) QCOMPARE(f->pages.Position(0, i), positions[i]);
        QVERIFY(f->pages.RelayOn(0, 0));
        QVERIFY(!f->pages.RelayOn(0, 1));
        QCOMPARE(int(f->pages.at(0, 4)), int(servotest::LoadedPages()[4]));  // beyond the count
        if (message.isEmpty()) {
            QVERIFY(Messages().empty());
        } else {
            QCOMPARE(Messages().size(), size_t(1));
            QCOMPARE(QString::fromStdString(Messages()[0].text), message);
            QVERIFY(Messages()[0].buttons == parvel::Buttons::Cancel);
        }
        QCOMPARE(f->HasPendingChanges(), message.isEmpty() && !text.isEmpty());
    }

    void mirrors() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        Type(f->edt_Anzahl, "3");
        f->pages.set(0, 0, 10 | 0x80);
        f->pages.set(0, 1, 20);
        f->pages.set(0, 2, 30);
        f->btn_MirrorHorizontal->click();
        QCOMPARE(int(f->pages.at(0, 0)), 30 | 0x80);
        QCOMPARE(int(f->pages.at(0, 1)), 20);
        QCOMPARE(int(f->pages.at(0, 2)), 10);
        f->pages.set(0, 0, 0x85);
        f->btn_MirrorVertikal->click();
        QCOMPARE(int(f->pages.at(0, 0)), 0xFA);
        QCOMPARE(int(f->pages.at(0, 1)), 107);
        QVERIFY(f->HasPendingChanges());
    }

    void copyTakesEntries0To126() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        f->btn_copy[1]->click();  // "von #2" while "Kurve 1" is shown
        const Pages loaded = servotest::LoadedPages();
        for (int k = 0; k < 127; ++k) QCOMPARE(int(f->pages.at(0, k)), int(loaded[128 + k]));
        QCOMPARE(int(f->pages.at(0, 127)), int(loaded[127]));
        for (int i = 128; i < servotest::kPageBytes; ++i) QCOMPARE(f->pages.flat(i), loaded[i]);
        QVERIFY(!f->btn_copy[0]->isEnabled());
        QCOMPARE(f->edt_stretch->text(), QString("20"));
        QCOMPARE(f->lbl_KurveInfo1->text(), QString("Zeit zwischen 2 Punkten = 400 ms"));
        QVERIFY(f->HasPendingChanges());
        // The copied button byte and address bytes are what the lists show now.
        QCOMPARE(f->servo_cbx_s[0]->currentText(), QString("wie Adr.2"));
        QCOMPARE(Child<QComboBox>(w->FrameTorvAdr1, "cbx_a1_servo")->currentText(),
                 QString("Servo 1"));
        QCOMPARE(Child<QComboBox>(w->FrameTorvAdr1, "cbx_a1_curve")->currentText(),
                 QString("Kurve 2"));
    }

    void curveSelectionShowsItsPage() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        f->servo_rad_a[2]->click();
        QCOMPARE(f->CurrentPage(), 2);
        QCOMPARE(f->edt_stretch->text(), QString("5"));
        QVERIFY(!f->btn_copy[2]->isEnabled());
        QVERIFY(f->btn_copy[0]->isEnabled());
        // Point 0 of curve 3: position 26 at y = trunc(201 - 26 * 1.5703125) = 160.
        const parvel::ServoDrawOp first = f->servo_Image1->drawing().ops.at(0);
        QCOMPARE(first.y1, 160 - 3);
        QVERIFY(!f->HasPendingChanges());
        // Edits go to the shown curve.
        f->btn_Lin->click();
        QCOMPARE(int(f->pages.at(2, 9) & 0x7F), 127);
        QCOMPARE(int(f->pages.at(0, 9)), int(servotest::LoadedPages()[9]));
    }

    void gridListsAreStoredIntoTheWindow() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        QCOMPARE(f->cbx_raster_x->count(), 71);
        QCOMPARE(f->cbx_raster_y->count(), 11);
        QCOMPARE(f->cbx_raster_x->currentText(), QString("0"));
        f->cbx_raster_x->setCurrentIndex(5);
        QCOMPARE(w->raster_x, 5);
        f->cbx_raster_y->setCurrentIndex(3);
        QCOMPARE(w->raster_y, 3);
        QVERIFY(!f->HasPendingChanges());

        // 6 vertical lines at trunc(j * 52 * 10 / 6), 3 horizontal at trunc(201 - j * 50.25).
        std::vector<int> xs;
        for (const auto& op : LinesOf(f->servo_Image1->drawing(), parvel::ServoColour::Green, true))
            xs.push_back(op.x1);
        QCOMPARE(xs, (std::vector<int>{86, 173, 260, 346, 433, 520}));
        std::vector<int> ys;
        for (const auto& op :
             LinesOf(f->servo_Image1->drawing(), parvel::ServoColour::Green, false))
            ys.push_back(op.y1);
        QCOMPARE(ys, (std::vector<int>{150, 100, 50}));
        QCOMPARE(LinesOf(f->servo_Image2->drawing(), parvel::ServoColour::Green, true).size(),
                 size_t(6));

        // The settings file gets them.
        QVERIFY(w->SaveWindowSettings());
        const auto read = parvel::ReadTextLines(m_bench->Path("hexpar.ini"), 100);
        QVERIFY(std::find(read.lines.begin(), read.lines.end(), "x=5") != read.lines.end());
        QVERIFY(std::find(read.lines.begin(), read.lines.end(), "y=3") != read.lines.end());
    }

    void gridIndexBeyondTheListShowsNoGrid() {
        auto w = m_bench->Window();
        w->raster_x = 99;
        w->raster_y = 2;
        m_bench->Load(*w, servotest::ServoImage(0xD3));
        TFrameTorv* f = w->FrameTorv1;
        QCOMPARE(f->cbx_raster_x->currentIndex(), -1);
        QCOMPARE(f->cbx_raster_y->currentIndex(), 2);
        QVERIFY(LinesOf(f->servo_Image1->drawing(), parvel::ServoColour::Green, true).empty());
        QCOMPARE(LinesOf(f->servo_Image1->drawing(), parvel::ServoColour::Green, false).size(),
                 size_t(2));
        QCOMPARE(w->raster_x, 99);  // untouched lists keep the stored value
    }

    void buttonActionsStoreTheirByte() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        f->servo_cbx_s[3]->setCurrentIndex(3);  // "wie Adr.3" for the second button, open
        QCOMPARE(int(f->pages.at(3, parvel::kOffsetButtonAction)), 0x04);
        QVERIFY(f->HasPendingChanges());
        f->servo_cbx_s[1]->setCurrentIndex(8);
        QCOMPARE(int(f->pages.at(1, parvel::kOffsetButtonAction)), 0x80);
        f->servo_cbx_s[2]->setCurrentIndex(0);
        QCOMPARE(int(f->pages.at(2, parvel::kOffsetButtonAction)), 0x00);
        f->servo_btn_uebernehmenClick();
        QCOMPARE(w->document().image().rom_cells[LowCell(3 * 128 + 110)], std::string("04"));
    }

    void buttonByteBeyondTheListShowsNoSelection() {
        auto w = m_bench->Loaded(servotest::ServoImage(0xD2));
        TFrameTorv* f = w->FrameTorv1;
        w->document().image().rom_cells[LowCell(3 * 128 + 110)] = "10";  // "wie Adr.5"
        f->servo_btn_verwerfenClick();
        QCOMPARE(f->servo_cbx_s[3]->currentIndex(), -1);
        QVERIFY(!f->HasPendingChanges());
        f->servo_btn_uebernehmenClick();
        QCOMPARE(w->document().image().rom_cells[LowCell(3 * 128 + 110)], std::string("10"));
    }

    void buttonModeIsWrittenAtOnce() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        auto& cells = w->document().image().eeprom_cells;
        f->servo_rad_lernen->click();
        QCOMPARE(cells[0x00], std::string("01"));
        QVERIFY(f->servo_cbx_s[0]->isHidden());
        QVERIFY(f->servo_cbx_s[1]->isHidden());
        QVERIFY(Child<QWidget>(f, "Label_Servo_sw1a")->isHidden());
        QVERIFY(Child<QWidget>(f, "Label_Servo_sw1b")->isHidden());
        QVERIFY(!f->servo_cbx_s[2]->isHidden());
        QVERIFY(f->HasPendingChanges());
        f->servo_rad_servo->click();
        QCOMPARE(cells[0x00], std::string("F0"));
        QVERIFY(!f->servo_cbx_s[0]->isHidden());
        // Discarding does not undo the mode.
        f->servo_btn_verwerfen->click();
        QCOMPARE(cells[0x00], std::string("F0"));
        QVERIFY(f->servo_rad_servo->isChecked());
        QVERIFY(!f->HasPendingChanges());
    }

    void learnModeIsShownFromCell0() {
        auto image = servotest::ServoImage(0xD3);
        image.eeprom[0x00] = 0x01;
        auto w = m_bench->Loaded(image);
        QVERIFY(w->FrameTorv1->servo_rad_lernen->isChecked());
        QVERIFY(w->FrameTorv1->servo_cbx_s[0]->isHidden());
        QCOMPARE(w->document().image().eeprom_cells[0x00], std::string("01"));
        QVERIFY(!w->FrameTorv1->HasPendingChanges());
    }

    void thresholdIsWrittenAtOnceAndDrawn() {
        auto w = m_bench->Loaded(servotest::ServoImage(0x1D2));
        TFrameTorv* f = w->FrameTorv1;
        auto& cells = w->document().image().eeprom_cells;
        QCOMPARE(f->edt_torvik_schwelle->text(), QString("20"));
        auto red_line = [&] {
            const auto lines = LinesOf(f->servo_Image1->drawing(), parvel::ServoColour::Red, false);
            return lines.size() == 1 ? lines[0].y1 : -1000;
        };
        QCOMPARE(red_line(), 169);  // trunc(201 - 20 * 1.5703125)

        Type(f->edt_torvik_schwelle, "300");
        QCOMPARE(f->edt_torvik_schwelle->text(), QString("127"));
        QCOMPARE(cells[0x30], std::string("7F"));
        QCOMPARE(red_line(), 1);
        Type(f->edt_torvik_schwelle, "-5");
        QCOMPARE(f->edt_torvik_schwelle->text(), QString("0"));
        QCOMPARE(cells[0x30], std::string("00"));
        QCOMPARE(red_line(), 201);
        QVERIFY(Messages().empty());

        Type(f->edt_torvik_schwelle, "abc");
        QCOMPARE(Messages().size(), size_t(1));
        QCOMPARE(Messages()[0].text,
                 std::string("Ungültige Eingabe für <Schwellwert Ausgang X7> "));
        QCOMPARE(cells[0x30], std::string("00"));
        // With no number in the field the spinner steps on from its own position (1).
        f->UpDown4->findChild<QToolButton*>("up")->click();
        QCOMPARE(cells[0x30], std::string("02"));
        QVERIFY(!f->HasPendingChanges());  // the threshold does not touch apply
    }

    void storedCountOrStretchOutOfRange_data() {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("stretch");
        QTest::addColumn<QString>("shownCount");
        QTest::addColumn<QString>("shownStretch");
        QTest::addColumn<QString>("info1");
        QTest::addColumn<QString>("info2");
        QTest::newRow("count 0") << 0 << 10 << "1" << "10" << "Zeit zwischen 2 Punkten = 200 ms"
                                 << "gespeichert: 0, wird 1";
        QTest::newRow("count 150") << 150 << 10 << "100" << "10"
                                   << "Zeit zwischen 2 Punkten = 200 ms"
                                   << "gespeichert: 150, wird 100";
        QTest::newRow("stretch 0") << 10 << 0 << "10" << "1" << "gespeichert: 0, wird 1"
                                   << "Gesamtzeit für diese Kurve = 180 ms";
        QTest::newRow("erased") << 255 << 255 << "100" << "200" << "gespeichert: 255, wird 200"
                                << "gespeichert: 255, wird 100";
    }

    // The fields show what taking the curves over writes; the time texts name a stored byte
    // outside its range in their place.
    void storedCountOrStretchOutOfRange() {
        QFETCH(int, count);
        QFETCH(int, stretch);
        QFETCH(QString, shownCount);
        QFETCH(QString, shownStretch);
        QFETCH(QString, info1);
        QFETCH(QString, info2);
        parvel::test::FixtureImage image = servotest::ServoImage(0xD3);
        const int page = 1;
        auto put = [&](int offset, int value) {
            const int i = page * 128 + offset;
            image.words[0x500 + i] =
                static_cast<std::uint16_t>((servotest::LoadedHighByte(i) << 8) | value);
        };
        put(parvel::kOffsetPointCount, count);
        put(parvel::kOffsetStretch, stretch);
        auto w = m_bench->Loaded(image);
        TFrameTorv* f = w->FrameTorv1;
        f->servo_rad_a[page]->click();
        QCOMPARE(f->edt_Anzahl->text(), shownCount);
        QCOMPARE(f->edt_stretch->text(), shownStretch);
        QCOMPARE(f->lbl_KurveInfo1->text(), info1);
        QCOMPARE(f->lbl_KurveInfo2->text(), info2);
        QVERIFY(!f->HasPendingChanges());

        f->servo_rad_a[0]->click();
        f->btn_Lin->click();
        f->servo_btn_uebernehmen->click();
        const auto& rom = w->document().image().rom_cells;
        QCOMPARE(rom[LowCell(page * 128 + parvel::kOffsetPointCount)],
                 Hex(static_cast<std::uint8_t>(shownCount.toInt())));
        QCOMPARE(rom[LowCell(page * 128 + parvel::kOffsetStretch)],
                 Hex(static_cast<std::uint8_t>(shownStretch.toInt())));
    }

    void applyWritesAllLowCellsAndKeepsHighCells() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        parvel::FirmwareImage& image = w->document().image();
        f->btn_Lin->click();
        Child<QPushButton>(w->FrameTorvAdr1, "btn_inc1offset_1")->click();
        // Stale texts in every low cell: apply must rewrite each of them.
        for (int i = 0; i < servotest::kPageBytes; ++i) image.rom_cells[LowCell(i)] = "5A";
        QVERIFY(f->HasPendingChanges());
        f->servo_btn_uebernehmen->click();
        QVERIFY(!f->HasPendingChanges());

        Pages expected = servotest::LoadedPages();
        const int lin[10] = {0, 14, 28, 42, 56, 70, 84, 98, 112, 127};
        for (int i = 0; i < 10; ++i) {
            expected[i] = static_cast<std::uint8_t>((expected[i] & 0x80) | lin[i]);
        }
        for (int i = 0; i < servotest::kPageBytes; ++i) {
            QCOMPARE(image.rom_cells[LowCell(i)], Hex(expected[i]));
            QCOMPARE(image.rom_cells[LowCell(i) + 1], Hex(servotest::LoadedHighByte(i)));
        }
        const auto pulses = servotest::LoadedPulses();
        QCOMPARE(image.eeprom_cells[0x60], std::string("7E"));
        for (int i = 1; i < 8; ++i) QCOMPARE(image.eeprom_cells[0x60 + i], Hex(pulses[i]));
    }

    void saveAsksAndYesWritesNoWritesNothing() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        f->btn_Lin->click();
        const std::string out = m_bench->Path("out.hex");
        m_bench->dialogs.save_names.push_back(out);

        m_bench->dialogs.answers = {parvel::Answer::No};
        w->btn_saveClick();
        QCOMPARE(Messages().size(), size_t(1));
        QCOMPARE(Messages()[0].text, std::string("Geänderte Werte übernehmen?"));
        QVERIFY(Messages()[0].buttons == parvel::Buttons::YesNo);
        QVERIFY(!QFile::exists(QString::fromStdString(out)));
        QVERIFY(f->HasPendingChanges());
        QCOMPARE(w->document().image().rom_cells[LowCell(1)], std::string("85"));

        m_bench->dialogs.answers = {parvel::Answer::Yes};
        w->btn_saveClick();
        QVERIFY(QFile::exists(QString::fromStdString(out)));
        QVERIFY(!f->HasPendingChanges());
        const Pages edited = PagesOf(f);

        // The saved file holds the curve, and the high bytes as they were.
        auto again = m_bench->Window();
        m_bench->dialogs.open_names.push_back(out);
        again->btn_loadClick();
        QCOMPARE(PagesOf(again->FrameTorv1), edited);
        for (int i = 0; i < servotest::kPageBytes; ++i) {
            QCOMPARE(again->document().image().rom_cells[LowCell(i) + 1],
                     Hex(servotest::LoadedHighByte(i)));
        }
        QCOMPARE(int(edited[1]), 0x80 | 14);
    }

    void loadingAnotherFileDropsThePendingCurve() {
        auto w = Torv4();
        w->FrameTorv1->btn_Lin->click();
        QVERIFY(w->FrameTorv1->HasPendingChanges());
        m_bench->dialogs.answers.push_back(parvel::Answer::Discard);  // drop the unsaved changes
        m_bench->Load(*w,
                      parvel::test::Firmware(0x8, parvel::test::FixtureImage::Protocol::Motorola),
                      "klemmo.hex");
        QCOMPARE(Messages().size(), size_t(1));
        QCOMPARE(Messages()[0].text, std::string("Nicht gespeicherte Änderungen verwerfen?"));
        m_bench->dialogs.messages.clear();
        QVERIFY(w->FrameTorv1->isHidden());
        QVERIFY(!w->FrameTorv1->HasPendingChanges());
        const std::string out = m_bench->Path("klemmo-out.hex");
        m_bench->dialogs.save_names.push_back(out);
        w->btn_saveClick();
        QVERIFY(Messages().empty());  // no question: nothing of the servo image is taken over
        QVERIFY(QFile::exists(QString::fromStdString(out)));
        QCOMPARE(w->document().image().rom_cells[LowCell(0)], std::string("FF"));
        QVERIFY(w->document().image().rom_last < LowCell(0));
    }

    void discardRestoresTheImage() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        f->btn_Lin->click();
        f->servo_cbx_s[1]->setCurrentIndex(4);
        Child<QComboBox>(w->FrameTorvAdr1, "cbx_a1_servo")->setCurrentIndex(3);
        f->servo_btn_verwerfen->click();
        QCOMPARE(PagesOf(f), servotest::LoadedPages());
        QCOMPARE(f->servo_cbx_s[1]->currentIndex(), 2);
        QCOMPARE(Child<QComboBox>(w->FrameTorvAdr1, "cbx_a1_servo")->currentIndex(), 1);
        QVERIFY(!f->HasPendingChanges());
    }

    void curveFileSaveAndLoad() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        const std::string saved = m_bench->Path("k.cur");
        m_bench->dialogs.save_names.push_back(saved);
        f->servo_save_1->click();
        const auto lines = parvel::ReadTextLines(saved, 1000).lines;
        QCOMPARE(lines.size(), size_t(10));
        QCOMPARE(lines[0], std::string("5"));
        QCOMPARE(lines[1], std::string("133"));
        QVERIFY(!f->HasPendingChanges());

        const std::string three = m_bench->Path("three.cur");
        parvel::test::WriteFile(three, "0\r\n127\r\n255\r\n");
        m_bench->dialogs.open_names.push_back(three);
        f->servo_load_1->click();
        QCOMPARE(f->pages.PointCount(0), 3);
        QCOMPARE(int(f->pages.at(0, 0)), 0);
        QCOMPARE(int(f->pages.at(0, 1)), 127);
        QCOMPARE(int(f->pages.at(0, 2)), 255);
        QCOMPARE(f->edt_Anzahl->text(), QString("3"));
        QVERIFY(f->HasPendingChanges());
        QVERIFY(Messages().empty());

        // A bad third line: two points taken, the count stays, the message names line 2.
        f->servo_btn_verwerfenClick();
        const std::string bad = m_bench->Path("bad.cur");
        parvel::test::WriteFile(bad, "1\r\n2\r\nabc\r\n4\r\n");
        m_bench->dialogs.open_names.push_back(bad);
        f->servo_load_1->click();
        QCOMPARE(Messages().size(), size_t(1));
        QCOMPARE(Messages()[0].text,
                 std::string("Dieses File enthält ungültige Zeichen (kein Zahlenwert) in Zeile 2"));
        QCOMPARE(int(f->pages.at(0, 0)), 1);
        QCOMPARE(int(f->pages.at(0, 1)), 2);
        QCOMPARE(f->pages.PointCount(0), 10);
        QVERIFY(f->HasPendingChanges());
    }

    void setFileRoundTrip() {
        auto w = Torv4();
        TFrameTorv* f = w->FrameTorv1;
        const std::string set = m_bench->Path("all.set");
        m_bench->dialogs.save_names.push_back(set);
        f->servo_save_all->click();
        QCOMPARE(parvel::ReadTextLines(set, 1000).lines.size(), size_t(512));

        f->btn_copy[3]->click();
        Child<QComboBox>(w->FrameTorvAdr1, "cbx_a2_action")->setCurrentIndex(3);
        f->servo_btn_uebernehmenClick();
        QVERIFY(PagesOf(f) != servotest::LoadedPages());

        m_bench->dialogs.open_names.push_back(set);
        f->servo_load_all->click();
        QCOMPARE(PagesOf(f), servotest::LoadedPages());
        QVERIFY(f->HasPendingChanges());
        QVERIFY(!w->FrameTorvAdr1->loading);
        QCOMPARE(Child<QComboBox>(w->FrameTorvAdr1, "cbx_a1_servo")->currentText(),
                 QString("Servo 2"));
        QCOMPARE(Child<QComboBox>(w->FrameTorvAdr1, "cbx_a2_action")->currentText(),
                 QString("Start"));
        QCOMPARE(f->servo_cbx_s[0]->currentIndex(), 0);
        QVERIFY(Messages().empty());

        // Too long: nothing changes.
        f->servo_btn_verwerfenClick();
        f->btn_Lin->click();
        f->servo_btn_uebernehmenClick();
        const Pages before = PagesOf(f);
        std::string text;
        for (int i = 0; i < 513; ++i) text += "1\r\n";
        const std::string long_set = m_bench->Path("long.set");
        parvel::test::WriteFile(long_set, text);
        m_bench->dialogs.open_names.push_back(long_set);
        f->servo_load_all->click();
        QCOMPARE(Messages().size(), size_t(1));
        QCOMPARE(Messages()[0].text, std::string("Dieses File hat zu viele Zeilen (max. 512)"));
        QCOMPARE(PagesOf(f), before);
        QVERIFY(!f->HasPendingChanges());
    }

    // Undo all after a run of curve edits gives back the loaded file, redo all the edited one
    // (the save takes over what "übernehmen" has not). Actions as servotest::ServoActions.
    void undoRoundTrip_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("steps");
        QTest::newRow("strokes") << 0xD3
                                 << "draw:servo_Image1=30,20,150,60;draw:servo_Image1=200,150,"
                                    "300,10;draw:servo_Image2=40,5,120,5"
                                 << 3;
        QTest::newRow("generators, mirror, copy")
            << 0xD3
            << "click:btn_Lin;click:servo_rad_a2;click:btn_Sin;click:btn_MirrorVertikal;"
               "click:btn_MirrorHorizontal;click:btn_copy1"
            << 5;
        QTest::newRow("count, stretch, spinners")
            << 0xD3 << "type:edt_Anzahl=20;type:edt_stretch=7;step:UpDown1=+;step:UpDown2=-" << 4;
        QTest::newRow("scale and shift") << 0xD3
                                         << "type:edt_scale=0,5;click:btn_scale;type:edt_shift=10;"
                                            "click:btn_shift"
                                         << 2;
        QTest::newRow("taken over, discarded")
            << 0xD3
            << "click:btn_Log;click:servo_btn_uebernehmen;click:btn_sin2;"
               "click:servo_btn_verwerfen;click:btn_Lin"
            << 5;
        QTest::newRow("buttons and mode") << 0xD3
                                          << "pick:servo_cbx_s2c=3;click:servo_rad_lernen;"
                                             "pick:servo_cbx_s2o=1"
                                          << 3;
        QTest::newRow("threshold")
            << 0x1D2 << "type:edt_torvik_schwelle=60;click:btn_Lin;type:edt_torvik_schwelle=30"
            << 3;
        QTest::newRow("curve file") << 0xD3 << "load:0|64|127|;click:btn_Lin" << 2;
    }

    void undoRoundTrip() {
        QFETCH(int, code);
        QFETCH(QString, actions);
        QFETCH(int, steps);
        auto image = servotest::ServoImage(code);
        guitest::DccRowsAtAddressOne(image);
        auto w = m_bench->Loaded(image);
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        servotest::ServoActions(*w, *m_bench, actions);
        QVERIFY(Messages().empty());
        int made = 0;
        guitest::UndoRoundTrip(*w, m_bench->dialogs, m_bench->Path("servo.hex"),
                               m_bench->Path("."), made);
        if (QTest::currentTestFailed()) return;
        // Pending curve changes taken over by the save are one more step.
        QCOMPARE(made, steps + 1);
    }

    void undoShowsTheCurveItChanged() {
        auto w = Torv4();
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        TFrameTorv* f = w->FrameTorv1;
        servotest::ServoActions(*w, *m_bench,
                                "click:servo_rad_a2;draw:servo_Image1=30,20,150,60;"
                                "click:servo_rad_a1");
        QCOMPARE(w->act_undo->text(), QString("Rückgängig: Kurve 2 gezeichnet"));
        QVERIFY(f->HasPendingChanges());
        w->UndoClick();
        QCOMPARE(f->CurrentPage(), 1);
        QCOMPARE(PagesOf(f), servotest::LoadedPages());
        QVERIFY(!f->HasPendingChanges());
        w->RedoClick();
        QVERIFY(PagesOf(f) != servotest::LoadedPages());
        QVERIFY(f->HasPendingChanges());
    }
};

QTEST_MAIN(FrameTorvTest)
#include "FrameTorvTest.moc"
