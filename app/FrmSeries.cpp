#include "app/FrmSeries.h"

#include "document/DecoderFile.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "document/DecoderDocument.h"
#include "info/DialogPlacement.h"
#include "info/FrmInfo.h"
#include "workflows/Roster.h"
#include "workflows/Series.h"

TfrmSeries::TfrmSeries(parvel::DecoderDocument& document, parvel::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_document(document), m_dialogs(dialogs) {
    setObjectName("frmSeries");
    setWindowTitle("Reihe erzeugen");
    resize(560, 420);
    parvel::KeepInsideScreenWhenShown(this);

    edt_first = new QSpinBox(this);
    edt_first->setObjectName("edt_first");
    edt_first->setRange(1, 16128);
    edt_first->setToolTip("erste Adresse der ersten Kopie");
    edt_count = new QSpinBox(this);
    edt_count->setObjectName("edt_count");
    edt_count->setRange(1, 999);
    edt_count->setValue(2);
    edt_count->setToolTip("Anzahl der Kopien (eine je Dekoder)");
    edt_step = new QSpinBox(this);
    edt_step->setObjectName("edt_step");
    edt_step->setRange(0, 16128);
    edt_step->setSpecialValueText("automatisch");
    edt_step->setToolTip("Abstand der ersten Adressen zweier Kopien;\n"
                         "automatisch: so viele Adressen, wie ein Dekoder belegt");
    edt_folder = new QLineEdit(this);
    edt_folder->setObjectName("edt_folder");
    edt_folder->setToolTip("Ordner für die Kopien");
    const QString loaded = QString::fromStdString(document.status_text(3));
    edt_folder->setText(QFileInfo(loaded.section(" (", 0, 0)).absolutePath());

    int lowest = 0;
    for (int r = 1; r < parvel::kGridRows; ++r) {
        if (document.row(r).exists() && document.row(r).address > 0 &&
            (lowest == 0 || document.row(r).address < lowest)) {
            lowest = document.row(r).address;
        }
    }
    edt_first->setValue(lowest > 0 ? lowest : 1);
    ProposeFreeRange(QFileInfo(loaded.section(" (", 0, 0)).absolutePath());

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setValue(0);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setReadOnly(true);
    Memo1->setFont(DumpListFont());
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);

    btn_create = new QPushButton("Erzeugen", this);
    btn_create->setObjectName("btn_create");
    btn_close = new QPushButton("Fenster schliessen", this);
    btn_close->setObjectName("btn_close");
    connect(btn_create, &QPushButton::clicked, this, [this] { btn_createClick(); });
    connect(btn_close, &QPushButton::clicked, this, &QDialog::accept);

    auto* form = new QFormLayout;
    form->addRow("Erste Adresse:", edt_first);
    form->addRow("Anzahl Kopien:", edt_count);
    form->addRow("Schrittweite:", edt_step);
    form->addRow("Ordner:", edt_folder);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_create);
    buttons->addStretch();
    buttons->addWidget(btn_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Memo1, 1);
    layout->addLayout(buttons);
}

void TfrmSeries::ProposeFreeRange(const QString& folder) {
    // The copies go best where the layout still has room: the first free range of the loaded
    // firmware's protocol and kind in its folder that holds one decoder's addresses.
    const auto& s = m_document;
    if (s.protocol() == parvel::Protocol::None || s.kind() == parvel::DecoderKind::None) return;
    const auto used = parvel::UsedAddressSpan(s);
    if (!used) return;
    const int low = used->first, high = used->second;
    parvel::RosterRequest request;
    request.folder = folder.toStdString();
    const parvel::Roster roster = parvel::BuildRoster(request);
    const auto first =
        parvel::FirstFreeAddress(roster, parvel::ProtocolName(s.protocol()),
                                 s.kind() == parvel::DecoderKind::Accessory, high - low + 1);
    if (first) edt_first->setValue(*first);
}

bool TfrmSeries::btn_createClick() {
    Memo1->clear();
    ProgressBar1->setValue(0);
    if (!m_document.TakeOverPendingFrames()) return false;
    if (m_document.BuildHexLines() != parvel::DecoderDocument::SaveResult::Saved) return false;
    const auto& image = m_document.image();
    const std::vector<std::string> lines(image.hex_lines.begin(), image.hex_lines.begin() + image.line_count);

    parvel::SeriesRequest request;
    request.first = edt_first->value();
    request.count = edt_count->value();
    if (edt_step->value() > 0) request.step = edt_step->value();
    request.out_dir = edt_folder->text().toStdString();
    const parvel::SeriesPlan plan = parvel::PlanSeries(lines, m_document.status_text(3), request, m_dialogs);
    if (!plan.ok) return false;
    ProgressBar1->setMaximum(static_cast<int>(plan.copies.size()));
    const bool written = parvel::WriteSeries(plan, request, m_dialogs, [this](int n) {
        ProgressBar1->setValue(n);
    });
    if (!written) return false;
    for (const auto& line : parvel::SeriesSummary(plan)) Memo1->appendPlainText(QString::fromStdString(line));
    return true;
}
