#include "PreviewTableModel.h"

#include <QColor>
#include <QFont>
#include <QLocale>

namespace valdora::bar {

PreviewTableModel::PreviewTableModel(const Messages& texts, QObject* parent)
    : QAbstractTableModel(parent), m_texts(texts), m_columns(run::previewColumns(texts))
{}

void PreviewTableModel::append(std::vector<run::PreviewRow> rows)
{
    if (rows.empty())
        return;
    const int first = static_cast<int>(m_rows.size());
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    endInsertRows();
}

int PreviewTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int PreviewTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant PreviewTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const run::PreviewRow& row = m_rows[static_cast<std::size_t>(index.row())];
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return run::previewCell(row, index.column(), m_texts);
    // The rows that would change stand out; a contact held by another user is greyed.
    if (role == Qt::FontRole && index.column() == 4 && row.changes()) {
        QFont font;
        font.setBold(true);
        return font;
    }
    if (role == Qt::ForegroundRole && row.action == run::PreviewAction::Locked)
        return QColor(Qt::darkGray);
    return {};
}

QVariant PreviewTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_columns.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

PreviewFilter::PreviewFilter(QObject* parent) : QSortFilterProxyModel(parent)
{
    // Rows arrive while the preview is computed; the order is applied when the user sorts.
    setDynamicSortFilter(false);
}

const PreviewTableModel& PreviewFilter::table() const
{
    return static_cast<const PreviewTableModel&>(*sourceModel());
}

void PreviewFilter::setChangesOnly(bool changesOnly)
{
    if (changesOnly == m_changesOnly)
        return;
    m_changesOnly = changesOnly;
    invalidateRowsFilter();
}

std::vector<run::PreviewRow> PreviewFilter::shownRows() const
{
    std::vector<run::PreviewRow> rows;
    rows.reserve(static_cast<std::size_t>(rowCount()));
    for (int i = 0; i < rowCount(); ++i)
        rows.push_back(table().rows()[static_cast<std::size_t>(mapToSource(index(i, 0)).row())]);
    return rows;
}

bool PreviewFilter::filterAcceptsRow(int sourceRow, const QModelIndex& /*sourceParent*/) const
{
    return !m_changesOnly || table().rows()[static_cast<std::size_t>(sourceRow)].changes();
}

bool PreviewFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const QString a = left.data().toString();
    const QString b = right.data().toString();
    bool aNumber = false;
    bool bNumber = false;
    const double x = QLocale().toDouble(a, &aNumber);
    const double y = QLocale().toDouble(b, &bNumber);
    if (aNumber && bNumber)
        return x < y;
    // Numbers before texts, so that a column of amounts with a few blanks stays readable.
    if (aNumber != bNumber)
        return aNumber;
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace valdora::bar
