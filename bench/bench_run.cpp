// Button runs over all contacts of an embedded sample database, beside the host's own per-row
// write of the same field: contacts per second, the ratio, and memory growth per contact.
#include "core/testsupport/ScriptedPlatform.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"
#include "run/ButtonRun.h"
#include "run/journal/RunJournal.h"
#include "run/journal/RunUndo.h"
#include "run/preview/RunPreview.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
}

/// Processor time of this thread so far, in milliseconds: what a step costs apart from the waits that
/// other programs on a busy machine add.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

struct Figures {
    double plain = 0;
    double now = 0;
    double autoNumber = 0;
    /// The AutoNumber run again, entered into the run journal: every contact changes once more.
    double journalled = 0;
    /// The same runs without the journal, taken in turns with the journalled ones.
    double unjournalled = 0;
    /// A preview of the AutoNumber button: contacts per second, and when its first row came.
    double preview = 0;
    qint64 firstRowMs = 0;
    long memoryBytesPerContact = 0;
    /// The same after the two runs alone, before the preview.
    long runMemoryBytesPerContact = 0;
    /// How long making the sample database took.
    qint64 sampleMs = 0;
    /// The last journalled run and the undo of it, in milliseconds.
    qint64 journalledRunMs = 0;
    qint64 undoMs = 0;
    int undone = 0;
};

/// A program folder with its settings and per-user store, and a sample database of that many contacts.
struct BenchFolder {
    explicit BenchFolder(int contacts)
    {
        using namespace valdora;
        qputenv("VALDORA_USER_SETTINGS", folder.filePath(QStringLiteral("user")).toUtf8());
        QDir(folder.path()).mkpath(QStringLiteral("Settings"));
        session = std::make_unique<ProgramSession>(platform, QStringLiteral("Valdora"), folder.path(),
                                                   UserSettings(folder.filePath(QStringLiteral("user"))));
        session->setSettingsFile(folder.filePath(QStringLiteral("Settings/valdora.ini")));
        const QString path = folder.filePath(QStringLiteral("Bench.dbf"));
        QElapsedTimer timer;
        timer.start();
        host::createSampleDatabase(path, contacts);
        sampleMs = timer.elapsed();
        database = host::createDatabase();
        database->OpenEx(path);
    }

    void writeButton(const QString& name, const QList<QPair<QString, QString>>& keys) const
    {
        const valdora::ButtonFile button =
            valdora::ButtonFile::inFolder(session->ini(), session->buttonFolder(), name);
        for (const auto& [key, value] : keys)
            button.write(key, value);
    }

    QTemporaryDir folder;
    valdora::ScriptedPlatform platform;
    std::unique_ptr<valdora::ProgramSession> session;
    std::unique_ptr<valdora::host::Database> database;
    qint64 sampleMs = 0;
};

/// The AutoNumber button that the run, the journal and the preview are measured with: "N-" and the
/// number. The engine numbers by the stored pattern ("Format"); without it every value is empty and
/// the run writes nothing.
const QList<QPair<QString, QString>> NumberButton{
    {"Type", "0"},          {"Target", "User 2"},
    {"AutoTextPos", "0"},   {"AutoTextValue", "N-"},
    {"AutoNumberPos", "1"}, {"Format", valdora::autoNumberPattern(0, 1, 2, QString())},
    {"Over0", "0"},         {"Over1", "0"},
    {"Over3", "1"}};

