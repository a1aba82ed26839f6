// The host's write loop as the run uses it (Goto, two Data reads, Edit, SetDataEx of one field,
// Update) over 100,000 sample contacts, beside the same updates done by plain SQLite with a prepared
// statement, one transaction per row: once on a table of its own that holds only what it writes, and
// once on a copy of the host's own file, where each contact's values sit on their own page among the
// names, sort keys and indexes of 100,000 contacts. The three take turns in slices of 10,000 rows, so
// that a machine that gets busier or quieter during the run weighs on all alike. Prints the rates and
// their ratios.
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int Contacts = 100000;
constexpr int Slice = 10000;

/// The host's own loop, a slice of the contacts at a time.
class HostLoop {
public:
    explicit HostLoop(const QString& path) : m_database(valdora::host::createDatabase())
    {
        m_database->OpenEx(path);
        valdora::host::ContactTable& table = m_database->Contact();
        table.Query(QString());
        for (table.MoveFirst(); !table.isEOF(); table.MoveNext())
            m_ids.append(table.Data(1));
    }

    void run(int rows)
    {
        valdora::host::ContactTable& table = m_database->Contact();
        QElapsedTimer timer;
        timer.start();
        for (const qsizetype end = std::min<qsizetype>(m_next + rows, m_ids.size()); m_next < end; ++m_next) {
            const QString& id = m_ids.at(m_next);
            table.Goto(id);
            const QString company = table.Data(25);
            const QString amount = table.Data(16);
            table.Edit();
            table.SetDataEx({27}, {company.left(4) + amount});
            if (table.Update() == id)
                ++m_written;
        }
        m_seconds += double(timer.nsecsElapsed()) / 1e9;
    }

    double rate() const { return double(m_next) / m_seconds; }
    int failed() const { return int(m_next) - m_written; }

private:
    std::unique_ptr<valdora::host::Database> m_database;
    QStringList m_ids;
    qsizetype m_next = 0;
    int m_written = 0;
    double m_seconds = 0;
};

/// Plain SQLite: one write per row in a transaction of its own, a slice at a time, through one
/// prepared statement over the given records.
class PlainLoop {
public:
    enum class File {
        /// A table of its own, made here: the rows 1 to Contacts, each written with INSERT OR REPLACE.
        OwnTable,
        /// A copy of the host's file: the contacts in the order the host's loop takes them, each
        /// written as the host writes a value.
        HostFile,
    };

    PlainLoop(const QString& path, File file)
    {
        sqlite3_open(path.toUtf8().constData(), &m_db);
        exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
        if (file == File::OwnTable)
            makeOwnTable();
        else
            readHostRecords();
        sqlite3_prepare_v2(m_db, "BEGIN", -1, &m_begin, nullptr);
        sqlite3_prepare_v2(m_db, "COMMIT", -1, &m_commit, nullptr);
        sqlite3_prepare_v2(m_db,
                           file == File::OwnTable
                               ? "INSERT OR REPLACE INTO vals VALUES(?, 27, ?)"
                               : "INSERT INTO vals(record, field, value) VALUES(?, 27, ?)"
                                 " ON CONFLICT(record, field) DO UPDATE SET value = excluded.value",
                           -1, &m_update, nullptr);
    }
    ~PlainLoop()
    {
        sqlite3_finalize(m_begin);
        sqlite3_finalize(m_commit);
        sqlite3_finalize(m_update);
        sqlite3_close(m_db);
    }
    PlainLoop(const PlainLoop&) = delete;
    PlainLoop& operator=(const PlainLoop&) = delete;

    void run(int rows)
    {
        QElapsedTimer timer;
        timer.start();
        for (const std::size_t end = std::min(m_next + std::size_t(rows), m_records.size()); m_next < end;
             ++m_next) {
            sqlite3_step(m_begin);
            sqlite3_reset(m_begin);
            sqlite3_bind_int64(m_update, 1, m_records[m_next]);
            sqlite3_bind_text(m_update, 2, "Comp123.45", -1, SQLITE_STATIC);
            if (sqlite3_step(m_update) != SQLITE_DONE)
                ++m_failed;
            sqlite3_reset(m_update);
            sqlite3_step(m_commit);
            sqlite3_reset(m_commit);
        }
        m_seconds += double(timer.nsecsElapsed()) / 1e9;
    }

