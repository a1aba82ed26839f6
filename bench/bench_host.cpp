// The host's write loop as the run uses it (Goto, two Data reads, Edit, SetDataEx of one field,
// Update) over 100,000 sample contacts, beside the same updates done by plain SQLite with a prepared
// statement, one transaction per row. The two take turns in slices of 10,000 rows, so that a machine
// that gets busier or quieter during the run weighs on both alike. Prints both rates and their ratio.
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>

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

/// Plain SQLite: one INSERT OR REPLACE per row in a transaction of its own, a slice at a time.
class PlainLoop {
public:
    explicit PlainLoop(const QString& path)
    {
        sqlite3_open(path.toUtf8().constData(), &m_db);
        sqlite3_exec(m_db,
                     "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                     "CREATE TABLE vals(record INTEGER, field INTEGER, value TEXT, PRIMARY KEY(record, "
                     "field)) WITHOUT ROWID;",
                     nullptr, nullptr, nullptr);
        sqlite3_exec(m_db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* fill = nullptr;
        sqlite3_prepare_v2(m_db, "INSERT INTO vals VALUES(?, 25, 'Company name')", -1, &fill, nullptr);
        for (int i = 1; i <= Contacts; ++i) {
            sqlite3_bind_int(fill, 1, i);
            sqlite3_step(fill);
            sqlite3_reset(fill);
        }
        sqlite3_finalize(fill);
        sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_prepare_v2(m_db, "BEGIN", -1, &m_begin, nullptr);
        sqlite3_prepare_v2(m_db, "COMMIT", -1, &m_commit, nullptr);
        sqlite3_prepare_v2(m_db, "INSERT OR REPLACE INTO vals VALUES(?, 27, ?)", -1, &m_update, nullptr);
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
        for (const int end = std::min(m_next + rows, Contacts + 1); m_next < end; ++m_next) {
            sqlite3_step(m_begin);
            sqlite3_reset(m_begin);
            sqlite3_bind_int(m_update, 1, m_next);
            sqlite3_bind_text(m_update, 2, "Comp123.45", -1, SQLITE_STATIC);
            sqlite3_step(m_update);
            sqlite3_reset(m_update);
            sqlite3_step(m_commit);
            sqlite3_reset(m_commit);
        }
        m_seconds += double(timer.nsecsElapsed()) / 1e9;
    }

    double rate() const { return (m_next - 1) / m_seconds; }

private:
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_begin = nullptr;
    sqlite3_stmt* m_commit = nullptr;
    sqlite3_stmt* m_update = nullptr;
    int m_next = 1;
    double m_seconds = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.dbf"));
    valdora::host::createSampleDatabase(path, Contacts);
    PlainLoop plain(dir.filePath(QStringLiteral("plain.sqlite")));
    HostLoop host(path);
    for (int done = 0; done < Contacts; done += Slice) {
        plain.run(Slice);
        host.run(Slice);
    }
    if (host.failed() != 0)
        std::fprintf(stderr, "host: %d of %d updates failed\n", host.failed(), Contacts);
    const double ratio = host.rate() / plain.rate();
    std::printf("plain SQLite, one transaction per row: %.0f rows/s\n", plain.rate());
    std::printf("host loop (Goto, 2 x Data, Edit, SetDataEx, Update): %.0f contacts/s\n", host.rate());
    std::printf("ratio host/plain: %.2f (target at least 0.60): target %s\n", ratio,
                ratio >= 0.6 ? "met" : "missed");
    return 0;
}
