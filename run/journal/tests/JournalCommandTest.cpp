// Valdora.exe --run, --runs, --undo and --retry as a user's script calls them, beside a running
// headless host; and a journalled run killed halfway, then undone.
#include "run/tests/ProgramOnHostFixture.h"

#include "core/testsupport/QtPrinters.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"
#include "host/tests/HostProcess.h"
#include "run/journal/RunJournal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <gtest/gtest.h>

#include <sqlite3.h>

namespace valdora::run::test {
namespace {

const QString User1 = QStringLiteral("User 1");

class JournalCommandTest : public ProgramOnHostTest {
protected:
    void useContacts(int contacts)
    {
        ASSERT_TRUE(QFile::remove(m_database));
        host::createSampleDatabase(m_database, contacts);
    }
    void numberButton()
    {
        writeButton(QStringLiteral("~101.ini"), {{"Type", "0"},
                                                 {"Target", User1},
                                                 {"Format", QString(QChar(0xFA))},
                                                 {"AutoIniFile", m_program + QStringLiteral("/N.num")},
                                                 {"Over0", "0"},
                                                 {"Over1", "0"},
                                                 {"Over2", "0"},
                                                 {"Over3", "1"},
                                                 {"TargetDecimals", "-1"}});
    }
    QString journalPath() const { return m_settings->path() + QStringLiteral("/RunJournal.sqlite"); }

    /// Committed changes in the journal, read as another process reads them (0 while there is none).
    qint64 committedChanges() const
    {
        sqlite3* db = nullptr;
        qint64 count = 0;
        if (sqlite3_open_v2(journalPath().toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK) {
            sqlite3_stmt* select = nullptr;
            if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM changes", -1, &select, nullptr) == SQLITE_OK &&
                sqlite3_step(select) == SQLITE_ROW)
                count = sqlite3_column_int64(select, 0);
            sqlite3_finalize(select);
        }
        sqlite3_close(db);
        return count;
    }
};

TEST_F(JournalCommandTest, RunIsListedAndUndoneOnceAndTheUndoIsNotUndone)
{
    numberButton();
    startHost();
    const QStringList before = column(User1);
    const valdora::test::CommandResult ran = valdora({"--run", "~101", "--scope", "all"});
    ASSERT_EQ(ran.code, 0) << ran.err.toStdString();
    // Stderr stays one line per message: the journal is listed by --runs.
    EXPECT_TRUE(ran.err.isEmpty()) << ran.err.toStdString();
    const QStringList after = column(User1);
    ASSERT_NE(after, before);

    const valdora::test::CommandResult runs = valdora({"--runs"});
    ASSERT_EQ(runs.code, 0) << runs.err.toStdString();
    const QStringList lines = runs.out.split(u'\n');
    ASSERT_EQ(lines.size(), 2) << runs.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("run\tstarted\tkind\tstate\tbutton\tscope")));
    const QStringList fields = lines[1].split(u'\t');
    ASSERT_GE(fields.size(), 10);
    EXPECT_EQ(fields[0], QStringLiteral("1"));
    EXPECT_EQ(fields[2], QStringLiteral("run"));
    EXPECT_EQ(fields[3], QStringLiteral("finished"));
    EXPECT_EQ(fields[4], QStringLiteral("~101.ini"));
    EXPECT_EQ(fields[5], QStringLiteral("all"));
    EXPECT_EQ(fields[6], QString::number(after.size()));

    const valdora::test::CommandResult undone = valdora({"--undo"});
    ASSERT_EQ(undone.code, 0) << undone.out.toStdString() << undone.err.toStdString();
    EXPECT_TRUE(
        undone.out.contains(QStringLiteral("Undo of run 1: %1 contacts written back").arg(after.size())))
        << undone.out.toStdString();
    EXPECT_TRUE(undone.out.contains(QStringLiteral("AutoNumber counters are not rolled back")));
    EXPECT_EQ(column(User1), before);

    // The undo is recorded against the run; neither is offered again.
    const QStringList undoneRun = valdora({"--runs"}).out.split(u'\n').value(2).split(u'\t');
    EXPECT_EQ(undoneRun.value(0), QStringLiteral("1"));
    EXPECT_EQ(undoneRun.value(13), QStringLiteral("2")) << "undone by run 2";
    const valdora::test::CommandResult again = valdora({"--undo"});
    EXPECT_EQ(again.code, 2);
    EXPECT_TRUE(again.err.contains(QStringLiteral("The run journal holds nothing to undo.")))
        << again.err.toStdString();
    const valdora::test::CommandResult ofUndo = valdora({"--undo", "2"});
    EXPECT_EQ(ofUndo.code, 2);
    EXPECT_TRUE(ofUndo.err.contains(QStringLiteral("Run 2 is the undo of run 1: an undo is not undone.")))
        << ofUndo.err.toStdString();
    const valdora::test::CommandResult twice = valdora({"--undo", "1"});
    EXPECT_EQ(twice.code, 2);
    EXPECT_TRUE(twice.err.contains(QStringLiteral("Run 1 was undone by run 2."))) << twice.err.toStdString();
    EXPECT_EQ(column(User1), before);
}

