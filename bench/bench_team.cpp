// A button run over the contacts of a database on a PostgreSQL server, through one workstation,
// beside the host's own per-row write on the same server (the ratio), and the same run split over
// 1, 2 and 4 workstations at once (each a process of its own with its own connection): aggregate
// contacts per second. The server is the one named by VALDORA_BENCH_SERVER (a location whose
// dbname is the maintenance database), else a throwaway one started in a temporary folder.
#include "core/testsupport/ScriptedPlatform.h"
#include "host/LookupFile.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"
#include "host/server/ServerConnection.h"
#include "run/ButtonRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <map>
#include <memory>

namespace {

using namespace valdora;

/// The contact table of a database whose selection of all contacts is one slice of them (a lookup
/// file): a workstation's share of a run split over several.
class SliceTable final : public host::ContactTable {
public:
    SliceTable(host::ContactTable& inner, QString lookup) : m_inner(inner), m_lookup(std::move(lookup)) {}
    host::FieldList& Fields() override { return m_inner.Fields(); }
    const host::FieldList& Fields() const override { return m_inner.Fields(); }
    void Goto(const host::ContactId& id, Where where) override { m_inner.Goto(id, where); }
    QString Data(host::FieldId id, Where where) const override { return m_inner.Data(id, where); }
    bool isLocked(Where where) const override { return m_inner.isLocked(where); }
    void Edit(Where where) override { m_inner.Edit(where); }
    int LockLevel(Where where) const override { return m_inner.LockLevel(where); }
    void SetDataEx(const QList<host::FieldId>& ids, const QStringList& values, Where where) override
    {
        m_inner.SetDataEx(ids, values, where);
    }
    QString Update(Where where) override { return m_inner.Update(where); }
    QString lastWriteFailure() const override { return m_inner.lastWriteFailure(); }
    void Query(const QString&, Where where) override { m_inner.LoadLookUpQuery(m_lookup, where); }
    void LoadLookUpQuery(const QString& file, Where where) override { m_inner.LoadLookUpQuery(file, where); }
    void MoveFirst(Where where) override { m_inner.MoveFirst(where); }
    void MoveNext(Where where) override { m_inner.MoveNext(where); }
    bool isEOF(Where where) const override { return m_inner.isEOF(where); }

private:
    host::ContactTable& m_inner;
    QString m_lookup;
};

class SliceDatabase final : public host::Database {
public:
    SliceDatabase(host::Database& inner, const QString& lookup)
        : m_inner(inner), m_table(m_inner.Contact(), lookup)
    {}
    void OpenEx(const QString& path, Where where) override { m_inner.OpenEx(path, where); }
    host::ContactTable& Contact(Where) override { return m_table; }
    host::UserList& Users(Where where) override { return m_inner.Users(where); }
    QString CurrentUser(Where where) const override { return m_inner.CurrentUser(where); }
    QString GetDatabasePath(Where where) const override { return m_inner.GetDatabasePath(where); }
    void Close() override { m_inner.Close(); }
    bool isMultiuser(Where where) const override { return m_inner.isMultiuser(where); }
    bool ValidateUser(const QString& user, const QString& password, Where where) override
    {
        return m_inner.ValidateUser(user, password, where);
    }
    bool Error() const override { return m_inner.Error(); }

private:
    host::Database& m_inner;
    SliceTable m_table;
};

/// A program folder with its settings and a Now button, as one workstation has it.
struct Workstation {
    Workstation()
    {
        QDir(folder.path()).mkpath(QStringLiteral("Settings"));
        session = std::make_unique<ProgramSession>(platform, QStringLiteral("Valdora"), folder.path(),
                                                   UserSettings(folder.filePath(QStringLiteral("user"))));
        session->setSettingsFile(folder.filePath(QStringLiteral("Settings/valdora.ini")));
        const ButtonFile button =
            ButtonFile::inFolder(session->ini(), session->buttonFolder(), QStringLiteral("~100.ini"));
        for (const auto& [key, value] : QList<QPair<QString, QString>>{{"Type", "4"},
                                                                       {"Target", "User 1"},
                                                                       {"NowOperator", "0"},
                                                                       {"NowDays", "0"},
                                                                       {"NowFormatDate0", "1"},
                                                                       {"Over0", "0"},
                                                                       {"Over1", "0"},
                                                                       {"Over3", "1"}})
            button.write(key, value);
    }
    /// Runs the Now button over every contact of the database's selection: contacts per second.
    double run(host::Database& database, int contacts)
    {
        run::FixedScopeChooser scopes(run::Scope::AllContacts);
        run::ButtonRun buttonRun(*session, {&database, nullptr, nullptr},
                                 run::ProgramProfile::valdora(session->locale()), &scopes);
        QElapsedTimer timer;
        timer.start();
        const run::RunSummary summary = buttonRun.Process_Button(QStringLiteral("~100.ini"));
        const double rate = contacts * 1000.0 / std::max<qint64>(timer.elapsed(), 1);
        // A second run on the same day writes the same date again: "unchanged", written all the same.
        if (summary.written + summary.unchanged != contacts || summary.failed != 0)
            std::fprintf(stderr,
                         "the run wrote %d of %d contacts (%d in scope, %d unchanged, %d failed%s%s); its "
                         "messages: %s\n",
                         summary.written, contacts, summary.inScope, summary.unchanged, summary.failed,
                         summary.stopped ? ", stopped" : "", summary.started ? "" : ", not started",
                         shownMessages().toLocal8Bit().constData());
        return rate;
    }