/// The runs, the memory and the preview over that many contacts; with `full`, the run journal and the
/// undo as well (they take longer than the rest together).
Figures measure(int contacts, bool full)
{
    using namespace valdora;
    BenchFolder bench(contacts);
    QTemporaryDir& folder = bench.folder;
    ProgramSession& session = *bench.session;
    const std::unique_ptr<host::Database>& database = bench.database;
    host::ContactTable& table = database->Contact();
    const host::FieldId user1 = table.Fields().FieldID(QStringLiteral("User 1"));

    Figures figures;
    figures.sampleMs = bench.sampleMs;
    QElapsedTimer timer;
    // The host's own write, row by row: select all, then edit, stage and commit each contact.
    timer.start();
    table.Query(QString());
    QStringList ids;
    for (table.MoveFirst(); !table.isEOF(); table.MoveNext())
        ids << table.Data(1);
    for (const QString& id : ids) {
        table.Goto(id);
        table.Edit();
        table.SetDataEx({user1}, {QStringLiteral("plain")});
        table.Update();
    }
    figures.plain = contacts * 1000.0 / std::max<qint64>(timer.elapsed(), 1);

    bench.writeButton(QStringLiteral("~100.ini"), {{"Type", "4"},
                                                   {"Target", "User 1"},
                                                   {"NowFormatDate0", "1"},
                                                   {"Over0", "0"},
                                                   {"Over1", "0"},
                                                   {"Over3", "1"}});
    bench.writeButton(QStringLiteral("~101.ini"), NumberButton);
    run::FixedScopeChooser scopes(run::Scope::AllContacts);
    const long before = residentKb();
    for (const char* button : {"~100.ini", "~101.ini"}) {
        run::ButtonRun buttonRun(session, {database.get(), nullptr, nullptr},
                                 run::ProgramProfile::valdora(session.locale()), &scopes);
        timer.restart();
        const run::RunSummary summary = buttonRun.Process_Button(QString::fromLatin1(button));
        const double rate = contacts * 1000.0 / std::max<qint64>(timer.elapsed(), 1);
        (QByteArray(button) == "~100.ini" ? figures.now : figures.autoNumber) = rate;
        if (summary.written != contacts)
            std::fprintf(stderr, "%s wrote %d of %d contacts (%d unchanged, %d failed)\n", button,
                         summary.written, contacts, summary.unchanged, summary.failed);
    }
    figures.runMemoryBytesPerContact = (residentKb() - before) * 1024 / contacts;
    {
        run::RunPreview preview(session, {database.get(), nullptr, nullptr},
                                run::ProgramProfile::valdora(session.locale()), &scopes);
        figures.firstRowMs = -1;
        preview.setRowObserver([&](const run::PreviewRow&) {
            if (figures.firstRowMs < 0)
                figures.firstRowMs = timer.elapsed();
        });
        timer.restart();
        const run::PreviewResult result = preview.Preview_Button(QStringLiteral("~101.ini"));
        figures.preview = contacts * 1000.0 / std::max<qint64>(timer.elapsed(), 1);
        if (result.rows.size() != static_cast<std::size_t>(contacts))
            std::fprintf(stderr, "the preview showed %zu of %d contacts\n", result.rows.size(), contacts);
    }
    figures.memoryBytesPerContact = (residentKb() - before) * 1024 / contacts;
    if (!full)
        return figures;

    // With and without the journal in turns, the best of two each, so that neither gains from going
    // second on a busy machine. Every run numbers every contact again, so each one writes them all.
    journal::RunJournal journal(folder.filePath(QStringLiteral("RunJournal.sqlite")));
    for (int round = 0; round < 2; ++round) {
        for (const bool journalled : {false, true}) {
            run::ButtonRun buttonRun(session, {database.get(), nullptr, nullptr},
                                     run::ProgramProfile::valdora(session.locale()), &scopes);
            buttonRun.setJournal(journalled ? &journal : nullptr);
            timer.restart();
            const run::RunSummary summary = buttonRun.Process_Button(QStringLiteral("~101.ini"));
            const double rate = contacts * 1000.0 / std::max<qint64>(timer.elapsed(), 1);
            double& best = journalled ? figures.journalled : figures.unjournalled;
            best = std::max(best, rate);
            if (summary.written != contacts || (journalled && summary.journalRun == 0))
                std::fprintf(stderr, "a run wrote %d of %d contacts\n", summary.written, contacts);
        }
    }
    // A journalled run that writes every contact (a field it never wrote before), then its undo (the
    // bar's undo without its windows) beside it.
    bench.writeButton(QStringLiteral("~102.ini"), {{"Type", "4"},
                                                   {"Target", "User 3"},
                                                   {"NowFormatDate0", "1"},
                                                   {"Over0", "0"},
                                                   {"Over1", "0"},
                                                   {"Over3", "1"}});
    run::ButtonRun undoneRun(session, {database.get(), nullptr, nullptr},
                             run::ProgramProfile::valdora(session.locale()), &scopes);
    undoneRun.setJournal(&journal);
    timer.restart();
    const run::RunSummary undoneSummary = undoneRun.Process_Button(QStringLiteral("~102.ini"));
    figures.journalledRunMs = std::max<qint64>(timer.elapsed(), 1);
    if (undoneSummary.written != contacts)
        std::fprintf(stderr, "the run to undo wrote %d of %d contacts\n", undoneSummary.written, contacts);
    journal::RunUndo undo(journal, *database);
    timer.restart();
    const journal::UndoReport report = undo.undo(undoneSummary.journalRun, QStringLiteral("Bench"));
    figures.undoMs = timer.elapsed();
    figures.undone = report.contacts;
    return figures;
}

} // namespace