    double rate() const { return double(m_next) / m_seconds; }
    std::size_t rows() const { return m_records.size(); }
    int failed() const { return m_failed; }

private:
    void exec(const char* sql) { sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr); }

    void makeOwnTable()
    {
        exec("CREATE TABLE vals(record INTEGER, field INTEGER, value TEXT,"
             " PRIMARY KEY(record, field)) WITHOUT ROWID;");
        exec("BEGIN");
        sqlite3_stmt* fill = nullptr;
        sqlite3_prepare_v2(m_db, "INSERT INTO vals VALUES(?, 25, 'Company name')", -1, &fill, nullptr);
        for (int i = 1; i <= Contacts; ++i) {
            sqlite3_bind_int(fill, 1, i);
            sqlite3_step(fill);
            sqlite3_reset(fill);
            m_records.push_back(i);
        }
        sqlite3_finalize(fill);
        exec("COMMIT");
    }

    void readHostRecords()
    {
        sqlite3_stmt* read = nullptr;
        sqlite3_prepare_v2(m_db, "SELECT record FROM contacts ORDER BY sortkey, uid", -1, &read, nullptr);
        while (sqlite3_step(read) == SQLITE_ROW)
            m_records.push_back(sqlite3_column_int64(read, 0));
        sqlite3_finalize(read);
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
    sqlite3_stmt* m_update = nullptr;
    std::vector<qint64> m_records;
    std::size_t m_next = 0;
    int m_failed = 0;
    double m_seconds = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.dbf"));
    valdora::host::createSampleDatabase(path, Contacts);
    const QString copy = dir.filePath(QStringLiteral("copy.dbf"));
    if (!QFile::copy(path, copy)) {
        std::fprintf(stderr, "bench_host: cannot copy the sample database to %s\n", qPrintable(copy));
        return 1;
    }
    PlainLoop plain(dir.filePath(QStringLiteral("plain.sqlite")), PlainLoop::File::OwnTable);
    PlainLoop plainOnHostFile(copy, PlainLoop::File::HostFile);
    HostLoop host(path);
    if (plainOnHostFile.rows() != std::size_t(Contacts)) {
        std::fprintf(stderr, "bench_host: the copy of the host's file holds %zu contacts, not %d\n",
                     plainOnHostFile.rows(), Contacts);
        return 1;
    }
    for (int done = 0; done < Contacts; done += Slice) {
        plain.run(Slice);
        plainOnHostFile.run(Slice);
        host.run(Slice);
    }
    if (host.failed() != 0)
        std::fprintf(stderr, "host: %d of %d updates failed\n", host.failed(), Contacts);
    if (plain.failed() != 0 || plainOnHostFile.failed() != 0)
        std::fprintf(stderr, "plain SQLite: %d and %d writes failed\n", plain.failed(),
                     plainOnHostFile.failed());
    const double ratio = host.rate() / plain.rate();
    std::printf("plain SQLite, one transaction per row: %.0f rows/s\n", plain.rate());
    std::printf("plain SQLite, the same on a copy of the host's file: %.0f rows/s (%.2f of its own table)\n",
                plainOnHostFile.rate(), plainOnHostFile.rate() / plain.rate());
    std::printf("host loop (Goto, 2 x Data, Edit, SetDataEx, Update): %.0f contacts/s (%.2f of plain SQLite "
                "on the host's file)\n",
                host.rate(), host.rate() / plainOnHostFile.rate());
    std::printf("ratio host/plain: %.2f (target at least 0.60): target %s\n", ratio,
                ratio >= 0.6 ? "met" : "missed");
    return 0;
}
