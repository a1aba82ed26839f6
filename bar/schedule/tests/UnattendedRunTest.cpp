#include "bar/schedule/UnattendedRun.h"
#include "bar/schedule/ScheduleFiles.h"

#include "core/FileLock.h"
#include "host/LookupFile.h"
#include "host/client/RunningHost.h"
#include "host/embedded/DatabaseFactory.h"
#include "run/journal/RunJournal.h"
#include "run/tests/ProgramOnHostFixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <gtest/gtest.h>

namespace valdora::schedule {
namespace {

const QString Amount = QStringLiteral("Amount");
const QString Twelve = QStringLiteral("12.00");

/// Valdora.exe --run ... --unattended against the test's database, with a stand-in notify-send on
/// the search path that keeps what it was asked to show.
class UnattendedRunTest : public run::test::ProgramOnHostTest {
protected:
    void SetUp() override
    {
        ProgramOnHostTest::SetUp();
        const QString bin = m_dir.filePath(QStringLiteral("bin"));
        m_notices = m_dir.filePath(QStringLiteral("notices.txt"));
        ASSERT_TRUE(QDir().mkpath(bin));
        const QString notifier = bin + QStringLiteral("/notify-send");
        ASSERT_TRUE(valdora::test::writeFile(
            notifier, QStringLiteral("#!/bin/sh\nprintf '%s|' \"$@\" >> '%1'\necho >> '%1'\n")
                          .arg(m_notices)
                          .toUtf8()));
        QFile(notifier).setPermissions(QFile::permissions(notifier) | QFileDevice::ExeOwner);
        m_previousPath = qgetenv("PATH");
        m_previousBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
        qputenv("PATH", bin.toUtf8() + ':' + m_previousPath);
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/bus");
        multiplyButton();
    }
    void TearDown() override
    {
        qputenv("PATH", m_previousPath);
        qputenv("DBUS_SESSION_BUS_ADDRESS", m_previousBus);
        ProgramOnHostTest::TearDown();
    }

    /// Multiplies 3 by 4 into Amount, always overwriting.
    void multiplyButton()
    {
        writeButton(QStringLiteral("~100.ini"), {{"Type", "3"},
                                                 {"Target", Amount},
                                                 {"Over0", "0"},
                                                 {"Over1", "0"},
                                                 {"Over2", "0"},
                                                 {"Over3", "1"},
                                                 {"CalcOperator", "0"},
                                                 {"CalcTextOption0", "1"},
                                                 {"CalcFieldOption0", "0"},
                                                 {"CalcText0", "3"},
                                                 {"CalcTextOption1", "1"},
                                                 {"CalcFieldOption1", "0"},
                                                 {"CalcText1", "4"}});
    }

    QStringList unattended(const QString& database, const QStringList& more = {}) const
    {
        return QStringList{"--run", "~100", "--scope", "all", "--unattended", "--database", database} + more;
    }

    std::vector<journal::JournalRun> journalRuns() const
    {
        journal::RunJournal journal(journal::RunJournal::defaultPath());
        return journal.runs();
    }

    QString errorLog() const
    {
        return QString::fromUtf8(valdora::test::readFile(m_program + QStringLiteral("/error.log")));
    }

    QString notices() const { return QString::fromUtf8(valdora::test::readFile(m_notices)); }

    /// True when some ContactHost.exe still runs headless on `database`.
    static bool hostRunsOn(const QString& database)
    {
        const QByteArray wanted = "--headless" + QByteArray(1, '\0') + QFile::encodeName(database);
        for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
            if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(wanted))
                return true;
        }
        return false;
    }

    QString m_notices;
    QByteArray m_previousPath;
    QByteArray m_previousBus;
};

