// The address plan dialog on a folder made here: content, sorting, filter, loading a file by
// double-click or Enter, exports through the dialog seam, reading again after changes, its size
// on the screen and in the settings file. The rules themselves are tested on the core.
#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

#include "app/FormMain.h"
#include "app/FrmRoster.h"
#include "tests/Harness.h"
#include "tests/support/ScriptedDialogs.h"
#include "app/RosterTableModel.h"
#include "app/WindowSettings.h"

using parvel::test::FixtureImage;
using P = FixtureImage::Protocol;

namespace {

// A DCC accessory decoder image with one output per address (red), rows 1, 2, ...
void WriteDecoder(const std::string& path, std::initializer_list<int> addresses) {
    FixtureImage f = parvel::test::Firmware(0x4, P::Dcc);
    int row = 1;
    for (int address : addresses) parvel::test::SetDccAccessory(f, row++, address, false);
    parvel::test::WriteFile(path, parvel::test::BuildHex(f));
}

// The file name (column "Datei") and the row number of each shown row.
QStringList Rows(const QAbstractItemModel* shown) {
    QStringList rows;
    for (int r = 0; r < shown->rowCount(); ++r) {
        rows << shown->index(r, 0).data().toString() + ":" +
                    shown->index(r, parvel::kRosterRowColumn).data().toString();
    }
    return rows;
}

QString Selected(const QTableView* table) {
    const QModelIndexList rows = table->selectionModel()->selectedRows();
    if (rows.size() != 1) return QString::number(rows.size()) + " rows selected";
    return rows[0].data().toString() + ":" +
           rows[0].siblingAtColumn(parvel::kRosterRowColumn).data().toString();
}

}  // namespace

class RosterDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void showsFiltersSortsLoadsAndExports() {
        const std::string dir = parvel::test::TempDir();
        FixtureImage a = parvel::test::Firmware(0x4, P::Dcc);
        parvel::test::SetDccAccessory(a, 1, 1, false);
        parvel::test::SetDccAccessory(a, 2, 4, true);
        parvel::test::WriteFile(dir + "/a.hex", parvel::test::BuildHex(a));
        FixtureImage b = parvel::test::Firmware(0x4, P::Dcc);
        parvel::test::SetDccAccessory(b, 1, 1, false);
        parvel::test::WriteFile(dir + "/b.hex", parvel::test::BuildHex(b));
        parvel::test::WriteFile(dir + "/bad.hex", "kaputt\r\n");

        parvel::ScriptedDialogs dialogs;
        parvel::StartOptions options;
        options.settings_path = dir + "/settings.ini";
        TFormMain window(options, &dialogs);
        window.LoadHexFile(dir + "/a.hex");
        auto* action = window.findChild<QAction*>("act_roster");
        QVERIFY(action);
        QCOMPARE(action->shortcut(), QKeySequence("Ctrl+U"));
        action->trigger();
        auto* roster = window.findChild<TfrmRoster*>("frmRoster");
        QVERIFY(roster);
        QTRY_VERIFY(!roster->IsReading() && roster->lst_skipped->count() == 1);

        QCOMPARE(roster->edt_folder->text(), QString::fromStdString(dir));
        auto* table = roster->findChild<QTableView*>("tbl_outputs");
        QAbstractItemModel* shown = table->model();
        QCOMPARE(shown->rowCount(), 3);
        auto cell = [&](int row, int column) {
            return shown->index(row, column).data().toString();
        };
        QCOMPARE(cell(0, 0), QString("a.hex"));  // inside the folder shown above the table
        QCOMPARE(cell(1, 0), QString("b.hex"));
        QCOMPARE(cell(2, 8), QString("4"));
        QCOMPARE(cell(2, 9), QString("grün"));
        QCOMPARE(shown->index(0, 3).data(Qt::BackgroundRole).value<QColor>(),
                 RosterTableModel::ConflictColour());
        QVERIFY(!shown->index(2, 3).data(Qt::BackgroundRole).isValid());
        QCOMPARE(roster->lst_conflicts->count(), 1);
        QVERIFY(roster->lst_conflicts->item(0)->text().contains("DCC-Zubehör 1 rot"));
        QVERIFY(roster->lst_skipped->item(0)->text().startsWith("bad.hex: E2"));