TEST_F(JournalCommandTest, RetryWritesTheContactsThatWereLocked)
{
    numberButton();
    startHost();
    // Not the contact on screen: a run refuses to start while that one is held.
    const QString held = column(QStringLiteral("Unique Id")).at(1);
    QProcess holder;
    ASSERT_TRUE(host::test::startLockHolder(holder, m_database, held, 120));
    const valdora::test::CommandResult ran = valdora({"--run", "~101", "--scope", "all"});
    EXPECT_EQ(ran.code, 1);
    EXPECT_TRUE(valdora({"--runs"}).out.split(u'\n').value(1).split(u'\t').value(9) == QStringLiteral("1"))
        << "one failed contact listed with run 1";
    EXPECT_EQ(column(User1).count(QString()), 1);
    holder.kill();
    holder.waitForFinished();

    const valdora::test::CommandResult retried = valdora({"--retry"});
    EXPECT_EQ(retried.code, 0) << retried.out.toStdString() << retried.err.toStdString();
    EXPECT_TRUE(retried.out.startsWith(QStringLiteral(
        "retry of run 1: ~101.ini: 1 contacts in scope, 1 written, 0 left unchanged, 0 failed")))
        << retried.out.toStdString();
    EXPECT_FALSE(column(User1).contains(QString()));

    const valdora::test::CommandResult nothing = valdora({"--retry"});
    EXPECT_EQ(nothing.code, 2);
    EXPECT_TRUE(nothing.err.contains(QStringLiteral("no failed contacts"))) << nothing.err.toStdString();
}

TEST_F(JournalCommandTest, PreviewPrintsTheRowsAsCsvAndWritesNothing)
{
    numberButton();
    startHost();
    const QStringList before = column(User1);
    const valdora::test::CommandResult previewed = valdora({"--run", "~101", "--scope", "all", "--preview"});
    ASSERT_EQ(previewed.code, 0) << previewed.err.toStdString();
    const QStringList lines = previewed.out.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), before.size() + 1) << previewed.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("Contact,Company,Field,Present value,Would write,Action"));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(",User 1,,1,write"))) << lines[1].toStdString();
    EXPECT_TRUE(previewed.err.contains(
        QStringLiteral("~101.ini: %1 contacts would be written, 0 unchanged, 0 locked now")
            .arg(before.size())))
        << previewed.err.toStdString();
    EXPECT_EQ(column(User1), before);
    EXPECT_FALSE(QFile::exists(m_program + QStringLiteral("/N.num")));
    EXPECT_FALSE(QFile::exists(journalPath()));

    // The run then writes what the preview showed.
    ASSERT_EQ(valdora({"--run", "~101", "--scope", "all"}).code, 0);
    const QStringList after = column(User1);
    for (qsizetype i = 0; i < after.size(); ++i)
        EXPECT_TRUE(lines[i + 1].endsWith(QStringLiteral(",User 1,,%1,write").arg(after[i])))
            << lines[i + 1].toStdString();
}

TEST_F(JournalCommandTest, DamagedJournalIsKeptAsideOnceAndRunsGoOn)
{
    numberButton();
    ASSERT_TRUE(valdora::test::writeFile(journalPath(), QByteArray(4096, 'z')));
    const valdora::test::CommandResult listed = valdora({"--runs"});
    EXPECT_EQ(listed.code, 0) << listed.err.toStdString();
    EXPECT_TRUE(
        listed.err.contains(QStringLiteral("The run journal %1 could not be read. It was kept as %1.damaged-")
                                .arg(journalPath())))
        << listed.err.toStdString();
    const QStringList aside =
        QDir(m_settings->path()).entryList({QStringLiteral("RunJournal.sqlite.damaged-*")}, QDir::Files);
    EXPECT_EQ(aside.size(), 1) << aside.join(u' ').toStdString();

    startHost();
    const valdora::test::CommandResult ran = valdora({"--run", "~101", "--scope", "all"});
    EXPECT_EQ(ran.code, 0) << ran.err.toStdString();
    EXPECT_TRUE(ran.err.isEmpty()) << "told once: " << ran.err.toStdString();
    EXPECT_EQ(valdora({"--runs"}).out.split(u'\n').size(), 2);
}