    /// What the run showed its user, for a run that did not write every contact.
    QString shownMessages() const
    {
        QStringList texts;
        for (const MessageRequest& message : platform.messages())
            texts.append(message.text);
        return texts.join(QStringLiteral(" | "));
    }

    QTemporaryDir folder;
    ScriptedPlatform platform;
    std::unique_ptr<ProgramSession> session;
};

/// "bench_team --worker LOCATION LOOKUP COUNT": one workstation's share. Says "ready" once it has
/// the database open and starts its run when told "go" on its input, so that every workstation
/// runs at once and none is timed with its start.
int worker(const QString& location, const QString& lookup, int contacts)
{
    Workstation workstation;
    std::unique_ptr<host::Database> opened = host::createDatabase();
    opened->OpenEx(location, Where::current());
    SliceDatabase database(*opened, lookup);
    std::printf("ready\n");
    std::fflush(stdout);
    char line[16] = {};
    if (std::fgets(line, sizeof line, stdin) == nullptr)
        return 1;
    workstation.run(database, contacts);
    return 0;
}

/// The throwaway server of the bench, when none is named.
struct BenchServer {
    BenchServer()
    {
        location = qEnvironmentVariable("VALDORA_BENCH_SERVER");
        if (!location.isEmpty())
            return;
        state = folder.filePath(QStringLiteral("server/state"));
        if (QProcess::execute(QStringLiteral("bash"), {QStringLiteral(SCRIPTS_FOLDER "/test-server.sh"),
                                                       QStringLiteral("start"), state}) != 0)
            throw host::HostFailure(host::HostError::DatabaseFailure,
                                    QStringLiteral("the bench's server did not start"));
        QFile file(state + QStringLiteral(".location"));
        file.open(QIODevice::ReadOnly);
        location = QString::fromUtf8(file.readAll()).trimmed();
    }
    ~BenchServer()
    {
        if (!state.isEmpty())
            QProcess::execute(QStringLiteral("bash"), {QStringLiteral(SCRIPTS_FOLDER "/test-server.sh"),
                                                       QStringLiteral("stop"), state});
    }
    QTemporaryDir folder;
    QString state;
    QString location;
};

/// The contacts of a run split over workstations that run at the same time, each a process of its
/// own with its own connection, started together: contacts per second from the start to the end
/// of the last.
double splitRun(const QString& location, const QStringList& ids, int workstations, const QString& folder,
                const char* program)
{
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int w = 0; w < workstations; ++w) {
        QList<host::ContactId> slice;
        for (qsizetype i = w; i < ids.size(); i += workstations)
            slice.append(ids.at(i));
        const QString file = QStringLiteral("%1/slice-%2-%3.lup").arg(folder).arg(workstations).arg(w);
        host::writeLookupFile(file, slice);
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QString::fromLocal8Bit(program),
                       {QStringLiteral("--worker"), location, file, QString::number(slice.size())});
        processes.push_back(std::move(process));
    }
    for (const auto& process : processes)
        while (!process->canReadLine())
            if (!process->waitForReadyRead(60000))
                throw host::HostFailure(
                    host::HostError::DatabaseFailure,
                    QStringLiteral("a workstation did not open the database within a minute"));
    QElapsedTimer timer;
    timer.start();
    // Written out to every workstation before the first is waited for: QProcess sends what it was
    // given only while it is waited on, and a workstation told later would run after the others.
    for (const auto& process : processes)
        process->write("go\n");
    for (const auto& process : processes)
        if (!process->waitForBytesWritten(10000))
            throw host::HostFailure(host::HostError::DatabaseFailure,
                                    QStringLiteral("a workstation was not told to start within 10 s"));
    for (const auto& process : processes)
        if (!process->waitForFinished(30 * 60 * 1000) || process->exitCode() != 0)
            throw host::HostFailure(
                host::HostError::DatabaseFailure,
                QStringLiteral("a workstation's run did not end well within half an hour"));
    return ids.size() * 1000.0 / std::max<qint64>(timer.elapsed(), 1);
}

/// Seconds and waits for the server's answer of one side of the ratio, summed over its turns.
struct Side {
    double seconds = 0;
    qint64 trips = 0;
    int contacts = 0;

    template <typename Work> void measure(int count, Work&& work)
    {
        const qint64 trips0 = host::server::ServerConnection::roundTrips();
        QElapsedTimer timer;
        timer.start();
        work();
        seconds += double(timer.nsecsElapsed()) / 1e9;
        trips += host::server::ServerConnection::roundTrips() - trips0;
        contacts += count;
    }
    double rate() const { return contacts / std::max(seconds, 1e-9); }
    double tripsPerContact() const { return double(trips) / std::max(contacts, 1); }
};

