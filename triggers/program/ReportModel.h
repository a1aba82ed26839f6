#pragma once

#include "TriggerListing.h"

#include <QAbstractTableModel>

#include <array>
#include <optional>

namespace valdora::keelbrook {

/// The rows of the trigger report in four columns (field label, type, description, field id), with
/// the report's own sorting: a click on a header sorts by that column as text, turning the order
/// over at each click, and marks the header with "<<  " (descending) or ">>  " (ascending).
class ReportModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { FieldColumn, TypeColumn, DescriptionColumn, FieldIdColumn, ColumnCount };

    /// `baseHeaders`: the four headers without a mark, in the report's language.
    explicit ReportModel(std::array<QString, ColumnCount> baseHeaders, QObject* parent = nullptr);

    void setRows(QList<TriggerRow> rows);
    const QList<TriggerRow>& rows() const { return m_rows; }
    /// A cell's text as the list shows it.
    QString cellText(int row, int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// The click on a header: the base headers back, then the sort by that column in the order
    /// opposite to the list's last one (descending at the first click), and the header marked.
    void sortByHeader(int column);
    /// The order of the last sort; ascending before any.
    Qt::SortOrder sortOrder() const { return m_order; }
    /// The column of the last sort; none before any.
    std::optional<int> sortColumn() const { return m_sortColumn; }

    /// Removes one row.
    void removeRowAt(int row);

private:
    std::array<QString, ColumnCount> m_baseHeaders;
    QList<TriggerRow> m_rows;
    Qt::SortOrder m_order = Qt::AscendingOrder;
    std::optional<int> m_sortColumn;
};

/// The row to select after row `removed` was taken from a list that now has `remaining` rows: the
/// first when the first was removed, else the one before it; none when the list is empty.
std::optional<int> rowAfterRemoval(int removed, int remaining);

} // namespace valdora::keelbrook
