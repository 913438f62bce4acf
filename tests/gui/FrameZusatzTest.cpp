// The additional-settings frame in the main window: what it shows for each kind of firmware,
// which cell bytes a click, a bar move or an edit writes, the input messages, and that a saved
// file carries the change. Expected texts, cells and positions come from the firmware
// documentation of the decoders (type table, cell encodings), not from the frame's own code.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <memory>

#include "frames/FrameZusatz.h"
#include "tests/Harness.h"
#include "tests/gui/WidgetTestSupport.h"
#include "app/FormMain.h"

using parvel::ScriptedDialogs;
using P = parvel::test::FixtureImage::Protocol;

namespace {

const QString kNotANumber = QString::fromUtf8("Ungültige Eingabe.\rZugelassen sind nur Zahlen");
QString RangeText(int lo, int hi) {
    return kNotANumber + QString(" im Werte-Bereich %1..%2").arg(lo).arg(hi);
}

// "20=0C 00=C1": EEPROM cells in hex.
std::map<int, std::uint8_t> Cells(const QString& text) {
    std::map<int, std::uint8_t> cells;
    for (const QString& pair : text.split(' ', Qt::SkipEmptyParts)) {
        const QStringList parts = pair.split('=');
        cells[parts[0].toInt(nullptr, 16)] = static_cast<std::uint8_t>(parts[1].toInt(nullptr, 16));
    }
    return cells;
}

bool IsFunctionType(std::uint32_t code) {
    const parvel::DecoderType* entry = parvel::FindDecoderType(code);
    return entry && entry->kind == parvel::DecoderKind::Function;
}

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

class FrameZusatzTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
    int m_files = 0;

    std::string Path(const QString& name) const { return m_dir->filePath(name).toStdString(); }

    // A firmware file of this type with these EEPROM cells; the ID gives the version ("3358":
    // V3.58). Function decoders are DCC, the others Motorola.
    std::string WriteFirmware(std::uint32_t code, const QString& cells,
                              const std::string& id = "3358") {
        parvel::test::FixtureImage f =
            parvel::test::Firmware(code, IsFunctionType(code) ? P::Dcc : P::Motorola, id);
        for (const auto& [cell, value] : Cells(cells)) f.eeprom[cell] = value;
        const std::string path = Path(QString("f%1.hex").arg(++m_files));
        parvel::test::WriteFile(path, parvel::test::BuildHex(f));
        return path;
    }

    std::unique_ptr<TFormMain> MakeWindow() {
        parvel::StartOptions options;
        options.doc_root = "file:///opt/parvel/doc/";
        auto w = std::make_unique<TFormMain>(options, &m_dialogs);
        w->SetUrlOpener([](const QUrl&) {});
        w->show();
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("window not active");
        return w;
    }

    void Load(TFormMain& w, const std::string& path) {
        m_dialogs.open_names.push_back(path);
        w.btn_loadClick();
    }

    std::unique_ptr<TFormMain> Loaded(std::uint32_t code, const QString& cells,
                                      const std::string& id = "3358") {
        auto w = MakeWindow();
        Load(*w, WriteFirmware(code, cells, id));
        // A fixture that does not load as meant makes every check after it meaningless.
        if (w->document().type_code() != code) qFatal("type 0x%x not recognised", code);
        if (w->FrameZusatz1->isHidden()) qFatal("frame not shown for 0x%x", code);
        if (!m_dialogs.messages.empty()) {
            qFatal("load message: %s", m_dialogs.messages[0].text.c_str());
        }
        return w;
    }

    template <class T>
    T* Child(TFormMain& w, const QString& name) {
        T* child = w.FrameZusatz1->findChild<T*>(name);
        if (!child) qFatal("no child %s", qPrintable(name));
        return child;
    }

    static QString Cell(TFormMain& w, int cell) {
        return Text(w.document().image().eeprom_cells[cell]);
    }

    // Saves through the save button's flow and reads the written file into a fresh session.
    std::unique_ptr<parvel::test::Harness> SaveAndReload(TFormMain& w) {
        const std::string out = Path(QString("saved%1.hex").arg(++m_files));
        m_dialogs.save_names.push_back(out);
        w.btn_saveClick();
        auto again = std::make_unique<parvel::test::Harness>();
        if (!again->session.LoadHexFile(out)) qWarning("saved file not readable");
        return again;
    }

    static void ClickBox(QAbstractButton* button) {
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }

    // Types without finishing the edit: the tests decide how it ends (Return, focus change).
    static void Type(QLineEdit* edit, const QString& text) { guitest::TypeText(edit, text, false); }