TEST_F(UnattendedRunTest, StartsAHostOfItsOwnWritesJournalsAndEndsIt)
{
    const valdora::test::CommandResult result = valdora(unattended(m_database));
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              QStringLiteral("~100.ini: 5 contacts in scope, 5 written, 0 left unchanged, 0 failed"));
    EXPECT_EQ(column(Amount), QStringList(5, Twelve));
    EXPECT_FALSE(hostRunsOn(m_database)) << "the host started for the run was left running";
    EXPECT_FALSE(host::runningHostDatabasePath()) << "the run's host took the test's server name";

    const std::vector<journal::JournalRun> runs = journalRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].info.button, QStringLiteral("~100.ini"));
    EXPECT_EQ(runs[0].info.scope, QStringLiteral("all"));
    EXPECT_EQ(runs[0].stand, journal::RunStand::Finished);
    EXPECT_EQ(runs[0].changes, 5);
    EXPECT_EQ(QFileInfo(runs[0].info.database).canonicalFilePath(),
              QFileInfo(m_database).canonicalFilePath());

    EXPECT_EQ(notices(), QStringLiteral("--app-name=Valdora|Valdora|%1|\n").arg(result.out));
    EXPECT_TRUE(errorLog().isEmpty()) << errorLog().toStdString();
}

TEST_F(UnattendedRunTest, UsesTheHostThatHasTheDatabaseOpenAndLeavesItRunning)
{
    startHost();
    const valdora::test::CommandResult result = valdora(unattended(m_database));
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(column(Amount), QStringList(5, Twelve));
    EXPECT_EQ(m_host->state(), QProcess::Running) << "the user's host was ended by the run";
    EXPECT_EQ(host::runningHostDatabasePath().value_or(QString()), m_database);
    // No second host was started beside it.
    const std::vector<journal::JournalRun> runs = journalRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].changes, 5);
}

TEST_F(UnattendedRunTest, LeavesWhatTheUserIsTypingAloneAndSaysSo)
{
    startHost();
    const QStringList before = column(Amount);
    const QStringList notes = column(QStringLiteral("Notes"));
    ASSERT_EQ(run({QStringLiteral("type"), QStringLiteral("Notes"), QStringLiteral("half typed")}).code, 0);

    const valdora::test::CommandResult result = valdora(unattended(m_database));
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out, QStringLiteral("~100.ini: not run"));
    EXPECT_FALSE(result.err.isEmpty());
    EXPECT_EQ(result.err.count(u'\n'), 0) << "one line per message: " << result.err.toStdString();
    EXPECT_EQ(column(Amount), before);
    // The typing is still the user's to save or drop.
    EXPECT_EQ(column(QStringLiteral("Notes")), notes);
    EXPECT_TRUE(errorLog().contains(QStringLiteral(" ~100.ini (unattended): ") + result.err));
    EXPECT_EQ(m_host->state(), QProcess::Running);
    ASSERT_EQ(run({QStringLiteral("leave-field"), QStringLiteral("Notes")}).code, 0);
    EXPECT_TRUE(column(QStringLiteral("Notes")).contains(QStringLiteral("half typed")));
}

TEST_F(UnattendedRunTest, CoversTheContactsOfASavedLookupFile)
{
    const std::unique_ptr<host::Database> database = host::createDatabase();
    database->OpenEx(m_database);
    host::ContactTable& contacts = database->Contact();
    contacts.Query(QString());
    QList<host::ContactId> ids;
    for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
        ids << contacts.Data(host::FieldNumber::UniqueId);
    database->Close();
    const QString lookup = m_dir.filePath(QStringLiteral("two.LKU"));
    host::writeLookupFile(lookup, {ids[1], ids[3]});
    const QStringList before = column(Amount);

    const valdora::test::CommandResult result = valdora(
        {"--run", "~100", "--scope", "lookup", "--lookup", lookup, "--unattended", "--database", m_database});
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              QStringLiteral("~100.ini: 2 contacts in scope, 2 written, 0 left unchanged, 0 failed"));
    QStringList expected = before;
    expected[1] = Twelve;
    expected[3] = Twelve;
    EXPECT_EQ(column(Amount), expected);
    ASSERT_EQ(journalRuns().size(), 1u);
    EXPECT_EQ(journalRuns()[0].info.scope, QStringLiteral("lookup"));
}