        table->sortByColumn(parvel::kRosterAddressColumn, Qt::DescendingOrder);
        QCOMPARE(cell(0, 8), QString("4"));
        table->sortByColumn(0, Qt::DescendingOrder);
        QCOMPARE(cell(0, 0), QString("b.hex"));

        roster->edt_filter->setText("1");  // a number: the address, not every text holding a 1
        QCOMPARE(shown->rowCount(), 2);
        roster->edt_filter->setText("GRÜN");
        QCOMPARE(shown->rowCount(), 1);
        roster->edt_filter->setText("b.hex");
        QCOMPARE(shown->rowCount(), 1);

        roster->tbl_outputsDblClick(shown->index(0, 2));
        QVERIFY(window.document().status_text(3).rfind(dir + "/b.hex", 0) == 0);
        roster->edt_filter->clear();

        dialogs.save_names.push_back(dir + "/plan.csv");
        roster->btn_csvClick();
        const std::string csv = parvel::test::Slurp(dir + "/plan.csv");
        QVERIFY(csv.rfind("\xEF\xBB\xBF"
                          "Datei;Firmware;",
                          0) == 0);
        QCOMPARE(std::count(csv.begin(), csv.end(), '\n'), 4L);
        dialogs.save_names.push_back(dir + "/plan.html");
        roster->btn_htmlClick();
        const std::string html = parvel::test::Slurp(dir + "/plan.html");
        QVERIFY(html.find("<li>DCC-Zubehör 1 rot: ") != std::string::npos);
        QVERIFY(html.find("<tr class=\"conflict\"><td>b.hex</td>") != std::string::npos);
        QCOMPARE(dialogs.save_proposals.back(), dir + "/anlagen-uebersicht.html");

