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

/// Where a run stands: running (its process is alive), finished, stopped (it ended halfway on a
/// failure and said so), or interrupted (its process ended before it finished: a crash, a kill).
enum class RunStand { Running, Finished, Stopped, Interrupted };

/// One journalled run, with what it holds.
struct JournalRun {
    qint64 id = 0;
    RunInfo info;
    QDateTime started;
    RunStand stand = RunStand::Running;
    int contacts = 0;   ///< contacts with at least one change
    int changes = 0;    ///< field changes
    int pending = 0;    ///< field changes not undone yet
    int failures = 0;   ///< contacts whose write failed and were not written since
    int notReached = 0; ///< contacts of a stopped run it never came to, not written since
    /// The undo that took this run back (the newest one that came to its end with no contact left
    /// locked); 0 while the run is not undone.
    qint64 undoneBy = 0;

    bool isUndo() const { return info.kind == RunKind::Undo; }
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
/// A run commits each contact's entries before the contact's write (writeAhead), so a kill never
/// leaves a written contact that the journal does not hold; the file is in WAL mode with
/// synchronous=NORMAL, so such a commit is an append to the WAL without waiting for the disk, and a
/// power cut may lose the last commits (with the writes after them, which the host database commits the
/// same way). Other entries (failures, an undo's marks) are committed in batches of `commitContacts`
/// contacts or `commitMs` milliseconds and at the end. A run whose process is gone is marked
/// interrupted when the journal is next opened. The last `keepRuns` runs are kept, and no more than
/// `maxBytes`.
///
/// An undo is an entry of its own, recorded against the run it takes back (`of`); it is never offered
/// for undo itself.
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
    /// that a run does not start without it. A damaged journal is renamed with the time
    /// ("RunJournal.sqlite.damaged-20261209-061500") and a fresh one started: setAside() says where
    /// the old one went, for the one message that tells the user.
    static std::unique_ptr<RunJournal> openForUser();
    /// Where a damaged journal was kept when this one was opened in its place; empty otherwise.
    const QString& setAside() const { return m_setAside; }
    /// The file could only be opened for reading: runs are listed, none can be entered.
    bool readOnly() const { return m_file.readOnly(); }

    // Reading.
    /// Every run, newest first.
    std::vector<JournalRun> runs();
    std::optional<JournalRun> run(qint64 id);
    /// The changes of a run in the order written; only those not undone yet when `pendingOnly`.
    std::vector<JournalChange> changes(qint64 run, bool pendingOnly);
    /// The contacts whose write failed, in the order they failed, then those a stopped run never came
    /// to: what a retry of the run covers.
    QStringList failures(qint64 run);
    /// The newest run (not an undo, not running) with changes not undone yet that no undo took back.
    std::optional<qint64> lastUndoable();
    /// The newest run (not an undo) with contacts whose write failed or that it did not reach.
    std::optional<qint64> lastWithFailures();

    // Writing a run (one at a time per journal object).
    /// Starts a run; its id.
    qint64 begin(const RunInfo& info) override;
    /// One field the contact is about to be written with; before the contact's write.
    void addChange(const QString& contact, const QString& field, const QString& oldValue,
                   const QString& newValue) override;
    /// Commits the contact's changes before its write.
    void writeAhead() override;
    /// The contact's write did not go through: its changes go, it is kept as failed.
    void contactFailed(const QString& contact) override;
    /// The contact is done with: commits when a batch is full or due.
    void contactDone() override;
    /// Changes of an earlier run put back by this one.
    void markUndone(const std::vector<qint64>& changeIds);
    /// Contacts of an earlier run now written after all.
    void resolveFailures(qint64 run, const QStringList& contacts) override;
    /// Ends the run: the last batch is committed, the run marked finished or stopped (with its failed
    /// and unreached contacts), old runs dropped. When the journal cannot take that, the run is still
    /// marked stopped where it can be, and the failure is thrown.
    void finish(const RunEnd& end) override;

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
    /// The file grows no further than that many pages, as on a full disk (tests of a journal that
    /// cannot take a change).
    void limitPages(qint64 pages);

private:
    void createSchema();
    void markInterrupted();
    /// Opens the write transaction of a batch when none is open.
    void inTransaction();
    void commitBatch();
    /// Drops what was not committed (after a failure), so that the connection can go on.
    void rollbackBatch();
    void markStand(RunStand stand);
    void prune();
    std::vector<JournalRun> selectRuns(const char* where, qint64 id);

    SqliteFile m_file;
    QString m_setAside;
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
