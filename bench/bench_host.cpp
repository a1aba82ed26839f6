// The host's write loop as the run uses it (Goto, two Data reads, Edit, SetDataEx of one field,
// Update) over 100,000 sample contacts, beside the same updates done by plain SQLite with a prepared
// statement, one transaction per row. Prints both rates and their ratio.
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>

namespace {

constexpr int Contacts = 100000;

double hostRate(const QString& path)
{
    auto database = valdora::host::createDatabase();
    database->OpenEx(path);
    valdora::host::ContactTable& table = database->Contact();
    table.Query(QString());
    QStringList ids;
    for (table.MoveFirst(); !table.isEOF(); table.MoveNext())
        ids.append(table.Data(1));
    QElapsedTimer timer;
    timer.start();
    int written = 0;
    for (const QString& id : ids) {
        table.Goto(id);
        const QString company = table.Data(25);
        const QString amount = table.Data(16);
        table.Edit();
        table.SetDataEx({27}, {company.left(4) + amount});
        if (table.Update() == id)
            ++written;
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (written != ids.size())
        std::fprintf(stderr, "host: %d of %lld updates failed\n", int(ids.size()) - written,
                     qlonglong(ids.size()));
    return double(ids.size()) / seconds;
}

double plainRate(const QString& path)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                 "CREATE TABLE vals(record INTEGER, field INTEGER, value TEXT, PRIMARY KEY(record, field)) "
                 "WITHOUT ROWID;",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* fill = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO vals VALUES(?, 25, 'Company name')", -1, &fill, nullptr);
    for (int i = 1; i <= Contacts; ++i) {
        sqlite3_bind_int(fill, 1, i);
        sqlite3_step(fill);
        sqlite3_reset(fill);
    }
    sqlite3_finalize(fill);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);

    sqlite3_stmt* begin = nullptr;
    sqlite3_stmt* commit = nullptr;
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, "BEGIN", -1, &begin, nullptr);
    sqlite3_prepare_v2(db, "COMMIT", -1, &commit, nullptr);
    sqlite3_prepare_v2(db, "INSERT OR REPLACE INTO vals VALUES(?, 27, ?)", -1, &update, nullptr);
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= Contacts; ++i) {
        sqlite3_step(begin);
        sqlite3_reset(begin);
        sqlite3_bind_int(update, 1, i);
        sqlite3_bind_text(update, 2, "Comp123.45", -1, SQLITE_STATIC);
        sqlite3_step(update);
        sqlite3_reset(update);
        sqlite3_step(commit);
        sqlite3_reset(commit);
    }
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    sqlite3_finalize(begin);
    sqlite3_finalize(commit);
    sqlite3_finalize(update);
    sqlite3_close(db);
    return Contacts / seconds;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Bench.dbf"));
    valdora::host::createSampleDatabase(path, Contacts);
    const double plain = plainRate(dir.filePath(QStringLiteral("plain.sqlite")));
    const double host = hostRate(path);
    std::printf("plain SQLite, one transaction per row: %.0f rows/s\n", plain);
    std::printf("host loop (Goto, 2 x Data, Edit, SetDataEx, Update): %.0f contacts/s\n", host);
    std::printf("ratio host/plain: %.2f\n", host / plain);
    return 0;
}
