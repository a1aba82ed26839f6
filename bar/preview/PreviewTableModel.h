#pragma once

#include "run/preview/PreviewRow.h"
#include "settings/MessageTable.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <vector>

namespace valdora::bar {

/// The rows of a preview as a table: contact, company, field, present value, the value the run would
/// write, and what its rule does. Rows come in batches while the preview is computed.
class PreviewTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PreviewTableModel(const Messages& texts, QObject* parent = nullptr);

    /// Adds rows at the end.
    void append(std::vector<run::PreviewRow> rows);
    const std::vector<run::PreviewRow>& rows() const { return m_rows; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Messages m_texts;
    QStringList m_columns;
    std::vector<run::PreviewRow> m_rows;
};

/// What the preview's table shows of its rows: all of them or only those that change their target, in
/// the order of the run or sorted by a column (numbers as numbers, texts without regard to case).
class PreviewFilter final : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit PreviewFilter(QObject* parent = nullptr);

    void setChangesOnly(bool changesOnly);
    bool changesOnly() const { return m_changesOnly; }
    /// The source rows shown, in the order shown.
    std::vector<run::PreviewRow> shownRows() const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    const PreviewTableModel& table() const;

    bool m_changesOnly = false;
};

} // namespace valdora::bar
