#include "app/FrmRoster.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include "image/Dialogs.h"
#include "app/RosterTableModel.h"
#include "image/TextFile.h"

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TfrmRoster::TfrmRoster(const QString& folder, parvel::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs) {
    setObjectName("frmRoster");
    setWindowTitle("Anlagen-Übersicht");
    resize(1120, 620);

    edt_folder = new QLineEdit(folder, this);
    edt_folder->setObjectName("edt_folder");
    edt_folder->setReadOnly(true);
    edt_folder->setToolTip("Ordner, dessen HEX-Files gelesen werden");
    btn_folder = new QPushButton("Ordner …", this);
    btn_folder->setObjectName("btn_folder");
    btn_folder->setToolTip("Einen anderen Ordner wählen");
    cbx_subfolders = new QCheckBox("mit Unterordnern", this);
    cbx_subfolders->setObjectName("cbx_subfolders");
    edt_filter = new QLineEdit(this);
    edt_filter->setObjectName("edt_filter");
    edt_filter->setPlaceholderText("Filter: Text oder Adresse");
    edt_filter->setClearButtonEnabled(true);
    edt_filter->setToolTip(
        "Eine Zahl zeigt die Ausgänge mit dieser Adresse, anderer Text die Zeilen,\n"
        "die ihn in einer Spalte enthalten.");

    lst_conflicts = new QListWidget(this);
    lst_conflicts->setObjectName("lst_conflicts");
    lst_conflicts->setToolTip("Doppelt belegte Adressen (rot) und Hinweise (gelb)");

    model = new RosterTableModel(this);
    proxy = new RosterFilterModel(this);
    proxy->setSourceModel(model);
    proxy->setSortRole(Qt::UserRole);
    tbl_outputs = new QTableView(this);
    tbl_outputs->setObjectName("tbl_outputs");
    tbl_outputs->setModel(proxy);
    tbl_outputs->setSortingEnabled(true);
    tbl_outputs->sortByColumn(-1, Qt::AscendingOrder);  // the roster's own order until a click
    tbl_outputs->setSelectionBehavior(QAbstractItemView::SelectRows);
    tbl_outputs->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tbl_outputs->verticalHeader()->hide();
    tbl_outputs->horizontalHeader()->setStretchLastSection(true);
    tbl_outputs->setToolTip("Doppelklick lädt die Datei im Hauptfenster");

    lst_skipped = new QListWidget(this);
    lst_skipped->setObjectName("lst_skipped");
    lst_skipped->setToolTip("Dateien, die nicht gelesen oder nicht erkannt wurden");

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setValue(0);
    lbl_summary = new QLabel(this);
    lbl_summary->setObjectName("lbl_summary");
    btn_csv = new QPushButton("CSV exportieren …", this);
    btn_csv->setObjectName("btn_csv");
    btn_html = new QPushButton("HTML exportieren …", this);
    btn_html->setObjectName("btn_html");
    btn_close = new QPushButton("Fenster schliessen", this);
    btn_close->setObjectName("btn_close");

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Ordner:", this));
    top->addWidget(edt_folder, 1);
    top->addWidget(btn_folder);
    top->addWidget(cbx_subfolders);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    auto* conflicts_box = new QWidget(splitter);
    auto* conflicts_layout = new QVBoxLayout(conflicts_box);
    conflicts_layout->setContentsMargins(0, 0, 0, 0);
    conflicts_layout->addWidget(new QLabel("Doppelt belegt / Hinweise:", conflicts_box));
    conflicts_layout->addWidget(lst_conflicts);
    auto* table_box = new QWidget(splitter);
    auto* table_layout = new QVBoxLayout(table_box);
    table_layout->setContentsMargins(0, 0, 0, 0);
    table_layout->addWidget(edt_filter);
    table_layout->addWidget(tbl_outputs);
    auto* skipped_box = new QWidget(splitter);
    auto* skipped_layout = new QVBoxLayout(skipped_box);
    skipped_layout->setContentsMargins(0, 0, 0, 0);
    skipped_layout->addWidget(new QLabel("Übersprungen:", skipped_box));
    skipped_layout->addWidget(lst_skipped);
    splitter->addWidget(conflicts_box);
    splitter->addWidget(table_box);
    splitter->addWidget(skipped_box);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 4);
    splitter->setStretchFactor(2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_csv);
    buttons->addWidget(btn_html);
    buttons->addStretch();
    buttons->addWidget(btn_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addWidget(ProgressBar1);
    layout->addWidget(lbl_summary);
    layout->addLayout(buttons);

    connect(btn_folder, &QPushButton::clicked, this, [this] { btn_folderClick(); });
    connect(cbx_subfolders, &QCheckBox::toggled, this, [this] { StartReading(); });
    connect(edt_filter, &QLineEdit::textChanged, proxy, &RosterFilterModel::SetFilterText);
    connect(tbl_outputs, &QTableView::doubleClicked, this, &TfrmRoster::tbl_outputsDblClick);
    connect(btn_csv, &QPushButton::clicked, this, [this] { btn_csvClick(); });
    connect(btn_html, &QPushButton::clicked, this, [this] { btn_htmlClick(); });
    connect(btn_close, &QPushButton::clicked, this, &QDialog::close);
    connect(&m_watcher, &QFutureWatcher<parvel::Roster>::finished, this, [this] {
        m_poll.stop();
        if (m_cancel.load()) return;
        m_roster = m_watcher.result();
        ShowRoster();
        emit readingFinished();
    });
    m_poll.setInterval(100);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        ProgressBar1->setMaximum(static_cast<int>(std::max<std::size_t>(m_total.load(), 1)));
        ProgressBar1->setValue(static_cast<int>(m_done.load()));
    });
    StartReading();
}