/// "bench_run --preview N": only the preview of N contacts, for profiling its first rows (the default
/// run compares it with the run).
int previewOnly(int contacts)
{
    using namespace valdora;
    BenchFolder bench(contacts);
    ProgramSession& session = *bench.session;
    const std::unique_ptr<host::Database>& database = bench.database;
    bench.writeButton(QStringLiteral("~101.ini"), NumberButton);
    run::FixedScopeChooser scopes(run::Scope::AllContacts);
    QElapsedTimer timer;
    {
        host::ContactTable& table = database->Contact();
        timer.start();
        const double cpuBefore = cpuMs();
        table.Query(QString());
        const qint64 queryMs = timer.elapsed();
        const double queryCpuMs = cpuMs() - cpuBefore;
        qsizetype walked = 0;
        for (table.MoveFirst(); !table.isEOF(); table.MoveNext())
            walked += table.Data(host::FieldNumber::UniqueId).size() > 0;
        std::printf("select all %lld ms (%.0f ms of processor time), walk %lld ms (%lld contacts)\n",
                    static_cast<long long>(queryMs), queryCpuMs,
                    static_cast<long long>(timer.elapsed() - queryMs), static_cast<long long>(walked));
    }
    qint64 firstRowMs = -1;
    run::RunPreview preview(session, {database.get(), nullptr, nullptr},
                            run::ProgramProfile::valdora(session.locale()), &scopes);
    preview.setRowObserver([&](const run::PreviewRow&) {
        if (firstRowMs < 0)
            firstRowMs = timer.elapsed();
    });
    timer.start();
    const run::PreviewResult result = preview.Preview_Button(QStringLiteral("~101.ini"));
    const qint64 previewMs = timer.elapsed();
    std::printf("%d contacts: preview %lld ms (%zu rows), first row after %lld ms\n", contacts,
                static_cast<long long>(previewMs), result.rows.size(), static_cast<long long>(firstRowMs));
    return 0;
}

