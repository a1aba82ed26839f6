#pragma once

#include "JournalWriter.h"
#include "SqliteFile.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

namespace valdora::journal {

/// Where a run stands: running (its process is alive), finished, or interrupted (its process ended
/// before it finished: a crash, a kill).
enum class RunStand { Running, Finished, Interrupted };

/// One journalled run, with what it holds.
struct JournalRun {
    qint64 id = 0;
    RunInfo info;
    QDateTime started;
    RunStand stand = RunStand::Running;
    int contacts = 0; ///< contacts with at least one change
    int changes = 0;  ///< field changes
    int pending = 0;  ///< field changes not undone yet
    int failures = 0; ///< contacts whose write failed and were not written since
};

/// One field of one contact as a run wrote it.
struct JournalChange {
    qint64 id = 0;
    QString contact;
    QString field; ///< the field's name
    QString oldValue;
    QString newValue;
    bool undone = false;
};

/// The user's journal of runs over many contacts: for each run, every field it wrote with the value it
/// held before, and the contacts whose write failed. One SQLite file per user, never inside a contact
/// database.
///
/// A run writes its entries in batches: a contact's entries are added before the contact's write, and
/// committed at least every `commitContacts` contacts or `commitMs` milliseconds and at the end, so a
/// crash loses at most the last batch; a run whose process is gone is marked interrupted when the
/// journal is next opened. The last `keepRuns` runs are kept, and no more than `maxBytes`.
class RunJournal final : public JournalWriter {
public:
    /// Opens (creates) the journal; throws JournalError when it cannot be used.
    explicit RunJournal(const QString& path);
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    /// The journal file of this user: in VALDORA_USER_DATA when set, else beside the per-user settings
    /// when VALDORA_USER_SETTINGS is set, else in "Valdora" of the user's data folder.
    static QString defaultPath();
    /// The journal of this user, opened; throws Failure (naming the file) when it cannot be used, so
    /// that a run does not start without it.
    static std::unique_ptr<RunJournal> openForUser();

    // Reading.
    /// Every run, newest first.
    std::vector<JournalRun> runs();
    std::optional<JournalRun> run(qint64 id);
    /// The changes of a run in the order written; only those not undone yet when `pendingOnly`.
    std::vector<JournalChange> changes(qint64 run, bool pendingOnly);
    /// The contacts whose write failed, in the order they failed.
    QStringList failures(qint64 run);
    /// The newest run with changes not undone yet.
    std::optional<qint64> lastUndoable();
    /// The newest run with contacts whose write failed.
    std::optional<qint64> lastWithFailures();

    // Writing a run (one at a time per journal object).
    /// Starts a run; its id.
    qint64 begin(const RunInfo& info) override;
    /// One field the contact is about to be written with; before the contact's write.
    void addChange(const QString& contact, const QString& field, const QString& oldValue,
                   const QString& newValue) override;
    /// The contact's write did not go through: its changes go, it is kept as failed.
    void contactFailed(const QString& contact) override;
    /// The contact is done with: commits when a batch is full or due.
    void contactDone() override;
    /// Changes of an earlier run put back by this one.
    void markUndone(const std::vector<qint64>& changeIds);
    /// Contacts of an earlier run now written after all.
    void resolveFailures(qint64 run, const QStringList& contacts) override;
    /// Ends the run: the last batch is committed, the run marked finished, old runs dropped.
    void finish() override;

    void setBatch(int contacts, int ms)
    {
        m_commitContacts = contacts;
        m_commitMs = ms;
    }
    void setRetention(int keepRuns, qint64 maxBytes)
    {
        m_keepRuns = keepRuns;
        m_maxBytes = maxBytes;
    }
    /// The file's size in use (pages not free).
    qint64 bytesInUse();

private:
    void createSchema();
    void markInterrupted();
    void commitBatch();
    void prune();
    std::vector<JournalRun> selectRuns(const char* where, qint64 id);

    SqliteFile m_file;
    /// Prepared once per run: a run adds one per field it writes. Declared after the file it uses.
    std::unique_ptr<SqliteStatement> m_insertChange;
    qint64 m_run = 0;
    bool m_inTransaction = false;
    int m_batchContacts = 0;
    QElapsedTimer m_sinceCommit;
    int m_commitContacts = 100;
    int m_commitMs = 1000;
    int m_keepRuns = 50;
    qint64 m_maxBytes = 100LL * 1024 * 1024;
};

QString kindName(RunKind kind);
QString standName(RunStand stand);

} // namespace valdora::journal
