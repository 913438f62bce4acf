#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "info/FrmInfo.h"
#include "tests/gui/GuiFixtures.h"
#include "image/HexReader.h"
#include "image/HexRecord.h"
#include "tests/support/ScriptedDialogs.h"
#include "image/TextFile.h"

namespace fx = parvel::guitest;

class InfoDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    parvel::ScriptedDialogs m_dialogs;
    parvel::FirmwareImage m_image;
    std::string m_path;

    static QStringList Lines(const QPlainTextEdit* memo) { return memo->toPlainText().split('\n'); }

private slots:
    void init() {
        m_dialogs = parvel::ScriptedDialogs();
        m_path = fx::WriteHex(m_dir.filePath("k.hex").toStdString(), fx::KlemmoMotorola());
        m_image = parvel::FirmwareImage();
        m_image.Reset();
        for (const std::string& line : parvel::ReadTextLines(m_path, 512).lines) {
            QVERIFY(!parvel::ReadHexRecord(m_image, parvel::UpperCaseLine(line)));
        }
    }

    void showsImageAtConstruction() {
        TfrmInfo info(m_image, m_dialogs, "k.hex");
        QCOMPARE(info.windowTitle(), QString("HEX File Information"));
        QCOMPARE(info.size(), QSize(750, 700));
        QCOMPARE(info.edt_config->text(), QString("CC01"));
        QCOMPARE(info.edt_ID->text(), QString("3358"));
        QVERIFY(!info.edt_config->isEnabled());
        QVERIFY(!info.edt_ID->isEnabled());
        QCOMPARE(info.Label3->text(), QString("Config Value:"));
        QCOMPARE(info.lbl_ID->text(), QString("ID-Value:"));
        QCOMPARE(info.btn_compare->text(), QString("vergleiche mit 2. HEX-File"));
        QCOMPARE(info.btn_close->text(), QString("Fenster schliessen"));
        QVERIFY(info.btn_close->font().bold());
        // The dump's columns stand under each other: every character of a line is drawn with
        // the same advance in the list's font, whichever font the machine gives for it.
        for (QPlainTextEdit* list : {info.Memo1a, info.Memo3a}) {
            const QFontMetrics metrics(list->font());
            const QString line = list->toPlainText().section('\n', 0, 0) + "0123456789ABCDEFx";
            for (const QChar c : line) {
                QVERIFY2(metrics.horizontalAdvance(c) == metrics.horizontalAdvance(line[0]),
                         qPrintable(QString("'%1' in %2").arg(c).arg(QFontInfo(list->font()).family())));
            }
        }
        QCOMPARE(info.Memo1a->toolTip(),
                 QString("Anzeige der EEprom Daten\nFür den Normal-Bediener uninteressant!"));

        // 128 EEPROM cells: 8 lines; the second row's cells 16..31 hold codes of rows 1 and 2.
        const QStringList ee = Lines(info.Memo1a);
        QCOMPARE(ee.size(), 8);
        QCOMPARE(ee[0].left(6), QString("0x000:"));
        QCOMPARE(ee[7], QString("0x070:FFFFFFFFFFFFFFFF FFFFFFFFFFFFFFFF"));
        // 128 program bytes: 8 lines, none of them a block separator.
        const QStringList rom = Lines(info.Memo3a);
        QCOMPARE(rom.size(), 8);
        QCOMPARE(rom[0], QString("0x0000:083000300030FF3F FF3FFF3FFF3FFF3F"));
        QCOMPARE(rom[1].left(11), QString("0x0010:8B1C"));
    }

    // With a large desktop font the captions keep their whole text, each field stands right of
    // its caption, and a dump row stays one line.
    void largeFontCutsNoCaption() {
        const QFont before = QApplication::font();
        QFont large = before;
        large.setPointSize(13);
        QApplication::setFont(large);
        TfrmInfo info(m_image, m_dialogs, "k.hex");
        QApplication::setFont(before);
        for (auto [label, field] : {std::pair{info.Label3, info.edt_config}, std::pair{info.lbl_ID, info.edt_ID}}) {
            QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
            QVERIFY(label->geometry().right() < field->x());
        }
        QVERIFY(info.edt_config->geometry().right() < info.lbl_ID->x());
        for (QPlainTextEdit* list : {info.Memo1a, info.Memo3a}) QCOMPARE(list->lineWrapMode(), QPlainTextEdit::NoWrap);
    }

    void compareWithItselfFindsNothing() {
        TfrmInfo info(m_image, m_dialogs, "k.hex (12F629/16F630)");
        m_dialogs.open_names.push_back(m_path);
        QTest::mouseClick(info.btn_compare, Qt::LeftButton);
        QCOMPARE(Lines(info.Memo1a),
                 QStringList({"", " ", "   0 gefundene Unterschiede im EEprom"}));
        QCOMPARE(Lines(info.Memo3a), QStringList({" ", "   0 gefundene Unterschiede im ROM",
                                                  "   0 gefundene Unterschiede in ID",
                                                  "   0 gefundene Unterschiede in Config"}));
        QCOMPARE(info.StatusPanel[0]->text(), QString("File 1 = k.hex (12F629/16F630)"));
        QCOMPARE(info.StatusPanel[1]->text(), "File 2 = " + QString::fromStdString(m_path));
        QVERIFY(m_dialogs.messages.empty());
    }

    void compareListsDifferences() {
        fx::Firmware other = fx::KlemmoMotorola();
        other.id = "3359";
        other.rows.push_back({10, 0x12, 0xFF, 0xFF});
        const std::string second = fx::WriteHex(m_dir.filePath("o.hex").toStdString(), other);
        TfrmInfo info(m_image, m_dialogs, "k.hex");
        m_dialogs.open_names.push_back(second);
        info.btn_compareClick();
        const QStringList ee = Lines(info.Memo1a);
        QVERIFY(ee.contains("EE0x0a: File1:0xFF - File2:0x12"));
        QCOMPARE(ee.last(), QString("   1 gefundene Unterschiede im EEprom"));
        const QStringList rom = Lines(info.Memo3a);
        QVERIFY(rom.contains("ID: File1:0x3358 - File2:0x3359"));
        QVERIFY(rom.contains("   1 gefundene Unterschiede in ID"));
    }

    void cancelledOrUnreadableFileLeavesListsEmpty() {
        TfrmInfo info(m_image, m_dialogs, "k.hex");
        m_dialogs.open_names.push_back(std::nullopt);
        info.btn_compareClick();
        QVERIFY(info.Memo1a->toPlainText().isEmpty());
        QVERIFY(info.Memo3a->toPlainText().isEmpty());
        QVERIFY(m_dialogs.messages.empty());

        const std::string missing = m_dir.filePath("fehlt.hex").toStdString();
        m_dialogs.open_names.push_back(missing);
        info.btn_compareClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QCOMPARE(m_dialogs.messages[0].text, "Cannot open file " + missing);
        QVERIFY(info.Memo1a->toPlainText().isEmpty());
        QVERIFY(info.StatusPanel[1]->text().isEmpty());
    }

    void rejectedLineStopsWithItsMessage() {
        const std::string bad = m_dir.filePath("bad.hex").toStdString();
        QVERIFY(parvel::AtomicWriteFile(bad, ":020000040000FA\r\nkaputt\r\n").ok);
        TfrmInfo info(m_image, m_dialogs, "k.hex");
        m_dialogs.open_names.push_back(bad);
        info.btn_compareClick();
        QCOMPARE(m_dialogs.messages.size(), size_t(1));
        QVERIFY(QString::fromStdString(m_dialogs.messages[0].text).startsWith("E30"));
        QVERIFY(!info.Memo3a->toPlainText().contains("gefundene"));
    }
};

QTEST_MAIN(InfoDialogTest)
#include "InfoDialogTest.moc"
