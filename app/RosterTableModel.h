#pragma once

#include <QAbstractTableModel>
#include <QCollator>
#include <QSortFilterProxyModel>
#include <vector>

#include "workflows/Roster.h"

// The used outputs of a roster as a table; rows in a conflict or a note are coloured.
class RosterTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    using QAbstractTableModel::QAbstractTableModel;

    // File names are shown relative to `folder`.
    void SetRoster(const parvel::Roster& roster, const std::string& folder);
    const parvel::RosterOutput& Output(int row) const {
        return m_outputs[static_cast<std::size_t>(row)];
    }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    static const QColor& ConflictColour();
    static const QColor& NoteColour();

  private:
    std::vector<parvel::RosterOutput> m_outputs;
    std::string m_folder;
    std::vector<QString> m_clash;  // per output: the conflict or note it is in, or empty
    std::vector<bool> m_conflict;
};

// Compares two texts the way a person sorts names: letters by the collator and without regard to
// case, runs of digits by their value ("a-2" before "a-10"). Texts that differ only in case or
// in leading zeros are ordered by the collator as they are, so the order is always the same.
int CompareNatural(const QString& a, const QString& b, const QCollator& collator);

// Sorting by the table's values (numbers as numbers, texts by the locale's collation, see
// CompareNatural) and the filter field: a whole number shows the outputs on that address, any
// other text the rows that contain it in some column.
class RosterFilterModel : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void SetFilterText(const QString& text);
    bool IsFiltering() const { return !m_text.isEmpty(); }

  protected:
    bool filterAcceptsRow(int source_row, const QModelIndex& source_parent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    QString m_text;
    QCollator m_collator;  // the locale's, as the program found it
};
