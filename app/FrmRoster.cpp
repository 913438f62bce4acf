#include "app/FrmRoster.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>

#include "image/Dialogs.h"
#include "app/RosterTableModel.h"
#include "image/TextFile.h"

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

// Folders and files watched for changes at most: enough for any layout's folder tree, and far
// below the system's limit on watches.
constexpr int kMaxWatchedFolders = 200;
constexpr int kMaxWatchedFiles = 4000;
// How long the dialog waits after a change before it reads: the copies of a series, or a save
// that writes and renames, come in as one reading.
constexpr int kRereadDelayMs = 400;
// A frame guessed for a window not yet shown: borders and a title bar.
const QSize kFrameGuess(16, 40);

bool IsHexName(const QString& name) { return name.endsWith(".hex", Qt::CaseInsensitive); }

// The height a list and its label above it need for its lines, `most` lines at most, at least
// one, and a scroll bar for lines wider than the list.
int ListHeight(const QListWidget* list, int most) {
    const int line = list->count() > 0 ? list->sizeHintForRow(0) : list->fontMetrics().height();
    const int lines = std::clamp(list->count(), 1, most);
    const int label = list->parentWidget()->sizeHint().height() - list->sizeHint().height();
    return lines * line + 2 * list->frameWidth() +
           list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list) + label;
}

constexpr int kConflictLines = 5;
constexpr int kSkippedLines = 3;

}  // namespace

QRect FitIntoScreen(const QSize& wanted, const QSize& frame, const QPoint& centre,
                    const QRect& available) {
    const QSize size(std::max(1, std::min(wanted.width(), available.width() - frame.width())),
                     std::max(1, std::min(wanted.height(), available.height() - frame.height())));
    // The outer rectangle, centred, then moved inside the available area.
    QRect outer(0, 0, size.width() + frame.width(), size.height() + frame.height());
    outer.moveCenter(centre);
    if (outer.right() > available.right()) outer.moveRight(available.right());
    if (outer.bottom() > available.bottom()) outer.moveBottom(available.bottom());
    if (outer.left() < available.left()) outer.moveLeft(available.left());
    if (outer.top() < available.top()) outer.moveTop(available.top());
    const int side = frame.width() / 2;
    return QRect(outer.left() + side, outer.top() + frame.height() - side, size.width(),
                 size.height());
}