    static bool Visible(QWidget* w) { return !w->isHidden(); }

  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = ScriptedDialogs();
        QLocale::setDefault(QLocale::c());
    }

    void cleanup() { QLocale::setDefault(QLocale::system()); }

    // ---------------------------------------------------------------- value rows

    void rows_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<QStringList>("hints");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QStringList>("seconds");  // "": no seconds label
        QTest::addColumn<int>("top");              // the first edit's top
        const QString timeOut = "Time Out (1..127)";
        const QString timeOutHint =
            QString::fromUtf8("Zeit, nach der der Antrieb immer spätestens abgeschaltet wird");
        QTest::newRow("T turnout")
            << 0x8 << "20=0C" << QStringList{timeOut} << QStringList{timeOutHint}
            << QStringList{"12"} << QStringList{"(6,0 sec.)"} << 20;
        QTest::newRow("TN neon takes the T caption")
            << 0x1A4100 << "20=FF" << QStringList{timeOut} << QStringList{timeOutHint}
            << QStringList{"255"} << QStringList{"(127,5 sec.)"} << 20;
        QTest::newRow("S switching")
            << 0xB << "20=07" << QStringList{"Abschaltzeit in Mode 3 (1..255)"}
            << QStringList{"Zeit, nach der in Mode 3 abgeschaltet wird"} << QStringList{"7"}
            << QStringList{"(3,5 sec.)"} << 20;
        QTest::newRow("G1 G2 traffic light from 120")
            << 0x267 << "20=11 60=19 70=0C"
            << QStringList{QString::fromUtf8("Grünphase Haupt (x 0.2 s)"),
                           QString::fromUtf8("Grünphase Neben (x 0.2 s)")}
            << QStringList{QString::fromUtf8("Länge der Grünphase Hauptstrasse"),
                           QString::fromUtf8("Länge der Grünphase Nebenstrasse")}
            << QStringList{"25", "12"} << QStringList{"(5,0 sec.)", "(2,4 sec.)"} << 120;
        QTest::newRow("H1 H2 house, no seconds")
            << 0x71 << "20=01 2F=09"
            << QStringList{"Ablaufgeschwindigkeit (1..255)", "Mindestanzahl (1..9)"}
            << QStringList{"1 = schnell\n255 = langsam",
                           "Anzahl der mindest aktiven Ausgänge beim Ablauf"}
            << QStringList{"1", "9"} << QStringList{"", ""} << 20;
        QTest::newRow("signal without rows") << 0x3 << "00=01" << QStringList{} << QStringList{}
                                             << QStringList{} << QStringList{} << 0;
    }

    void rows() {
        QFETCH(int, code);
        QFETCH(QString, cells);
        QFETCH(QStringList, captions);
        QFETCH(QStringList, hints);
        QFETCH(QStringList, values);
        QFETCH(QStringList, seconds);
        QFETCH(int, top);
        // The seconds follow the user's locale: a decimal comma under a German one.
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        auto w = Loaded(code, cells);
        TFrameZusatz* f = w->FrameZusatz1;
        QCOMPARE(f->row_count, int(captions.size()));
        int widest = 0;
        for (int i = 0; i < captions.size(); ++i) {
            widest = std::max(widest, f->rows[i].caption->width());
        }
        for (int i = 0; i < parvel::kSettingRows; ++i) {
            const TFrameZusatz::SettingRow& row = f->rows[i];
            QCOMPARE(row.caption, Child<QLabel>(*w, QString("lbl_row_caption%1").arg(i)));
            if (i >= captions.size()) {
                QVERIFY(row.caption->isHidden());
                QVERIFY(row.edit->isHidden());
                QVERIFY(row.seconds->isHidden());
                continue;
            }
            QVERIFY(Visible(row.caption) && Visible(row.edit));
            QCOMPARE(row.caption->text(), captions[i]);
            QCOMPARE(row.edit->toolTip(), hints[i]);
            QCOMPARE(row.edit->text(), values[i]);
            QCOMPARE(Visible(row.seconds), !seconds[i].isEmpty());
            if (!seconds[i].isEmpty()) QCOMPARE(row.seconds->text(), seconds[i]);
            // 25 apart from the start height; caption and seconds label 3 lower than the edit.
            QCOMPARE(row.edit->y(), top + 25 * i);
            QCOMPARE(row.caption->y(), row.edit->y() + 3);
            QCOMPARE(row.seconds->y(), row.edit->y() + 3);
            QCOMPARE(row.caption->x(), 10);
            QCOMPARE(row.edit->x(), widest + 20);
            QCOMPARE(row.edit->width(), 40);
            QCOMPARE(row.seconds->x(), row.edit->x() + 40 + 10);
        }
        QVERIFY(m_dialogs.messages.empty());
    }

    // ---------------------------------------------------------------- mode group

    void modeGroup_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<bool>("group");
        QTest::addColumn<QStringList>("radios");  // the visible captions
        QTest::addColumn<bool>("note");           // lbl_mode
        QTest::addColumn<bool>("lock");           // cbx_mode_bit7 shown
        QTest::addColumn<bool>("dark");           // cbx_mode_bit6 shown
        QTest::addColumn<int>("checked");         // radio index, -1: none
        QTest::addColumn<bool>("bit6");
        QTest::addColumn<bool>("bit7");
        const QString normal = "Mode 1: Normale Betriebsart";
        const QStringList a = {normal, "Mode 2: Dumm-Mode", "Mode 3: Selbstabschaltungs-Mode"};
        QTest::newRow("A V3.58 lock")
            << 0xB << "3358"
            << "00=82" << true << a << true << true << false << 1 << false << true;
        QTest::newRow("A V3.54 no lock")
            << 0xB << "3354"
            << "00=82" << true << a << true << false << false << 1 << false << true;
        QTest::newRow("A4 relais")
            << 0x69 << "3358"
            << "00=08" << true << (a + QStringList{"Mode 4: Single Output-Mode"}) << true << true
            << false << 3 << false << false;
        QTest::newRow("D signal") << 0x3 << "3358"
                                  << "00=01" << true
                                  << QStringList{normal, "Mode 2: mit Dunkeltastung"} << true
                                  << true << false << 0 << false << false;
        QTest::newRow("D signal V3.37")
            << 0x1C9 << "3337"
            << "00=02" << true << QStringList{normal, "Mode 2: mit Dunkeltastung"} << true << false
            << false << 1 << false << false;
        QTest::newRow("St no boxes")
            << 0x3D00 << "3358"
            << "00=C2" << true << QStringList{normal, "Mode 2: Steuerwagen"} << true << false
            << false << 1 << true << true;
        QTest::newRow("St both boxes")
            << 0x13D00 << "3060"
            << "00=41" << true << QStringList{normal, "Mode 2: Steuerwagen"} << true << true << true
            << 0 << true << false;
        QTest::newRow("Du crossing") << 0x68 << "3358"
                                     << "00=02" << true << QStringList{normal, "Mode 2: Dumm-Mode"}
                                     << true << true << false << 1 << false << false;
        QTest::newRow("Du function decoder")
            << 0x3E00 << "3358"
            << "00=01" << true << QStringList{normal, "Mode 2: Dumm-Mode"} << true << false << false
            << 0 << false << false;
        QTest::newRow("St34") << 0x13E00 << "3060"
                              << "00=C2" << true
                              << QStringList{normal, "Mode 2: Steuerwagen (Ausgang 3/4)"} << true
                              << true << true << 1 << true << true;
        QTest::newRow("Rot") << 0xCB << "3358"
                             << "00=02" << true
                             << QStringList{"Mode 1: ohne ROT", "Mode 2: mit ROT "} << true << true
                             << false << 1 << false << false;
        QTest::newRow("Land") << 0x267 << "3358"
                              << "00=01 20=11" << true
                              << QStringList{"Mode 1: Deutschland",
                                             QString::fromUtf8("Mode 2: Österreich")}
                              << true << true << false << 0 << false << false;
        QTest::newRow("Gas V3.58")
            << 0x66 << "3358"
            << "00=84" << true
            << QStringList{normal, "Mode 2: kein Einschaltblitz", "Mode 3: keine Druckschwankungen",
                           "Mode 4: kein Blitz, keine Schwankungen"}
            << true << true << false << 2 << false << true;
        QTest::newRow("Gas V3.54 no group")
            << 0x66 << "3354"
            << "00=04" << false << QStringList{} << false << false << false << 2 << false << false;
        const QStringList neon = {"Mode 1: Normale Betriebsart Neon", "Mode 2: Steuerwagen Neon",
                                  "Mode 3: Normale Betriebsart ohne Neon",
                                  "Mode 4: Steuerwagen ohne Neon"};
        QTest::newRow("Neon V0.44")
            << 0x1A4100 << "3044"
            << "00=08" << true << neon << true << false << false << 3 << false << false;
        QTest::newRow("Neon V0.60")
            << 0x2B4100 << "3060"
            << "00=44" << true << neon << true << true << true << 2 << true << false;
        QTest::newRow("blinking: start-dark box only")
            << 0x13F00 << "3060"
            << "00=40" << true << QStringList{} << false << false << true << -1 << true << false;
        QTest::newRow("no mode bit checks no mode")
            << 0xB << "3358"
            << "00=80" << true << a << true << true << false << -1 << false << true;
        QTest::newRow("turnout: no group")
            << 0x8 << "3358"
            << "00=01" << false << QStringList{} << false << false << false << 0 << false << false;
    }

    void modeGroup() {
        QFETCH(int, code);
        QFETCH(QString, id);
        QFETCH(QString, cells);
        QFETCH(bool, group);
        QFETCH(QStringList, radios);
        QFETCH(bool, note);
        QFETCH(bool, lock);
        QFETCH(bool, dark);
        QFETCH(int, checked);
        QFETCH(bool, bit6);
        QFETCH(bool, bit7);
        auto w = Loaded(code, cells, id.toStdString());
        auto* g = Child<QGroupBox>(*w, "group_mode");
        QCOMPARE(Visible(g), group);
        QCOMPARE(g->title(), QString("Mode Auswahl"));
        // Also for a hidden group the buttons follow the mode cell.
        for (int i = 0; i < 6; ++i) {
            auto* radio = Child<QRadioButton>(*w, QString("rad_mode%1").arg(i + 1));
            QCOMPARE(radio->isChecked(), i == checked);
        }
        QCOMPARE(Child<QCheckBox>(*w, "cbx_mode_bit6")->isChecked(), bit6);
        QCOMPARE(Child<QCheckBox>(*w, "cbx_mode_bit7")->isChecked(), bit7);
        if (!group) return;

        auto* lbl_mode = Child<QLabel>(*w, "lbl_mode");
        auto* lockBox = Child<QCheckBox>(*w, "cbx_mode_bit7");
        auto* darkBox = Child<QCheckBox>(*w, "cbx_mode_bit6");
        QCOMPARE(Visible(lbl_mode), note);
        QCOMPARE(Visible(lockBox), lock);
        QCOMPARE(Visible(darkBox), dark);
        QCOMPARE(lbl_mode->text(),
                 QString::fromUtf8("Wird hier ein Mode ausgewählt, so sollte die Mode-\r\n"
                                   "Umschaltung gesperrt werden, da  sich sonst der gewählte\r\n"
                                   "Mode während des \"Brennen\" wieder verstellen kann."));
        QCOMPARE(lockBox->text(), QString("Mode-Umschaltung SPERREN"));
        QCOMPARE(lockBox->toolTip(),
                 QString::fromUtf8("Aktiviert: eine Mode-Umschaltung (Taste beim Starten) ist "
                                   "dann nicht mehr möglich. Voreingestellte Modus ist damit "
                                   "garantiert. "));
        QCOMPARE(darkBox->text(), QString::fromUtf8("Dumm Mode: startet immer mit Ausgängen AUS"));
        QCOMPARE(darkBox->toolTip(),
                 QString::fromUtf8("Dekoder startet mit abgeschalteten Ausgängen. der Zustand "
                                   "beim Abschalten wird also NICHT wieder hergestellt."));
        for (int i = 0; i < 6; ++i) {
            auto* radio = Child<QRadioButton>(*w, QString("rad_mode%1").arg(i + 1));
            QCOMPARE(Visible(radio), i < radios.size());
            if (i < radios.size()) QCOMPARE(radio->text(), radios[i]);
        }

        // Stacked top to bottom: note, lock box, radio buttons, start-dark box, each below the
        // one before; the group sits 10 above the bottom of the 485 high panel.
        std::vector<QWidget*> order;
        if (note) order.push_back(lbl_mode);
        if (lock) order.push_back(lockBox);
        for (int i = 0; i < radios.size(); ++i) {
            order.push_back(Child<QRadioButton>(*w, QString("rad_mode%1").arg(i + 1)));
        }
        if (dark) order.push_back(darkBox);
        // The start-dark box alone keeps its gap of 10 below the first height.
        QCOMPARE(order.front()->y(), order.front() == darkBox ? 30 : 20);
        for (std::size_t i = 1; i < order.size(); ++i) {
            QVERIFY(order[i]->y() >= order[i - 1]->y() + order[i - 1]->height());
        }
        QCOMPARE(g->height(), order.back()->y() + order.back()->height() + 10);
        QCOMPARE(g->x(), 10);
        QCOMPARE(g->y() + g->height(), 485 - 10);
        QCOMPARE(w->FrameZusatz1->width(), g->x() + g->width() + 10);
    }

    void modeClicks_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("checked");  // radio checked after the click
        // A radio click writes the mode's bit alone, then the visible boxes their bits.
        QTest::newRow("lock box keeps bit 7, bit 6 dropped") << 0xB << "3358"
                                                             << "C1"
                                                             << "rad_mode2"
                                                             << "82" << 1;
        QTest::newRow("V3.54: both dropped") << 0xB << "3354"
                                             << "C1"
                                             << "rad_mode3"
                                             << "04" << 2;
        QTest::newRow("no boxes: both dropped") << 0x3D00 << "3358"
                                                << "C1"
                                                << "rad_mode2"
                                                << "02" << 1;
        QTest::newRow("both boxes kept") << 0x13E00 << "3060"
                                         << "C1"
                                         << "rad_mode2"
                                         << "C2" << 1;
        QTest::newRow("lock box on") << 0x13E00 << "3060"
                                     << "41"
                                     << "cbx_mode_bit7"
                                     << "C1" << 0;
        QTest::newRow("start-dark box off") << 0x13E00 << "3060"
                                            << "C1"
                                            << "cbx_mode_bit6"
                                            << "81" << 0;
        QTest::newRow("lock box off") << 0xB << "3358"
                                      << "84"
                                      << "cbx_mode_bit7"
                                      << "04" << 2;
        QTest::newRow("start-dark only, bit 7 untouched") << 0x13F00 << "3060"
                                                          << "81"
                                                          << "cbx_mode_bit6"
                                                          << "C1" << 0;
        QTest::newRow("no mode bit: pure mode plus lock") << 0xB << "3358"
                                                          << "80"
                                                          << "rad_mode1"
                                                          << "81" << 0;
        QTest::newRow("neon mode 4") << 0x2A4100 << "3060"
                                     << "41"
                                     << "rad_mode4"
                                     << "48" << 3;
        QTest::newRow("land mode 2") << 0x267 << "3358"
                                     << "01"
                                     << "rad_mode2"
                                     << "02" << 1;
        QTest::newRow("gas mode 4") << 0x66 << "3358"
                                    << "01"
                                    << "rad_mode4"
                                    << "08" << 3;
    }

    void modeClicks() {
        QFETCH(int, code);
        QFETCH(QString, id);
        QFETCH(QString, cell);
        QFETCH(QString, control);
        QFETCH(QString, after);
        QFETCH(int, checked);
        auto w = Loaded(code, "20=11 00=" + cell, id.toStdString());
        QCOMPARE(Cell(*w, 0x00), cell);
        auto* button = Child<QAbstractButton>(*w, control);
        QVERIFY(Visible(button));
        ClickBox(button);
        QCOMPARE(Cell(*w, 0x00), after);
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(Child<QRadioButton>(*w, QString("rad_mode%1").arg(i + 1))->isChecked(),
                     i == checked);
        }
        QVERIFY(!w->FrameZusatz1->loading);
        auto saved = SaveAndReload(*w);
        QCOMPARE(Text(saved->session.image().eeprom_cells[0x00]), after);
    }

    // ---------------------------------------------------------------- switch-off behaviour

    void weicheAb_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<QString>("after");  // after one click
        QTest::newRow("normal") << "01" << false << "AB";
        QTest::newRow("only time-out") << "AB" << true << "01";
        QTest::newRow("other text is not AB") << "AA" << false << "AB";
    }

    void weicheAb() {
        QFETCH(QString, cell);
        QFETCH(bool, checked);
        QFETCH(QString, after);
        auto w = Loaded(0x265, "00=" + cell);
        auto* box = Child<QCheckBox>(*w, "cbx_weiche_ab");
        QVERIFY(Visible(box));
        QCOMPARE(box->text(), QString("Abschalten des Antriebes NUR nach TimeOut"));
        QCOMPARE(box->toolTip(),
                 QString("Der Abschaltebefehl der Zentrale wird ignoriert, sodass der Antrieb "
                         "immer genau nach der TimeOut Zeit abschaltet"));
        QCOMPARE(box->y(), 100);
        QCOMPARE(box->isChecked(), checked);
        QVERIFY(!Visible(Child<QGroupBox>(*w, "group_mode")));
        ClickBox(box);
        QCOMPARE(Cell(*w, 0x00), after);
        QCOMPARE(box->isChecked(), !checked);
        ClickBox(box);
        QCOMPARE(Cell(*w, 0x00), checked ? QString("AB") : QString("01"));
    }

    void weicheAbOnlyFromV351() {
        auto w = Loaded(0x8, "00=01");
        QVERIFY(!Visible(Child<QCheckBox>(*w, "cbx_weiche_ab")));
        QVERIFY(!Visible(Child<QCheckBox>(*w, "cbx_zusatz_1")));
    }

    void switchOff_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("central");  // "OFF-Befehl der Zentrale" checked after loading
        QTest::addColumn<bool>("timeout");  // "Time-Out des Dekoders"
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("warning");  // lbl_text_1 after the click
        // Off command in the high nibble (as "AB" of the V3.51 firmwares: off command ignored),
        // time-out in the low nibble; 0xA means disabled.
        QTest::newRow("both on, central off") << 0x308 << "00" << true << true << "cbx_zusatz_1"
                                              << "A0" << false;
        QTest::newRow("both on, time-out off") << 0x30A << "00" << true << true << "cbx_zusatz_2"
                                               << "0A" << false;
        QTest::newRow("last one off warns") << 0x30C << "A0" << false << true << "cbx_zusatz_2"
                                            << "AA" << true;
        QTest::newRow("both off, central on") << 0x302 << "AA" << false << false << "cbx_zusatz_1"
                                              << "0A" << false;
        QTest::newRow("checked boxes write 0") << 0x365 << "A1" << false << true << "cbx_zusatz_1"
                                               << "00" << false;
        QTest::newRow("disabling writes exactly A")
            << 0x308 << "01" << true << true << "cbx_zusatz_2"
            << "0A" << false;
        QTest::newRow("V3.51 text AB reads the same")
            << 0x308 << "AB" << false << true << "cbx_zusatz_1"
            << "00" << false;
    }

    void switchOff() {
        QFETCH(int, code);
        QFETCH(QString, cell);
        QFETCH(bool, central);
        QFETCH(bool, timeout);
        QFETCH(QString, click);
        QFETCH(QString, after);
        QFETCH(bool, warning);
        auto w = Loaded(code, "00=" + cell);
        auto* heading = Child<QLabel>(*w, "lbl_zusatz3");
        auto* box1 = Child<QCheckBox>(*w, "cbx_zusatz_1");
        auto* box2 = Child<QCheckBox>(*w, "cbx_zusatz_2");
        auto* note = Child<QLabel>(*w, "lbl_text_1");
        QVERIFY(Visible(heading));
        QCOMPARE(heading->text(),
                 QString::fromUtf8("Abschaltfunktion: Ausgänge abschalten durch..."));
        QVERIFY(heading->font().bold());
        QCOMPARE(heading->y(), 150);
        QCOMPARE(box1->text(), QString("OFF-Befehl der Zentrale"));
        QCOMPARE(box1->toolTip(), QString("gesendet durch die Zentrale"));
        QCOMPARE(box1->y(), 170);
        QCOMPARE(box2->text(), QString("Time-Out des Dekoders"));
        QCOMPARE(box2->toolTip(),
                 QString("Sicherheitsfunktion, wenn OFF-Befehl der Zentrale nicht empfangen wird"));
        QCOMPARE(box2->y(), 190);
        QCOMPARE(note->text(),
                 QString::fromUtf8("Achtung: Durchbrenn-Gefahr für Weichen-Antriebe!"));
        QCOMPARE(note->y(), 190 + 40);
        QCOMPARE(box1->isChecked(), central);
        QCOMPARE(box2->isChecked(), timeout);
        QCOMPARE(Visible(note), !central && !timeout);
        for (int n = 3; n <= 8; ++n)
            QVERIFY(!Visible(Child<QCheckBox>(*w, QString("cbx_zusatz_%1").arg(n))));

        ClickBox(Child<QCheckBox>(*w, click));
        QCOMPARE(Cell(*w, 0x00), after);
        QCOMPARE(Visible(note), warning);
        // What the frame shows after the click is what it reads from the written cell.
        auto again = MakeWindow();
        auto saved = SaveAndReload(*w);
        QCOMPARE(Text(saved->session.image().eeprom_cells[0x00]), after);
        Load(*again, Path(QString("saved%1.hex").arg(m_files)));
        QCOMPARE(Child<QCheckBox>(*again, "cbx_zusatz_1")->isChecked(), box1->isChecked());
        QCOMPARE(Child<QCheckBox>(*again, "cbx_zusatz_2")->isChecked(), box2->isChecked());
    }

    // ---------------------------------------------------------------- neon output functions

    void specialFunctions_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<bool>("out9");
        QTest::addColumn<bool>("out10");
        QTest::addColumn<QString>("click");
        QTest::addColumn<QString>("after");
        QTest::newRow("out 10 on, click out 9") << "02" << false << true << "cbx_zusatz_1"
                                                << "03";
        QTest::newRow("other bits kept") << "F2" << false << true << "cbx_zusatz_2"
                                         << "F0";
        QTest::newRow("out 9 off") << "01" << true << false << "cbx_zusatz_1"
                                   << "00";
    }

    void specialFunctions() {
        QFETCH(QString, cell);
        QFETCH(bool, out9);
        QFETCH(bool, out10);
        QFETCH(QString, click);
        QFETCH(QString, after);
        auto w = Loaded(0x170, "20=" + cell);
        auto* heading = Child<QLabel>(*w, "lbl_zusatz");
        QCOMPARE(heading->text(), QString("Spezial-Funktion Ausgang 9 / 10:"));
        QVERIFY(heading->font().bold());
        auto* box1 = Child<QCheckBox>(*w, "cbx_zusatz_1");
        auto* box2 = Child<QCheckBox>(*w, "cbx_zusatz_2");
        QVERIFY(Visible(box1) && Visible(box2));
        QCOMPARE(box1->text(), QString("Ausgang 9"));
        QCOMPARE(box2->text(), QString("Ausgang 10"));
        QCOMPARE(box1->isChecked(), out9);
        QCOMPARE(box2->isChecked(), out10);
        QVERIFY(!Visible(Child<QLabel>(*w, "lbl_text_1")));
        ClickBox(Child<QCheckBox>(*w, click));
        QCOMPARE(Cell(*w, 0x20), after);
        auto saved = SaveAndReload(*w);
        QCOMPARE(Text(saved->session.image().eeprom_cells[0x20]), after);
    }

    void outputFunctionsShow() {
        // 0x85: bits 0x80 (out 4 defect), 0x04 (out 1/2/3 welder), 0x01 (out 9 defect).
        auto w = Loaded(0x270, "20=85");
        QCOMPARE(Child<QLabel>(*w, "lbl_zusatz")->text(),
                 QString::fromUtf8("Funktion der Ausgänge:"));
        const struct {
            int box;
            int top;
            const char* caption;
            const char* hint;
            bool checked;
        } expected[] = {
            {3, 40, "Ausgang 1/2/3 = 'Schweißer'",
             "Wenn nicht aktiviert, dann ist dieser Ausgang ein normaler 'Neon' Effekt Ausgang",
             true},
            {4, 60, "Ausgang 4 = 'Schweißer'",
             "Wenn nicht aktiviert, dann ist dieser Ausgang ein 'Neon' Effekt Ausgang, der auch "
             "als 'defekt' definiert werden kann",
             false},
            {5, 80, "Ausgang 5/6/7/8 = 'Schweißer'",
             "Wenn nicht aktiviert, dann ist dieser Ausgang ein normaler 'Neon' Effekt Ausgang",
             false},
            {7, 100, "Ausgang 9 = 'Schweißer'",
             "Wenn nicht aktiviert, dann ist dieser Ausgang ein 'Neon' Effekt Ausgang, der auch "
             "als 'defekt' definiert werden kann",
             false},
            {2, 120, "Ausgang 10 = 'Schweißer'",
             "Wenn nicht aktiviert, dann ist dieser Ausgang ein normaler 'Neon' Effekt Ausgang",
             false},
            {8, 160, "Ausgang 4 = 'Neon defekt'",
             "keine Wirkung, wenn Ausgang 4 als 'Schweißer' definiert", true},
            {1, 180, "Ausgang 9 = 'Neon defekt'",
             "keine Wirkung, wenn Ausgang 9 als 'Schweißer' definiert", true},
        };
        for (const auto& e : expected) {
            auto* box = Child<QCheckBox>(*w, QString("cbx_zusatz_%1").arg(e.box));
            QVERIFY2(Visible(box), e.caption);
            QCOMPARE(box->y(), e.top);
            QCOMPARE(box->text(), QString::fromUtf8(e.caption));
            QCOMPARE(box->toolTip(), QString::fromUtf8(e.hint));
            QCOMPARE(box->isChecked(), e.checked);
        }
        auto* unused = Child<QCheckBox>(*w, "cbx_zusatz_6");
        QVERIFY(!Visible(unused));
        QCOMPARE(unused->text(), QString(" "));
        auto* tip = Child<QLabel>(*w, "lbl_text_1");
        QVERIFY(Visible(tip));
        QCOMPARE(tip->text(), QString("Tipp: Im Duvra Dekoder sind Ausgang 1-4 nutzbar"));
        QCOMPARE(tip->y(), 180 + 40);
    }

    void outputFunctionClicks_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("after");
        // Bit 5 (0x20) belongs to no box and stays as it was.
        QTest::newRow("1/2/3 welder") << "20"
                                      << "cbx_zusatz_3"
                                      << "24";
        QTest::newRow("4 welder") << "20"
                                  << "cbx_zusatz_4"
                                  << "28";
        QTest::newRow("5-8 welder") << "20"
                                    << "cbx_zusatz_5"
                                    << "30";
        QTest::newRow("9 welder") << "20"
                                  << "cbx_zusatz_7"
                                  << "60";
        QTest::newRow("10 welder") << "20"
                                   << "cbx_zusatz_2"
                                   << "22";
        QTest::newRow("4 defect") << "20"
                                  << "cbx_zusatz_8"
                                  << "A0";
        QTest::newRow("9 defect") << "20"
                                  << "cbx_zusatz_1"
                                  << "21";
        QTest::newRow("off with bit 5 set") << "FF"
                                            << "cbx_zusatz_3"
                                            << "FB";
        QTest::newRow("off with bit 5 clear") << "DF"
                                              << "cbx_zusatz_8"
                                              << "5F";
    }

    void outputFunctionClicks() {
        QFETCH(QString, cell);
        QFETCH(QString, box);
        QFETCH(QString, after);
        auto w = Loaded(0x270, "20=" + cell);
        ClickBox(Child<QCheckBox>(*w, box));
        QCOMPARE(Cell(*w, 0x20), after);
        auto saved = SaveAndReload(*w);
        QCOMPARE(Text(saved->session.image().eeprom_cells[0x20]), after);
    }

    // ---------------------------------------------------------------- track bars

    void fadingLoad_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("cell");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("after");  // the cell once the frame is filled
        QTest::newRow("FF fast") << 0x167 << "FF" << 0 << "FF";
        QTest::newRow("66") << 0x167 << "66" << 1 << "66";
        QTest::newRow("33") << 0x267 << "33" << 2 << "33";
        QTest::newRow("22") << 0x167 << "22" << 3 << "22";
        QTest::newRow("12") << 0x267 << "12" << 4 << "12";
        QTest::newRow("11 slow") << 0x167 << "11" << 5 << "11";
        QTest::newRow("unknown normalised") << 0x167 << "44" << 5 << "11";
        QTest::newRow("zero normalised") << 0x267 << "00" << 5 << "11";
    }

    void fadingLoad() {
        QFETCH(int, code);
        QFETCH(QString, cell);
        QFETCH(int, position);
        QFETCH(QString, after);
        auto w = Loaded(code, "20=" + cell);
        auto* bar = Child<QSlider>(*w, "TrackBar_01");
        auto* caption = Child<QLabel>(*w, "lbl_trackbar_01");
        auto* left = Child<QLabel>(*w, "lbl_trackbar_01_l");
        auto* right = Child<QLabel>(*w, "lbl_trackbar_01_r");
        QVERIFY(Visible(bar) && Visible(caption) && Visible(left) && Visible(right));
        QCOMPARE(bar->value(), position);
        QCOMPARE(Cell(*w, 0x20), after);
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 5);
        QCOMPARE(bar->tickInterval(), 1);
        QCOMPARE(bar->toolTip(), QString("rechts = HELL, Links = dunkel"));
        QCOMPARE(caption->text(), QString::fromUtf8("Geschwindigkeit Überblendung (Fading)"));
        QCOMPARE(caption->pos(), QPoint(16, 50));
        QCOMPARE(bar->y(), 70);
        QCOMPARE(left->text(), QString("schnell"));
        QCOMPARE(left->pos(), QPoint(16, 73));
        QCOMPARE(right->text(), QString("langsam"));
        QCOMPARE(right->y(), 73);
        QCOMPARE(right->x() + right->width(), w->FrameZusatz1->width() - 16);
        QCOMPARE(bar->x(), left->x() + left->width() + 10);
        QCOMPARE(bar->x() + bar->width(), right->x() - 10);
        // The normalised cell is what a saved file carries.
        auto saved = SaveAndReload(*w);
        QCOMPARE(Text(saved->session.image().eeprom_cells[0x20]), after);
    }

    void fadingMoves() {
        auto w = Loaded(0x267, "20=FF 60=19 70=0C");
        auto* bar = Child<QSlider>(*w, "TrackBar_01");
        const char* texts[] = {"FF", "66", "33", "22", "12", "11"};
        for (int p = 1; p <= 5; ++p) {
            QTest::keyClick(bar, Qt::Key_Right);
            QCOMPARE(bar->value(), p);
            QCOMPARE(Cell(*w, 0x20), QString(texts[p]));
        }
        QTest::keyClick(bar, Qt::Key_Home);
        QCOMPARE(Cell(*w, 0x20), QString("FF"));
        QCOMPARE(QApplication::focusWidget(), bar);
        // The rows of the traffic light are not touched by the bar.
        QCOMPARE(Cell(*w, 0x60), QString("19"));
        QCOMPARE(Cell(*w, 0x70), QString("0C"));
    }

    void runningSpeed() {
        auto w = Loaded(0x6F, "20=11");
        auto* bar = Child<QSlider>(*w, "TrackBar_01");
        auto* caption = Child<QLabel>(*w, "lbl_trackbar_01");
        QVERIFY(Visible(bar));
        QCOMPARE(caption->text(), QString("Geschwindigkeit: 17"));
        QCOMPARE(bar->value(), 17);
        QCOMPARE(bar->minimum(), 1);
        QCOMPARE(bar->maximum(), 255);
        QCOMPARE(bar->tickInterval(), 5);
        QCOMPARE(bar->toolTip(), QString());
        QCOMPARE(Child<QLabel>(*w, "lbl_trackbar_01_l")->text(), QString("schnell"));
        QCOMPARE(Child<QLabel>(*w, "lbl_trackbar_01_r")->text(), QString("langsam"));
        QCOMPARE(Cell(*w, 0x20), QString("11"));  // not a fading cell: nothing normalised

        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(Cell(*w, 0x20), QString("12"));
        QCOMPARE(caption->text(), QString("Geschwindigkeit: 18"));
        QCOMPARE(QApplication::focusWidget(), bar);
        QTest::keyClick(bar, Qt::Key_End);
        QCOMPARE(Cell(*w, 0x20), QString("FF"));
        QCOMPARE(caption->text(), QString("Geschwindigkeit: 255"));
        QCOMPARE(bar->value(), 255);

        // A new file sets the bar up anew (the changes to this one are dropped).
        m_dialogs.answers.push_back(parvel::Answer::Discard);
        Load(*w, WriteFirmware(0x6F, "20=40"));
        QCOMPARE(bar->value(), 64);
        QCOMPARE(caption->text(), QString("Geschwindigkeit: 64"));
        auto saved = SaveAndReload(*w);
        QCOMPARE(Text(saved->session.image().eeprom_cells[0x20]), QString("40"));
    }

    void neonBars() {
        auto w = Loaded(0x2A4100, "20=14 40=03 41=0C 00=01");
        auto* dark = Child<QSlider>(*w, "TrackBar_neon_1");
        auto* bright = Child<QSlider>(*w, "TrackBar_neon_2");
        auto* lblDark = Child<QLabel>(*w, "lbl_fNeon_01");
        auto* lblBright = Child<QLabel>(*w, "lbl_fNeon_02");
        auto* lblNote = Child<QLabel>(*w, "lbl_fNeon_03");
        QVERIFY(Visible(dark) && Visible(bright) && Visible(lblDark) && Visible(lblBright) &&
                Visible(lblNote));
        QCOMPARE(dark->value(), 3);
        QCOMPARE(bright->value(), 12);
        for (QSlider* bar : {dark, bright}) {
            QCOMPARE(bar->minimum(), 0);
            QCOMPARE(bar->maximum(), 15);
            QCOMPARE(bar->tickInterval(), 1);
            QCOMPARE(bar->toolTip(), QString("rechts = HELL, Links = dunkel"));
            // At 120 unless the labels need more room; both bars start at the same left.
            QVERIFY(bar->x() >= 120);
            QVERIFY(bar->x() >= lblDark->x() + lblDark->width() + 10);
            QVERIFY(bar->x() >= lblBright->x() + lblBright->width() + 10);
            QCOMPARE(bar->x(), dark->x());
            QCOMPARE(bar->width(), 180);
        }
        QCOMPARE(dark->y(), 170);
        QCOMPARE(bright->y(), 210);
        QCOMPARE(lblDark->text(), QString("Leuchtstufe DUNKEL"));
        QCOMPARE(lblDark->pos(), QPoint(10, 173));
        QCOMPARE(lblBright->text(), QString("Leuchtstufe HELL"));
        QCOMPARE(lblBright->pos(), QPoint(10, 213));
        QCOMPARE(lblNote->pos(), QPoint(10, 70));
        QCOMPARE(lblNote->text(),
                 QString::fromUtf8(
                     "Die Verzögerungszeit definiert eine Einschalt-Verzögerung. \r\nDiese ist "
                     "dann aktiv, wenn noch kein Ausgang eingeschaltet \r\nist, also wenn alle "
                     "Ausgäne dunkel sind. Alle weiteren \r\nAusgänge werden dann ohne "
                     "Verzögerungszeit dazu \r\ngeschaltet"));
        // The time-out row of the neon decoder sits above the note.
        QCOMPARE(w->FrameZusatz1->rows[0].edit->text(), QString("20"));

        QTest::keyClick(dark, Qt::Key_Right);
        QCOMPARE(Cell(*w, 0x40), QString("04"));
        QCOMPARE(QApplication::focusWidget(), dark);
        QTest::keyClick(bright, Qt::Key_End);
        QCOMPARE(Cell(*w, 0x41), QString("0F"));
        QCOMPARE(QApplication::focusWidget(), bright);
        QCOMPARE(dark->value(), 4);  // the refresh keeps the other bar where it is
        QCOMPARE(Cell(*w, 0x00), QString("01"));
        auto saved = SaveAndReload(*w);
        QCOMPARE(Text(saved->session.image().eeprom_cells[0x40]), QString("04"));
        QCOMPARE(Text(saved->session.image().eeprom_cells[0x41]), QString("0F"));
    }

    // ---------------------------------------------------------------- value edits

    void rowEdits_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");   // the cell afterwards
        QTest::addColumn<QString>("shown");    // the edit afterwards
        QTest::addColumn<QString>("seconds");  // the seconds label afterwards
        QTest::addColumn<QString>("message");  // "": none
        QTest::addColumn<bool>("refocus");
        QTest::newRow("turnout rejects 128") << 0x8 << "20=0C" << 0 << 0x20 << "128"
                                             << "0C"
                                             << "128"
                                             << "(6.0 sec.)" << RangeText(1, 127) << false;
        QTest::newRow("turnout takes 127") << 0x8 << "20=0C" << 0 << 0x20 << "127"
                                           << "7F"
                                           << "127"
                                           << "(63.5 sec.)"
                                           << "" << false;
        QTest::newRow("turnout rejects 0") << 0x208 << "20=0C" << 0 << 0x20 << "0"
                                           << "0C"
                                           << "0"
                                           << "(6.0 sec.)" << RangeText(1, 127) << false;
        QTest::newRow("neon takes 255") << 0x1A4100 << "20=0C" << 0 << 0x20 << "255"
                                        << "FF"
                                        << "255"
                                        << "(127.5 sec.)"
                                        << "" << false;
        QTest::newRow("neon rejects 256") << 0x2B4100 << "20=0C" << 0 << 0x20 << "256"
                                          << "0C"
                                          << "256"
                                          << "(6.0 sec.)" << RangeText(1, 255) << false;
        QTest::newRow("leading zero") << 0x8 << "20=0C" << 0 << 0x20 << "07"
                                      << "07"
                                      << "7"
                                      << "(3.5 sec.)"
                                      << "" << false;
        QTest::newRow("not a number") << 0x8 << "20=0C" << 0 << 0x20 << "abc"
                                      << "0C"
                                      << "abc"
                                      << "(6.0 sec.)" << kNotANumber << true;
        QTest::newRow("decimal is not a number") << 0xB << "20=0C" << 0 << 0x20 << "1.5"
                                                 << "0C"
                                                 << "1.5"
                                                 << "(6.0 sec.)" << kNotANumber << true;
        QTest::newRow("empty stores nothing") << 0x8 << "20=0C" << 0 << 0x20 << ""
                                              << "0C"
                                              << ""
                                              << "(6.0 sec.)"
                                              << "" << false;
        QTest::newRow("blanks store nothing") << 0x8 << "20=0C" << 0 << 0x20 << "  "
                                              << "0C"
                                              << "  "
                                              << "(6.0 sec.)"
                                              << "" << false;
        QTest::newRow("green phase side road") << 0x267 << "20=11 60=19 70=0C" << 1 << 0x70 << "25"
                                               << "19"
                                               << "25"
                                               << "(5.0 sec.)"
                                               << "" << false;
        QTest::newRow("house minimum rejects 10") << 0x71 << "20=01 2F=03" << 1 << 0x2F << "10"
                                                  << "03"
                                                  << "10"
                                                  << "" << RangeText(1, 9) << false;
        QTest::newRow("house speed") << 0x71 << "20=01 2F=03" << 0 << 0x20 << "200"
                                     << "C8"
                                     << "200"
                                     << ""
                                     << "" << false;
    }

    void rowEdits() {
        QFETCH(int, code);
        QFETCH(QString, cells);
        QFETCH(int, row);
        QFETCH(int, cell);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QFETCH(QString, seconds);
        QFETCH(QString, message);
        QFETCH(bool, refocus);
        auto w = Loaded(code, cells);
        const TFrameZusatz::SettingRow& r = w->FrameZusatz1->rows[row];
        const QString before = Cell(*w, cell);
        const auto others = w->document().image().eeprom_cells;

        Type(r.edit, typed);
        // Nothing is stored while typing.
        QCOMPARE(Cell(*w, cell), before);
        QTest::keyClick(r.edit, Qt::Key_Return);

        QCOMPARE(Cell(*w, cell), stored);
        QCOMPARE(r.edit->text(), shown);
        if (!seconds.isEmpty()) QCOMPARE(r.seconds->text(), seconds);
        QCOMPARE(Visible(r.seconds), !seconds.isEmpty());
        if (message.isEmpty()) {
            QVERIFY(m_dialogs.messages.empty());
        } else {
            QCOMPARE(m_dialogs.messages.size(), size_t(1));
            QCOMPARE(Text(m_dialogs.messages[0].text), message);
            QVERIFY(m_dialogs.messages[0].icon == parvel::Icon::Warning);
            QVERIFY(m_dialogs.messages[0].buttons == parvel::Buttons::Cancel);
        }
        if (refocus) QCOMPARE(QApplication::focusWidget(), r.edit);
        // No other cell changes.
        auto now = w->document().image().eeprom_cells;
        now[cell] = others[cell];
        QVERIFY(now == others);

        // Leaving the field afterwards neither checks again nor stores anything.
        w->btn_goweb->setFocus();
        QCOMPARE(m_dialogs.messages.size(), size_t(message.isEmpty() ? 0 : 1));
        QCOMPARE(Cell(*w, cell), stored);
    }

    void secondsInTheUserLocale_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("seconds");
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "(3,5 sec.)";
        QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates)
                                 << "(3.5 sec.)";
    }

    void secondsInTheUserLocale() {
        QFETCH(QLocale, locale);
        QFETCH(QString, seconds);
        QLocale::setDefault(locale);
        auto w = Loaded(0x8, "20=0C");
        Type(w->FrameZusatz1->rows[0].edit, "07");
        QTest::keyClick(w->FrameZusatz1->rows[0].edit, Qt::Key_Enter);
        QCOMPARE(w->FrameZusatz1->rows[0].edit->text(), QString("7"));
        QCOMPARE(w->FrameZusatz1->rows[0].seconds->text(), seconds);
    }

    void editIsStoredWhenTheSaveButtonTakesTheFocus() {
        auto w = Loaded(0x8, "20=0C");
        QLineEdit* edit = w->FrameZusatz1->rows[0].edit;
        Type(edit, "100");
        const std::string out = Path("clicked.hex");
        m_dialogs.save_names.push_back(out);
        QTest::mouseClick(w->btn_save, Qt::LeftButton);
        QVERIFY(m_dialogs.messages.empty());
        parvel::test::Harness again;
        QVERIFY(again.session.LoadHexFile(out));
        QCOMPARE(Text(again.session.image().eeprom_cells[0x20]), QString("64"));
        QCOMPARE(edit->text(), QString("100"));
    }

    void rejectedEditIsNotSaved() {
        auto w = Loaded(0x8, "20=0C");
        Type(w->FrameZusatz1->rows[0].edit, "128");
        QTest::keyClick(w->FrameZusatz1->rows[0].edit, Qt::Key_Return);
        auto saved = SaveAndReload(*w);
        QCOMPARE(Text(saved->session.image().eeprom_cells[0x20]), QString("0C"));
    }

    void unfinishedEditStaysOutOfTheNextFile() {
        auto w = Loaded(0x8, "20=0C");
        QLineEdit* edit = w->FrameZusatz1->rows[0].edit;
        Type(edit, "100");
        QCOMPARE(QApplication::focusWidget(), edit);
        // The next file has EEPROM records up to cell 0x0F only; loading it while the edit
        // still has the focus must not put the old firmware's value into the new image.
        parvel::test::FixtureImage f = parvel::test::Firmware(0x8, P::Motorola);
        f.eeprom_last = 0x0F;
        const std::string path = Path("short.hex");
        parvel::test::WriteFile(path, parvel::test::BuildHex(f));
        // The unfinished text counts as an unsaved change: the user is asked first.
        m_dialogs.answers = {parvel::Answer::Discard};
        Load(*w, path);
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, std::string("Nicht gespeicherte Änderungen verwerfen?"));
        QCOMPARE(w->document().image().eeprom_last, 0x0F);
        QCOMPARE(Cell(*w, 0x20), QString("FF"));
    }

    // ---------------------------------------------------------------- loading

    // Every firmware of the type table: filling the frame writes nothing into the image (but
    // for a fading cell that holds no speed), and every control shown lies inside the frame,
    // shows its whole text and covers no other control.
    void everyFirmware_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("id");
        const struct {
            int code;
            const char* id;
        } types[] = {
            {0x8, "3358"},      {0x208, "3358"},    {0xA, "3358"},      {0x20A, "3358"},
            {0x2, "3358"},      {0x202, "3358"},    {0x65, "3358"},     {0x265, "3358"},
            {0x308, "3358"},    {0x30A, "3358"},    {0x30C, "3358"},    {0x302, "3358"},
            {0x365, "3358"},    {0xB, "3358"},      {0x69, "3358"},     {0x6A, "3354"},
            {0x3, "3358"},      {0x6C, "3358"},     {0x6D, "3358"},     {0xC9, "3358"},
            {0x1C9, "3358"},    {0xCA, "3358"},     {0x1CA, "3358"},    {0xCD, "3358"},
            {0xCE, "3358"},     {0xCF, "3358"},     {0xCB, "3358"},     {0x68, "3358"},
            {0x3E00, "3358"},   {0x3D00, "3358"},   {0x13D00, "3060"},  {0x13E00, "3060"},
            {0x13F00, "3060"},  {0x66, "3358"},     {0x66, "3354"},     {0x167, "3340"},
            {0x267, "3358"},    {0x6F, "3358"},     {0x71, "3358"},     {0x170, "3338"},
            {0x270, "3348"},    {0x1A4100, "3044"}, {0x1B4100, "3044"}, {0x2A4100, "3060"},
            {0x2B4100, "3060"},
        };
        for (const auto& t : types) {
            QTest::addRow("0x%X V%s", t.code, t.id) << t.code << QString(t.id);
        }
    }

    void everyFirmware() {
        QFETCH(int, code);
        QFETCH(QString, id);
        const QString cells = "00=5A 20=44 2F=05 40=07 41=09 60=30 70=40";
        const std::string path = WriteFirmware(code, cells, id.toStdString());
        parvel::test::Harness plain;
        QVERIFY(plain.session.LoadHexFile(path));
        auto w = MakeWindow();
        Load(*w, path);
        QCOMPARE(int(w->document().type_code()), code);
        QVERIFY(!w->FrameZusatz1->isHidden());
        QVERIFY(!w->FrameZusatz1->loading);
        QVERIFY(m_dialogs.messages.empty());

        auto expected = plain.session.image().eeprom_cells;
        if (code == 0x167 || code == 0x267) expected[0x20] = "11";
        QVERIFY(w->document().image().eeprom_cells == expected);

        TFrameZusatz* f = w->FrameZusatz1;
        const QRect frame(0, 0, f->width(), f->height());
        auto check = [&](QWidget* parent, const QRect& inside) {
            std::vector<QWidget*> shown;
            for (QWidget* c :
                 parent->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                if (c->isHidden()) continue;
                shown.push_back(c);
                QVERIFY2(inside.contains(c->geometry()), qPrintable(c->objectName()));
                if (qobject_cast<QLabel*>(c) || qobject_cast<QAbstractButton*>(c)) {
                    QVERIFY2(c->width() >= c->sizeHint().width(), qPrintable(c->objectName()));
                    QVERIFY2(c->height() >= c->sizeHint().height() - 2,
                             qPrintable(c->objectName()));
                }
            }
            for (std::size_t i = 0; i < shown.size(); ++i) {
                for (std::size_t k = i + 1; k < shown.size(); ++k) {
                    // lbl_zusatz may be an empty label of no size.
                    if (qobject_cast<QLabel*>(shown[i]) &&
                        static_cast<QLabel*>(shown[i])->text().isEmpty()) {
                        continue;
                    }
                    if (qobject_cast<QLabel*>(shown[k]) &&
                        static_cast<QLabel*>(shown[k])->text().isEmpty()) {
                        continue;
                    }
                    QVERIFY2(!shown[i]->geometry().intersects(shown[k]->geometry()),
                             qPrintable(shown[i]->objectName() + " / " + shown[k]->objectName()));
                }
            }
        };
        check(f->pnl_Zusatz, frame);
        auto* g = f->group_mode;
        if (!g->isHidden()) check(g, QRect(0, 0, g->width(), g->height()));
    }

    void clearViewBetweenFirmwares() {
        auto w = Loaded(0x2A4100, "20=14 40=03 41=0C 00=C1", "3060");
        TFrameZusatz* f = w->FrameZusatz1;
        QVERIFY(Visible(f->TrackBar_neon_1));
        QVERIFY(f->rad_mode[0]->isChecked());
        Load(*w, WriteFirmware(0x308, "00=00 20=0C"));
        QVERIFY(!Visible(f->TrackBar_neon_1));
        QVERIFY(!Visible(f->TrackBar_neon_2));
        QVERIFY(!Visible(f->lbl_fNeon_03));
        QVERIFY(!Visible(f->group_mode));
        QCOMPARE(f->row_count, 1);
        QVERIFY(Visible(f->cbx_zusatz[0]) && Visible(f->cbx_zusatz[1]));
        // A mode cell with no mode bit shows none, not the previous file's mode.
        QVERIFY(!f->rad_mode[0]->isChecked());
        Load(*w, WriteFirmware(0x6F, "20=20"));
        QVERIFY(!Visible(f->cbx_zusatz[0]));
        QVERIFY(!Visible(f->lbl_zusatz3));
        QVERIFY(!Visible(f->rows[0].caption));
        QCOMPARE(f->row_count, 0);
        QVERIFY(Visible(f->TrackBar_01));
        Load(*w, WriteFirmware(0x8, "20=0C"));
        QVERIFY(!Visible(f->TrackBar_01));
        QVERIFY(!Visible(f->lbl_trackbar_01));
        QCOMPARE(f->rows[0].edit->text(), QString("12"));
        QVERIFY(m_dialogs.messages.empty());
    }

    void handlersDoNothingWhileLoading() {
        auto w = Loaded(0x13E00, "00=01 20=0C", "3060");
        TFrameZusatz* f = w->FrameZusatz1;
        const auto before = w->document().image().eeprom_cells;
        f->loading = true;
        f->rad_mode[1]->setChecked(true);
        f->rad_modexClick(f->rad_mode[1]);
        f->cbx_mode_bit7->setChecked(true);
        f->rad_modexClick(f->cbx_mode_bit7);
        f->cbx_zusatz_x_Click();
        f->cbx_weiche_abClick();
        f->TrackBar_01Change();
        f->TrackBar_neon_1Change();
        f->TrackBar_neon_2Change();
        f->loading = false;
        QVERIFY(w->document().image().eeprom_cells == before);
        QVERIFY(m_dialogs.messages.empty());
    }

    // Undo all after a run of edits gives back the loaded file, redo all the edited one.
    // Actions: "click:<box or radio>", "type:<edit>=<text>" (finished with Return),
    // "key:<bar>=<Right|Left|End>".
    void undoRoundTrip_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("id");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("actions");
        QTest::newRow("modes and boxes")
            << 0xB << "3358" << "00=C1"
            << "click:rad_mode2;click:cbx_mode_bit7;click:rad_mode3;click:rad_mode1";
        QTest::newRow("time-out typed") << 0x8 << "3358" << "20=0C"
                                        << "type:edt_row_value0=100";
        QTest::newRow("bar") << 0x267 << "3358" << "20=FF 60=19 70=0C"
                             << "key:TrackBar_01=Right;key:TrackBar_01=Right;key:TrackBar_01=End";
        QTest::newRow("switch-off box") << 0x265 << "3358" << "00=AA"
                                        << "click:cbx_weiche_ab;click:cbx_weiche_ab;"
                                           "click:cbx_weiche_ab";
        QTest::newRow("central box") << 0x308 << "3358" << "00=00" << "click:cbx_zusatz_1";
    }

    void undoRoundTrip() {
        QFETCH(int, code);
        QFETCH(QString, id);
        QFETCH(QString, cells);
        QFETCH(QString, actions);
        auto w = MakeWindow();
        const std::string loaded = WriteFirmware(code, cells, id.toStdString());
        Load(*w, loaded);
        QCOMPARE(w->document().type_code(), std::uint32_t(code));
        for (const QString& action : actions.split(';')) {
            const QString kind = action.section(':', 0, 0);
            const QString name = action.section(':', 1).section('=', 0, 0);
            const QString value = action.section('=', 1);
            if (kind == "click") {
                ClickBox(Child<QAbstractButton>(*w, name));
            } else if (kind == "type") {
                guitest::TypeText(Child<QLineEdit>(*w, name), value, true);
            } else {
                auto* bar = Child<QSlider>(*w, name);
                bar->setFocus();
                QTest::keyClick(bar, value == "Right" ? Qt::Key_Right
                                     : value == "Left" ? Qt::Key_Left
                                                       : Qt::Key_End);
            }
            QCoreApplication::processEvents();
        }
        int steps = 0;
        guitest::UndoRoundTrip(*w, m_dialogs, loaded, m_dir->path().toStdString(), steps);
        if (QTest::currentTestFailed()) return;
        // Keys on one bar make one step; the rest one each.
        QCOMPARE(steps, code == 0x267 ? 1 : actions.count(';') + 1);
    }
};

QTEST_MAIN(FrameZusatzTest)
#include "FrameZusatzTest.moc"
