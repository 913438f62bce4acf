#pragma once

#include <QDialog>
#include <QFont>
#include <QString>
#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace parvel {
class Dialogs;
struct FirmwareImage;
}  // namespace parvel

// Font of the dump lists (here and in the series dialog): a monospace font with fixed pitch,
// so that the columns of a dump line stand under each other.
QFont DumpListFont();

// Lists the image as hex dumps (data EEPROM left, program memory right) and compares it with a
// second HEX file. The dump is taken at construction, so it shows unsaved edits too. Every
// question and file dialog goes through the main window's Dialogs.
class TfrmInfo : public QDialog {
    Q_OBJECT
public:
    // file1_name: the main window's file name panel, shown as "File 1" of a comparison.
    TfrmInfo(const parvel::FirmwareImage& image, parvel::Dialogs& dialogs,
             const QString& file1_name, QWidget* parent = nullptr);

    void btn_compareClick();

    // Where the compare dialog (`OpenDialog1`) starts: the loaded file's folder.
    std::string start_folder;

    QLabel* Label3;
    QLineEdit* edt_config;
    QLabel* lbl_ID;
    QLineEdit* edt_ID;
    QLabel* Label4;
    QPlainTextEdit* Memo1a;  // EEPROM dump, then EEPROM differences
    QLabel* Label2;
    QPlainTextEdit* Memo3a;  // program memory dump, then ROM, ID and configuration differences
    QPushButton* btn_compare;
    QPushButton* btn_close;
    QStatusBar* StatusBar1;
    QLabel* StatusPanel[2];

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Sizes the two captions of the top row from their text and places their fields after them.
    void FitTopRow();
    const parvel::FirmwareImage& m_image;
    parvel::Dialogs& m_dialogs;
    QString m_file1_name;
};
