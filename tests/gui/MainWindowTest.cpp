#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <random>

#include "app/CommandLine.h"
#include "app/FormMain.h"
#include "frames/FrameBlinkmuster.h"
#include "frames/FrameRegister.h"
#include "frames/FrameTorv.h"
#include "frames/FrameTorvAdr.h"
#include "frames/FrameZusatz.h"
#include "info/FrmInfo.h"
#include "tests/gui/GuiFixtures.h"
#include "app/Logo.h"
#include "app/QtDialogs.h"
#include "tests/support/ScriptedDialogs.h"
#include "image/TextFile.h"
#include "tests/gui/WidgetTestSupport.h"

using parvel::ScriptedDialogs;
namespace fx = parvel::guitest;

namespace {

QColor BaseColour(const QWidget* w) { return w->palette().color(QPalette::Base); }

// Drags the files onto the window as a file manager does; true when the window took the drop.
bool DropFiles(QWidget* window, const QStringList& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const QString& p : paths) urls << QUrl::fromLocalFile(p);
    mime.setUrls(urls);
    const QPoint at(200, 200);
    QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
    return drop.isAccepted();
}

bool InsideScreen(const QWidget* w) {
    return w->screen()->availableGeometry().contains(w->frameGeometry());
}

// Text a user can read: no replacement character for bytes that were not UTF-8, no control
// character other than tab and line end.
bool Readable(const QString& text) {
    for (const QChar c : text) {
        if (c == QChar::ReplacementCharacter) return false;
        if (c.category() == QChar::Other_Control && c != '\t' && c != '\n') return false;
    }
    return true;
}

