#include "run/journal/RunJournal.h"

#include "core/testsupport/AnotherUser.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <latch>
#include <mutex>
#include <thread>

#include <sqlite3.h>

namespace valdora::journal {
namespace {

class RunJournalTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("RunJournal.sqlite")); }

    static RunInfo info(const QString& button = QStringLiteral("~101.ini"))
    {
        return {.kind = RunKind::Run,
                .button = button,
                .database = QStringLiteral("/data/Sample.dbf"),
                .user = QStringLiteral("Anna"),
                .scope = QStringLiteral("all"),
                .of = 0,
                .numbers = false};
    }

    /// Runs a statement on the file from a connection of its own (another process would see this).
    void sql(const char* statement) const
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path().toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_busy_timeout(db, 5000);
        EXPECT_EQ(sqlite3_exec(db, statement, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    QTemporaryDir m_dir;
};

TEST_F(RunJournalTest, FinishedRunHoldsItsChangesAndFailures)
{
    RunJournal journal(path());
    const qint64 id = journal.begin(info());
    journal.addChange("A", "User 1", "", "1");
    journal.addChange("A", "User 2", "x", "y");
    journal.contactDone();
    journal.addChange("B", "User 1", "old", "2");
    journal.contactFailed("B");
    journal.contactDone();
    journal.finish({});

    const std::optional<JournalRun> run = journal.run(id);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->stand, RunStand::Finished);
    EXPECT_EQ(run->info.button, QStringLiteral("~101.ini"));
    EXPECT_EQ(run->info.user, QStringLiteral("Anna"));
    EXPECT_EQ(run->contacts, 1);
    EXPECT_EQ(run->changes, 2);
    EXPECT_EQ(run->pending, 2);
    EXPECT_EQ(run->failures, 1);
    EXPECT_EQ(journal.failures(id), QStringList{"B"});
    const std::vector<JournalChange> changes = journal.changes(id, false);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[1].contact, QStringLiteral("A"));
    EXPECT_EQ(changes[1].field, QStringLiteral("User 2"));
    EXPECT_EQ(changes[1].oldValue, QStringLiteral("x"));
    EXPECT_EQ(changes[1].newValue, QStringLiteral("y"));
    EXPECT_EQ(journal.lastUndoable(), id);
    EXPECT_EQ(journal.lastWithFailures(), id);

    journal.markUndone({changes[0].id, changes[1].id});
    journal.resolveFailures(id, {"B"});
    EXPECT_EQ(journal.run(id)->pending, 0);
    EXPECT_FALSE(journal.lastUndoable());
    EXPECT_FALSE(journal.lastWithFailures());
}

TEST_F(RunJournalTest, ChangesAreCommittedInBatchesOfContacts)
{
    RunJournal journal(path());
    journal.setBatch(3, 600000);
    const qint64 id = journal.begin(info());
    const auto seenElsewhere = [&] { return RunJournal(path()).run(id)->changes; };
    // The run itself is there before its first write.
    EXPECT_EQ(seenElsewhere(), 0);
    for (const char* contact : {"A", "B"}) {
        journal.addChange(contact, "User 1", "", "1");
        journal.contactDone();
    }
    EXPECT_EQ(seenElsewhere(), 0);
    journal.addChange("C", "User 1", "", "1");
    journal.contactDone();
    EXPECT_EQ(seenElsewhere(), 3);
    journal.addChange("D", "User 1", "", "1");
    journal.contactDone();
    journal.finish({});
    EXPECT_EQ(seenElsewhere(), 4);
}

TEST_F(RunJournalTest, RunNeverFinishedIsMarkedInterrupted)
{
    qint64 id = 0;
    {
        RunJournal journal(path());
        id = journal.begin(info());
        journal.addChange("A", "User 1", "", "1");
        journal.contactDone();
    }
    RunJournal journal(path());
    EXPECT_EQ(journal.run(id)->stand, RunStand::Interrupted);
    EXPECT_EQ(journal.run(id)->changes, 1);
}

