// The address plan dialog on a folder made here: content, sorting, filter, loading a file by
// double-click, exports through the dialog seam. The rules themselves are tested on the core.
#include <QAction>
#include <QLineEdit>
#include <QListWidget>
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
};

QTEST_MAIN(RosterDialogTest)
#include "RosterDialogTest.moc"
