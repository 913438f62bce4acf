// The CV register table of "F-Dekoder mit CV" in the main window: which CVs it shows where,
// what a typed value stores into which EEPROM cell, the input messages, and that a saved file
// carries the change. Expected captions, cells and positions are the firmware's CV layout.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "frames/FrameRegister.h"
#include "tests/Harness.h"
#include "tests/gui/WidgetTestSupport.h"
#include "app/FormMain.h"

using parvel::ScriptedDialogs;
using P = parvel::test::FixtureImage::Protocol;

namespace {

const QString kNotANumber = QString::fromUtf8("Ungültige Eingabe.\rZugelassen sind nur Zahlen");

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

class FrameRegisterTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedDialogs m_dialogs;
    int m_files = 0;

    std::string Path(const QString& name) const { return m_dir->filePath(name).toStdString(); }

    // A "F-Dekoder mit CV" file; cell c holds c + 1 unless set in `cells`.
    std::string WriteFirmware(std::uint32_t code, const std::map<int, std::uint8_t>& cells = {}) {
        parvel::test::FixtureImage f = parvel::test::Firmware(code, P::Dcc);
        f.eeprom_last = 0xFF;
        for (int c = 0x60; c <= 0xAF; ++c) f.eeprom[c] = static_cast<std::uint8_t>(c + 1);
        for (const auto& [cell, value] : cells) f.eeprom[cell] = value;
        const std::string path = Path(QString("f%1.hex").arg(++m_files));
        parvel::test::WriteFile(path, parvel::test::BuildHex(f));
        return path;
    }

    std::unique_ptr<TFormMain> Loaded(std::uint32_t code,
                                      const std::map<int, std::uint8_t>& cells = {}) {
        parvel::StartOptions options;
        options.doc_root = "file:///opt/parvel/doc/";
        auto w = std::make_unique<TFormMain>(options, &m_dialogs);
        w->SetUrlOpener([](const QUrl&) {});
        w->show();
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("window not active");
        m_dialogs.open_names.push_back(WriteFirmware(code, cells));
        w->btn_loadClick();
        // A fixture that does not load as meant makes every check after it meaningless.
        if (w->document().type_code() != code) qFatal("type 0x%x not recognised", code);
        if (!m_dialogs.messages.empty()) {
            qFatal("load message: %s", m_dialogs.messages[0].text.c_str());
        }
        return w;
    }

    static QString Cell(TFormMain& w, int cell) {
        return Text(w.document().image().eeprom_cells[cell]);
    }

