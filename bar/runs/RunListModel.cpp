#include "RunListModel.h"

#include "run/UndoAndRetry.h"
#include "settings/MessageId.h"

#include <array>

namespace valdora::bar {

namespace {

constexpr std::array<OwnText, RunListModel::ColumnCount> Captions{
    OwnText::RunsColumnRun,     OwnText::RunsColumnButton,   OwnText::RunsColumnScope,
    OwnText::RunsColumnStarted, OwnText::RunsColumnContacts, OwnText::RunsColumnState,
    OwnText::RunsColumnUndone,  OwnText::RunsColumnFailed};

// The journal's own names of the scopes of a run from the bar or the command line.
const QString LookupScope = QStringLiteral("lookup");
const QString AllScope = QStringLiteral("all");

} // namespace

RunListModel::RunListModel(const Messages& texts, std::vector<ListedRun> runs, QObject* parent)
    : QAbstractTableModel(parent), m_texts(texts), m_runs(std::move(runs))
{}

int RunListModel::rowOf(qint64 run) const
{
    for (std::size_t i = 0; i < m_runs.size(); ++i)
        if (m_runs[i].run.id == run)
            return static_cast<int>(i);
    return -1;
}

int RunListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_runs.size());
}

int RunListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RunListModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ListedRun& listed = runAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return text(listed, index.column());
    case RunIdRole:
        return listed.run.id;
    case Qt::TextAlignmentRole: {
        const bool number = index.column() == Run || index.column() == Contacts || index.column() == Failed;
        return QVariant::fromValue(Qt::AlignVCenter | (number ? Qt::AlignRight : Qt::AlignLeft));
    }
    default:
        return {};
    }
}

QVariant RunListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return m_texts.get(Captions[std::size_t(section)]);
}

QString RunListModel::text(const ListedRun& listed, int column) const
{
    const journal::JournalRun& run = listed.run;
    switch (column) {
    case Run:
        return QString::number(run.id);
    case Button:
        return listed.caption;
    case Scope:
        return scopeText(run);
    case Started:
        return run::startedText(run);
    case Contacts:
        return QString::number(run.contacts);
    case State:
        return stateText(run.stand);
    case Undone:
        return run.undoneBy != 0 ? m_texts.get(OwnText::UndoneByRun).arg(run.undoneBy) : QString();
    case Failed: {
        const int failed = run.failures + run.notReached;
        return failed != 0 ? QString::number(failed) : QString();
    }
    default:
        return {};
    }
}

QString RunListModel::scopeText(const journal::JournalRun& run) const
{
    if (run.info.kind == journal::RunKind::Retry)
        return m_texts.get(OwnText::ScopeRetryOf).arg(run.info.of);
    if (run.info.scope == LookupScope)
        return m_texts.get(MessageId::ApplyToCurrentLookup);
    if (run.info.scope == AllScope)
        return m_texts.get(MessageId::ApplyToAllContacts);
    return run.info.scope;
}

QString RunListModel::stateText(journal::RunStand stand) const
{
    switch (stand) {
    case journal::RunStand::Running:
        return m_texts.get(OwnText::StateRunning);
    case journal::RunStand::Finished:
        return m_texts.get(OwnText::StateFinished);
    case journal::RunStand::Stopped:
        return m_texts.get(OwnText::RunStopped);
    case journal::RunStand::Interrupted:
        return m_texts.get(OwnText::RunInterrupted);
    }
    return {};
}

} // namespace valdora::bar