/// "bench_run --journal N": the run journal alone, N contacts of one changed field each, committed as a
/// run commits them (one commit per contact, before its write) beside commits in batches of 100
/// contacts: microseconds per contact, best of three turns each. A busy machine moves whole runs by
/// more than the journal costs; this measures the journal's own share.
int journalOnly(int contacts)
{
    using namespace valdora;
    QTemporaryDir folder;
    journal::RunJournal journal(folder.filePath(QStringLiteral("RunJournal.sqlite")));
    journal.setBatch(100, 1000);
    const journal::RunInfo info{.kind = journal::RunKind::Run,
                                .button = QStringLiteral("~101.ini"),
                                .database = QStringLiteral("/data/Bench.dbf"),
                                .user = QStringLiteral("Bench"),
                                .scope = QStringLiteral("all"),
                                .of = 0,
                                .numbers = true};
    QStringList ids;
    for (int i = 0; i < contacts; ++i)
        ids << QStringLiteral("ID%1").arg((i * 7919) % contacts, 10, 10, QLatin1Char('0'));
    double best[2] = {1e18, 1e18};
    QElapsedTimer timer;
    for (int turn = 0; turn < 3; ++turn) {
        for (const bool ahead : {false, true}) {
            timer.start();
            journal.begin(info);
            for (int i = 0; i < contacts; ++i) {
                journal.addChange(ids[i], QStringLiteral("User 2"), QString(), QStringLiteral("N-%1").arg(i));
                if (ahead)
                    journal.writeAhead();
                journal.contactDone();
            }
            journal.finish({});
            best[ahead ? 1 : 0] = std::min(best[ahead ? 1 : 0], timer.nsecsElapsed() / 1000.0 / contacts);
        }
    }
    std::printf("%d contacts: run journal %.1f us/contact committed before each write, %.1f us/contact in "
                "batches of 100\n",
                contacts, best[1], best[0]);
    return 0;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && QByteArray(argv[1]) == "--preview")
        return previewOnly(std::atoi(argv[2]));
    if (argc > 2 && QByteArray(argv[1]) == "--journal")
        return journalOnly(std::atoi(argv[2]));
    // "--scale N": the runs, memory and preview at 10,000 and at N contacts, without the journal and the
    // undo, so that a million contacts take minutes rather than an hour.
    const bool scale = argc > 2 && QByteArray(argv[1]) == "--scale";
    const int large = scale ? std::atoi(argv[2]) : argc > 1 ? std::atoi(argv[1]) : 100000;
    const int smallCount = scale ? 10000 : large / 10;
    const Figures small = measure(smallCount, !scale);
    const Figures big = measure(large, !scale);
    for (const auto& [count, f] : {std::pair{smallCount, small}, std::pair{large, big}})
        std::printf(
            "%7d contacts: sample database made in %.1f s; plain %.0f/s, Now %.0f/s (%.0f%%), AutoNumber "
            "%.0f/s (%.0f%%), memory %ld B/contact (%ld B after the runs, before the preview)\n",
            count, f.sampleMs / 1000.0, f.plain, f.now, 100 * f.now / f.plain, f.autoNumber,
            100 * f.autoNumber / f.plain, f.memoryBytesPerContact, f.runMemoryBytesPerContact);
    std::printf("memory over %d contacts: %ld B/contact (target at most 300): target %s\n", large,
                big.memoryBytesPerContact, big.memoryBytesPerContact <= 300 ? "met" : "missed");
    std::printf("preview's first row over %d contacts: %lld ms (target at most 500): target %s\n", large,
                static_cast<long long>(big.firstRowMs), big.firstRowMs <= 500 ? "met" : "missed");
    const double nowCost = small.now / big.now;
    const double numberCost = small.autoNumber / big.autoNumber;
    std::printf("per-contact cost, %d vs %d: Now %.2f, AutoNumber %.2f (target at most 1.3): target %s\n",
                large, smallCount, nowCost, numberCost,
                std::max(nowCost, numberCost) <= 1.3 ? "met" : "missed");
    if (scale)
        return 0;
    for (const auto& [count, f] : {std::pair{smallCount, small}, std::pair{large, big}})
        std::printf(
            "%7d contacts: AutoNumber without the run journal %.0f/s, with it %.0f/s (%.1f%% slower)\n",
            count, f.unjournalled, f.journalled, 100 * (1 - f.journalled / f.unjournalled));
    for (const auto& [count, f] : {std::pair{smallCount, small}, std::pair{large, big}})
        std::printf("%7d contacts: AutoNumber preview %.0f/s (the run %.0f/s), first row after %lld ms\n",
                    count, f.preview, f.autoNumber, static_cast<long long>(f.firstRowMs));
    for (const auto& [count, f] : {std::pair{smallCount, small}, std::pair{large, big}}) {
        const double undoRatio = double(f.undoMs) / double(f.journalledRunMs);
        std::printf(
            "%7d contacts: undo of a journalled run %lld ms (%d contacts written back), the run %lld ms: "
            "%.2f of the run's time (target at most 2): target %s\n",
            count, static_cast<long long>(f.undoMs), f.undone, static_cast<long long>(f.journalledRunMs),
            undoRatio, undoRatio <= 2 ? "met" : "missed");
    }
    const double share = big.autoNumber / big.plain;
    std::printf("AutoNumber run over %d contacts: %.0f%% of the host's per-row loop (target at least 50%%): "
                "target %s\n",
                large, 100 * share, share >= 0.5 ? "met" : "missed");
    return 0;
}