    // Types without finishing the edit: the tests decide how it ends (Return, focus change).
    static void Type(QLineEdit* edit, const QString& text) { guitest::TypeText(edit, text, false); }

  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_dialogs = ScriptedDialogs();
    }

    void rows_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<int>("cell");
        QTest::addColumn<QPoint>("edit");  // top left of the value field
        // Columns of 21 rows: edit lefts 175, 405, 635; tops 15 + 25 r.
        QTest::newRow("CV1") << 0 << "CV1: Kurze Adresse" << 0x60 << QPoint(175, 15);
        QTest::newRow("CV15") << 1 << "CV15: Dekoder Sperren" << 0x62 << QPoint(175, 40);
        QTest::newRow("CV16") << 2 << "CV16: Dekoder Sperren" << 0x63 << QPoint(175, 65);
        QTest::newRow("CV17") << 3 << "CV17: Lange Adresse L" << 0x64 << QPoint(175, 90);
        QTest::newRow("CV18") << 4 << "CV18: Lange Adresse H" << 0x65 << QPoint(175, 115);
        QTest::newRow("CV29") << 5 << "CV29: Konfiguration" << 0x68 << QPoint(175, 140);
        QTest::newRow("CV48") << 6 << "CV48: Dekoder Betriebsart 1" << 0x6D << QPoint(175, 165);
        QTest::newRow("CV50") << 7 << QString::fromUtf8("CV50: Verzögerung 1") << 0x6F
                              << QPoint(175, 190);
        QTest::newRow("CV52") << 8 << "CV52: PWM-Wert 1" << 0x71 << QPoint(175, 215);
        QTest::newRow("CV53") << 9 << "CV53: PWM-Wert 2" << 0x72 << QPoint(175, 240);
        QTest::newRow("CV54") << 10 << QString::fromUtf8("CV54: Länge Neon-Effekt") << 0x73
                              << QPoint(175, 265);
        QTest::newRow("CV61") << 11 << "CV61: Blinker Frequenz" << 0x7A << QPoint(175, 290);
        QTest::newRow("CV62") << 12 << "CV62: Bremslicht Dauer" << 0x7B << QPoint(175, 315);
        QTest::newRow("CV63") << 13 << "CV63: Bremslicht Schwelle" << 0x7C << QPoint(175, 340);
        QTest::newRow("CV64") << 14 << "CV64: Bremslicht Dauer Stand" << 0x7D << QPoint(175, 365);
        QTest::newRow("CV115") << 15 << "CV115: LISSY: Zug-Kategorie (1-4)" << 0x83
                               << QPoint(175, 390);
        QTest::newRow("CV140") << 16 << "CV140: Mapping Befehl 1" << 0x9C << QPoint(175, 415);
        QTest::newRow("CV141") << 17 << "CV141: Mapping Befehl 2" << 0x9D << QPoint(175, 440);
        QTest::newRow("CV142") << 18 << "CV142: Mapping Befehl 3" << 0x9E << QPoint(175, 465);
        QTest::newRow("CV143") << 19 << "CV143: Mapping Befehl 4" << 0x9F << QPoint(175, 490);
        QTest::newRow("CV144") << 20 << "CV144: Mapping Befehl 5" << 0xA0 << QPoint(175, 515);
        QTest::newRow("CV150") << 21 << "CV150: Betriebs-Art Out 1" << 0xA6 << QPoint(405, 15);
        QTest::newRow("CV151") << 22 << "CV151: Betriebs-Art Out 2" << 0xA7 << QPoint(405, 40);
        QTest::newRow("CV152") << 23 << "CV152: Betriebs-Art Out 3" << 0xA8 << QPoint(405, 65);
        QTest::newRow("CV153") << 24 << "CV153: Betriebs-Art Out 4" << 0xA9 << QPoint(405, 90);
    }

    void rows() {
        QFETCH(int, row);
        QFETCH(QString, caption);
        QFETCH(int, cell);
        QFETCH(QPoint, edit);
        auto w = Loaded(0x4400);
        TFrameRegister* f = w->FrameRegister1;
        QVERIFY(!f->isHidden());
        QCOMPARE(f->row_count, 25);
        QLabel* label = f->findChild<QLabel*>(QString("lbl_cv%1").arg(row));
        QLineEdit* field = f->findChild<QLineEdit*>(QString("edt_cv%1").arg(row));
        QVERIFY(label && field);
        QVERIFY(!label->isHidden() && !field->isHidden());
        QCOMPARE(label->text(), caption);
        QCOMPARE(f->rows[row].cell, cell);
        // Every cell of the fixture holds its own address + 1, shown in decimal.
        QCOMPARE(field->text(), QString::number(cell + 1));
        QCOMPARE(field->pos(), edit);
        QCOMPARE(field->size(), QSize(40, 20));
        QCOMPARE(label->pos(), QPoint(edit.x() - 170, edit.y() + 4));
        // The whole caption is shown, left of its value field.
        QVERIFY(label->width() >= label->sizeHint().width());
        QVERIFY(label->x() + label->width() <= field->x());
    }

    void rowsBeyondTheTableAreHidden() {
        auto w = Loaded(0x4400);
        TFrameRegister* f = w->FrameRegister1;
        for (int r = 25; r < 64; ++r) {
            QVERIFY(f->rows[r].caption->isHidden());
            QVERIFY(f->rows[r].edit->isHidden());
            QVERIFY(f->rows[r].caption->text().isEmpty());
        }
        // Row 64 stands alone in a fourth column.
        QCOMPARE(f->rows[63].edit->pos(), QPoint(865, 15));
        QCOMPARE(f->rows[63].caption->pos(), QPoint(695, 19));
        QCOMPARE(f->rows[42].edit->pos(), QPoint(635, 15));
    }

    void frameAndSeparatorLines() {
        auto w = Loaded(0x4400);
        TFrameRegister* f = w->FrameRegister1;
        QCOMPARE(f->geometry(), QRect(5, w->GroupBoxMain->y() + 3, 940, 555));
        QVERIFY(f->pnl_cv->autoFillBackground());
        QCOMPARE(f->pnl_cv->geometry(), QRect(0, 0, 940, 555));
        const int lefts[] = {230, 460, 690};
        for (int i = 0; i < 3; ++i) {
            QFrame* line = f->findChild<QFrame*>(QString("Line%1").arg(i + 1));
            QVERIFY(line);
            QVERIFY(!line->isHidden());
            QCOMPARE(line->geometry(), QRect(lefts[i], 8, 2, 555 - 1));
        }
    }

    void cv29Shows14() {
        auto w = Loaded(0x4400, {{0x68, 0x0E}});
        QCOMPARE(w->FrameRegister1->rows[5].caption->text(), QString("CV29: Konfiguration"));
        QCOMPARE(w->FrameRegister1->rows[5].edit->text(), QString("14"));
    }

    void loadingWritesNothing() {
        const std::string path = WriteFirmware(0x4400, {{0x60, 0x03}});
        parvel::test::Harness plain;
        QVERIFY(plain.session.LoadHexFile(path));
        auto w = Loaded(0x4400, {{0x60, 0x03}});
        QVERIFY(!w->FrameRegister1->loading);
        QVERIFY(w->document().image().eeprom_cells == plain.session.image().eeprom_cells);
    }

    void edits_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");   // the CV's cell afterwards
        QTest::addColumn<QString>("message");  // "": none
        QTest::addColumn<bool>("refocus");
        // CV1 lives in cell 0x60, which the fixture sets to 0x61.
        QTest::newRow("3 into CV1") << 0 << "3"
                                    << "03"
                                    << "" << false;
        QTest::newRow("0") << 0 << "0"
                           << "00"
                           << "" << false;
        QTest::newRow("255") << 0 << "255"
                             << "FF"
                             << "" << false;
        QTest::newRow("leading zeros kept as typed") << 0 << "007"
                                                     << "07"
                                                     << "" << false;
        QTest::newRow("blanks around") << 0 << " 42 "
                                       << "2A"
                                       << "" << false;
        QTest::newRow("256 rejected") << 0 << "256"
                                      << "61" << kNotANumber + " im Werte-Bereich 0..255" << false;
        QTest::newRow("negative rejected")
            << 0 << "-1"
            << "61" << kNotANumber + " im Werte-Bereich 0..255" << false;
        QTest::newRow("huge rejected") << 0 << "99999999999999999999"
                                       << "61" << kNotANumber + " im Werte-Bereich 0..255" << false;
        QTest::newRow("not a number") << 0 << "abc"
                                      << "61" << kNotANumber << true;
        QTest::newRow("hex is not a number") << 0 << "0x10"
                                             << "61" << kNotANumber << true;
        QTest::newRow("empty stores nothing") << 0 << ""
                                              << "61"
                                              << "" << false;
    }

    void edits() {
        QFETCH(int, row);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        QFETCH(QString, message);
        QFETCH(bool, refocus);
        auto w = Loaded(0x4400);
        QLineEdit* edit = w->FrameRegister1->rows[row].edit;
        const int cell = w->FrameRegister1->rows[row].cell;
        const auto before = w->document().image().eeprom_cells;
        Type(edit, typed);
        QCOMPARE(Cell(*w, cell), Text(before[cell]));  // nothing while typing
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(Cell(*w, cell), stored);
        // The edit keeps the text as typed.
        QCOMPARE(edit->text(), typed);
        if (message.isEmpty()) {
            QVERIFY(m_dialogs.messages.empty());
        } else {
            QCOMPARE(m_dialogs.messages.size(), size_t(1));
            QCOMPARE(Text(m_dialogs.messages[0].text), message);
            QVERIFY(m_dialogs.messages[0].icon == parvel::Icon::Warning);
            QVERIFY(m_dialogs.messages[0].buttons == parvel::Buttons::Cancel);
        }
        if (refocus) QCOMPARE(QApplication::focusWidget(), edit);
        auto now = w->document().image().eeprom_cells;
        now[cell] = before[cell];
        QVERIFY(now == before);  // no other cell changes
        // Leaving the field neither checks again nor stores anything else.
        w->btn_goweb->setFocus();
        QCOMPARE(m_dialogs.messages.size(), size_t(message.isEmpty() ? 0 : 1));
        QCOMPARE(Cell(*w, cell), stored);
    }

    void savedFileCarriesTheChange() {
        auto w = Loaded(0x4400);
        Type(w->FrameRegister1->rows[0].edit, "3");
        QTest::keyClick(w->FrameRegister1->rows[0].edit, Qt::Key_Return);
        QCOMPARE(Cell(*w, 0x60), QString("03"));
        // Typed but not finished: the save button taking the focus finishes the edit.
        Type(w->FrameRegister1->rows[24].edit, "4");
        const std::string out = Path("saved.hex");
        m_dialogs.save_names.push_back(out);
        QTest::mouseClick(w->btn_save, Qt::LeftButton);
        QVERIFY(m_dialogs.messages.empty());
        parvel::test::Harness again;
        QVERIFY(again.session.LoadHexFile(out));
        QCOMPARE(Text(again.session.image().eeprom_cells[0x60]), QString("03"));
        QCOMPARE(Text(again.session.image().eeprom_cells[0xA9]), QString("04"));
        QCOMPARE(again.session.image().eeprom_cells[0x61], std::string("62"));
    }

    void unfinishedEditStaysOutOfTheNextFile() {
        auto w = Loaded(0x4400);
        QLineEdit* edit = w->FrameRegister1->rows[21].edit;  // CV150, cell 0xA6
        Type(edit, "3");
        QCOMPARE(QApplication::focusWidget(), edit);
        // Loading the next file while the edit still has the focus: the typed CV belongs to
        // the old file and must not appear in the new image, whose EEPROM records end before
        // cell 0xA6.
        parvel::test::FixtureImage f = parvel::test::Firmware(0x4400, P::Dcc);
        f.eeprom_last = 0x3F;
        const std::string path = Path("short.hex");
        parvel::test::WriteFile(path, parvel::test::BuildHex(f));
        m_dialogs.open_names.push_back(path);
        // The unfinished text counts as an unsaved change: the user is asked first.
        m_dialogs.answers = {parvel::Answer::Discard};
        w->btn_loadClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, std::string("Nicht gespeicherte Änderungen verwerfen?"));
        QVERIFY(w->document().image().eeprom_last < 0xA6);
        QCOMPARE(Cell(*w, 0xA6), QString("FF"));
    }

    void otherFirmwareShowsNoRows() {
        auto w = Loaded(0x4400);
        TFrameRegister* f = w->FrameRegister1;
        // A function decoder without CVs: the table has no rows, only its lines.
        m_dialogs.open_names.push_back(WriteFirmware(0x13D00));
        w->btn_loadClick();
        QVERIFY(f->isHidden());
        f->loading = true;
        f->ClearView();
        f->LoadFromImage();
        QCOMPARE(f->row_count, 0);
        QVERIFY(!f->loading);
        for (const auto& row : f->rows) {
            QVERIFY(row.caption->isHidden());
            QVERIFY(row.edit->isHidden());
        }
        for (QFrame* line : f->Line) QVERIFY(!line->isHidden());
        const auto before = w->document().image().eeprom_cells;
        f->CvValueChange(f->rows[0].edit);  // a row that is not in use stores nothing
        QVERIFY(w->document().image().eeprom_cells == before);
    }

    void changeHandlerDoesNothingWhileLoading() {
        auto w = Loaded(0x4400);
        TFrameRegister* f = w->FrameRegister1;
        f->loading = true;
        f->rows[0].edit->setText("5");
        f->rows[0].edit->setModified(true);
        f->CvValueChange(f->rows[0].edit);
        f->loading = false;
        QCOMPARE(Cell(*w, 0x60), QString("61"));
    }

    // Undo all after CV edits gives back the loaded file, redo all the edited one. Actions:
    // "<row>=<value>" typed into edt_cv<row> and finished with Return.
    void undoRoundTrip_data() {
        QTest::addColumn<QString>("actions");
        QTest::newRow("one value") << "0=5";
        QTest::newRow("several values") << "0=5;3=200;0=17;10=0";
        QTest::newRow("rejected value is no step") << "2=7;2=999;4=1";
    }

    void undoRoundTrip() {
        QFETCH(QString, actions);
        // Outputs 1..15 with function 1 at address 5, so that the grid can be saved.
        std::map<int, std::uint8_t> cells;
        for (int r = 1; r < 16; ++r) {
            const int c = parvel::DecoderDocument::BaseCell(r);
            cells[c] = 0x81;
            cells[c + 16] = 0x05;
            cells[c + 32] = 0x00;
        }
        auto w = Loaded(0x4400, cells);
        const std::string loaded = Path(QString("f%1.hex").arg(m_files));
        int typed = 0;
        for (const QString& action : actions.split(';')) {
            const QStringList parts = action.split('=');
            guitest::TypeText(guitest::Child<QLineEdit>(w->FrameRegister1, "edt_cv" + parts[0]),
                              parts[1], true);
            QCoreApplication::processEvents();
            if (parts[1] != "999") ++typed;
        }
        m_dialogs.messages.clear();
        int steps = 0;
        guitest::UndoRoundTrip(*w, m_dialogs, loaded, m_dir->path().toStdString(), steps);
        if (QTest::currentTestFailed()) return;
        QVERIFY(m_dialogs.messages.empty());
        QCOMPARE(steps, typed);
    }
};

QTEST_MAIN(FrameRegisterTest)
#include "FrameRegisterTest.moc"