TfrmRoster::~TfrmRoster() { StopReading(); }

void TfrmRoster::StopReading() {
    if (!m_watcher.isRunning()) return;
    m_cancel = true;
    m_watcher.waitForFinished();  // at most the files being read when asked to stop
}

void TfrmRoster::closeEvent(QCloseEvent* event) {
    StopReading();
    QDialog::closeEvent(event);
}

void TfrmRoster::StartReading() {
    StopReading();
    m_cancel = false;
    m_done = 0;
    m_total = 0;
    btn_csv->setEnabled(false);
    btn_html->setEnabled(false);
    ProgressBar1->setMaximum(0);  // busy until the files are counted
    lbl_summary->setText("Der Ordner wird gelesen …");
    parvel::RosterRequest request;
    request.folder = edt_folder->text().toStdString();
    request.recursive = cbx_subfolders->isChecked();
    m_watcher.setFuture(QtConcurrent::run([this, request] {
        return parvel::BuildRoster(
            request,
            [this](std::size_t done, std::size_t total) {
                m_total = total;
                m_done = done;
            },
            &m_cancel);
    }));
    m_poll.start();
}

void TfrmRoster::ShowRoster() {
    const std::string folder = edt_folder->text().toStdString();
    model->SetRoster(m_roster, folder);
    tbl_outputs->resizeColumnsToContents();
    lst_conflicts->clear();
    for (const auto& c : m_roster.conflicts) {
        auto* item = new QListWidgetItem(
            "Doppelt belegt: " +
                Text(ClashTitle(c, false) + ": " + ClashOutputs(m_roster, c, folder)),
            lst_conflicts);
        item->setBackground(RosterTableModel::ConflictColour());
        item->setForeground(Qt::black);
    }
    for (const auto& n : m_roster.notes) {
        auto* item = new QListWidgetItem(
            "Hinweis, gleiche Adresse, andere Farbe: " +
                Text(ClashTitle(n, true) + ": " + ClashOutputs(m_roster, n, folder)),
            lst_conflicts);
        item->setBackground(RosterTableModel::NoteColour());
        item->setForeground(Qt::black);
    }
    if (m_roster.conflicts.empty() && m_roster.notes.empty()) {
        new QListWidgetItem("Keine doppelt belegte Adresse.", lst_conflicts);
    }
    lst_skipped->clear();
    for (const auto& s : m_roster.skipped)
        lst_skipped->addItem(Text(parvel::RelativeName(s.file, folder) + ": " + s.message));

    const std::size_t files = m_roster.hex_files;
    ProgressBar1->setMaximum(static_cast<int>(std::max<std::size_t>(files, 1)));
    ProgressBar1->setValue(static_cast<int>(files));
    if (!m_roster.folder_ok) {
        lbl_summary->setText(Text(m_roster.folder_message));
    } else if (files == 0) {
        lbl_summary->setText("In diesem Ordner gibt es keine HEX-Datei.");
    } else {
        lbl_summary->setText(
            QString("%1 HEX-Dateien, %2 belegte Ausgänge, %3 doppelt belegt, %4 übersprungen")
                .arg(files)
                .arg(m_roster.outputs.size())
                .arg(m_roster.conflicts.size())
                .arg(m_roster.skipped.size()));
    }
    btn_csv->setEnabled(m_roster.folder_ok);
    btn_html->setEnabled(m_roster.folder_ok);
}

void TfrmRoster::btn_folderClick() {
    const auto chosen = m_dialogs.FolderName(edt_folder->text().toStdString());
    if (!chosen) return;
    edt_folder->setText(QString::fromStdString(*chosen));
    StartReading();
}

void TfrmRoster::Export(const char* filter, const char* extension, const std::string& text) {
    const std::string proposed =
        edt_folder->text().toStdString() + "/anlagen-uebersicht." + extension;
    const auto path = m_dialogs.SaveFileName(filter, extension, proposed);
    if (!path) return;
    const parvel::WriteResult written = parvel::AtomicWriteFile(*path, text);
    if (!written.ok) {
        m_dialogs.ShowMessage(
            {"Die Datei " + *path + " konnte nicht gespeichert werden: " + written.error,
             parvel::Icon::Warning, parvel::Buttons::Ok});
    }
}

void TfrmRoster::btn_csvClick() { Export("CSV|*.csv", "csv", parvel::RosterCsv(m_roster)); }

void TfrmRoster::btn_htmlClick() {
    Export("HTML|*.html", "html",
           parvel::RosterHtml(m_roster, edt_folder->text().toStdString()));
}

void TfrmRoster::tbl_outputsDblClick(const QModelIndex& index) {
    const QModelIndex source = proxy->mapToSource(index);
    if (!source.isValid()) return;
    emit fileActivated(
        QString::fromStdString(model->Output(source.row()).file()));
}