TEST_F(RunJournalTest, RunOfAProcessThatIsGoneIsMarkedInterruptedWhenOpened)
{
    QProcess gone;
    gone.start(QStringLiteral("true"));
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    qint64 id = 0;
    {
        RunJournal journal(path());
        id = journal.begin(info());
        journal.finish({});
    }
    // As a process killed halfway leaves it: still running, its process gone.
    const QByteArray statement =
        QStringLiteral("UPDATE runs SET stand = 'running', pid = %1").arg(deadPid).toUtf8();
    sql(statement.constData());
    {
        RunJournal journal(path());
        EXPECT_EQ(journal.run(id)->stand, RunStand::Interrupted);
    }
    // A run whose process is alive (this one) is left running.
    sql(QStringLiteral("UPDATE runs SET stand = 'running', pid = %1")
            .arg(QCoreApplication::applicationPid())
            .toUtf8()
            .constData());
    RunJournal journal(path());
    EXPECT_EQ(journal.run(id)->stand, RunStand::Running);
}

TEST_F(RunJournalTest, KeepsTheNewestRuns)
{
    RunJournal journal(path());
    journal.setRetention(3, 100LL * 1024 * 1024);
    for (int i = 1; i <= 5; ++i) {
        journal.begin(info(QStringLiteral("~%1.ini").arg(100 + i)));
        journal.addChange("A", "User 1", "", QString::number(i));
        journal.contactDone();
        journal.finish({});
    }
    const std::vector<JournalRun> runs = journal.runs();
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].info.button, QStringLiteral("~105.ini"));
    EXPECT_EQ(runs[2].info.button, QStringLiteral("~103.ini"));
    // Their changes went with them.
    EXPECT_TRUE(journal.changes(runs[2].id - 1, false).empty());
}

TEST_F(RunJournalTest, DropsOldRunsBeyondTheSizeLimitButNeverTheRunJustFinished)
{
    RunJournal journal(path());
    const qint64 limit = 512 * 1024;
    journal.setRetention(50, limit);
    const QString big(20000, u'x');
    for (int run = 0; run < 4; ++run) {
        journal.begin(info());
        for (int i = 0; i < 10; ++i) {
            journal.addChange(QString::number(i), "User 1", big, big + QString::number(run));
            journal.contactDone();
        }
        journal.finish({});
    }
    EXPECT_LE(journal.bytesInUse(), limit);
    const std::vector<JournalRun> runs = journal.runs();
    ASSERT_FALSE(runs.empty());
    EXPECT_LT(runs.size(), 4u);
    EXPECT_EQ(runs.front().changes, 10);

    // A single run larger than the limit stays: it is the one a user would undo.
    journal.setRetention(50, 1024);
    const qint64 id = journal.begin(info());
    journal.addChange("A", "User 1", big, big);
    journal.contactDone();
    journal.finish({});
    ASSERT_EQ(journal.runs().size(), 1u);
    EXPECT_EQ(journal.runs().front().id, id);
}

TEST_F(RunJournalTest, AFileThatIsNoJournalIsRefusedWithItsPath)
{
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'z'));
    file.close();
    try {
        RunJournal journal(path());
        FAIL() << "opened";
    } catch (const JournalError& error) {
        EXPECT_TRUE(error.message().contains(path())) << error.message().toStdString();
    }
}

/// A batch that is not full yet, and what commits the contact's change all the same.
struct CommitCase {
    const char* name;
    int contacts;     ///< contacts per batch
    int milliseconds; ///< the batch's interval
    void (*commit)(RunJournal&);
};

class RunJournalCommitTest : public RunJournalTest, public ::testing::WithParamInterface<CommitCase> {};

TEST_P(RunJournalCommitTest, ChangeIsSeenByAnotherConnection)
{
    const CommitCase& row = GetParam();
    RunJournal journal(path());
    journal.setBatch(row.contacts, row.milliseconds);
    const qint64 id = journal.begin(info());
    journal.addChange("A", "User 1", "old", "1");
    row.commit(journal);
    EXPECT_EQ(RunJournal(path()).run(id)->changes, 1);
}

