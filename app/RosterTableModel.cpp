#include "app/RosterTableModel.h"

#include <QColor>

namespace {

// The end of the run of digits (or of other characters) that starts at `i`.
int RunEnd(const QString& s, int i) {
    const bool digits = s[i].isDigit();
    while (i < s.size() && s[i].isDigit() == digits) ++i;
    return i;
}

}  // namespace

int CompareNatural(const QString& a, const QString& b, const QCollator& collator) {
    int i = 0;
    int j = 0;
    while (i < a.size() && j < b.size()) {
        const int i_end = RunEnd(a, i);
        const int j_end = RunEnd(b, j);
        const QStringView ra = QStringView(a).mid(i, i_end - i);
        const QStringView rb = QStringView(b).mid(j, j_end - j);
        if (a[i].isDigit() && b[j].isDigit()) {
            // By value: without leading zeros the longer run is the larger number.
            QStringView va = ra;
            QStringView vb = rb;
            while (va.size() > 1 && va.front() == u'0') va = va.mid(1);
            while (vb.size() > 1 && vb.front() == u'0') vb = vb.mid(1);
            if (va.size() != vb.size()) return va.size() < vb.size() ? -1 : 1;
            const int c = va.compare(vb);
            if (c != 0) return c < 0 ? -1 : 1;
        } else {
            const int c =
                collator.compare(ra.toString().toCaseFolded(), rb.toString().toCaseFolded());
            if (c != 0) return c < 0 ? -1 : 1;
        }
        i = i_end;
        j = j_end;
    }
    if (i < a.size() || j < b.size()) return i < a.size() ? 1 : -1;
    const int c = collator.compare(a, b);
    if (c != 0) return c < 0 ? -1 : 1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

void RosterTableModel::SetRoster(const parvel::Roster& roster, const std::string& folder) {
    beginResetModel();
    m_folder = folder;
    m_outputs = roster.outputs;
    m_clash.assign(m_outputs.size(), QString());
    m_conflict.assign(m_outputs.size(), false);
    for (const auto& note : roster.notes) {
        for (std::size_t i : note.outputs) {
            m_clash[i] = "Hinweis, gleiche Adresse, andere Farbe: " +
                         QString::fromStdString(ClashTitle(note, true));
        }
    }
    for (const auto& conflict : roster.conflicts) {
        for (std::size_t i : conflict.outputs) {
            m_clash[i] = "Doppelt belegt: " + QString::fromStdString(ClashTitle(conflict, false));
            m_conflict[i] = true;
        }
    }
    endResetModel();
}

int RosterTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_outputs.size());
}

int RosterTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(parvel::RosterColumns().size());
}

const QColor& RosterTableModel::ConflictColour() {
    static const QColor colour(248, 190, 190);
    return colour;
}

const QColor& RosterTableModel::NoteColour() {
    static const QColor colour(248, 232, 170);
    return colour;
}

QVariant RosterTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto r = static_cast<std::size_t>(index.row());
    const parvel::RosterOutput& o = m_outputs[r];
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(
                parvel::RosterCells(o, m_folder)[static_cast<std::size_t>(index.column())]);
        case Qt::UserRole:  // sort key
            if (index.column() == parvel::kRosterRowColumn) return o.row;
            if (index.column() == parvel::kRosterAddressColumn) return o.address;
            return data(index, Qt::DisplayRole);
        case Qt::BackgroundRole:
            if (m_clash[r].isEmpty()) return {};
            return m_conflict[r] ? ConflictColour() : NoteColour();
        case Qt::ForegroundRole:
            // Dark text on the light marks, whatever the desktop's colour scheme.
            if (m_clash[r].isEmpty()) return {};
            return QColor(Qt::black);
        case Qt::ToolTipRole:
            if (index.column() == 0) return QString::fromStdString(o.file());
            return m_clash[r].isEmpty() ? QVariant() : QVariant(m_clash[r]);
        case Qt::TextAlignmentRole:
            if (index.column() == parvel::kRosterRowColumn ||
                index.column() == parvel::kRosterAddressColumn) {
                return int(Qt::AlignRight | Qt::AlignVCenter);
            }
            return {};
        default:
            return {};
    }
}

QVariant RosterTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const auto& columns = parvel::RosterColumns();
    if (section < 0 || section >= static_cast<int>(columns.size())) return {};
    return QString::fromStdString(columns[static_cast<std::size_t>(section)]);
}

void RosterFilterModel::SetFilterText(const QString& text) {
    m_text = text.trimmed();
    invalidateFilter();
}

bool RosterFilterModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant l = left.data(sortRole());
    const QVariant r = right.data(sortRole());
    if (l.typeId() == QMetaType::Int && r.typeId() == QMetaType::Int) return l.toInt() < r.toInt();
    return CompareNatural(l.toString(), r.toString(), m_collator) < 0;
}

bool RosterFilterModel::filterAcceptsRow(int source_row, const QModelIndex& source_parent) const {
    if (m_text.isEmpty()) return true;
    const QAbstractItemModel* model = sourceModel();
    bool number = false;
    const int address = m_text.toInt(&number);
    if (number) {
        return model->index(source_row, parvel::kRosterAddressColumn, source_parent)
                   .data(Qt::UserRole)
                   .toInt() == address;
    }
    for (int c = 0; c < model->columnCount(source_parent); ++c) {
        if (model->index(source_row, c, source_parent)
                .data()
                .toString()
                .contains(m_text, Qt::CaseInsensitive)) {
            return true;
        }
    }
    return false;
}