// A firmware file damaged the way files get damaged: bytes flipped, cut short, junk inserted,
// line ends changed.
std::string Mutated(std::string text, int kind, std::mt19937& random) {
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    auto byte = [&] { return static_cast<char>(std::uniform_int_distribution<int>(0, 255)(random)); };
    switch (kind) {
        case 0:
            for (std::size_t n = 1 + pick(4); n > 0; --n) text[pick(text.size())] = byte();
            break;
        case 1: text.resize(pick(text.size())); break;
        case 2: {
            std::string junk;
            for (std::size_t n = 1 + pick(12); n > 0; --n) junk += byte();
            text.insert(pick(text.size()), junk);
            break;
        }
        default: {
            static const char* const ends[] = {"\n", "\r", "\n\r", "\r\r\n"};
            const std::string end = ends[pick(4)];
            std::string out;
            for (char c : text) {
                if (c == '\n') out += end;
                else if (c != '\r') out += c;
            }
            text = out;
        }
    }
    return text;
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
    std::vector<QUrl> m_opened;

    std::string Path(const QString& name) const { return m_dir->filePath(name).toStdString(); }

    std::unique_ptr<TFormMain> Make(const std::string& hex_file = {}) {
        parvel::StartOptions options;
        options.settings_path = Path("hexparini");
        options.hex_file = hex_file;
        options.doc_root = "file:///opt/parvel/doc/";
        auto window = std::make_unique<TFormMain>(options, &m_dialogs);
        window->SetUrlOpener([this](const QUrl& url) { m_opened.push_back(url); });
        return window;
    }

    template <class T>
    T* Child(QWidget* window, const QString& name) {
        T* child = window->findChild<T*>(name);
        if (!child) qFatal("no child %s", qPrintable(name));
        return child;
    }

    std::unique_ptr<TFormMain> Loaded(const fx::Firmware& firmware, const QString& name) {
        auto window = Make();
        m_dialogs.open_names.push_back(fx::WriteHex(Path(name), firmware));
        window->btn_loadClick();
        return window;
    }

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = ScriptedDialogs();
        m_opened.clear();
    }

    void startUp() {
        auto w = Make();
        QCOMPARE(w->windowTitle(), QString("Hex Parvel V0.985"));
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel3")->text(),
                 QString(" HEX Parvel V0.985 vom 20. Jun 2013"));
        QVERIFY(!Child<QPushButton>(w.get(), "btn_save")->isEnabled());
        QCOMPARE(Child<QLabel>(w.get(), "lbl_header")->text(), QString("Hex Parvel"));
        QCOMPARE(Child<QStatusBar>(w.get(), "StatusBar1")->toolTip(),
                 QString("Anzeige der HEX-Version und des Namens"));
        QCOMPARE(Child<QPushButton>(w.get(), "btn_goweb")->text(),
                 QString("file:///opt/parvel/doc/index.html"));
        // Start-up layout: window after FitWindowToFrame(5, 410, 500, 300), no frame shown.
        QCOMPARE(w->width(), 720);
        QCOMPARE(Child<QPushButton>(w.get(), "btn_load")->width(), 89);
        QCOMPARE(Child<QPushButton>(w.get(), "btn_save")->width(), 89);
        QCOMPARE(Child<QPushButton>(w.get(), "btn_info")->width(), 52);
        QCOMPARE(Child<QGroupBox>(w.get(), "GroupBoxButtons")->geometry(),
                 QRect(410, 515, 300, 80));
        QCOMPARE(Child<QLabel>(w.get(), "Image2")->geometry(), QRect(100, 9, 200, 32));
        QCOMPARE(Child<QGroupBox>(w.get(), "GroupBoxMain")->geometry(), QRect(5, 5, 400, 505));
        QVERIFY(Child<QWidget>(w.get(), "lbl_header")->isHidden());
        QVERIFY(Child<QWidget>(w.get(), "Line")->isHidden());  // the start hint stands there
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel0")->minimumWidth(), 35);
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel3")->minimumWidth(), 250);
        // No frame is shown, nor even built before a firmware needs one.
        for (const char* frame : {"FrameZusatz1", "FrameBlinkmuster1", "FrameBlinkmuster_led1",
                                  "FrameTorv1", "FrameTorvAdr1", "FrameRegister1"}) {
            QVERIFY2(!w->findChild<QWidget*>(frame), frame);
        }
        QVERIFY(!w->findChild<QLineEdit*>("edt_address1"));  // no grid row before a file
        QVERIFY(m_dialogs.messages.empty());
    }

    void controls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hint");
        QTest::addColumn<bool>("bold");
        QTest::newRow("prev") << "btn_prev"
                              << "<"
                              << "" << false;
        QTest::newRow("load") << "btn_load"
                              << "HEX laden"
                              << "Hex-File laden.\nAnschliessend können Parameter wie z.B. die "
                                 "Adressen geändert werden."
                              << true;
        QTest::newRow("next") << "btn_next"
                              << ">"
                              << "" << false;
        QTest::newRow("save") << "btn_save"
                              << "speichern"
                              << "Hex-File speichern\nDas neue HEX-File kann dann in den PIC "
                                 "'gebrannt' werden"
                              << true;
        QTest::newRow("info") << "btn_info"
                              << "HEX Info"
                              << "Anzeige der HEX-Daten" << false;
        QTest::newRow("close") << "btn_close"
                               << "Ende"
                               << "Programm beenden (ohne eine Nachfrage!)" << true;
        QTest::newRow("rg") << "btn_rg5"
                            << "R/G"
                            << "Wechsel zwischen ROTer und GRÜNer Adresse " << false;
    }

    void controls() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hint);
        QFETCH(bool, bold);
        // Grid rows exist once a file gives them a label.
        auto w = name.startsWith("btn_rg") ? Loaded(fx::Turntable48Dcc(), "t.hex") : Make();
        auto* button = Child<QPushButton>(w.get(), name);
        QCOMPARE(button->text(), caption);
        QCOMPARE(button->toolTip(), hint);
        QCOMPARE(button->font().bold(), bold);
    }

    void picturesAndWebButtonOpenDocumentation() {
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_goweb"), Qt::LeftButton);
        QTest::mouseClick(Child<QLabel>(w.get(), "Image2"), Qt::LeftButton);
        QTest::mouseClick(Child<QGroupBox>(w.get(), "GroupBoxImage"), Qt::LeftButton, {},
                          QPoint(3, 3));
        QCOMPARE(m_opened.size(), size_t(3));
        QCOMPARE(m_opened[0], QUrl("file:///opt/parvel/doc/klemmo.html"));
        QCOMPARE(m_opened[1], QUrl("file:///opt/parvel/doc/index.html"));
        QCOMPARE(m_opened[2], QUrl("file:///opt/parvel/doc/index.html"));
        QCOMPARE(Child<QPushButton>(w.get(), "btn_goweb")->text(),
                 QString("file:///opt/parvel/doc/klemmo.html"));
        QCOMPARE(Child<QLabel>(w.get(), "Image2")->toolTip(), QString("Zur WebSite"));
    }

    void exceptionInAHandlerIsShownAndTheWindowGoesOn() {
        auto w = Make();
        w->SetUrlOpener([](const QUrl&) { throw std::runtime_error("Kein Browser gefunden"); });
        w->show();
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_goweb"), Qt::LeftButton);
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, std::string("Kein Browser gefunden"));
        m_dialogs.open_names.push_back(fx::WriteHex(Path("k.hex"), fx::KlemmoMotorola()));
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_load"), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel2")->text(), QString("Mot"));
    }

    void commandLineFileShowsItsFirmwareAndHasNoNeighbours() {
        fx::WriteHex(Path("a.hex"), fx::KlemmoMotorola());
        fx::WriteHex(Path("b.hex"), fx::KlemmoMotorola());
        auto w = Make(Path("a.hex"));
        // The header names the loaded firmware, as after "HEX laden".
        QCOMPARE(Child<QLabel>(w.get(), "lbl_header")->text(), QString("Klemmo"));
        QVERIFY(Child<QLabel>(w.get(), "lbl_hint")->isHidden());
        QVERIFY(Child<QPushButton>(w.get(), "btn_save")->isEnabled());
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel2")->text(), QString("Mot"));
        QVERIFY(w->prev_file.empty());
        QVERIFY(w->next_file.empty());
        w->btn_nextClick();
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel3")->text().toStdString(),
                 Path("a.hex") + " (12F629/16F630)");
    }

    void loadShowsRecognition() {
        auto w = Loaded(fx::KlemmoMotorola(), "klemmo.hex");
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel0")->text(), QString("ID: 3"));
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel1")->text(), QString("V 3.58"));
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel2")->text(), QString("Mot"));
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel3")->text().toStdString(),
                 Path("klemmo.hex") + " (12F629/16F630)");
        QCOMPARE(Child<QLabel>(w.get(), "lbl_header")->text(), QString("Klemmo"));
        QVERIFY(!Child<QWidget>(w.get(), "lbl_header")->isHidden());
        QVERIFY(Child<QWidget>(w.get(), "Line")->isHidden());
        QCOMPARE(Child<QLabel>(w.get(), "lbl_header")->font().pointSize(), 15);
        QVERIFY(Child<QPushButton>(w.get(), "btn_save")->isEnabled());
        QCOMPARE(Child<QProgressBar>(w.get(), "ProgressBar1")->value(), 0);
        QVERIFY(m_dialogs.messages.empty());
    }

    void gridRows_data() {
        QTest::addColumn<int>("fixture");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("label");
        QTest::addColumn<bool>("visible");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("button");
        QTest::addColumn<QPoint>("addressPos");
        QTest::addColumn<QPoint>("labelPos");
        const QColor green(0, 255, 0), red(255, 0, 0), white(255, 255, 255);
        QTest::newRow("one column, green")
            << 0 << 1 << "Weiche" << true << "1"
            << "0" << green << true << QPoint(-1, 60) << QPoint(5, 64);
        QTest::newRow("one column, red") << 0 << 2 << "Licht" << true << "5"
                                         << "0" << red << true << QPoint(-1, 85) << QPoint(5, 89);
        QTest::newRow("no label") << 0 << 3 << "" << false << "0"
                                  << "0" << green << false << QPoint(-1, 110) << QPoint(5, 114);
        QTest::newRow("gap, eighth") << 1 << 8 << "Ausgang / Out 8" << true << "0"
                                     << "0" << red << true << QPoint(-1, 235) << QPoint(5, 239);
        QTest::newRow("gap, ninth") << 1 << 9 << "All" << true << "0"
                                    << "0" << red << true << QPoint(-1, 270) << QPoint(5, 274);
        QTest::newRow("two columns, 15")
            << 2 << 15 << "Position8" << true << "0"
            << "0" << red << true << QPoint(105, 365) << QPoint(5, 369);
        QTest::newRow("two columns, 16")
            << 2 << 16 << "Position9" << true << "0"
            << "0" << red << true << QPoint(305, 15) << QPoint(205, 19);
        QTest::newRow("two columns, empty")
            << 2 << 1 << "" << false << "0"
            << "0" << red << false << QPoint(105, 15) << QPoint(5, 19);
        QTest::newRow("function decoder")
            << 3 << 1 << "Ausgang / Out 1" << true << "300"
            << "1" << white << false << QPoint(-1, 60) << QPoint(5, 64);
        QTest::newRow("function decoder 2")
            << 3 << 2 << "Ausgang / Out 2" << true << "5"
            << "3" << white << false << QPoint(-1, 85) << QPoint(5, 89);
    }

    void gridRows() {
        QFETCH(int, fixture);
        QFETCH(int, row);
        QFETCH(QString, label);
        QFETCH(bool, visible);
        QFETCH(QString, address);
        QFETCH(QString, function);
        QFETCH(QColor, colour);
        QFETCH(bool, button);
        QFETCH(QPoint, addressPos);
        QFETCH(QPoint, labelPos);
        const fx::Firmware firmwares[] = {fx::KlemmoMotorola(), fx::RelaisDcc(),
                                          fx::Turntable48Dcc(), fx::FunctionDecoderDcc()};
        auto w = Loaded(firmwares[fixture], "f.hex");
        const QString n = QString::number(row);
        // Row 0 and rows without a label show nothing; their controls need not even exist, but
        // the window keeps their values.
        auto shows_nothing = [&](int r) {
            for (const char* kind : {"lbl_row", "edt_address", "edt_function", "btn_rg"}) {
                auto* c = w->findChild<QWidget*>(kind + QString::number(r));
                if (c && !c->isHidden()) return false;
            }
            return true;
        };
        QVERIFY(shows_nothing(0));
        QCOMPARE(QString::fromStdString(w->document().row(row).address_text), address);
        QCOMPARE(QString::fromStdString(w->document().row(row).function_text), function);
        if (!visible) {
            QVERIFY(label.isEmpty());
            QVERIFY(shows_nothing(row));
            return;
        }
        auto* lbl = Child<QLabel>(w.get(), "lbl_row" + n);
        auto* edt = Child<QLineEdit>(w.get(), "edt_address" + n);
        auto* fn = Child<QLineEdit>(w.get(), "edt_function" + n);
        auto* rg = Child<QPushButton>(w.get(), "btn_rg" + n);
        QCOMPARE(lbl->text(), label);
        QCOMPARE(!lbl->isHidden(), visible);
        QCOMPARE(!edt->isHidden(), visible);
        QCOMPARE(!rg->isHidden(), visible && button);
        QCOMPARE(!fn->isHidden(), visible && !button);
        QCOMPARE(edt->text(), address);
        QCOMPARE(fn->text(), function);
        QCOMPARE(BaseColour(edt), colour);
        if (addressPos.x() >= 0) QCOMPARE(edt->pos().x(), addressPos.x());
        QCOMPARE(edt->pos().y(), addressPos.y());
        QCOMPARE(lbl->pos(), labelPos);
        QCOMPARE(edt->size(), QSize(40, 20));
        QCOMPARE(rg->size(), QSize(30, 16));
        QCOMPARE(rg->pos(), fn->pos() + QPoint(0, 2));
    }

    void gridRowsKeepTheirTabOrder() {
        // Rows are built when they first get a label, in any order; Tab still goes row by row.
        auto w = Make();
        for (int r : {9, 3, 12, 1}) w->SetRowLabel(r, "Ausgang");
        QStringList chain;
        for (QWidget* c = w->nextInFocusChain(); c != w.get(); c = c->nextInFocusChain()) {
            if (c->parentWidget() == w->GroupBoxMain && c->focusPolicy() != Qt::NoFocus) {
                chain << c->objectName();
            }
        }
        QStringList expected;
        for (int r : {1, 3, 9, 12}) {
            for (const char* kind : {"edt_address", "edt_function", "btn_rg"}) {
                expected << kind + QString::number(r);
            }
        }
        QCOMPARE(chain, expected);
    }

    void hintsFollowTheLimits() {
        auto acc = Loaded(fx::KlemmoMotorola(), "a.hex");
        QCOMPARE(Child<QLineEdit>(acc.get(), "edt_address1")->toolTip(),
                 QString("gültiger Adressbereich: 1 bis 320\n'0' für unbenutzt (keine Reaktion auf "
                         "irgendeinen Befehl)"));
        // A row without a label has no controls, or hidden ones without the hint.
        auto* unlabelled = acc->findChild<QLineEdit*>("edt_address3");
        QVERIFY(!unlabelled || unlabelled->toolTip().isEmpty());
        auto fn = Loaded(fx::FunctionDecoderDcc(), "f.hex");
        QCOMPARE(Child<QLineEdit>(fn.get(), "edt_address1")->toolTip(),
                 QString("gültiger Adressbereich: 1 bis 16128\n'0' für unbenutzt (keine Reaktion "
                         "auf irgendeinen Befehl)"));
        QCOMPARE(Child<QLineEdit>(fn.get(), "edt_function1")->toolTip(),
                 QString("gültiger Bereich für die Funktions-Nummer: 1 bis 12"));
        auto* unlabelled_function = fn->findChild<QLineEdit*>("edt_function9");
        QVERIFY(!unlabelled_function || unlabelled_function->toolTip() == "Funktion Nummer");
    }

    void redGreenToggles() {
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        auto* edt1 = Child<QLineEdit>(w.get(), "edt_address1");
        auto* edt2 = Child<QLineEdit>(w.get(), "edt_address2");
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_rg1"), Qt::LeftButton);
        QCOMPARE(BaseColour(edt1), QColor(255, 0, 0));
        QCOMPARE(BaseColour(edt2), QColor(255, 0, 0));
        QCOMPARE(w->document().row(1).green, 0);
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_rg1"), Qt::LeftButton);
        QCOMPARE(BaseColour(edt1), QColor(0, 255, 0));
        QCOMPARE(w->document().row(1).green, 1);
    }

    void saveWritesEditedRows() {
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        Child<QLineEdit>(w.get(), "edt_address1")->setText("1");
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_rg1"), Qt::LeftButton);  // now red
        Child<QLineEdit>(w.get(), "edt_address2")->setText("320");
        const std::string out = Path("neu.hex");
        m_dialogs.save_names.push_back(out);
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_save"), Qt::LeftButton);

        QCOMPARE(m_dialogs.save_proposals.size(), size_t(1));
        // The file on disk, without the chip family status panel 3 adds to it.
        QCOMPARE(m_dialogs.save_proposals[0], Path("k.hex"));
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel3")->text().toStdString(), out);
        QVERIFY(m_dialogs.messages.empty());

        // The core reads the written file back with the new values.
        ScriptedDialogs quiet;
        parvel::DecoderDocument reread(quiet);
        QVERIFY(reread.LoadHexFile(out));
        const auto& ee = reread.image().eeprom_cells;
        QCOMPARE(ee[1] + ee[17] + ee[33], std::string("030003"));  // address 1, red
        QCOMPARE(reread.row(2).address, 320);
        QCOMPARE(reread.row(2).green, false);
        QCOMPARE(ee[2] + ee[18] + ee[34], std::string("00003F"));  // address 320, red
    }

    void saveValidation_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("not a number") << "edt_address2"
                                      << "abc"
                                      << "Ungültige Eingabe für <Licht> ";
        QTest::newRow("empty") << "edt_address1"
                               << ""
                               << "Ungültige Eingabe für <Weiche> ";
        QTest::newRow("too large") << "edt_address2"
                                   << "321"
                                   << "Adresse für <Licht> ist zu gross";
        QTest::newRow("too small") << "edt_address1"
                                   << "-1"
                                   << "Adresse für <Weiche> ist zu klein";
    }

    void saveValidation() {
        QFETCH(QString, field);
        QFETCH(QString, text);
        QFETCH(QString, message);
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        Child<QLineEdit>(w.get(), field)->setText(text);
        m_dialogs.save_names.push_back(Path("never.hex"));
        w->btn_saveClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(QString::fromStdString(m_dialogs.messages[0].text), message);
        QVERIFY(m_dialogs.messages[0].icon == parvel::Icon::Warning);
        QVERIFY(m_dialogs.messages[0].buttons == parvel::Buttons::Cancel);
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(w.get(), field));
        QVERIFY(m_dialogs.save_proposals.empty());
        QVERIFY(!QFile::exists(QString::fromStdString(Path("never.hex"))));
    }

    void functionValidationFocusesFunctionField() {
        auto w = Loaded(fx::FunctionDecoderDcc(), "f.hex");
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        Child<QLineEdit>(w.get(), "edt_function2")->setText("13");
        w->btn_saveClick();
        QCOMPARE(m_dialogs.messages.at(0).text,
                 std::string("Funktions-Nummer für <Ausgang / Out 2> ist zu gross"));
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(w.get(), "edt_function2"));
    }

    void saveAsksForPendingFrameChanges() {
        auto w = Loaded(fx::BlinkPatternMotorola(), "b.hex");
        QVERIFY(!w->FrameBlinkmuster1->isHidden());
        QPushButton* take_over = w->FrameBlinkmuster1->blinkmuster_btn_uebernehmen;
        w->document().blink_table().SetLoop(!w->document().blink_table().Loop());
        w->FrameBlinkmuster1->ShowWorkingCopy();
        QVERIFY(take_over->isEnabled());
        const std::string out = Path("out.hex");

        m_dialogs.answers = {parvel::Answer::No};
        m_dialogs.save_names.push_back(out);
        w->btn_saveClick();
        QCOMPARE(m_dialogs.messages.at(0).text, std::string("Geänderte Werte übernehmen?"));
        QVERIFY(m_dialogs.messages.at(0).buttons == parvel::Buttons::YesNo);
        QVERIFY(take_over->isEnabled());
        QVERIFY(!QFile::exists(QString::fromStdString(out)));

        m_dialogs.answers = {parvel::Answer::Yes};
        w->btn_saveClick();
        QVERIFY(!take_over->isEnabled());
        QVERIFY(QFile::exists(QString::fromStdString(out)));
    }

    void failedWriteIsReportedAndKeepsTheOldFile() {
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        m_dialogs.save_names.push_back(Path("missing/folder/x.hex"));
        w->btn_saveClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(m_dialogs.messages[0].text).startsWith("Das HEX-File "));
        QVERIFY(m_dialogs.messages[0].icon == parvel::Icon::Warning);
    }

    void browsingWrapsInListingOrder() {
        for (const char* name : {"a.hex", "b.hex", "c.hex"}) {
            fx::WriteHex(Path(name), fx::KlemmoMotorola());
        }
        QFile::copy(QString::fromStdString(Path("a.hex")), m_dir->filePath("d.txt"));
        // The order the directory itself gives, which is the order the buttons follow.
        const QStringList order =
            QDir(m_dir->path()).entryList({"*.hex"}, QDir::Files, QDir::Unsorted);
        QCOMPARE(order.size(), 3);
        auto w = Make();
        m_dialogs.open_names.push_back(Path(order[2]));
        w->btn_loadClick();
        QCOMPARE(w->prev_file, Path(order[1]));
        QCOMPARE(w->next_file, Path(order[0]));

        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_next"), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel3")->text().toStdString(),
                 Path(order[0]) + " (12F629/16F630)");
        QCOMPARE(w->prev_file, Path(order[2]));
        QCOMPARE(w->next_file, Path(order[1]));

        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_prev"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_prev"), Qt::LeftButton);
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel3")->text().toStdString(),
                 Path(order[1]) + " (12F629/16F630)");

        // A file outside the "*.hex" entries has no neighbours; the buttons then load nothing.
        m_dialogs.open_names.push_back(m_dir->filePath("d.txt").toStdString());
        w->btn_loadClick();
        QVERIFY(w->prev_file.empty());
        QVERIFY(w->next_file.empty());
        w->btn_prevClick();
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel3")->text().toStdString(),
                 m_dir->filePath("d.txt").toStdString() + " (12F629/16F630)");
        QVERIFY(m_dialogs.messages.empty());
    }

    void framesPlaceTheWindow_data() {
        QTest::addColumn<int>("fixture");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<QRect>("imageBox");
        // The settings frame takes its width from its mode group (right edge + 10): width 0 here
        // stands for that, and the window then grows by the same amount beyond 410 + width + 10.
        QTest::newRow("additional settings")
            << 0 << "FrameZusatz1" << QRect(410, 10, 0, 485) << 0 << QRect(5, 500, 400, 50);
        QTest::newRow("blink patterns") << 1 << "FrameBlinkmuster1" << QRect(410, 10, 490, 460)
                                        << 910 << QRect(5, 475, 400, 50);
        QTest::newRow("servo curves")
            << 2 << "FrameTorv1" << QRect(410, 10, 540, 555) << 960 << QRect(410, 570, 235, 50);
        QTest::newRow("servo table")
            << 2 << "FrameTorvAdr1" << QRect(6, 120, 398, 530) << 960 << QRect(410, 570, 235, 50);
        QTest::newRow("CV registers")
            << 3 << "FrameRegister1" << QRect(5, 8, 940, 555) << 955 << QRect(5, 570, 400, 50);
    }

    void framesPlaceTheWindow() {
        QFETCH(int, fixture);
        QFETCH(QString, frame);
        QFETCH(QRect, geometry);
        QFETCH(int, windowWidth);
        QFETCH(QRect, imageBox);
        fx::Firmware cv_decoder;
        cv_decoder.type_code = 0x4400;
        cv_decoder.protocol = fx::Protocol::Dcc;
        const fx::Firmware firmwares[] = {fx::KlemmoMotorola(), fx::BlinkPatternMotorola(),
                                          fx::ServoDecoderDcc(), cv_decoder};
        auto w = Loaded(firmwares[fixture], "f.hex");
        auto* shown = Child<QWidget>(w.get(), frame);
        QVERIFY(!shown->isHidden());
        if (geometry.width() == 0) {
            auto* mode = Child<QWidget>(shown, "group_mode");
            geometry.setWidth(mode->x() + mode->width() + 10);
            windowWidth = 410 + geometry.width() + 10;
        }
        QCOMPARE(shown->geometry(), geometry);
        QCOMPARE(w->width(), windowWidth);
        QCOMPARE(w->minimumWidth(), windowWidth);
        QCOMPARE(Child<QGroupBox>(w.get(), "GroupBoxImage")->geometry(), imageBox);
        QCOMPARE(Child<QGroupBox>(w.get(), "GroupBoxButtons")->geometry().topLeft(),
                 QPoint(imageBox.left() == 410 ? 650 : 410, imageBox.top()));
        QVERIFY(m_dialogs.messages.empty());

        // Tab order: from the buttons into the frame (the curve editor before the servo table
        // shown with it), then into the grid.
        auto* grid = Child<QWidget>(w.get(), "GroupBoxMain");
        QList<QWidget*> chain;
        for (QWidget* c = Child<QWidget>(w.get(), "btn_goweb")->nextInFocusChain(); c != w.get();
             c = c->nextInFocusChain()) {
            if (c->focusPolicy() != Qt::NoFocus) chain.append(c);
        }
        auto positions = [&](const QWidget* parent) {
            QList<int> found;
            for (int i = 0; i < chain.size(); ++i) {
                if (parent->isAncestorOf(chain[i])) found.append(i);
            }
            return found;
        };
        const QList<int> in_frame = positions(shown);
        const QList<int> in_grid = positions(grid);
        QVERIFY(!in_frame.isEmpty());
        QCOMPARE(in_grid.isEmpty(), frame == "FrameRegister1");  // the CV table has no rows
        if (!in_grid.isEmpty()) QVERIFY(in_frame.last() < in_grid.first());
        if (frame == "FrameTorv1") {
            const QList<int> in_table = positions(Child<QWidget>(w.get(), "FrameTorvAdr1"));
            QVERIFY(!in_table.isEmpty() && in_frame.last() < in_table.first());
        }

        // The next load hides the frames again.
        m_dialogs.open_names.push_back(fx::WriteHex(Path("t.hex"), fx::Turntable48Dcc()));
        w->btn_loadClick();
        QVERIFY(shown->isHidden());
        QCOMPARE(w->width(), 720);
    }

    void headerStepsDownForLongNames() {
        auto w = Make();
        w->SetHeader("Klemmo");
        QCOMPARE(Child<QLabel>(w.get(), "lbl_header")->font().pointSize(), 15);
        w->SetHeader(
            "Lucor - Signal 020 - Ausfahrsignal mit fahrstrassenabhängigen "
            "Zusatzsignalen und noch viel mehr Text");
        QCOMPARE(Child<QLabel>(w.get(), "lbl_header")->font().pointSize(), 9);
        auto* line = Child<QFrame>(w.get(), "Line");
        auto* header = Child<QLabel>(w.get(), "lbl_header");
        QCOMPARE(line->geometry(),
                 QRect(200, header->y() + header->height() + 5, 2, 505 - header->height() - 3));
    }

    void logoIsTheDrawnPicture() {
        // The window shows the pixels the build drew; they must be the current drawing.
        const QImage shown = parvel::ParvelLogo().toImage().convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(shown.size(), QSize(parvel::kLogoWidth, parvel::kLogoHeight));
        QCOMPARE(shown, parvel::DrawParvelLogo().toImage().convertToFormat(QImage::Format_ARGB32));
        auto w = Make();
        QCOMPARE(Child<QLabel>(w.get(), "Image2")
                     ->pixmap()
                     .toImage()
                     .convertToFormat(QImage::Format_ARGB32),
                 shown);
    }

    void headerSizeIsWhereTheLabelFits() {
        // The header takes the largest point size at which the label, sized to its text, fits
        // the grid box: a box exactly as wide as the label at one size takes that size, one
        // pixel narrower the next smaller size. The header then has that label's size.
        auto w = Make();
        auto* header = Child<QLabel>(w.get(), "lbl_header");
        auto* box = Child<QGroupBox>(w.get(), "GroupBoxMain");
        QLabel probe(box);
        probe.setTextFormat(Qt::PlainText);
        auto label_size = [&](const QString& name, int points) {
            QFont font = header->font();
            font.setPointSize(points);
            probe.setFont(font);
            probe.setText(name);
            probe.adjustSize();
            return probe.size();
        };
        const int sizes[] = {15, 13, 11, 10, 9};
        for (const QString& name : {QString("Klemmo"), QString("Lucor - Ampel < V3.40"),
                                    QString("Servo-Decoder für Drehscheibe mit Überblendung")}) {
            for (int k = 0; k < 5; ++k) {
                const int fit_width = label_size(name, sizes[k]).width();
                for (int narrower : {0, 1}) {
                    const int expected = sizes[std::min(k + narrower, 4)];
                    box->resize(fit_width - narrower, box->height());
                    w->SetHeader(name.toStdString());
                    QCOMPARE(header->font().pointSize(), expected);
                    QCOMPARE(header->size(), label_size(name, expected));
                }
            }
        }
    }

    void settingsRead_data() {
        QTest::addColumn<QString>("ini");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<int>("rasterX");
        QTest::newRow("missing") << QString() << QPoint(10, 10) << 0;
        QTest::newRow("only Window") << "[Window]\r\nTop=200\r\n" << QPoint(10, 200) << 0;
        QTest::newRow("all") << "[Raster]\r\nx=99\r\ny=3\r\n[Window]\r\nWidth=900\r\nTop=33\r\n"
                                "Left=44\r\n"
                             << QPoint(44, 33) << 99;
    }

    void settingsRead() {
        QFETCH(QString, ini);
        QFETCH(QPoint, pos);
        QFETCH(int, rasterX);
        if (!ini.isNull())
            QVERIFY(parvel::AtomicWriteFile(Path("hexparini"), ini.toStdString()).ok);
        auto w = Make();
        QCOMPARE(w->pos(), pos);
        QCOMPARE(w->raster_x, rasterX);
        QCOMPARE(w->width(), 720);  // the start-up layout sets the width again
    }

    void endWritesSettingsKeepingOtherKeys() {
        QVERIFY(
            parvel::AtomicWriteFile(Path("hexparini"), "[Raster]\r\nx=99\r\n[Servo]\r\nKurve=3\r\n")
                .ok);
        auto w = Make();
        w->show();
        w->move(123, 45);
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_close"), Qt::LeftButton);
        QVERIFY(!w->isVisible());
        const parvel::LinesResult read = parvel::ReadTextLines(Path("hexparini"), 100);
        const std::vector<std::string> expected = {"[Raster]",  "x=99",    "y=0",
                                                   "[Servo]",   "Kurve=3", "[Window]",
                                                   "Width=720", "Top=45",  "Left=123"};
        QCOMPARE(read.lines, expected);
        QVERIFY(m_dialogs.messages.empty());
    }

    // The unattended check of an installation presses "Ende" like a user.
    void autoClosePressesEnde() {
        auto w = Make();
        w->show();
        parvel::ArmAutoClose(*w, "0");
        QTRY_VERIFY(!w->isVisible());
        QVERIFY(QFile::exists(QString::fromStdString(Path("hexparini"))));
    }

    // With HEXPARVEL_AUTOSAVE the unattended check also saves, over the loaded file, and the
    // window still closes by itself.
    void autoSaveWritesOverTheLoadedFile() {
        const std::string file = fx::WriteHex(Path("k ä.hex"), fx::KlemmoMotorola());
        const QDateTime past(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
        {
            QFile f(QString::fromStdString(file));
            QVERIFY(f.open(QIODevice::ReadWrite) && f.setFileTime(past, QFileDevice::FileModificationTime));
        }
        parvel::StartOptions options;
        options.settings_path = Path("hexparini");
        options.hex_file = file;
        parvel::UnattendedDialogs unattended(file);
        TFormMain w(options, &unattended);
        w.show();
        parvel::ArmAutoClose(w, "0", true);
        QTRY_VERIFY(!w.isVisible());
        QVERIFY(QFileInfo(QString::fromStdString(file)).lastModified() > past);
        QVERIFY(parvel::ReadTextLines(file, 600).ok());
    }

    void closingOtherwiseWritesNothing() {
        auto w = Make();
        w->show();
        w->close();
        QVERIFY(!QFile::exists(QString::fromStdString(Path("hexparini"))));
    }

    void unwritableSettingsWarnOnceAndStillClose() {
        parvel::StartOptions options;
        options.settings_path = Path("no/such/folder/hexparini");
        TFormMain w(options, &m_dialogs);
        w.show();
        w.btn_closeClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QVERIFY(m_dialogs.messages[0].icon == parvel::Icon::Warning);
        QVERIFY(m_dialogs.messages[0].text.find(options.settings_path) != std::string::npos);
        QVERIFY(!w.isVisible());
    }

    void infoButtonOpensModalDialog() {
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        w->show();
        QRect seen;
        QPoint centre;
        bool modal = false;
        QString config;
        int tries = 0;
        std::function<void()> probe = [&] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                if (auto* info = qobject_cast<TfrmInfo*>(top); info && info->isVisible()) {
                    seen = info->geometry();
                    centre = info->frameGeometry().center();
                    modal = info->isModal();
                    config = info->edt_config->text();
                    info->reject();
                    return;
                }
            }
            if (++tries < 50) QTimer::singleShot(20, probe);
        };
        QTimer::singleShot(0, probe);
        // Safety net: whatever happens, no modal loop outlives the test.
        QTimer::singleShot(3000, [] {
            if (QWidget* modal_widget = QApplication::activeModalWidget()) modal_widget->close();
        });
        w->btn_infoClick();
        QVERIFY(modal);
        QCOMPARE(config, QString("CC01"));
        QCOMPARE(seen.size(), QSize(750, 700));
        // Centred over the window as far as the screen allows: at the window's default place
        // the centred dialog would start above and left of the screen.
        const QRect area = w->screen()->availableGeometry();
        QVERIFY2(seen.top() >= area.top() && seen.left() >= area.left(),
                 qPrintable(QString("dialog at %1,%2").arg(seen.left()).arg(seen.top())));
        if (seen.width() <= area.width()) QVERIFY(seen.right() <= area.right());
        if (seen.height() <= area.height()) QVERIFY(seen.bottom() <= area.bottom());
        if (area.contains(QRect(QPoint(), seen.size()).translated(
                w->frameGeometry().center() - QPoint(seen.width() / 2, seen.height() / 2)))) {
            QVERIFY((centre - w->frameGeometry().center()).manhattanLength() <= 2);
        }
    }

    void saveNameIsTheFileOnDisk_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("proposal accepted") << "k.hex" << "k.hex";
        QTest::newRow("no extension") << "neu" << "neu.hex";
        QTest::newRow("other extension") << "neu.txt" << "neu.txt";
    }

    void saveNameIsTheFileOnDisk() {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        // The window proposes the file on disk, without the chip family of status panel 3.
        m_dialogs.save_names.push_back(std::nullopt);
        w->btn_saveClick();
        const std::string proposed = m_dialogs.save_proposals.at(0);
        QCOMPARE(proposed, Path("k.hex"));
        QCOMPARE(m_dialogs.save_places.at(0).name, std::string("SaveDialog1"));
        QCOMPARE(m_dialogs.save_places.at(0).folder, m_dir->path().toStdString());
        // The real save dialog shows that name and adds "hex" to a name typed without extension.
        auto dialog = parvel::MakeSaveDialog(parvel::kHexFileFilter, "hex", proposed,
                                             m_dialogs.save_places.at(0), w.get());
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->selectFile(m_dir->filePath(typed));
        QCOMPARE(dialog->selectedFiles().value(0), m_dir->filePath(written));
        // What the dialog returns is written under that name and shown.
        m_dialogs.save_names.push_back(dialog->selectedFiles().value(0).toStdString());
        w->btn_saveClick();
        QVERIFY(QFile::exists(m_dir->filePath(written)));
        QCOMPARE(Child<QLabel>(w.get(), "StatusPanel3")->text(), m_dir->filePath(written));
        QVERIFY(m_dialogs.messages.empty());
    }

    void valuesOfThePreviousFileAreGone_data() {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("second");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("function");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<bool>("saveEnabled");
        const QColor red(255, 0, 0), white(255, 255, 255);
        // 0 Klemmo (row 1: 1 green, row 2: 5 red), 1 Klemmo without ID record, 2 Klemmo whose
        // row 1 holds a code of no address, 3 function decoder, 4 firmware of kind none.
        QTest::newRow("no ID record: empty rows") << 0 << 1 << 1 << "" << "" << white << false;
        QTest::newRow("no ID record, row 2") << 0 << 1 << 2 << "" << "" << white << false;
        QTest::newRow("code of no address: 0, default colour")
            << 0 << 2 << 1 << "0" << "0" << red << true;
        QTest::newRow("kind none after function decoder")
            << 3 << 4 << 1 << "0" << "0" << white << true;
    }

    void valuesOfThePreviousFileAreGone() {
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(int, row);
        QFETCH(QString, address);
        QFETCH(QString, function);
        QFETCH(QColor, colour);
        QFETCH(bool, saveEnabled);
        fx::Firmware no_id = fx::KlemmoMotorola();
        no_id.id = "";
        no_id.rows.clear();
        fx::Firmware no_match = fx::KlemmoMotorola();
        no_match.rows = {{1, 0x12, 0x34, 0x56}};
        fx::Firmware kind_none;
        kind_none.type_code = 0x4000;
        kind_none.protocol = fx::Protocol::Dcc;
        const fx::Firmware firmwares[] = {fx::KlemmoMotorola(), no_id, no_match,
                                          fx::FunctionDecoderDcc(), kind_none};
        auto w = Loaded(firmwares[first], "first.hex");
        m_dialogs.open_names.push_back(fx::WriteHex(Path("second.hex"), firmwares[second]));
        w->btn_loadClick();
        const QString n = QString::number(row);
        QCOMPARE(Child<QLineEdit>(w.get(), "edt_address" + n)->text(), address);
        QCOMPARE(Child<QLineEdit>(w.get(), "edt_function" + n)->text(), function);
        QCOMPARE(BaseColour(Child<QLineEdit>(w.get(), "edt_address" + n)), colour);
        QCOMPARE(Child<QPushButton>(w.get(), "btn_save")->isEnabled(), saveEnabled);
        if (!saveEnabled) return;
        // Saving what the user did not change asks nothing and tells nothing.
        m_dialogs.messages.clear();
        m_dialogs.save_names.push_back(Path("out.hex"));
        w->btn_saveClick();
        QVERIFY(m_dialogs.messages.empty());
        QVERIFY(QFile::exists(QString::fromStdString(Path("out.hex"))));
    }

    void webPageThatCannotBeOpenedIsNamed_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("page");
        QTest::newRow("Web button") << "btn_goweb" << "/opt/parvel/doc/klemmo.html";
        QTest::newRow("logo") << "Image2" << "/opt/parvel/doc/index.html";
    }

    void webPageThatCannotBeOpenedIsNamed() {
        QFETCH(QString, control);
        QFETCH(QString, page);
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        w->SetUrlOpener([](const QUrl&) { return false; });
        QTest::mouseClick(Child<QWidget>(w.get(), control), Qt::LeftButton);
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QVERIFY2(QString::fromStdString(m_dialogs.messages[0].text).contains(page),
                 m_dialogs.messages[0].text.c_str());
    }

    void dialogsStartInTheFileFolderAndCarryTheirNames() {
        const QString last = m_dir->filePath("last");
        const QString sub = m_dir->filePath("sub");
        QVERIFY(QDir().mkpath(last) && QDir().mkpath(sub));
        QVERIFY(parvel::AtomicWriteFile(Path("hexparini"),
                                        "[Files]\r\nLastFolder=" + last.toStdString() + "\r\n")
                    .ok);
        auto w = Make();
        // Before any file: the folder last used.
        w->btn_loadClick();
        QCOMPARE(m_dialogs.open_places.at(0).name, std::string("OpenDialog1"));
        QCOMPARE(m_dialogs.open_places.at(0).folder, last.toStdString());
        // Then the loaded file's folder, for loading, saving and the compare dialog.
        m_dialogs.open_names.push_back(fx::WriteHex(Path("sub/k.hex"), fx::KlemmoMotorola()));
        w->btn_loadClick();
        w->btn_loadClick();
        QCOMPARE(m_dialogs.open_places.at(2).folder, sub.toStdString());
        w->btn_saveClick();
        QCOMPARE(m_dialogs.save_places.at(0).folder, sub.toStdString());
        TfrmInfo info(w->document().image(), m_dialogs, QString(), w.get());
        info.start_folder = w->StartFolder();
        info.btn_compareClick();
        QCOMPARE(m_dialogs.open_places.at(3).name, std::string("OpenDialog1"));
        QCOMPARE(m_dialogs.open_places.at(3).folder, sub.toStdString());
        // "Ende" keeps the folder for the next start.
        w->btn_closeClick();
        auto again = Make();
        again->btn_loadClick();
        QCOMPARE(m_dialogs.open_places.at(4).folder, sub.toStdString());

        // The real dialogs carry the names and start there; each keeps inside the screen.
        auto open = parvel::MakeOpenDialog(parvel::kHexFileFilter, {"OpenDialog1", sub.toStdString()},
                                           w.get());
        QCOMPARE(open->objectName(), QString("OpenDialog1"));
        QCOMPARE(QDir(open->directory()).canonicalPath(), QDir(sub).canonicalPath());
        auto save = parvel::MakeSaveDialog(parvel::kHexFileFilter, "hex", Path("sub/k.hex"),
                                           {"SaveDialog1", sub.toStdString()}, w.get());
        QCOMPARE(save->objectName(), QString("SaveDialog1"));
        QCOMPARE(save->defaultSuffix(), QString("hex"));
        auto box = parvel::MakeMessageBox({"Text", parvel::Icon::Warning, parvel::Buttons::Ok},
                                          w.get());
        QCOMPARE(box->objectName(), QString("MessageBox"));
        // A message's own line break is one in the box; bytes of a file stay escaped.
        auto broken = parvel::MakeMessageBox(
            {"Ungültige Eingabe.\rZugelassen sind nur Zahlen\x1B", parvel::Icon::Warning, parvel::Buttons::Cancel},
            w.get());
        QCOMPARE(broken->text(), QString::fromUtf8("Ungültige Eingabe.\nZugelassen sind nur Zahlen\\x1B"));
        w->move(-300, -200);
        box->show();  // not exec: nothing waits for a person
        QVERIFY(InsideScreen(box.get()));
        box->hide();
    }

    void labelsShowTheirWholeText_data() {
        QTest::addColumn<int>("typeCode");
        QTest::addColumn<int>("protocol");
        QTest::addColumn<int>("points");
        const struct {
            const char* name;
            int code;
            fx::Protocol protocol;
        } variants[] = {
            {"Klemmo", 0x8, fx::Protocol::Motorola},
            {"servo F-decoder", 16896, fx::Protocol::Dcc},
            {"servo Torv-4", 0xD3, fx::Protocol::Dcc},
            {"servo threshold", 0x1D2, fx::Protocol::Dcc},
            {"blink patterns", 0x1, fx::Protocol::Motorola},
            {"LED blink patterns", 0xDD, fx::Protocol::Motorola},
            {"traffic light", 0x267, fx::Protocol::Motorola},
            {"neon", 0x2A4100, fx::Protocol::Dcc},
            {"switch-off", 0x308, fx::Protocol::Motorola},
            {"outputs", 0x270, fx::Protocol::Motorola},
            {"CV registers", 0x4400, fx::Protocol::Dcc},
        };
        for (const auto& v : variants) {
            for (int points : {8, 12}) {
                QTest::addRow("%s, %d pt", v.name, points)
                    << v.code << static_cast<int>(v.protocol) << points;
            }
        }
    }

    // Every visible caption has the room its text needs, at the design font and at a larger
    // desktop font.
    void labelsShowTheirWholeText() {
        QFETCH(int, typeCode);
        QFETCH(int, protocol);
        QFETCH(int, points);
        const QFont before = QApplication::font();
        QFont desktop = before;
        desktop.setPointSize(points);
        QApplication::setFont(desktop);
        fx::Firmware f;
        f.type_code = static_cast<std::uint32_t>(typeCode);
        f.protocol = static_cast<fx::Protocol>(protocol);
        auto w = Loaded(f, "f.hex");
        w->show();
        QApplication::processEvents();
        QStringList cut;
        for (QLabel* label : w->findChildren<QLabel*>()) {
            if (!label->isVisible() || label->wordWrap() || label->text().isEmpty()) continue;
            if (label->parentWidget() == Child<QWidget>(w.get(), "StatusBar1")) continue;
            if (label->width() < label->sizeHint().width()) {
                cut << QString("%1 \"%2\" %3 < %4")
                           .arg(label->objectName(), label->text())
                           .arg(label->width())
                           .arg(label->sizeHint().width());
            }
        }
        QApplication::setFont(before);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join("; ")));
    }

    void emptyStartHintAndDroppedFiles() {
        auto w = Make();
        auto* hint = Child<QLabel>(w.get(), "lbl_hint");
        QVERIFY(!hint->isHidden());
        QVERIFY(hint->text().startsWith("HEX-Datei laden: Knopf „HEX laden“ oder Datei hierher ziehen."));
        for (const char* shortcut : {"Strg+Z", "Strg+Y", "Strg+R", "Strg+U"}) QVERIFY(hint->text().contains(shortcut));
        QVERIFY(Child<QWidget>(w.get(), "Line")->isHidden());
        QVERIFY(w->acceptDrops());
        // What the open dialog names is taken (.hex, .txt); a folder named like a HEX file and
        // other files are refused when the drag enters.
        QFile::copy(QString::fromStdString(fx::WriteHex(Path("k.hex"), fx::KlemmoMotorola())),
                    m_dir->filePath("k.TXT"));
        QVERIFY(QDir(m_dir->path()).mkdir("ordner.hex"));
        QFile::copy(m_dir->filePath("k.hex"), m_dir->filePath("k.png"));
        QVERIFY(!DropFiles(w.get(), {m_dir->filePath("ordner.hex")}));
        QVERIFY(!DropFiles(w.get(), {m_dir->filePath("k.png")}));
        QVERIFY(!hint->isHidden());
        QVERIFY(m_dialogs.messages.empty());
        QVERIFY(DropFiles(w.get(), {m_dir->filePath("ordner.hex"), m_dir->filePath("k.TXT")}));
        QCOMPARE(Child<QLabel>(w.get(), "lbl_header")->text(), QString("Klemmo"));
        QCOMPARE(w->document().file_path(), Path("k.TXT"));
        QVERIFY(hint->isHidden());
        // A grid field does not take the file's name as its text.
        QVERIFY(!Child<QLineEdit>(w.get(), "edt_address1")->acceptDrops());
    }

    // ---- undo history ----

    // Grid steps: each row's actions, undone all and redone all, give back the loaded file and
    // the edited file byte for byte. Actions: "a<row>=<text>" types an address, "f<row>=<text>"
    // a function number, "rg<row>" clicks the row's R/G button.
    void undoRoundTrip_data() {
        QTest::addColumn<QString>("firmware");
        QTest::addColumn<QString>("actions");
        QTest::addColumn<int>("steps");
        QTest::newRow("one address") << "klemmo" << "a1=77" << 1;
        QTest::newRow("addresses and R/G") << "klemmo" << "a1=77;rg1;a2=300;rg2;rg1" << 5;
        QTest::newRow("same field twice") << "klemmo" << "a1=7;a2=9;a1=12" << 3;
        QTest::newRow("function decoder") << "function" << "f1=3;a1=128;f2=12;a2=1" << 4;
    }

    void undoRoundTrip() {
        QFETCH(QString, firmware);
        QFETCH(QString, actions);
        QFETCH(int, steps);
        fx::Firmware loaded = fx::KlemmoMotorola();
        if (firmware == "function") {
            // Every output with a valid address and function, so that the file can be saved.
            loaded = fx::FunctionDecoderDcc();
            for (int r = 3; r < 16; ++r) loaded.rows.push_back({r, 0x81, 0x05, 0x00});
        }
        auto w = Loaded(loaded, "u.hex");
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        for (const QString& action : actions.split(';')) {
            if (action.startsWith("rg")) {
                QTest::mouseClick(Child<QPushButton>(w.get(), "btn_rg" + action.mid(2)),
                                  Qt::LeftButton);
            } else {
                const QString field = action.startsWith('a') ? "edt_address" : "edt_function";
                const QStringList parts = action.mid(1).split('=');
                guitest::TypeText(Child<QLineEdit>(w.get(), field + parts[0]), parts[1], false);
            }
            QCoreApplication::processEvents();
        }
        int made = 0;
        guitest::UndoRoundTrip(*w, m_dialogs, Path("u.hex"), m_dir->path().toStdString(), made);
        if (QTest::currentTestFailed()) return;
        // A typing run in one field is one step.
        QCOMPARE(made, steps);
    }

    void undoDescribesStepsAndRestoresTheView() {
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        w->show();
        w->activateWindow();  // window shortcuts need the active window
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        auto* edt1 = Child<QLineEdit>(w.get(), "edt_address1");
        const QString loaded = edt1->text();
        guitest::TypeText(edt1, "77", false);
        QCoreApplication::processEvents();
        QCOMPARE(w->act_undo->text(), "Rückgängig: Adresse Weiche: " + loaded + " → 77");
        QTest::mouseClick(Child<QPushButton>(w.get(), "btn_rg1"), Qt::LeftButton);
        QCoreApplication::processEvents();
        QCOMPARE(w->act_undo->text(), QString("Rückgängig: R/G Weiche: grün → rot"));
        QCOMPARE(BaseColour(edt1), QColor(255, 0, 0));

        // The grid's context menu holds both actions.
        const QList<QAction*> menu = Child<QGroupBox>(w.get(), "GroupBoxMain")->actions();
        QVERIFY(menu.contains(w->act_undo));
        QVERIFY(menu.contains(w->act_redo));

        // Ctrl+Z in the field whose text is already a step goes to the history.
        edt1->setFocus();
        QTest::keyClick(edt1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(BaseColour(edt1), QColor(0, 255, 0));
        QCOMPARE(w->document().row(1).green, 1);
        QCOMPARE(w->act_redo->text(), QString("Wiederherstellen: R/G Weiche: grün → rot"));
        QTest::keyClick(edt1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(edt1->text(), loaded);
        QVERIFY(!w->act_undo->isEnabled());
        QTest::keyClick(edt1, Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(edt1->text(), QString("77"));
        QTest::keyClick(edt1, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(BaseColour(edt1), QColor(255, 0, 0));
        QVERIFY(!w->act_redo->isEnabled());
        QCoreApplication::processEvents();
        QCOMPARE(w->document().history().count(), size_t(2));  // undoing and redoing made no steps
    }

    // "Nicht gespeicherte Änderungen verwerfen?" on loading and at "Ende", only while there are
    // changes since the load or the last save: Abbrechen stops, Verwerfen goes on, Speichern
    // runs the save flow and goes on only when the file was written.
    void unsavedChangesAreAskedAbout() {
        const parvel::Message question{"Nicht gespeicherte Änderungen verwerfen?",
                                       parvel::Icon::Warning, parvel::Buttons::SaveDiscardCancel};
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        m_dialogs.open_names.push_back(fx::WriteHex(Path("other.hex"), fx::RelaisDcc()));
        w->btn_closeClick();  // nothing changed: no question, the window closes
        QVERIFY(m_dialogs.messages.empty());
        QVERIFY(!w->isVisible());
        w->show();

        Child<QLineEdit>(w.get(), "edt_address1")->setText("9");
        m_dialogs.answers.push_back(parvel::Answer::Cancel);
        w->btn_loadClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QVERIFY(m_dialogs.messages[0] == question);
        QCOMPARE(m_dialogs.open_names.size(), size_t(1));  // no open dialog: the load stopped
        m_dialogs.answers.push_back(parvel::Answer::Cancel);
        w->btn_closeClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(2));
        QVERIFY(w->isVisible());

        // Speichern, the save dialog cancelled: nothing written, the load stops.
        m_dialogs.answers.push_back(parvel::Answer::Save);
        m_dialogs.save_names.push_back(std::nullopt);
        w->btn_loadClick();
        QCOMPARE(m_dialogs.open_names.size(), size_t(1));
        QVERIFY(w->document().HasUnsavedChanges());
        // Speichern and a name: the file is written, then the other file is loaded.
        m_dialogs.answers.push_back(parvel::Answer::Save);
        m_dialogs.save_names.push_back(Path("kept.hex"));
        w->btn_loadClick();
        QVERIFY(m_dialogs.open_names.empty());
        QCOMPARE(w->document().type_code(), std::uint32_t(0x69));
        QCOMPARE(Child<QLineEdit>(Make(Path("kept.hex")).get(), "edt_address1")->text(), QString("9"));

        w = Loaded(fx::KlemmoMotorola(), "k.hex");
        m_dialogs.messages.clear();
        m_dialogs.open_names.push_back(fx::WriteHex(Path("other.hex"), fx::RelaisDcc()));
        Child<QLineEdit>(w.get(), "edt_address1")->setText("9");
        // Undone back to the loaded state: nothing to lose.
        w->UndoClick();
        w->btn_closeClick();
        QVERIFY(m_dialogs.messages.empty());
        w->show();

        // Saved: no question; a change after the save asks again, Verwerfen loads the other file.
        w->RedoClick();
        m_dialogs.save_names.push_back(Path("saved.hex"));
        w->btn_saveClick();
        QVERIFY(!w->document().HasUnsavedChanges());
        QCOMPARE(w->document().history().count(), size_t(1));  // the history survives saving
        Child<QLineEdit>(w.get(), "edt_address1")->setText("10");
        m_dialogs.answers.push_back(parvel::Answer::Discard);
        w->btn_loadClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QVERIFY(m_dialogs.open_names.empty());
        QCOMPARE(w->document().type_code(), std::uint32_t(0x69));
        QCOMPARE(w->document().history().count(), size_t(0));  // a load starts a new history
    }

    // Undo, redo and the layout tools are in the menu bar with their shortcuts, above the fixed
    // layout; a field's right-click menu offers the history's undo instead of its own.
    void commandsReachableByMouse() {
        auto w = Loaded(fx::KlemmoMotorola(), "k.hex");
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto* bar = Child<QMenuBar>(w.get(), "MainMenu");
        QVERIFY(bar->isVisible());
        QVERIFY(w->centralWidget()->y() >= bar->geometry().bottom());
        QCOMPARE(Child<QGroupBox>(w.get(), "GroupBoxMain")->pos(), QPoint(5, 5));
        const std::pair<const char*, const char*> entries[] = {
            {"act_undo", "mnu_edit"}, {"act_redo", "mnu_edit"}, {"act_series", "mnu_layout"},
            {"act_roster", "mnu_layout"}, {"act_load", "mnu_file"}, {"act_save", "mnu_file"}};
        for (const auto& [action, menu] : entries) {
            QVERIFY2(Child<QMenu>(w.get(), menu)->actions().contains(w->findChild<QAction*>(action)), action);
        }
        QCOMPARE(w->act_undo->shortcut(), QKeySequence(QKeySequence::Undo));
        QCOMPARE(w->findChild<QAction*>("act_series")->shortcut(), QKeySequence("Ctrl+R"));

        auto* field = Child<QLineEdit>(w.get(), "edt_address2");
        Child<QLineEdit>(w.get(), "edt_address1")->setText("9");
        std::unique_ptr<QMenu> menu(w->FieldContextMenu(field));
        QCOMPARE(menu->actions().mid(0, 2), (QList<QAction*>{w->act_undo, w->act_redo}));
        QVERIFY(w->act_undo->isEnabled());
    }

    // Damaged files of every kind of firmware, loaded one after another into the same window;
    // for each that loads, the info dialog compares it with its undamaged original and the
    // window saves it. Nothing may crash, and every text shown must be readable.
    void survivesMutatedFiles() {
        const std::vector<fx::Firmware> originals = {
            fx::KlemmoMotorola(),     fx::RelaisDcc(),       fx::Turntable48Dcc(),
            fx::FunctionDecoderDcc(), fx::ServoDecoderDcc(), fx::BlinkPatternMotorola()};
        QVERIFY(QDir(m_dir->path()).mkdir("in") && QDir(m_dir->path()).mkdir("out"));
        std::vector<std::string> original_paths;
        for (std::size_t k = 0; k < originals.size(); ++k) {
            original_paths.push_back(fx::WriteHex(Path(QString("original%1.hex").arg(k)), originals[k]));
        }
        // Questions get the answer that goes on (Yes, Ignore) for even files, the one that
        // changes nothing for odd files.
        struct Answering : ScriptedDialogs {
            bool go_on = false;
            parvel::Answer ShowMessage(const parvel::Message& message) override {
                ScriptedDialogs::ShowMessage(message);
                switch (message.buttons) {
                    case parvel::Buttons::YesNo:
                    case parvel::Buttons::YesIgnore: return go_on ? parvel::Answer::Yes : parvel::Answer::No;
                    case parvel::Buttons::SaveDiscardCancel:
                        return go_on ? parvel::Answer::Discard : parvel::Answer::Cancel;
                    case parvel::Buttons::CancelIgnore:
                        return go_on ? parvel::Answer::Ignore : parvel::Answer::Cancel;
                    default: return parvel::SafeAnswer(message.buttons);
                }
            }
        } dialogs;
        parvel::StartOptions options;
        options.settings_path = Path("hexparini");
        options.doc_root = "file:///opt/parvel/doc/";
        TFormMain w(options, &dialogs);
        w.SetUrlOpener([](const QUrl&) {});
        w.show();

        std::mt19937 random(20261208);
        constexpr int kFiles = 240;
        int loaded = 0, saved = 0, info_shown = 0;
        for (int i = 0; i < kFiles; ++i) {
            const std::size_t kind = static_cast<std::size_t>(i) % originals.size();
            const std::string path = m_dir->filePath(QString("in/m%1.hex").arg(i, 3, 10, QChar('0'))).toStdString();
            const std::string damaged = Mutated(fx::HexText(originals[kind]), (i / 6) % 4, random);
            QVERIFY(parvel::AtomicWriteFile(path, damaged).ok);
            dialogs.go_on = i % 2 == 0;
            dialogs.messages.clear();
            dialogs.open_names.push_back(path);
            w.btn_loadClick();
            const QByteArray where = QByteArray("file ") + path.c_str();
            for (int p = 0; p < 4; ++p) {
                QVERIFY2(Readable(Child<QLabel>(&w, QString("StatusPanel%1").arg(p))->text()), where);
            }
            if (w.document().recognised()) {
                ++loaded;
                QStringList shown;
                QTimer::singleShot(0, [&] {
                    auto* info = qobject_cast<TfrmInfo*>(QApplication::activeModalWidget());
                    if (!info) return;
                    ++info_shown;
                    shown << info->edt_config->text() << info->edt_ID->text()
                          << info->Memo1a->toPlainText() << info->Memo3a->toPlainText();
                    dialogs.open_names.push_back(original_paths[kind]);
                    info->btn_compareClick();
                    shown << info->Memo1a->toPlainText() << info->Memo3a->toPlainText()
                          << Child<QLabel>(info, "StatusPanel0")->text()
                          << Child<QLabel>(info, "StatusPanel1")->text();
                    info->reject();
                });
                w.btn_infoClick();
                for (const QString& text : shown) QVERIFY2(Readable(text), where);
                const std::string out = m_dir->filePath(QString("out/s%1.hex").arg(i)).toStdString();
                dialogs.save_names.push_back(out);
                w.btn_saveClick();
                dialogs.save_names.clear();
                if (QFile::exists(QString::fromStdString(out))) ++saved;
            }
            for (const parvel::Message& m : dialogs.messages) {
                QVERIFY2(Readable(QString::fromStdString(m.text)), where + ": " + m.text.c_str());
            }
        }
        QCOMPARE(info_shown, loaded);
        qInfo("%d damaged files: %d loaded, %d saved", kFiles, loaded, saved);
        // The mutations must leave enough files whole to reach the info dialog and the save.
        QVERIFY2(loaded >= 40 && saved >= 20, qPrintable(QString("%1 loaded, %2 saved").arg(loaded).arg(saved)));
        // Nothing written beside the inputs, the outputs and the originals.
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), static_cast<int>(originals.size()));
    }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