INSTANTIATE_TEST_SUITE_P(Batches, RunJournalCommitTest,
                         ::testing::Values(CommitCase{"ContactDoneOnceTheIntervalHasPassed", 1000000, 0,
                                                      [](RunJournal& journal) { journal.contactDone(); }},
                                           CommitCase{"WriteAheadAtOnce", 1000, 600000,
                                                      [](RunJournal& journal) { journal.writeAhead(); }}),
                         [](const ::testing::TestParamInfo<CommitCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RunJournalTest, StoppedRunKeepsTheContactItStoppedAtAndThoseItNeverCameTo)
{
    RunJournal journal(path());
    const qint64 id = journal.begin(info());
    journal.addChange("A", "User 1", "", "1");
    journal.writeAhead();
    journal.contactDone();
    journal.addChange("B", "User 1", "", "2");
    journal.writeAhead();
    journal.finish({.stopped = true, .failedAt = "B", .notReached = {"C", "D"}});

    const std::optional<JournalRun> run = RunJournal(path()).run(id);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->stand, RunStand::Stopped);
    EXPECT_EQ(run->changes, 1) << "B was not written";
    EXPECT_EQ(run->failures, 1);
    EXPECT_EQ(run->notReached, 2);
    EXPECT_EQ(journal.failures(id), QStringList({"B", "C", "D"}));
    EXPECT_EQ(journal.lastWithFailures(), id);
    journal.resolveFailures(id, {"B", "C", "D"});
    EXPECT_FALSE(journal.lastWithFailures());
}

TEST_F(RunJournalTest, FullJournalRefusesTheChangeAndMarksTheRunStopped)
{
    RunJournal journal(path());
    const qint64 id = journal.begin(info());
    journal.limitPages(journal.bytesInUse() / 4096 + 2);
    const QString big(3000, u'x');
    int committed = 0;
    try {
        for (; committed < 1000; ++committed) {
            journal.addChange(QString::number(committed), "User 1", big, "1");
            journal.writeAhead();
            journal.contactDone();
        }
        FAIL() << "the journal never filled";
    } catch (const JournalError& error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("database or disk is full")))
            << error.message().toStdString();
        EXPECT_TRUE(error.message().contains(path())) << error.message().toStdString();
    }
    EXPECT_THROW(journal.finish({.stopped = true, .failedAt = {}, .notReached = {"X"}}), JournalError);
    RunJournal again(path());
    EXPECT_EQ(again.run(id)->stand, RunStand::Stopped);
    EXPECT_EQ(again.run(id)->changes, committed);
}

TEST_F(RunJournalTest, AnUndoIsRecordedAgainstItsRunAndNeverOfferedItself)
{
    RunJournal journal(path());
    const qint64 run = journal.begin(info());
    journal.addChange("A", "User 1", "", "1");
    journal.writeAhead();
    journal.contactDone();
    journal.finish({});
    ASSERT_EQ(journal.lastUndoable(), run);

    // An undo killed halfway leaves its run to be undone again.
    RunInfo undoInfo = info();
    undoInfo.kind = RunKind::Undo;
    undoInfo.of = run;
    {
        RunJournal killed(path());
        killed.begin(undoInfo);
        killed.addChange("A", "User 1", "1", "");
        killed.contactDone();
    }
    EXPECT_EQ(journal.lastUndoable(), run);
    EXPECT_EQ(journal.run(run)->undoneBy, 0);

    const qint64 undo = journal.begin(undoInfo);
    journal.addChange("A", "User 1", "1", "");
    journal.markUndone({journal.changes(run, true).front().id});
    journal.contactDone();
    journal.finish({});
    EXPECT_EQ(journal.run(run)->undoneBy, undo);
    EXPECT_EQ(journal.run(undo)->pending, 0) << "an undo has nothing to undo";
    EXPECT_FALSE(journal.lastUndoable());
}

