#include "RunJournal.h"

#include "core/Failure.h"
#include "core/ProcessRunning.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QStandardPaths>

namespace valdora::journal {

namespace {

const QString FileName = QStringLiteral("RunJournal.sqlite");

RunKind kindFrom(const QString& name)
{
    if (name == QStringLiteral("undo"))
        return RunKind::Undo;
    if (name == QStringLiteral("retry"))
        return RunKind::Retry;
    return RunKind::Run;
}

RunStand standFrom(const QString& name)
{
    if (name == QStringLiteral("finished"))
        return RunStand::Finished;
    if (name == QStringLiteral("interrupted"))
        return RunStand::Interrupted;
    if (name == QStringLiteral("stopped"))
        return RunStand::Stopped;
    return RunStand::Running;
}

} // namespace

QString kindName(RunKind kind)
{
    switch (kind) {
    case RunKind::Run:
        return QStringLiteral("run");
    case RunKind::Retry:
        return QStringLiteral("retry");
    case RunKind::Undo:
        return QStringLiteral("undo");
    }
    return QString();
}

QString standName(RunStand stand)
{
    switch (stand) {
    case RunStand::Running:
        return QStringLiteral("running");
    case RunStand::Finished:
        return QStringLiteral("finished");
    case RunStand::Stopped:
        return QStringLiteral("stopped");
    case RunStand::Interrupted:
        return QStringLiteral("interrupted");
    }
    return QString();
}

QString RunJournal::defaultPath()
{
    QString folder = qEnvironmentVariable("VALDORA_USER_DATA");
    if (folder.isEmpty())
        folder = qEnvironmentVariable("VALDORA_USER_SETTINGS");
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                 QStringLiteral("/Valdora");
    return folder + u'/' + FileName;
}

std::unique_ptr<RunJournal> RunJournal::openForUser()
{
    const QString path = defaultPath();
    try {
        try {
            return std::make_unique<RunJournal>(path);
        } catch (const JournalError& error) {
            if (!error.damaged())
                throw;
        }
        // A damaged journal would block every run and undo from now on: it is kept aside for whoever
        // wants to look into it, and a fresh one takes its place.
        const QString aside = path + QStringLiteral(".damaged-") +
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
        if (!QFile::rename(path, aside))
            throw JournalError(QStringLiteral("The run journal %1 is damaged and cannot be kept aside as %2")
                                   .arg(path, aside));
        for (const QString& suffix : {QStringLiteral("-wal"), QStringLiteral("-shm")})
            if (QFile::exists(path + suffix) && !QFile::rename(path + suffix, aside + suffix))
                QFile::remove(path + suffix);
        auto journal = std::make_unique<RunJournal>(path);
        journal->m_setAside = aside;
        return journal;
    } catch (const JournalError& error) {
        throw Failure(ErrorNumber::PathFileAccessError, error.message());
    }
}

RunJournal::RunJournal(const QString& path)
    : m_file([&] {
          QDir().mkpath(QFileInfo(path).absolutePath());
          return path;
      }())
{
    // A journal the user cannot write is only read: its runs are listed, a run cannot be entered.
    if (m_file.readOnly())
        return;
    createSchema();
    markInterrupted();
}

RunJournal::~RunJournal()
{
    // A run that never reached its end keeps what it wrote, and says it did not finish.
    try {
        if (m_run != 0) {
            commitBatch();
            markStand(RunStand::Interrupted);
        }
    } catch (const JournalError&) {
    }
}

void RunJournal::createSchema()
{
    // Pages freed by dropped runs go back to the file system, so the size limit means what it says.
    m_file.exec("PRAGMA auto_vacuum = INCREMENTAL;");
    m_file.exec("CREATE TABLE IF NOT EXISTS runs ("
                " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                " kind TEXT NOT NULL, button TEXT NOT NULL, database TEXT NOT NULL, started TEXT NOT NULL,"
                " user TEXT NOT NULL, scope TEXT NOT NULL, of INTEGER NOT NULL DEFAULT 0,"
                " numbers INTEGER NOT NULL DEFAULT 0, stand TEXT NOT NULL, pid INTEGER NOT NULL);"
                "CREATE TABLE IF NOT EXISTS changes ("
                " id INTEGER PRIMARY KEY,"
                " run INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
                " contact TEXT NOT NULL, field TEXT NOT NULL, old TEXT NOT NULL, new TEXT NOT NULL,"
                " undone INTEGER NOT NULL DEFAULT 0);"
                "CREATE INDEX IF NOT EXISTS changes_of_contact ON changes(run, contact);"
                "CREATE TABLE IF NOT EXISTS failures ("
                " id INTEGER PRIMARY KEY,"
                " run INTEGER NOT NULL REFERENCES runs(id) ON DELETE CASCADE,"
                " contact TEXT NOT NULL, reached INTEGER NOT NULL DEFAULT 1);"
                "CREATE INDEX IF NOT EXISTS failures_of_run ON failures(run, contact);");
    // Journals written before runs kept their unreached contacts: every failure there was reached.
    // A journal made here has the column from the start, so two programs opening a new journal at
    // once never both try to add it.
    bool hasReached = false;
    {
        SqliteStatement columns = m_file.prepare("PRAGMA table_info(failures)");
        while (columns.step())
            hasReached = hasReached || columns.text(1) == QStringLiteral("reached");
    }
    if (!hasReached)
        m_file.exec("ALTER TABLE failures ADD COLUMN reached INTEGER NOT NULL DEFAULT 1;");
}

void RunJournal::markInterrupted()
{
    std::vector<qint64> gone;
    {
        SqliteStatement running = m_file.prepare("SELECT id, pid FROM runs WHERE stand = 'running'");
        while (running.step()) {
            if (!isProcessRunning(running.integer(1)))
                gone.push_back(running.integer(0));
        }
    }
    for (const qint64 id : gone) {
        SqliteStatement mark = m_file.prepare("UPDATE runs SET stand = 'interrupted' WHERE id = ?");
        mark.bind(1, id).step();
    }
}

std::vector<JournalRun> RunJournal::selectRuns(const char* where, qint64 id)
{
    QByteArray sql =
        "SELECT r.id, r.kind, r.button, r.database, r.started, r.user, r.scope, r.of, r.numbers,"
        " r.stand,"
        " (SELECT COUNT(DISTINCT contact) FROM changes c WHERE c.run = r.id),"
        " (SELECT COUNT(*) FROM changes c WHERE c.run = r.id),"
        " CASE WHEN r.kind = 'undo' THEN 0 ELSE"
        "  (SELECT COUNT(*) FROM changes c WHERE c.run = r.id AND c.undone = 0) END,"
        " (SELECT COUNT(*) FROM failures f WHERE f.run = r.id AND f.reached = 1),"
        " (SELECT COUNT(*) FROM failures f WHERE f.run = r.id AND f.reached = 0),"
        " (SELECT COALESCE(MAX(u.id), 0) FROM runs u WHERE u.kind = 'undo' AND u.of = r.id"
        "  AND u.stand = 'finished' AND NOT EXISTS (SELECT 1 FROM failures f WHERE f.run = u.id))"
        " FROM runs r ";
    sql += where;
    sql += " ORDER BY r.id DESC";
    SqliteStatement select = m_file.prepare(sql.constData());
    if (id != 0)
        select.bind(1, id);
    std::vector<JournalRun> found;
    while (select.step()) {
        JournalRun run;
        run.id = select.integer(0);
        run.info = {kindFrom(select.text(1)), select.text(2),    select.text(3),        select.text(5),
                    select.text(6),           select.integer(7), select.integer(8) != 0};
        run.started = QDateTime::fromString(select.text(4), Qt::ISODateWithMs);
        run.stand = standFrom(select.text(9));
        run.contacts = static_cast<int>(select.integer(10));
        run.changes = static_cast<int>(select.integer(11));
        run.pending = static_cast<int>(select.integer(12));
        run.failures = static_cast<int>(select.integer(13));
        run.notReached = static_cast<int>(select.integer(14));
        run.undoneBy = run.isUndo() ? 0 : select.integer(15);
        found.push_back(std::move(run));
    }
    return found;
}

std::vector<JournalRun> RunJournal::runs()
{
    return selectRuns("", 0);
}

std::optional<JournalRun> RunJournal::run(qint64 id)
{
    std::vector<JournalRun> found = selectRuns("WHERE r.id = ?", id);
    if (found.empty())
        return std::nullopt;
    return std::move(found.front());
}

std::vector<JournalChange> RunJournal::changes(qint64 run, bool pendingOnly)
{
    SqliteStatement select = m_file.prepare(
        "SELECT id, contact, field, old, new, undone FROM changes WHERE run = ? AND (undone = 0 OR ? = 0)"
        " ORDER BY id");
    select.bind(1, run).bind(2, pendingOnly ? 1 : 0);
    std::vector<JournalChange> found;
    while (select.step())
        found.push_back({select.integer(0), select.text(1), select.text(2), select.text(3), select.text(4),
                         select.integer(5) != 0});
    return found;
}

QStringList RunJournal::failures(qint64 run)
{
    SqliteStatement select =
        m_file.prepare("SELECT contact FROM failures WHERE run = ? ORDER BY reached DESC, id");
    select.bind(1, run);
    QStringList found;
    while (select.step())
        found << select.text(0);
    return found;
}

std::optional<qint64> RunJournal::lastUndoable()
{
    // A finished undo that left no contact locked took its run back; what it left (fields changed since)
    // stays where it is.
    SqliteStatement select = m_file.prepare(
        "SELECT MAX(r.id) FROM runs r WHERE r.kind <> 'undo' AND r.stand <> 'running'"
        " AND EXISTS (SELECT 1 FROM changes c WHERE c.run = r.id AND c.undone = 0)"
        " AND NOT EXISTS (SELECT 1 FROM runs u WHERE u.kind = 'undo' AND u.of = r.id AND u.stand = 'finished'"
        "  AND NOT EXISTS (SELECT 1 FROM failures f WHERE f.run = u.id))");
    if (select.step() && select.integer(0) > 0)
        return select.integer(0);
    return std::nullopt;
}

std::optional<qint64> RunJournal::lastWithFailures()
{
    // An undo's locked contacts are finished by undoing its run again, not by a retry.
    SqliteStatement select = m_file.prepare(
        "SELECT MAX(f.run) FROM failures f JOIN runs r ON r.id = f.run WHERE r.kind <> 'undo'");
    if (select.step() && select.integer(0) > 0)
        return select.integer(0);
    return std::nullopt;
}

qint64 RunJournal::begin(const RunInfo& info)
{
    // A run before this one that never reached its end keeps what it wrote, marked interrupted.
    if (m_run != 0) {
        commitBatch();
        markStand(RunStand::Interrupted);
        m_run = 0;
    }
    commitBatch();
    inTransaction();
    SqliteStatement insert = m_file.prepare(
        "INSERT INTO runs (kind, button, database, started, user, scope, of, numbers, stand, pid)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, 'running', ?)");
    insert.bind(1, kindName(info.kind))
        .bind(2, info.button)
        .bind(3, info.database)
        .bind(4, QDateTime::currentDateTime().toString(Qt::ISODateWithMs))
        .bind(5, info.user)
        .bind(6, info.scope)
        .bind(7, info.of)
        .bind(8, info.numbers ? 1 : 0)
        .bind(9, QCoreApplication::applicationPid());
    try {
        insert.step();
    } catch (const JournalError&) {
        rollbackBatch();
        throw;
    }
    m_run = m_file.lastInsertId();
    // The run is in the journal before its first write.
    commitBatch();
    return m_run;
}

void RunJournal::inTransaction()
{
    if (m_inTransaction)
        return;
    m_file.exec("BEGIN IMMEDIATE");
    m_inTransaction = true;
}

void RunJournal::addChange(const QString& contact, const QString& field, const QString& oldValue,
                           const QString& newValue)
{
    inTransaction();
    if (!m_insertChange)
        m_insertChange = std::make_unique<SqliteStatement>(
            m_file.prepare("INSERT INTO changes (run, contact, field, old, new) VALUES (?, ?, ?, ?, ?)"));
    m_insertChange->reset();
    m_insertChange->bind(1, m_run).bind(2, contact).bind(3, field).bind(4, oldValue).bind(5, newValue).step();
    m_insertChange->reset();
}

void RunJournal::writeAhead()
{
    // One commit per contact: the WAL takes it without waiting for the disk, and the write lock is
    // held only for the moment of the commit, not for a whole batch.
    try {
        commitBatch();
    } catch (const JournalError&) {
        rollbackBatch();
        throw;
    }
}

void RunJournal::contactFailed(const QString& contact)
{
    inTransaction();
    SqliteStatement drop = m_file.prepare("DELETE FROM changes WHERE run = ? AND contact = ?");
    drop.bind(1, m_run).bind(2, contact).step();
    SqliteStatement keep = m_file.prepare("INSERT INTO failures (run, contact) VALUES (?, ?)");
    keep.bind(1, m_run).bind(2, contact).step();
    // A failure is rare and must not wait for a batch that a kill would lose.
    commitBatch();
}

void RunJournal::contactDone()
{
    ++m_batchContacts;
    if (m_batchContacts >= m_commitContacts || m_sinceCommit.elapsed() >= m_commitMs)
        commitBatch();
}

void RunJournal::markUndone(const std::vector<qint64>& changeIds)
{
    inTransaction();
    SqliteStatement mark = m_file.prepare("UPDATE changes SET undone = 1 WHERE id = ?");
    for (const qint64 id : changeIds) {
        mark.bind(1, id).step();
        mark.reset();
    }
}

void RunJournal::resolveFailures(qint64 run, const QStringList& contacts)
{
    inTransaction();
    SqliteStatement drop = m_file.prepare("DELETE FROM failures WHERE run = ? AND contact = ?");
    for (const QString& contact : contacts) {
        drop.bind(1, run).bind(2, contact).step();
        drop.reset();
    }
}

void RunJournal::commitBatch()
{
    if (m_inTransaction) {
        m_file.exec("COMMIT");
        m_inTransaction = false;
    }
    m_batchContacts = 0;
    m_sinceCommit.start();
}

void RunJournal::rollbackBatch()
{
    m_inTransaction = false;
    m_file.rollback();
}

void RunJournal::markStand(RunStand stand)
{
    SqliteStatement mark = m_file.prepare("UPDATE runs SET stand = ? WHERE id = ?");
    mark.bind(1, standName(stand)).bind(2, m_run).step();
}

void RunJournal::finish(const RunEnd& end)
{
    if (m_run == 0)
        return;
    const RunStand stand = end.stopped ? RunStand::Stopped : RunStand::Finished;
    try {
        inTransaction();
        if (!end.failedAt.isEmpty())
            contactFailed(end.failedAt);
        inTransaction();
        SqliteStatement unreached =
            m_file.prepare("INSERT INTO failures (run, contact, reached) VALUES (?, ?, 0)");
        for (const QString& contact : end.notReached) {
            unreached.bind(1, m_run).bind(2, contact).step();
            unreached.reset();
        }
        markStand(stand);
        commitBatch();
    } catch (const JournalError&) {
        // What the journal could not take goes; the run is still marked as ended where the file lets
        // it, else it is found interrupted at the next open.
        rollbackBatch();
        try {
            markStand(RunStand::Stopped);
        } catch (const JournalError&) {
        }
        m_run = 0;
        throw;
    }
    // The run is recorded: a prune that fails leaves old runs, never this one marked interrupted.
    const auto ended = qScopeGuard([this] { m_run = 0; });
    prune();
}

qint64 RunJournal::bytesInUse()
{
    auto value = [&](const char* pragma) {
        SqliteStatement read = m_file.prepare(pragma);
        return read.step() ? read.integer(0) : 0;
    };
    return (value("PRAGMA page_count") - value("PRAGMA freelist_count")) * value("PRAGMA page_size");
}

void RunJournal::limitPages(qint64 pages)
{
    const QByteArray pragma = "PRAGMA max_page_count = " + QByteArray::number(pages) + ';';
    m_file.exec(pragma.constData());
}

void RunJournal::prune()
{
    // The oldest runs go first; the run just finished always stays.
    {
        SqliteStatement drop = m_file.prepare(
            "DELETE FROM runs WHERE id NOT IN (SELECT id FROM runs ORDER BY id DESC LIMIT ?) AND id <> ?");
        drop.bind(1, m_keepRuns).bind(2, m_run).step();
    }
    while (bytesInUse() > m_maxBytes) {
        SqliteStatement drop =
            m_file.prepare("DELETE FROM runs WHERE id = (SELECT MIN(id) FROM runs WHERE id <> ?)");
        drop.bind(1, m_run).step();
        SqliteStatement left = m_file.prepare("SELECT COUNT(*) FROM runs WHERE id <> ?");
        left.bind(1, m_run);
        if (!left.step() || left.integer(0) == 0)
            break;
    }
    m_file.exec("PRAGMA incremental_vacuum;");
}

} // namespace valdora::journal