TEST_F(UnattendedRunTest, TwoRunsOfOneButtonTakeTurns)
{
    const std::unique_ptr<QProcess> first = startValdora(unattended(m_database, {"--wait", "60"}));
    const std::unique_ptr<QProcess> second = startValdora(unattended(m_database, {"--wait", "60"}));
    ASSERT_TRUE(first->waitForFinished(120000)) << "the first run did not end within 120 s";
    ASSERT_TRUE(second->waitForFinished(120000)) << "the second run did not end within 120 s";
    QStringList counts;
    for (QProcess* process : {first.get(), second.get()}) {
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        const QString out = QString::fromUtf8(process->readAllStandardOutput());
        counts << out.mid(out.indexOf(QStringLiteral("in scope, ")) + 10).trimmed();
    }
    counts.sort();
    // Side by side, one would meet contacts the other holds and count them failed. In turns, the
    // second finds the values the first wrote and leaves them as they are.
    EXPECT_EQ(counts, QStringList({"0 written, 5 left unchanged, 0 failed",
                                   "5 written, 0 left unchanged, 0 failed"}));
    const std::vector<journal::JournalRun> runs = journalRuns();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].stand, journal::RunStand::Finished);
    EXPECT_EQ(runs[1].stand, journal::RunStand::Finished);
    EXPECT_FALSE(hostRunsOn(m_database));
}

TEST_F(UnattendedRunTest, GivesUpOnARunThatStillHoldsTheButtonWithALineInTheJournal)
{
    const QStringList before = column(Amount);
    const FileLock earlierRun(buttonLockFile(m_settings->path(), QStringLiteral("~100.ini")), 0);
    ASSERT_TRUE(earlierRun.isLocked());

    const valdora::test::CommandResult result = valdora(unattended(m_database, {"--wait", "0"}));
    EXPECT_EQ(result.code, GaveUpWaiting);
    EXPECT_EQ(result.err,
              QStringLiteral("Valdora.exe: not run: an earlier run of ~100.ini still ran after 0 s"));
    EXPECT_EQ(result.out, QStringLiteral("~100.ini: not run"));
    EXPECT_EQ(column(Amount), before);
    const std::vector<journal::JournalRun> runs = journalRuns();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].info.scope, QStringLiteral("not run: an earlier run of ~100.ini still ran after 0 s"));
    EXPECT_EQ(runs[0].stand, journal::RunStand::Stopped);
    EXPECT_EQ(runs[0].changes, 0);
    EXPECT_TRUE(errorLog().endsWith(QStringLiteral(
        " ~100.ini (unattended): not run: an earlier run of ~100.ini still ran after 0 s\r\n")))
        << errorLog().toStdString();
    EXPECT_TRUE(notices().contains(QStringLiteral("~100.ini: not run: not run: an earlier run")))
        << notices().toStdString();
    EXPECT_FALSE(hostRunsOn(m_database));
}

struct GoneCase {
    const char* name;
    bool hostRunning;
};

class GoneDatabaseTest : public UnattendedRunTest, public ::testing::WithParamInterface<GoneCase> {};

TEST_P(GoneDatabaseTest, FailsWithAClearLineAndWritesNothing)
{
    if (GetParam().hostRunning)
        startHost();
    const QString gone = m_dir.filePath(QStringLiteral("moved away.dbf"));
    const valdora::test::CommandResult result = valdora(unattended(gone));
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err,
              QStringLiteral("Valdora.exe: the database %1 is not there: nothing was written").arg(gone));
    EXPECT_EQ(result.out, QStringLiteral("~100.ini: not run"));
    EXPECT_FALSE(QFileInfo::exists(gone)) << "an empty database was made in its place";
    EXPECT_TRUE(journalRuns().empty());
    EXPECT_TRUE(
        errorLog().endsWith(QStringLiteral(" ~100.ini (unattended): the database %1 is not there: nothing "
                                           "was written\r\n")
                                .arg(gone)))
        << errorLog().toStdString();
    EXPECT_FALSE(hostRunsOn(gone));
    if (GetParam().hostRunning) {
        EXPECT_EQ(m_host->state(), QProcess::Running);
    }
}