TEST_F(RunJournalTest, AJournalThatCannotBeOpenedIsNamed)
{
    // A folder where the file should be: SQLite cannot open it, and has no name of its own for it.
    ASSERT_TRUE(QDir().mkpath(path()));
    try {
        RunJournal journal(path());
        FAIL() << "opened";
    } catch (const JournalError& error) {
        EXPECT_TRUE(error.message().contains(path())) << error.message().toStdString();
        EXPECT_FALSE(error.damaged());
    }
}

// Programs started together all open a journal that does not exist yet: each one makes it or finds it
// made, and each one may write it. (SQLite refuses all but one switch to WAL at once as busy, without
// waiting; taken for a file the user cannot write, that left a run unable to start.)
TEST_F(RunJournalTest, ProgramsOpeningANewJournalAtOnceAllMayWriteIt)
{
    constexpr int Rounds = 60;
    constexpr int Programs = 6;
    QStringList refused;
    for (int round = 0; round < Rounds && refused.isEmpty(); ++round) {
        const QString file = m_dir.filePath(QStringLiteral("new-%1.sqlite").arg(round));
        std::latch start(Programs);
        std::mutex mutex;
        std::vector<std::thread> programs;
        for (int i = 0; i < Programs; ++i)
            programs.emplace_back([&] {
                start.arrive_and_wait();
                QString outcome;
                try {
                    if (RunJournal(file).readOnly())
                        outcome = QStringLiteral("opened to read only");
                } catch (const JournalError& error) {
                    outcome = error.message();
                }
                const std::lock_guard lock(mutex);
                if (!outcome.isEmpty())
                    refused << outcome;
            });
        for (std::thread& program : programs)
            program.join();
    }
    EXPECT_TRUE(refused.isEmpty()) << refused.join(u'\n').toStdString();
}

TEST_F(RunJournalTest, ADamagedJournalIsKeptAsideAndAFreshOneStarted)
{
    const QByteArray damage(4096, 'z');
    ASSERT_TRUE(valdora::test::writeFile(path(), damage));
    const QByteArray before = qgetenv("VALDORA_USER_DATA");
    qputenv("VALDORA_USER_DATA", m_dir.path().toUtf8());
    const auto restore = qScopeGuard([&] {
        if (before.isEmpty())
            qunsetenv("VALDORA_USER_DATA");
        else
            qputenv("VALDORA_USER_DATA", before);
    });
    ASSERT_EQ(RunJournal::defaultPath(), path());
    {
        const std::unique_ptr<RunJournal> journal = RunJournal::openForUser();
        ASSERT_FALSE(journal->setAside().isEmpty());
        EXPECT_TRUE(journal->setAside().startsWith(path() + QStringLiteral(".damaged-")))
            << journal->setAside().toStdString();
        EXPECT_EQ(valdora::test::readFile(journal->setAside()), damage);
        journal->begin(info());
        journal->finish({});
        EXPECT_EQ(journal->runs().size(), 1u);
    }
    // Told once: the next open finds the fresh journal.
    EXPECT_TRUE(RunJournal::openForUser()->setAside().isEmpty());
}

TEST_F(RunJournalTest, AJournalTheUserCannotWriteStillListsItsRuns)
{
    const valdora::test::ProgramFolderTree tree(0755);
    const QString file = tree.program() + QStringLiteral("/RunJournal.sqlite");
    {
        RunJournal journal(file);
        journal.begin(info());
        journal.finish({});
    }
    valdora::test::setMode(file, 0644);
    EXPECT_TRUE(valdora::test::asAnotherUser([&] {
        try {
            RunJournal journal(file);
            return journal.readOnly() && journal.runs().size() == 1 &&
                   journal.runs().front().stand == RunStand::Finished;
        } catch (const JournalError&) {
            return false;
        }
    }));
}

} // namespace
} // namespace valdora::journal