TfrmRoster::TfrmRoster(const QString& folder, parvel::Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs) {
    setObjectName("frmRoster");
    setWindowTitle("Anlagen-Übersicht");

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
    // Long lines scroll sideways instead of being cut.
    lst_conflicts->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lst_conflicts->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    lst_conflicts->setTextElideMode(Qt::ElideNone);
    lst_conflicts->setMinimumHeight(2 * fontMetrics().height());

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
    // Rows as high as their text needs (the style's default is far taller), so more fit.
    tbl_outputs->verticalHeader()->setMinimumSectionSize(fontMetrics().height() + 2);
    tbl_outputs->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    tbl_outputs->horizontalHeader()->setStretchLastSection(true);
    // What the plan is about first: file, protocol, kind, address and colour or function, the
    // decoder's row; the firmware's details after them, where a narrow screen may hide them
    // (the order of the exports stays as it is).
    int place = 0;
    for (const char* name :
         {"Datei", "Protokoll", "Art", "Adresse", "Farbe/Funktion", "Zeile", "Bezeichnung"}) {
        const auto& columns = parvel::RosterColumns();
        const auto found = std::find(columns.begin(), columns.end(), name);
        if (found == columns.end()) continue;
        QHeaderView* header = tbl_outputs->horizontalHeader();
        header->moveSection(header->visualIndex(static_cast<int>(found - columns.begin())),
                            place++);
    }
    tbl_outputs->setToolTip("Doppelklick oder Eingabetaste lädt die Datei im Hauptfenster");
    tbl_outputs->installEventFilter(this);
    tbl_outputs->horizontalHeader()->viewport()->installEventFilter(this);
    m_user_width.assign(static_cast<std::size_t>(model->columnCount()), false);

    lst_skipped = new QListWidget(this);
    lst_skipped->setObjectName("lst_skipped");
    lst_skipped->setToolTip("Dateien, die nicht gelesen oder nicht erkannt wurden");
    lst_skipped->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    lst_skipped->setTextElideMode(Qt::ElideNone);
    lst_skipped->setMinimumHeight(2 * fontMetrics().height());

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setValue(0);
    lbl_summary = new QLabel(this);
    lbl_summary->setObjectName("lbl_summary");
    btn_csv = new QPushButton("CSV exportieren …", this);
    btn_csv->setObjectName("btn_csv");
    btn_html = new QPushButton("HTML exportieren …", this);
    btn_html->setObjectName("btn_html");
    btn_reread = new QPushButton("Neu einlesen", this);
    btn_reread->setObjectName("btn_reread");
    btn_reread->setShortcut(QKeySequence(Qt::Key_F5));
    btn_reread->setToolTip("Den Ordner noch einmal lesen (F5)");
    lbl_loaded = new QLabel(this);
    lbl_loaded->setObjectName("lbl_loaded");
    btn_close = new QPushButton("Fenster schliessen", this);
    btn_close->setObjectName("btn_close");

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Ordner:", this));
    top->addWidget(edt_folder, 1);
    top->addWidget(btn_folder);
    top->addWidget(cbx_subfolders);
    auto* splitter = m_splitter = new QSplitter(Qt::Vertical, this);
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
    buttons->addWidget(btn_reread);
    buttons->addWidget(lbl_loaded, 1);
    buttons->addWidget(btn_close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addWidget(ProgressBar1);
    layout->addWidget(lbl_summary);
    layout->addLayout(buttons);

    connect(btn_folder, &QPushButton::clicked, this, [this] { btn_folderClick(); });
    connect(cbx_subfolders, &QCheckBox::toggled, this, [this] { StartReading(); });
    connect(edt_filter, &QLineEdit::textChanged, this, [this](const QString& text) {
        proxy->SetFilterText(text);
        UpdateSummary();
    });
    connect(tbl_outputs, &QTableView::doubleClicked, this, &TfrmRoster::tbl_outputsDblClick);
    connect(btn_csv, &QPushButton::clicked, this, [this] { btn_csvClick(); });
    connect(btn_html, &QPushButton::clicked, this, [this] { btn_htmlClick(); });
    connect(btn_reread, &QPushButton::clicked, this, [this] { Reread(); });
    connect(tbl_outputs->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column) {
                if (m_header_drag && column >= 0 && column < static_cast<int>(m_user_width.size()))
                    m_user_width[static_cast<std::size_t>(column)] = true;
            });
    m_reread_timer.setSingleShot(true);
    m_reread_timer.setInterval(kRereadDelayMs);
    connect(&m_reread_timer, &QTimer::timeout, this, [this] { Reread(); });
    connect(&m_files, &QFileSystemWatcher::directoryChanged, this,
            [this] { m_reread_timer.start(); });
    connect(&m_files, &QFileSystemWatcher::fileChanged, this, [this] { m_reread_timer.start(); });
    connect(btn_close, &QPushButton::clicked, this, &QDialog::close);
    connect(&m_watcher, &QFutureWatcher<parvel::Roster>::finished, this, [this] {
        m_poll.stop();
        if (m_cancel.load()) return;
        m_roster = m_watcher.result();
        ShowRoster();
        WatchFolder();
        emit readingFinished();
        if (m_reread_pending) {
            m_reread_pending = false;
            m_reread_timer.start();
        }
    });
    m_poll.setInterval(100);
    connect(&m_poll, &QTimer::timeout, this, [this] {
        ProgressBar1->setMaximum(static_cast<int>(std::max<std::size_t>(m_total.load(), 1)));
        ProgressBar1->setValue(static_cast<int>(m_done.load()));
    });
    FitColumns();
    StartReading();
}

TfrmRoster::~TfrmRoster() { StopReading(); }

void TfrmRoster::StopReading() {
    if (!m_watcher.isRunning()) return;
    m_cancel = true;
    m_watcher.waitForFinished();  // at most the files being read when asked to stop
}

void TfrmRoster::closeEvent(QCloseEvent* event) {
    m_reread_timer.stop();
    StopReading();
    QDialog::closeEvent(event);
}

void TfrmRoster::showEvent(QShowEvent* event) {
    if (!m_placed) {
        m_placed = true;
        Place(m_remembered_size.isValid() ? m_remembered_size : ContentSize());
        if (!m_remembered_size.isValid()) m_auto_size = size();
        // Before the first reading the lists share the height as the splitter likes; once the
        // content is known, FitSplitter gives the table the room.
    }
    QDialog::showEvent(event);
}

void TfrmRoster::hideEvent(QHideEvent* event) {
    if (m_placed && !event->spontaneous()) emit layoutToKeep(size(), ColumnWidths());
    QDialog::hideEvent(event);
}