INSTANTIATE_TEST_SUITE_P(Hosts, GoneDatabaseTest,
                         ::testing::Values(GoneCase{"NoHost", false},
                                           GoneCase{"HostOnAnotherDatabase", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UnattendedRunTest, HostThatCannotOpenTheDatabaseFailsTheRun)
{
    const QString broken = m_dir.filePath(QStringLiteral("broken.dbf"));
    ASSERT_TRUE(valdora::test::writeFile(broken, "this is no database"));
    const valdora::test::CommandResult result = valdora(unattended(broken));
    EXPECT_EQ(result.code, 2);
    EXPECT_TRUE(result.err.startsWith(QStringLiteral("Valdora.exe: no host for %1: ").arg(broken)))
        << result.err.toStdString();
    EXPECT_FALSE(hostRunsOn(broken));
    EXPECT_TRUE(journalRuns().empty());
}

TEST_F(UnattendedRunTest, SchedulesListsTheTimersAndTheCrontabEntries)
{
    const QString config = m_dir.filePath(QStringLiteral("config"));
    const QByteArray previousConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.toUtf8());
    Schedule daily;
    daily.button = QStringLiteral("~100.ini");
    daily.kind = ScheduleKind::Daily;
    daily.time = QTime(2, 30);
    daily.database = m_database;
    daily.program = QStringLiteral("/usr/lib/valdora/Valdora.exe");
    ASSERT_TRUE(valdora::test::writeFile(config + QStringLiteral("/systemd/user/valdora-run-100.service"),
                                         serviceText(daily).toUtf8()));
    Schedule hourly = daily;
    hourly.button = QStringLiteral("~7.ini");
    hourly.kind = ScheduleKind::Hourly;
    // crontab -l as the user's crontab program answers it: the user's own line, then the marked entry.
    const QString crontab = m_dir.filePath(QStringLiteral("bin/crontab"));
    const QString listed = QStringLiteral("15 4 * * 1 /usr/bin/backup\n") + cronLines(hourly).join(u'\n');
    ASSERT_TRUE(valdora::test::writeFile(
        crontab, QStringLiteral("#!/bin/sh\ncat <<'END'\n%1\nEND\n").arg(listed).toUtf8()));
    QFile(crontab).setPermissions(QFile::permissions(crontab) | QFileDevice::ExeOwner);

    const valdora::test::CommandResult result = valdora({"--schedules"});
    qputenv("XDG_CONFIG_HOME", previousConfig);
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    const QStringList lines = result.out.split(u'\n');
    ASSERT_EQ(lines.size(), 3) << result.out.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("button\twhen\tnext run\tscope\tdatabase\tkept in"));
    const QStringList timer = lines[1].split(u'\t');
    ASSERT_EQ(timer.size(), 6) << lines[1].toStdString();
    EXPECT_EQ(timer[0], QStringLiteral("~100.ini"));
    EXPECT_EQ(timer[1], QStringLiteral("every day at 02:30"));
    EXPECT_TRUE(timer[2].endsWith(QStringLiteral(" 02:30"))) << timer[2].toStdString();
    EXPECT_EQ(timer.mid(3), (QStringList{"all contacts", m_database, "systemd timer valdora-run-100.timer"}));
    const QStringList entry = lines[2].split(u'\t');
    ASSERT_EQ(entry.size(), 6) << lines[2].toStdString();
    EXPECT_EQ(entry[0], QStringLiteral("~7.ini"));
    EXPECT_EQ(entry[1], QStringLiteral("every hour"));
    EXPECT_TRUE(entry[2].endsWith(QStringLiteral(":00"))) << entry[2].toStdString();
    EXPECT_EQ(entry[5], QStringLiteral("crontab"));
}

} // namespace
} // namespace valdora::schedule
