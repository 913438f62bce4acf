#include "info/FrmInfo.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <algorithm>
#include <tuple>

#include "document/DecoderDocument.h"
#include "info/DialogPlacement.h"
#include "image/HexCompare.h"

namespace {

constexpr int kDialogWidth = 750;
constexpr int kDialogHeight = 700;

QString Joined(const std::vector<std::string>& lines) {
    QStringList list;
    list.reserve(static_cast<int>(lines.size()));
    for (const std::string& line : lines) list << QString::fromStdString(line);
    return list.join('\n');
}

QPlainTextEdit* MakeList(QWidget* parent, const char* name, const QString& hint) {
    auto* memo = new QPlainTextEdit(parent);
    memo->setObjectName(name);
    memo->setReadOnly(true);
    memo->setFont(DumpListFont());
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setToolTip(hint);
    return memo;
}

}  // namespace

QFont DumpListFont() {
    // The platform's "fixed" font is whatever fontconfig calls monospace, which on some machines
    // is a font Qt does not take for fixed-pitch. DejaVu Sans Mono comes with the program's
    // packages; the style hint and fixed pitch pick another monospace font where it is missing.
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void TfrmInfo::FitTopRow() {
    // The captions take the room their text needs in the desktop's font (a larger font would
    // cut "Config Value:"); each field follows its caption, never left of its usual place.
    int left = 10;
    for (auto [label, edit, edit_left] :
         {std::tuple{Label3, edt_config, 100}, std::tuple{lbl_ID, edt_ID, 270}}) {
        label->setGeometry(left, label->y(), label->sizeHint().width(), std::max(20, label->sizeHint().height()));
        const int field_left = std::max(edit_left, label->geometry().right() + 6);
        edit->setGeometry(field_left, edit->y(), edit->width(), edit->height());
        left = std::max(200, edit->geometry().right() + 30);
    }
}

TfrmInfo::TfrmInfo(const parvel::FirmwareImage& image, parvel::Dialogs& dialogs,
                   const QString& file1_name, QWidget* parent)
    : QDialog(parent), m_image(image), m_dialogs(dialogs), m_file1_name(file1_name) {
    setObjectName("frmInfo");
    setWindowTitle("HEX File Information");
    setModal(true);
    setFixedSize(kDialogWidth, kDialogHeight);

    Label3 = new QLabel("Config Value:", this);
    Label3->setObjectName("Label3");
    Label3->setGeometry(10, 12, 85, 20);
    edt_config = new QLineEdit(this);
    edt_config->setObjectName("edt_config");
    edt_config->setGeometry(100, 10, 70, 24);
    edt_config->setEnabled(false);

    lbl_ID = new QLabel("ID-Value:", this);
    lbl_ID->setObjectName("lbl_ID");
    lbl_ID->setGeometry(200, 12, 65, 20);
    edt_ID = new QLineEdit(this);
    edt_ID->setObjectName("edt_ID");
    edt_ID->setGeometry(270, 10, 90, 24);
    edt_ID->setEnabled(false);

    Label4 = new QLabel("EEprom", this);
    Label4->setObjectName("Label4");
    Label4->setGeometry(10, 44, 100, 18);
    Memo1a = MakeList(this, "Memo1a",
                      "Anzeige der EEprom Daten\nFür den Normal-Bediener uninteressant!");
    Memo1a->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1a->setGeometry(10, 64, 355, 560);

    Label2 = new QLabel("ROM", this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(375, 44, 100, 18);
    Memo3a =
        MakeList(this, "Memo3a", "Anzeige der Register\nFür den Normal-Bediener uninteressant!");
    // A dump row is one address with its bytes: it scrolls rather than breaking in two.
    Memo3a->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo3a->setGeometry(375, 64, 365, 560);
    FitTopRow();

    btn_compare = new QPushButton("vergleiche mit 2. HEX-File", this);
    btn_compare->setObjectName("btn_compare");
    btn_compare->setToolTip("das geladenen HEX wird mit einer 2. Datei verglichen");
    btn_compare->setGeometry(10, 636, 220, 28);
    btn_compare->setAutoDefault(false);
    connect(btn_compare, &QPushButton::clicked, this, &TfrmInfo::btn_compareClick);

    btn_close = new QPushButton("Fenster schliessen", this);
    btn_close->setObjectName("btn_close");
    QFont bold = btn_close->font();
    bold.setBold(true);
    btn_close->setFont(bold);
    btn_close->setGeometry(kDialogWidth - 10 - 180, 636, 180, 28);
    btn_close->setAutoDefault(false);
    connect(btn_close, &QPushButton::clicked, this, &QDialog::accept);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    const int bar_height = StatusBar1->sizeHint().height();
    StatusBar1->setGeometry(0, kDialogHeight - bar_height, kDialogWidth, bar_height);
    const int widths[2] = {400, 50};
    for (int i = 0; i < 2; ++i) {
        StatusPanel[i] = new QLabel(StatusBar1);
        StatusPanel[i]->setObjectName(QString("StatusPanel%1").arg(i));
        StatusPanel[i]->setMinimumWidth(widths[i]);
        if (i == 0) StatusPanel[i]->setMaximumWidth(widths[i]);
        // The last panel runs to the end of the bar so that the second path stays readable.
        StatusBar1->addWidget(StatusPanel[i], i == 1 ? 1 : 0);
    }

    // Both hold the file's characters at their place, which need not be text.
    edt_config->setText(QString::fromStdString(parvel::ReadableText(image.config_text)));
    edt_config->setPlaceholderText(image.config_text.empty() ? "kein Config-Wert" : "");
    edt_ID->setText(QString::fromStdString(parvel::ReadableText(image.id_text)));
    Memo1a->setPlainText(Joined(parvel::EepromDump(image)));
    Memo3a->setPlainText(Joined(parvel::RomDump(image)));
}

void TfrmInfo::showEvent(QShowEvent* event) {
    // Centred on the main window rather than wherever the window system puts a new dialog.
    if (QWidget* owner = parentWidget()) {
        const QRect frame = owner->window()->frameGeometry();
        move(frame.center() - QPoint(width() / 2, height() / 2));
    }
    // Centred over a window near the screen's edge it would reach beyond the screen.
    parvel::KeepInsideScreen(this);
    QDialog::showEvent(event);
}

void TfrmInfo::btn_compareClick() {
    Memo1a->clear();
    Memo3a->clear();
    const auto path = m_dialogs.OpenFileName(parvel::kHexFileFilter, {"OpenDialog1", start_folder});
    if (!path) return;

    const parvel::CompareResult result =
        parvel::CompareWithFile(m_image, m_file1_name.toStdString(), *path);
    if (!result.status_file1.empty()) {
        StatusPanel[0]->setText(QString::fromStdString(result.status_file1));
        StatusPanel[1]->setText(QString::fromStdString(result.status_file2));
        // A long path does not fit the 400-pixel panel; the whole names show on hover.
        for (QLabel* panel : StatusPanel) panel->setToolTip(panel->text());
    }
    Memo1a->setPlainText(Joined(result.eeprom_lines));
    Memo3a->setPlainText(Joined(result.rom_lines));
    if (result.message) m_dialogs.ShowMessage(*result.message);
}