bool TfrmRoster::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tbl_outputs && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            tbl_outputs->currentIndex().isValid()) {
            tbl_outputsDblClick(tbl_outputs->currentIndex());
            return true;
        }
    } else if (watched == tbl_outputs->horizontalHeader()->viewport()) {
        // Widths the header changes while the mouse is pressed on it are the user's.
        if (event->type() == QEvent::MouseButtonPress) m_header_drag = true;
        if (event->type() == QEvent::MouseButtonRelease) m_header_drag = false;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmRoster::Reread() {
    m_reread_timer.stop();
    if (IsReading()) {
        m_reread_pending = true;
        return;
    }
    StartReading();
}

void TfrmRoster::NoteFileWritten(const QString& path) {
    const QString folder = QDir::cleanPath(QFileInfo(edt_folder->text()).absoluteFilePath());
    const QString dir = QDir::cleanPath(QFileInfo(path).absolutePath());
#ifdef Q_OS_WIN
    const Qt::CaseSensitivity names = Qt::CaseInsensitive;
#else
    const Qt::CaseSensitivity names = Qt::CaseSensitive;
#endif
    const bool inside = dir.compare(folder, names) == 0 ||
                        (cbx_subfolders->isChecked() && dir.startsWith(folder + '/', names));
    if (inside) m_reread_timer.start();
}

void TfrmRoster::NoteFileLoaded(const QString& path) {
    const QString name =
        Text(parvel::RelativeName(path.toStdString(), edt_folder->text().toStdString()));
    lbl_loaded->setText("Geladen: " + name);
    lbl_loaded->setToolTip(path);
}

void TfrmRoster::RestoreLayout(const QSize& size, const QList<int>& widths) {
    if (size.width() > 0 && size.height() > 0) m_remembered_size = size;
    const int stretched = tbl_outputs->horizontalHeader()->logicalIndex(model->columnCount() - 1);
    for (int c = 0; c < std::min<int>(static_cast<int>(widths.size()), model->columnCount()); ++c) {
        if (widths[c] < 1 || c == stretched) continue;
        tbl_outputs->setColumnWidth(c, widths[c]);
        m_user_width[static_cast<std::size_t>(c)] = true;
    }
}

QList<int> TfrmRoster::ColumnWidths() const {
    QList<int> widths;
    for (int c = 0; c < model->columnCount(); ++c) widths.push_back(tbl_outputs->columnWidth(c));
    return widths;
}

void TfrmRoster::FitColumns() {
    for (int c = 0; c < model->columnCount(); ++c) {
        if (c < static_cast<int>(m_user_width.size()) && m_user_width[static_cast<std::size_t>(c)])
            continue;
        tbl_outputs->resizeColumnToContents(c);
    }
}

QSize TfrmRoster::ContentSize() const {
    const int frame = 2 * tbl_outputs->frameWidth();
    const int scroll_bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const QHeaderView* header = tbl_outputs->horizontalHeader();
    int table_width = frame + scroll_bar;
    const int stretched = header->logicalIndex(model->columnCount() - 1);
    for (int c = 0; c < model->columnCount(); ++c) {
        // The last column stretches; what it needs is its content's width.
        table_width +=
            c != stretched
                ? tbl_outputs->columnWidth(c)
                : std::max(static_cast<const QAbstractItemView*>(tbl_outputs)->sizeHintForColumn(c),
                           header->sectionSizeHint(c));
    }
    int list_width = 0;
    for (const QListWidget* list : {lst_conflicts, lst_skipped}) {
        for (int i = 0; i < list->count(); ++i)
            list_width =
                std::max(list_width, list->sizeHintForIndex(list->model()->index(i, 0)).width());
    }
    list_width += 2 * lst_conflicts->frameWidth() + scroll_bar + 8;

    const int row_height = tbl_outputs->verticalHeader()->defaultSectionSize();
    // All rows, but at least a dozen so a first look before the reading ends is not a sliver.
    const int rows = std::max(model->rowCount(), 12);
    const int table_height = frame + header->sizeHint().height() + rows * row_height + scroll_bar;
    const QMargins margins = layout()->contentsMargins();
    const QSize hint = layout()->sizeHint();
    const int width = std::max({hint.width(), table_width + margins.left() + margins.right(),
                                list_width + margins.left() + margins.right()});
    // The rest of the dialog as its layout has it, the lists as FitSplitter gives them their
    // room, the table as it would be to show every row.
    const int height = hint.height() - m_splitter->sizeHint().height() +
                       2 * m_splitter->handleWidth() + ListHeight(lst_conflicts, kConflictLines) +
                       ListHeight(lst_skipped, kSkippedLines) + edt_filter->sizeHint().height() +
                       6 + table_height;
    return {width, height};
}

void TfrmRoster::FitSplitter() {
    // The lists get the lines they hold (a few at most), the table the rest.
    const int total = m_splitter->height();
    const int conflicts = ListHeight(lst_conflicts, kConflictLines);
    const int skipped = ListHeight(lst_skipped, kSkippedLines);
    m_splitter->setSizes({conflicts, std::max(total - conflicts - skipped, 1), skipped});
}

void TfrmRoster::Place(const QSize& wanted) {
    QWidget* parent = parentWidget();
    QScreen* on = parent ? parent->screen() : screen();
    const QRect available = on->availableGeometry();
    const QPoint centre = parent ? parent->frameGeometry().center() : available.center();
    QSize frame = frameGeometry().size() - geometry().size();
    if (!isVisible() || frame.isEmpty()) frame = kFrameGuess;
    setGeometry(FitIntoScreen(wanted, frame, centre, available));
}

void TfrmRoster::WatchFolder() {
    const QStringList old = m_files.files() + m_files.directories();
    if (!old.isEmpty()) m_files.removePaths(old);
    if (!m_roster.folder_ok) return;
    QStringList folders{edt_folder->text()};
    if (cbx_subfolders->isChecked()) {
        QDirIterator it(edt_folder->text(), QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks,
                        QDirIterator::Subdirectories);
        while (it.hasNext() && folders.size() < kMaxWatchedFolders) folders.push_back(it.next());
    }
    QStringList files;
    for (const QString& folder : folders) {
        const QStringList names = QDir(folder).entryList(QDir::Files);
        for (const QString& name : names) {
            if (IsHexName(name) && files.size() < kMaxWatchedFiles)
                files.push_back(QDir(folder).filePath(name));
        }
    }
    m_files.addPaths(folders);  // new, removed and renamed files (writes replace files)
    if (!files.isEmpty()) m_files.addPaths(files);  // files changed where they are
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
    // What the user looks at in the table, found again after the reading by file and row (and
    // by its colour or function where a row has several outputs), not by its place.
    const bool same_folder = folder == m_shown_folder;
    parvel::RosterOutput kept_output;
    int kept_column = 0;
    const QModelIndex current = tbl_outputs->currentIndex();
    const bool kept = same_folder && current.isValid() &&
                      tbl_outputs->selectionModel()->isRowSelected(current.row(), {});
    if (kept) {
        kept_output = model->Output(proxy->mapToSource(current).row());
        kept_column = current.column();
    }
    const int scroll = tbl_outputs->verticalScrollBar()->value();
    const int scroll_x = tbl_outputs->horizontalScrollBar()->value();

    model->SetRoster(m_roster, folder);  // the proxy keeps its sort and filter
    m_shown_folder = folder;
    FitColumns();
    if (kept) {
        int found_row = -1;
        for (int r = 0; r < model->rowCount(); ++r) {
            const parvel::RosterOutput& o = model->Output(r);
            if (o.file() != kept_output.file() || o.row != kept_output.row) continue;
            if (found_row < 0) found_row = r;
            if (o.green == kept_output.green && o.function == kept_output.function) {
                found_row = r;
                break;
            }
        }
        const QModelIndex found = found_row < 0
                                      ? QModelIndex()
                                      : proxy->mapFromSource(model->index(found_row, kept_column));
        if (found.isValid()) {
            tbl_outputs->selectionModel()->setCurrentIndex(
                found, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    }
    if (same_folder) {
        tbl_outputs->verticalScrollBar()->setValue(scroll);
        tbl_outputs->horizontalScrollBar()->setValue(scroll_x);
    }
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
    UpdateSummary();
    btn_csv->setEnabled(m_roster.folder_ok);
    btn_html->setEnabled(m_roster.folder_ok);

    // The first reading shows what there is: the dialog takes the size of its content unless
    // it has a size kept from the last time or the user sized it meanwhile.
    if (!m_content_fitted && isVisible()) {
        m_content_fitted = true;
        if (!m_remembered_size.isValid() && size() == m_auto_size) {
            Place(ContentSize());
            m_auto_size = size();
        }
        // Once the layout has taken the new size.
        QTimer::singleShot(0, this, [this] { FitSplitter(); });
    }
}

void TfrmRoster::UpdateSummary() {
    if (IsReading()) return;  // "Der Ordner wird gelesen …" until the reading ends
    const std::size_t files = m_roster.hex_files;
    if (!m_roster.folder_ok) {
        lbl_summary->setText(Text(m_roster.folder_message));
    } else if (files == 0) {
        lbl_summary->setText("In diesem Ordner gibt es keine HEX-Datei.");
    } else if (proxy->IsFiltering()) {
        lbl_summary->setText(
            QString("%1 von %2 belegten Ausgängen (Filter), %3 HEX-Dateien, %4 doppelt belegt, "
                    "%5 übersprungen")
                .arg(proxy->rowCount())
                .arg(m_roster.outputs.size())
                .arg(files)
                .arg(m_roster.conflicts.size())
                .arg(m_roster.skipped.size()));
    } else {
        lbl_summary->setText(
            QString("%1 HEX-Dateien, %2 belegte Ausgänge, %3 doppelt belegt, %4 übersprungen")
                .arg(files)
                .arg(m_roster.outputs.size())
                .arg(m_roster.conflicts.size())
                .arg(m_roster.skipped.size()));
    }
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
