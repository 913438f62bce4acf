// The series dialog driven without opening it modally: its fields, "Erzeugen", the files.
#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QtTest>

#include "tests/Harness.h"
#include "app/FormMain.h"
#include "tests/support/ScriptedDialogs.h"
#include "app/FrmSeries.h"
#include "app/WindowSettings.h"

using parvel::test::FixtureImage;

class SeriesDialogTest : public QObject {
    Q_OBJECT
private slots:
    void writesCopiesWithProgressAndSummary() {
        const std::string dir = parvel::test::TempDir();
        FixtureImage f = parvel::test::Firmware(0x8, FixtureImage::Protocol::Motorola);
        parvel::test::SetRow(f, 1, 0x03, 0x00, 0xC3);  // 1 green
        parvel::test::SetRow(f, 2, 0x02, 0x00, 0x03);  // 5 red
        parvel::test::WriteFile(dir + "/k.hex", parvel::test::BuildHex(f));

        parvel::ScriptedDialogs dialogs;
        parvel::StartOptions options;
        options.settings_path = dir + "/settings.ini";
        TFormMain window(options, &dialogs);
        window.LoadHexFile(dir + "/k.hex");
        QVERIFY(window.findChild<QAction*>("act_series"));

        TfrmSeries series(window.document(), dialogs, &window);
        auto* first = series.findChild<QSpinBox*>("edt_first");
        // The first free range of the folder that holds one decoder (addresses 1..5): 2-4 is
        // too short, 6-320 fits.
        QCOMPARE(first->value(), 6);
        QCOMPARE(series.findChild<QLineEdit*>("edt_folder")->text(), QString::fromStdString(dir));
        first->setValue(21);
        series.findChild<QSpinBox*>("edt_count")->setValue(3);
        QVERIFY(series.btn_createClick());
        QCOMPARE(series.findChild<QProgressBar*>("ProgressBar1")->value(), 3);
        QVERIFY(series.findChild<QPlainTextEdit*>("Memo1")->toPlainText().contains("k-0031.hex"));

        parvel::test::Harness back;
        QVERIFY(back.session.LoadHexFile(dir + "/k-0026.hex"));
        QCOMPARE(back.session.row(1).address_text, std::string("26"));
        QCOMPARE(back.session.row(2).address_text, std::string("30"));
        QCOMPARE(back.view.rows[2].colour, parvel::RowColour::Red);

        // beyond the limit: one message, nothing more written
        first->setValue(316);
        QVERIFY(!series.btn_createClick());
        QVERIFY(QString::fromStdString(dialogs.messages.back().text).contains("ist zu gross"));
        QVERIFY(!QFile::exists(QString::fromStdString(dir + "/k-0316.hex")));
    }

    // A folder whose name holds " (": the dialog works in it, proposes a range that holds all
    // copies, asks only for the copy that would double-use an address there, and can write
    // into a new folder picked with its button.
    void checksEveryCopyAgainstTheFolder() {
        const std::string dir = parvel::test::TempDir() + "/Anlage (neu)";
        QVERIFY(QDir().mkpath(QString::fromStdString(dir)));
        FixtureImage k = parvel::test::Firmware(0x4, FixtureImage::Protocol::Dcc);
        parvel::test::SetDccAccessory(k, 1, 1, false);
        parvel::test::SetDccAccessory(k, 2, 4, true);
        parvel::test::WriteFile(dir + "/k.hex", parvel::test::BuildHex(k));
        FixtureImage b = parvel::test::Firmware(0x4, FixtureImage::Protocol::Dcc);
        parvel::test::SetDccAccessory(b, 1, 14, false);
        parvel::test::WriteFile(dir + "/b.hex", parvel::test::BuildHex(b));

        parvel::ScriptedDialogs dialogs;
        parvel::StartOptions options;
        options.settings_path = dir + "/settings.ini";
        TFormMain window(options, &dialogs);
        window.LoadHexFile(dir + "/k.hex");
        TfrmSeries series(window.document(), dialogs, &window);
        QCOMPARE(series.edt_folder->text(), QString::fromStdString(dir));
        // Used: 1, 4, 14. Two copies of 4 addresses need 8 free ones: 5..13; three need 12: 15..
        QCOMPARE(series.edt_first->value(), 5);
        series.edt_count->setValue(3);
        QCOMPARE(series.edt_first->value(), 15);

        // Chosen by hand: copy 3 (14..17) meets b.hex on 14 red; only it is asked for.
        series.edt_first->setValue(6);
        series.edt_count->setValue(3);
        QCOMPARE(series.edt_first->value(), 6);
        dialogs.answers = {parvel::Answer::No};
        QVERIFY(series.btn_createClick());
        QCOMPARE(dialogs.messages.size(), size_t(1));
        QVERIFY(dialogs.messages[0].buttons == parvel::Buttons::YesNoCancel);
        QVERIFY(QString::fromStdString(dialogs.messages[0].text).contains("Kopie 3"));
        QVERIFY(QFile::exists(QString::fromStdString(dir + "/k-0006.hex")));
        QVERIFY(QFile::exists(QString::fromStdString(dir + "/k-0010.hex")));
        QVERIFY(!QFile::exists(QString::fromStdString(dir + "/k-0014.hex")));

        // A folder that does not exist yet is created after asking.
        dialogs.messages.clear();
        dialogs.folder_names = {dir + "/neu/Weichen"};
        series.btn_folderClick();
        QCOMPARE(series.edt_folder->text(), QString::fromStdString(dir + "/neu/Weichen"));
        dialogs.answers = {parvel::Answer::Yes};
        QVERIFY(series.btn_createClick());
        QVERIFY(QString::fromStdString(dialogs.messages.at(0).text).contains("gibt es nicht"));
        QVERIFY(QFile::exists(QString::fromStdString(dir + "/neu/Weichen/k-0006.hex")));
    }

    void nothingLoadedSaysSo() {
        parvel::ScriptedDialogs dialogs;
        parvel::StartOptions options;
        options.settings_path = parvel::test::TempDir() + "/settings.ini";
        TFormMain window(options, &dialogs);
        window.findChild<QAction*>("act_series")->trigger();
        QCOMPARE(dialogs.messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(dialogs.messages[0].text).contains("erst eine HEX-Datei laden"));
        QVERIFY(!window.findChild<TfrmSeries*>());
    }
};

QTEST_MAIN(SeriesDialogTest)
#include "SeriesDialogTest.moc"