        // Another folder through the seam; closing while it reads must not wait for the end.
        dialogs.folder_names.push_back(parvel::test::TempDir());
        roster->btn_folderClick();
        roster->close();
        QVERIFY(!roster->IsReading());
    }

    // Files written on disk, by the program (NoteFileWritten) or "Neu einlesen": the table is
    // read again, once for a burst of writes, with its sort, filter and selected row kept.
    void rereadsAfterChangesKeepingSortFilterAndSelection() {
        const std::string dir = parvel::test::TempDir();
        WriteDecoder(dir + "/a.hex", {1, 2});
        WriteDecoder(dir + "/b.hex", {1});
        parvel::ScriptedDialogs dialogs;
        TfrmRoster roster(QString::fromStdString(dir), dialogs);
        QSignalSpy readings(&roster, &TfrmRoster::readingFinished);
        roster.show();
        QTRY_COMPARE(readings.count(), 1);
        QTableView* table = roster.tbl_outputs;
        QAbstractItemModel* shown = table->model();
        table->sortByColumn(0, Qt::DescendingOrder);
        roster.edt_filter->setText("1");
        QCOMPARE(Rows(shown), QStringList({"b.hex:1", "a.hex:1"}));
        table->selectRow(1);
        QCOMPARE(Selected(table), QString("a.hex:1"));
        QCOMPARE(roster.btn_reread->text(), QString("Neu einlesen"));
        QCOMPARE(roster.btn_reread->shortcut(), QKeySequence(Qt::Key_F5));
        QVERIFY(roster.btn_reread->toolTip().contains("F5"));

        // Written beside them by another program: the watcher reads the folder once.
        WriteDecoder(dir + "/c.hex", {1});
        WriteDecoder(dir + "/d.hex", {1});
        WriteDecoder(dir + "/e.hex", {7});
        QTRY_COMPARE(Rows(shown), QStringList({"d.hex:1", "c.hex:1", "b.hex:1", "a.hex:1"}));
        QTest::qWait(700);  // longer than the pause that gathers the writes
        QCOMPARE(readings.count(), 2);
        QCOMPARE(roster.edt_filter->text(), QString("1"));
        QCOMPARE(Selected(table), QString("a.hex:1"));
        QVERIFY(roster.lbl_summary->text().startsWith("4 von 6 "));

        // A file written elsewhere does not make it read; one written in the folder does.
        const std::string other = parvel::test::TempDir();
        roster.NoteFileWritten(QString::fromStdString(other + "/x.hex"));
        QTest::qWait(700);
        QCOMPARE(readings.count(), 2);
        roster.NoteFileWritten(QString::fromStdString(dir + "/a.hex"));
        QTRY_COMPARE(readings.count(), 3);
        QCOMPARE(Selected(table), QString("a.hex:1"));

        QTest::mouseClick(roster.btn_reread, Qt::LeftButton);
        QTRY_COMPARE(readings.count(), 4);
        QCOMPARE(Rows(shown), QStringList({"d.hex:1", "c.hex:1", "b.hex:1", "a.hex:1"}));
        QCOMPARE(Selected(table), QString("a.hex:1"));
    }

    // Enter on a row loads its file as a double-click does; the main window comes to the front
    // and the dialog names the file. Ctrl+U on the same folder reads it again.
    void enterLoadsTheRowAndRaisesTheMainWindow() {
        const std::string dir = parvel::test::TempDir();
        WriteDecoder(dir + "/a.hex", {1});
        WriteDecoder(dir + "/b.hex", {2});
        parvel::ScriptedDialogs dialogs;
        parvel::StartOptions options;
        options.settings_path = dir + "/settings.ini";
        TFormMain window(options, &dialogs);
        window.LoadHexFile(dir + "/a.hex");
        window.show();
        window.findChild<QAction*>("act_roster")->trigger();
        auto* roster = window.findChild<TfrmRoster*>("frmRoster");
        QSignalSpy readings(roster, &TfrmRoster::readingFinished);
        QTRY_COMPARE(readings.count(), 1);
        QTRY_COMPARE(QApplication::activeWindow(), roster);

        roster->tbl_outputs->setFocus();
        roster->tbl_outputs->selectRow(1);
        QTest::keyClick(roster->tbl_outputs, Qt::Key_Return);
        QCOMPARE(window.document().file_path(), dir + "/b.hex");
        QCOMPARE(roster->lbl_loaded->text(), QString("Geladen: b.hex"));
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QVERIFY(roster->isVisible());

        WriteDecoder(dir + "/c.hex", {3});
        window.findChild<QAction*>("act_roster")->trigger();
        QTRY_COMPARE(roster->tbl_outputs->model()->rowCount(), 3);
    }

    // The dialog takes the size of its content within the screen; its size and column widths
    // go to the settings file when it closes and come back, fitted to the screen, next time.
    void sizesToContentWithinScreenAndKeepsItsLayout() {
        // On a 1024 x 768 screen with a task bar: a dialog that wants more stays on it.
        QCOMPARE(FitIntoScreen({1400, 900}, {16, 40}, {600, 400}, {0, 0, 1024, 728}),
                 QRect(8, 32, 1008, 688));
        QCOMPARE(FitIntoScreen({600, 400}, {16, 40}, {512, 384}, {0, 0, 1024, 768}),
                 QRect(213, 197, 600, 400));
        QCOMPARE(FitIntoScreen({600, 400}, {16, 40}, {1000, 700}, {0, 0, 1024, 768}),
                 QRect(416, 360, 600, 400));

        const std::string dir = parvel::test::TempDir();
        WriteDecoder(dir + "/a.hex", {1, 2, 3});
        WriteDecoder(dir + "/b.hex", {4, 5});
        parvel::ScriptedDialogs dialogs;
        parvel::StartOptions options;
        options.settings_path = dir + "/settings.ini";
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        {
            TFormMain window(options, &dialogs);
            window.LoadHexFile(dir + "/a.hex");
            window.findChild<QAction*>("act_roster")->trigger();
            auto* roster = window.findChild<TfrmRoster*>("frmRoster");
            QSignalSpy readings(roster, &TfrmRoster::readingFinished);
            QTRY_COMPARE(readings.count(), 1);
            QVERIFY(available.contains(roster->frameGeometry()));
            QVERIFY(roster->size() != QSize(1120, 620));
            // Every column in view (the table is no wider than its place), or the dialog as wide
            // as the screen allows (the offscreen screen is 800 wide; the table wants more).
            QTRY_VERIFY(roster->tbl_outputs->horizontalHeader()->length() <=
                            roster->tbl_outputs->viewport()->width() ||
                        roster->frameGeometry().width() == available.width());
            QTRY_VERIFY(roster->tbl_outputs->rowViewportPosition(4) +
                            roster->tbl_outputs->rowHeight(4) <=
                        roster->tbl_outputs->viewport()->height());

            roster->resize(560, 480);
            roster->tbl_outputs->setColumnWidth(0, 151);
            roster->close();
            QVERIFY(window.SaveWindowSettings());
        }
        const parvel::WindowSettings kept = parvel::LoadWindowSettingsFile(dir + "/settings.ini");
        QCOMPARE(kept.roster_width, 560);
        QCOMPARE(kept.roster_height, 480);
        QCOMPARE(int(kept.roster_columns.size()), int(parvel::RosterColumns().size()));
        QCOMPARE(kept.roster_columns[0], 151);
        {
            TFormMain window(options, &dialogs);
            window.LoadHexFile(dir + "/a.hex");
            window.findChild<QAction*>("act_roster")->trigger();
            auto* roster = window.findChild<TfrmRoster*>("frmRoster");
            QSignalSpy readings(roster, &TfrmRoster::readingFinished);
            QTRY_COMPARE(readings.count(), 1);
            QCOMPARE(roster->size(), QSize(560, 480));
            QCOMPARE(roster->tbl_outputs->columnWidth(0), 151);
            roster->resize(5000, 4000);  // as if kept from a larger screen
            roster->close();
            QVERIFY(window.SaveWindowSettings());
        }
        {
            TFormMain window(options, &dialogs);
            window.LoadHexFile(dir + "/a.hex");
            window.findChild<QAction*>("act_roster")->trigger();
            auto* roster = window.findChild<TfrmRoster*>("frmRoster");
            QVERIFY(available.contains(roster->frameGeometry()));
        }
    }

    // Texts sort by the locale's collation without regard to case, numbers in names by value;
    // a filter's summary counts what it shows of all outputs.
    void sortsNamesLikeAPersonAndCountsTheFilteredRows() {
        const std::string dir = parvel::test::TempDir();
        WriteDecoder(dir + "/k10.hex", {1});
        WriteDecoder(dir + "/B.hex", {2});
        WriteDecoder(dir + "/k2.hex", {1});
        WriteDecoder(dir + "/a.hex", {1});
        WriteDecoder(dir + "/c.hex", {3});
        parvel::ScriptedDialogs dialogs;
        TfrmRoster roster(QString::fromStdString(dir), dialogs);
        QSignalSpy readings(&roster, &TfrmRoster::readingFinished);
        roster.show();
        QTRY_COMPARE(readings.count(), 1);
        roster.tbl_outputs->sortByColumn(0, Qt::AscendingOrder);
        QCOMPARE(Rows(roster.tbl_outputs->model()),
                 QStringList({"a.hex:1", "B.hex:1", "c.hex:1", "k2.hex:1", "k10.hex:1"}));
        const QString all = roster.lbl_summary->text();
        QVERIFY(all.startsWith("5 HEX-Dateien, 5 belegte Ausgänge"));
        roster.edt_filter->setText("1");
        QVERIFY(roster.lbl_summary->text().startsWith("3 von 5 belegten Ausgängen"));
        roster.edt_filter->clear();
        QCOMPARE(roster.lbl_summary->text(), all);
    }
};

QTEST_MAIN(RosterDialogTest)
#include "RosterDialogTest.moc"
