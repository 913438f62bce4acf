#include "app/FrmSeries.h"

#include "document/DecoderFile.h"

#include <algorithm>

#include <QDir>
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
    edt_folder->setToolTip("Ordner für die Kopien; einen fehlenden Ordner legt „Erzeugen“ nach Rückfrage an");
    // The folder of the loaded file itself (a status text would cut a name holding " (").
    edt_folder->setText(QFileInfo(QString::fromStdString(document.file_path())).absolutePath());
    btn_folder = new QPushButton("…", this);
    btn_folder->setObjectName("btn_folder");
    btn_folder->setToolTip("Ordner wählen");
    connect(btn_folder, &QPushButton::clicked, this, [this] { btn_folderClick(); });

    // Without a free range: the decoder's own lowest address.
    const auto used = parvel::UsedAddressSpan(document);
    edt_first->setValue(used ? used->first : 1);
    ProposeFreeRange();
    connect(edt_first, qOverload<int>(&QSpinBox::valueChanged), this, [this] {
        if (!m_proposing) m_first_chosen = true;
    });
    for (QSpinBox* box : {edt_count, edt_step}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this] { ProposeFreeRange(); });
    }
    connect(edt_folder, &QLineEdit::editingFinished, this, [this] { ProposeFreeRange(); });

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
    auto* folder_row = new QHBoxLayout;
    folder_row->addWidget(edt_folder, 1);
    folder_row->addWidget(btn_folder);
    form->addRow("Ordner:", folder_row);
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

TfrmSeries::~TfrmSeries() = default;

void TfrmSeries::btn_folderClick() {
    const auto chosen = m_dialogs.FolderName(edt_folder->text().toStdString());
    if (!chosen) return;
    edt_folder->setText(QString::fromStdString(*chosen));
    ProposeFreeRange();
}

void TfrmSeries::ProposeFreeRange() {
    // The copies go best where the layout still has room: the first free range of the loaded
    // firmware's protocol and kind in the folder that holds all copies.
    if (m_first_chosen) return;
    const auto& s = m_document;
    if (s.protocol() == parvel::Protocol::None || s.kind() == parvel::DecoderKind::None) return;
    const auto used = parvel::UsedAddressSpan(s);
    if (!used) return;
    const QString folder = edt_folder->text();
    if (!QFileInfo(folder).isDir()) return;
    const int span = used->second - used->first + 1;
    // Read once per folder: the count and step spin boxes propose again at every click.
    if (m_roster_folder != folder || !m_roster) {
        parvel::RosterRequest request;
        request.folder = folder.toStdString();
        m_roster = std::make_unique<parvel::Roster>(parvel::BuildRoster(request));
        m_roster_folder = folder;
    }
    const auto first = parvel::FirstSeriesAddress(
        *m_roster, parvel::ProtocolName(s.protocol()), s.kind() == parvel::DecoderKind::Accessory, span,
        edt_count->value(), edt_step->value() > 0 ? edt_step->value() : span);
    if (!first) return;
    m_proposing = true;
    edt_first->setValue(*first);
    m_proposing = false;
}

bool TfrmSeries::EnsureFolder() {
    const QString folder = edt_folder->text().trimmed();
    if (folder.isEmpty()) {
        m_dialogs.ShowMessage({"Bitte einen Ordner für die Kopien angeben.", parvel::Icon::Warning,
                               parvel::Buttons::Ok});
        return false;
    }
    const QFileInfo info(folder);
    if (info.isDir()) return true;
    if (info.exists()) {
        m_dialogs.ShowMessage({folder.toStdString() + " ist kein Ordner.", parvel::Icon::Warning,
                               parvel::Buttons::Ok});
        return false;
    }
    if (m_dialogs.ShowMessage({"Den Ordner " + folder.toStdString() + " gibt es nicht. Soll er angelegt werden?",
                               parvel::Icon::Warning, parvel::Buttons::YesNo}) != parvel::Answer::Yes) {
        return false;
    }
    if (!QDir().mkpath(folder)) {
        m_dialogs.ShowMessage({"Der Ordner " + folder.toStdString() + " konnte nicht angelegt werden.",
                               parvel::Icon::Warning, parvel::Buttons::Ok});
        return false;
    }
    return true;
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
    request.out_dir = edt_folder->text().trimmed().toStdString();
    const parvel::SeriesPlan plan = parvel::PlanSeries(lines, m_document.file_path(), request, m_dialogs);
    if (!plan.ok) return false;
    if (!EnsureFolder()) return false;
    // The folder as it is now: every copy is checked against its decoders before writing.
    parvel::RosterRequest folder;
    folder.folder = request.out_dir;
    const parvel::Roster roster = parvel::BuildRoster(folder);
    ProgressBar1->setMaximum(static_cast<int>(plan.copies.size()));
    const parvel::SeriesOutcome outcome = parvel::WriteSeries(
        plan, request, m_dialogs, &roster, [this](int n) { ProgressBar1->setValue(n); });
    for (std::size_t i = 0; i < outcome.written.size(); ++i) {
        if (outcome.written[i]) emit fileWritten(QString::fromStdString(plan.copies[i].path));
    }
    if (!outcome.ok) return false;
    for (const auto& line : parvel::SeriesSummary(plan, outcome.written))
        Memo1->appendPlainText(QString::fromStdString(line));
    return true;
}
