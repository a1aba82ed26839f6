#pragma once

#include "bar/RunChoice.h"
#include "settings/MessageTable.h"

#include <QAbstractTableModel>

#include <vector>

namespace valdora::bar {

/// The journalled runs as a table, newest first: run, button, the contacts it covered, when it started,
/// the contacts it wrote, how it ended, the undo that took it back and its failed contacts.
class RunListModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Run, Button, Scope, Started, Contacts, State, Undone, Failed, ColumnCount };
    /// The run's id, in every column.
    static constexpr int RunIdRole = Qt::UserRole;

    RunListModel(const Messages& texts, std::vector<ListedRun> runs, QObject* parent = nullptr);

    const ListedRun& runAt(int row) const { return m_runs.at(static_cast<std::size_t>(row)); }
    /// The row of that run; -1 when it is not listed.
    int rowOf(qint64 run) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QString text(const ListedRun& listed, int column) const;
    QString scopeText(const journal::JournalRun& run) const;
    QString stateText(journal::RunStand stand) const;

    Messages m_texts;
    std::vector<ListedRun> m_runs;
};

} // namespace valdora::bar