int measure(int contacts, const char* program)
{
    BenchServer server;
    {
        host::server::ServerConnection connection(server.location);
        connection.run("DROP DATABASE IF EXISTS bench_team");
        connection.run("CREATE DATABASE bench_team");
    }
    QString location = server.location;
    location.replace(QStringLiteral("dbname=postgres"), QStringLiteral("dbname=bench_team"));
    QElapsedTimer timer;
    timer.start();
    host::createSampleDatabase(location, contacts);
    std::printf("%d sample contacts made on the server in %.1f s\n", contacts, timer.elapsed() / 1000.0);

    // Each measurement starts from a vacuumed table: the dead rows of the one before would
    // otherwise be cleaned up during the next, and charged to it.
    host::server::ServerConnection maintenance(location);
    maintenance.run("SET lock_timeout = 0"); // a VACUUM waits for the server's own autovacuum
    maintenance.run("VACUUM ANALYZE");

    const auto database = host::openToolDatabase(location);
    host::ToolContactTable& table = database->contacts();
    const host::FieldId user2 = table.Fields().FieldID(QStringLiteral("User 2"));
    table.Query(QString());
    const QStringList ids = table.selection();
    // The run has a database object of its own, as a workstation beside the host has: a connection
    // of its own, and a selection that the host's loop does not change under it.
    Workstation one;
    const std::unique_ptr<host::Database> runDatabase = host::createDatabase();
    runDatabase->OpenEx(location, Where::current());
    QTemporaryDir lookups;

    // The host's own write, row by row (edit, stage and commit each contact), and the run through
    // one workstation, over the same contacts in turns of a tenth of them, the one or the other
    // first by turns: a machine that gets busier or quieter weighs on both alike. The first turn
    // is a warm-up of both (the server's caches, the prepared statements) and is not counted.
    const int slice = std::max(1, contacts / 10);
    Side plain;
    Side run;
    int turn = 0;
    for (qsizetype from = -slice; from < ids.size(); from += slice, ++turn) {
        const bool warmUp = from < 0;
        const qsizetype start = warmUp ? 0 : from;
        const qsizetype end = std::min<qsizetype>(start + slice, ids.size());
        const int count = int(end - start);
        const QString file = lookups.filePath(QStringLiteral("turn-%1.lup").arg(turn));
        host::writeLookupFile(file, ids.mid(start, count));
        SliceDatabase sliced(*runDatabase, file);
        Side ignored;
        const auto writeRows = [&] {
            for (qsizetype i = start; i < end; ++i) {
                table.Goto(ids.at(i));
                table.Edit();
                table.SetDataEx({user2}, {QStringLiteral("plain %1").arg(turn)});
                table.Update();
            }
        };
        const auto runButton = [&] { one.run(sliced, count); };
        for (int side = 0; side < 2; ++side) {
            maintenance.run("VACUUM vals");
            if ((side + turn) % 2 == 0)
                (warmUp ? ignored : plain).measure(count, writeRows);
            else
                (warmUp ? ignored : run).measure(count, runButton);
        }
    }
    std::printf(
        "%d contacts on the server, in turns of %d: the host's per-row write %.0f/s (%.2f round trips "
        "a contact), a Now run through one workstation %.0f/s (%.2f round trips a contact; ratio %.2f, "
        "at least 0.5: target %s)\n",
        plain.contacts, slice, plain.rate(), plain.tripsPerContact(), run.rate(), run.tripsPerContact(),
        run.rate() / plain.rate(), run.rate() / plain.rate() >= 0.5 ? "met" : "missed");

    // The run split over 1, 2 and 4 workstations, then 2 and 1 again: a machine that gets busier or
    // quieter weighs on one and two workstations alike (the sum of both measurements of each).
    std::map<int, double> seconds;
    for (const int workstations : {1, 2, 4, 2, 1}) {
        maintenance.run("VACUUM vals");
        seconds[workstations] += ids.size() / splitRun(location, ids, workstations, lookups.path(), program);
    }
    const double single = 2 * ids.size() / seconds[1];
    for (const int workstations : {1, 2, 4}) {
        const int measured = workstations == 4 ? 1 : 2;
        const double aggregate = measured * ids.size() / seconds[workstations];
        std::printf("the run split over %d workstation%s at once: %.0f contacts/s together (%.2f x one%s)\n",
                    workstations, workstations == 1 ? "" : "s", aggregate, aggregate / single,
                    workstations == 2 ? (aggregate / single >= 1.5 ? "; at least 1.5: target met"
                                                                   : "; at least 1.5: target missed")
                                      : "");
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    try {
        if (argc > 4 && QByteArray(argv[1]) == "--worker")
            return worker(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                          std::atoi(argv[4]));
        return measure(argc > 1 ? std::atoi(argv[1]) : 100000, argv[0]);
    } catch (const Failure& failure) {
        std::fprintf(stderr, "bench_team: %s\n", failure.description().toLocal8Bit().constData());
        return 1;
    }
}
