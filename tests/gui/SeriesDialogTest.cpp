// The series dialog driven without opening it modally: its fields, "Erzeugen", the files.
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
};

QTEST_MAIN(SeriesDialogTest)
#include "SeriesDialogTest.moc"
