#include "ReportModel.h"

#include "KeelbrookTexts.h"

#include <algorithm>

namespace valdora::keelbrook {

ReportModel::ReportModel(std::array<QString, ColumnCount> baseHeaders, QObject* parent)
    : QAbstractTableModel(parent), m_baseHeaders(std::move(baseHeaders))
{}

void ReportModel::setRows(QList<TriggerRow> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

QString ReportModel::cellText(int row, int column) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    const TriggerRow& item = m_rows[row];
    switch (column) {
    case FieldColumn:
        return item.label;
    case TypeColumn:
        return item.typeText;
    case DescriptionColumn:
        return item.description;
    case FieldIdColumn:
        return QString::number(item.fieldId);
    default:
        return {};
    }
}

int ReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReportModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return cellText(index.row(), index.column());
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    const QString& base = m_baseHeaders[std::size_t(section)];
    if (m_sortColumn != section)
        return base;
    return (m_order == Qt::DescendingOrder ? texts::DescendingMark : texts::AscendingMark) + base;
}

void ReportModel::sortByHeader(int column)
{
    if (column < 0 || column >= ColumnCount)
        return;
    m_order = m_order == Qt::DescendingOrder ? Qt::AscendingOrder : Qt::DescendingOrder;
    m_sortColumn = column;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // The list compares its cells as text, letter case aside: field id "10" comes before "9".
    std::vector<std::pair<QString, int>> keyed;
    keyed.reserve(std::size_t(m_rows.size()));
    for (int row = 0; row < m_rows.size(); ++row)
        keyed.emplace_back(cellText(row, column), row);
    const bool descending = m_order == Qt::DescendingOrder;
    std::stable_sort(keyed.begin(), keyed.end(), [descending](const auto& a, const auto& b) {
        const int order = QString::compare(a.first, b.first, Qt::CaseInsensitive);
        return descending ? order > 0 : order < 0;
    });
    QList<TriggerRow> sorted;
    sorted.reserve(m_rows.size());
    QList<int> newRowOf(m_rows.size());
    for (std::size_t position = 0; position < keyed.size(); ++position) {
        sorted.append(m_rows[keyed[position].second]);
        newRowOf[keyed[position].second] = int(position);
    }
    m_rows = std::move(sorted);
    // The selected row stays selected wherever the sort takes it.
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& index : before)
        after.append(this->index(newRowOf[index.row()], index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    emit headerDataChanged(Qt::Horizontal, 0, ColumnCount - 1);
}

void ReportModel::removeRowAt(int row)
{
    if (row < 0 || row >= m_rows.size())
        return;
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

std::optional<int> rowAfterRemoval(int removed, int remaining)
{
    if (remaining <= 0)
        return std::nullopt;
    return std::clamp(removed == 0 ? 0 : removed - 1, 0, remaining - 1);
}

} // namespace valdora::keelbrook