TEST_F(JournalCommandTest, JournalArgumentsAreChecked)
{
    const valdora::test::CommandResult bad = valdora({"--undo", "seven"});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("'seven' is not a run number (see --runs)")))
        << bad.err.toStdString();
    const valdora::test::CommandResult empty = valdora({"--undo"});
    EXPECT_EQ(empty.code, 2);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("The run journal holds nothing to undo.")))
        << empty.err.toStdString();
}

TEST_F(JournalCommandTest, KilledRunIsMarkedInterruptedAndItsUndoRestoresWhatTheJournalHolds)
{
    const int contacts = 3000;
    useContacts(contacts);
    numberButton();
    startHost();
    const std::unique_ptr<QProcess> run = startValdora({"--run", "~101", "--scope", "all"});
    QElapsedTimer waited;
    waited.start();
    while (committedChanges() < 300 && run->state() != QProcess::NotRunning && waited.elapsed() < 60000)
        QThread::msleep(5);
    ASSERT_NE(run->state(), QProcess::NotRunning) << "the run ended before it could be killed";
    run->kill();
    run->waitForFinished(30000);

    std::vector<journal::JournalChange> held;
    {
        journal::RunJournal journal(journalPath());
        const std::optional<journal::JournalRun> entry = journal.run(1);
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->stand, journal::RunStand::Interrupted);
        held = journal.changes(1, false);
    }
    ASSERT_GE(held.size(), 300u);
    const QStringList written = column(User1);
    const qsizetype writtenCount = contacts - written.count(QString());
    // Every contact written is in the journal: its old value was committed before its write.
    EXPECT_LE(writtenCount, static_cast<qsizetype>(held.size()));

    // A contact held elsewhere is left, counted, and the undo says it did not restore everything.
    QProcess holder;
    ASSERT_TRUE(host::test::startLockHolder(holder, m_database, held[5].contact, 120));
    const valdora::test::CommandResult undone = valdora({"--undo", "1"});
    EXPECT_EQ(undone.code, 1) << undone.out.toStdString() << undone.err.toStdString();
    EXPECT_TRUE(undone.out.contains(QStringLiteral(", interrupted)"))) << undone.out.toStdString();
    EXPECT_TRUE(undone.out.contains(QStringLiteral("1 contact of run 1 could not be taken back: 1 locked")))
        << undone.out.toStdString();
    holder.kill();
    holder.waitForFinished();

    // The run is not undone yet: undoing again finishes it.
    const valdora::test::CommandResult finished = valdora({"--undo"});
    EXPECT_EQ(finished.code, 0) << finished.out.toStdString() << finished.err.toStdString();
    EXPECT_TRUE(
        finished.out.contains(QStringLiteral("Run 1 did not finish: every contact it wrote was taken back.")))
        << finished.out.toStdString();
    EXPECT_EQ(column(User1), QStringList(contacts, QString()));
}

TEST_F(JournalCommandTest, UndoKilledHalfwayIsFinishedByUndoingTheRunAgain)
{
    const int contacts = 3000;
    useContacts(contacts);
    numberButton();
    startHost();
    ASSERT_EQ(valdora({"--run", "~101", "--scope", "all"}).code, 0);
    const std::unique_ptr<QProcess> undo = startValdora({"--undo"});
    QElapsedTimer waited;
    waited.start();
    // The undo's own entries reach the journal as it goes.
    while (committedChanges() < contacts + 300 && undo->state() != QProcess::NotRunning &&
           waited.elapsed() < 60000)
        QThread::msleep(5);
    ASSERT_NE(undo->state(), QProcess::NotRunning) << "the undo ended before it could be killed";
    undo->kill();
    undo->waitForFinished(30000);
    ASSERT_GT(column(User1).count(QString()), 0);
    ASSERT_LT(column(User1).count(QString()), contacts);

    const valdora::test::CommandResult again = valdora({"--undo"});
    EXPECT_EQ(again.code, 0) << again.out.toStdString() << again.err.toStdString();
    EXPECT_TRUE(again.out.startsWith(QStringLiteral("Undo of run 1 "))) << again.out.toStdString();
    EXPECT_EQ(column(User1), QStringList(contacts, QString()));
    EXPECT_EQ(valdora({"--undo"}).code, 2) << "nothing is left to undo";
}

} // namespace
} // namespace valdora::run::test
