#include "RecordingCommands.h"

#include "bar/schedule/ScheduleFiles.h"
#include "bar/schedule/Scheduler.h"
#include "bar/schedule/SchedulesCommand.h"

#include "core/testsupport/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::schedule {
namespace {

QString readText(const QString& path)
{
    return QString::fromUtf8(valdora::test::readFile(path));
}

Schedule scheduleOf(ScheduleKind kind, QTime time = {}, QString lookup = {})
{
    Schedule schedule;
    schedule.button = QStringLiteral("~100.ini");
    schedule.kind = kind;
    schedule.time = time;
    schedule.lookupFile = std::move(lookup);
    schedule.database = QStringLiteral("/home/user/Sales 2026.dbf");
    schedule.program = QStringLiteral("/usr/lib/valdora/Valdora.exe");
    return schedule;
}

/// Each choice of the window, and what it writes as systemd units and as crontab lines.
struct ChoiceCase {
    const char* name;
    Schedule schedule;
    const char* calendar;   ///< the timer's OnCalendar, "" when there is no timer
    const char* enableCall; ///< the systemctl call that puts it into effect
    const char* cronLine;
};

void PrintTo(const ChoiceCase& row, std::ostream* os)
{
    *os << row.name;
}

const char DefaultCommand[] =
    "'/usr/lib/valdora/Valdora.exe' '--run' '~100.ini' '--scope' 'all' '--unattended' '--database' "
    "'/home/user/Sales 2026.dbf'";

class SchedulerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
    QString unitFolder() const { return m_dir.filePath(QStringLiteral("config/systemd/user")); }

    QTemporaryDir m_dir;
    valdora::test::TemporaryUserSettings m_settings;
    test::RecordingCommands m_commands{m_dir.filePath(QStringLiteral("crontab"))};
};

class ScheduleChoiceTest : public SchedulerTest, public ::testing::WithParamInterface<ChoiceCase> {};

TEST_P(ScheduleChoiceTest, WritesSystemdUnitsAndRemovesThem)
{
    Scheduler scheduler(m_commands, unitFolder());
    const Schedule& schedule = GetParam().schedule;
    const ScheduleOutcome outcome = scheduler.apply(schedule);
    ASSERT_TRUE(outcome.done) << outcome.failure.toStdString();
    EXPECT_EQ(outcome.home, ScheduleHome::SystemdTimer);

    const QString service = readText(scheduler.servicePath(schedule.button));
    EXPECT_TRUE(service.contains(QStringLiteral("\nType=oneshot\n"))) << service.toStdString();
    const QString command =
        QStringLiteral("\nExecStart=\"/usr/lib/valdora/Valdora.exe\" \"--run\" \"~100.ini\" "
                       "\"--scope\" \"%1\"")
            .arg(schedule.lookupFile.isEmpty() ? QStringLiteral("all") : QStringLiteral("lookup"));
    EXPECT_TRUE(service.contains(command)) << service.toStdString();
    EXPECT_TRUE(
        service.contains(QStringLiteral("\"--unattended\" \"--database\" \"/home/user/Sales 2026.dbf\"\n")))
        << service.toStdString();
    const QString timerPath = scheduler.timerPath(schedule.button);
    if (QString::fromUtf8(GetParam().calendar).isEmpty()) {
        EXPECT_FALSE(QFileInfo::exists(timerPath));
        EXPECT_TRUE(service.endsWith(QStringLiteral("[Install]\nWantedBy=default.target\n")))
            << service.toStdString();
    } else {
        const QString timer = readText(timerPath);
        EXPECT_TRUE(timer.contains(QStringLiteral("\nOnCalendar=%1\n").arg(GetParam().calendar)))
            << timer.toStdString();
        EXPECT_TRUE(timer.contains(QStringLiteral("\nPersistent=true\n")));
        EXPECT_TRUE(timer.endsWith(QStringLiteral("[Install]\nWantedBy=timers.target\n")));
    }
    EXPECT_EQ(m_commands.systemctlCalls(), (QStringList{QStringLiteral("systemctl --user daemon-reload"),
                                                        QString::fromUtf8(GetParam().enableCall)}));
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("crontab"))))
        << "cron was not to be touched";

    // What was written reads back as it was set.
    const std::optional<FoundSchedule> found = scheduler.scheduleOf(schedule.button);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->schedule.kind, schedule.kind);
    EXPECT_EQ(found->schedule.time, schedule.time);
    EXPECT_EQ(found->schedule.lookupFile, schedule.lookupFile);
    EXPECT_EQ(found->schedule.database, schedule.database);

    m_commands.calls.clear();
    const ScheduleOutcome removed = scheduler.apply(scheduleOf(ScheduleKind::Off));
    ASSERT_TRUE(removed.done) << removed.failure.toStdString();
    EXPECT_FALSE(QFileInfo::exists(scheduler.servicePath(schedule.button)));
    EXPECT_FALSE(QFileInfo::exists(timerPath));
    EXPECT_TRUE(m_commands.systemctlCalls().contains(QStringLiteral("systemctl --user daemon-reload")));
    EXPECT_TRUE(m_commands.systemctlCalls().first().startsWith(QStringLiteral("systemctl --user disable")))
        << m_commands.systemctlCalls().join(u'\n').toStdString();
    EXPECT_FALSE(scheduler.scheduleOf(schedule.button));
}

TEST_P(ScheduleChoiceTest, WritesACrontabEntryWithoutSystemdAndRemovesIt)
{
    m_commands.systemd = false;
    const QString crontab = m_dir.filePath(QStringLiteral("crontab"));
    // The user's own lines stay byte for byte, the blank lines included.
    const QByteArray own = "# my jobs\nMAILTO=me\n\n15 4 * * 1 /usr/bin/backup --all\n\n";
    ASSERT_TRUE(valdora::test::writeFile(crontab, own));
    Scheduler scheduler(m_commands, unitFolder());
    const Schedule& schedule = GetParam().schedule;
    const ScheduleOutcome outcome = scheduler.apply(schedule);
    ASSERT_TRUE(outcome.done) << outcome.failure.toStdString();
    EXPECT_EQ(outcome.home, ScheduleHome::Crontab);
    EXPECT_FALSE(QFileInfo::exists(scheduler.servicePath(schedule.button)));

    const QStringList lines = readText(crontab).split(u'\n');
    ASSERT_EQ(lines.size(), 8) << readText(crontab).toStdString();
    EXPECT_EQ((lines.mid(0, 5).join(u'\n') + u'\n').toUtf8(), own);
    EXPECT_TRUE(lines[5].startsWith(QStringLiteral("# Valdora schedule ~100.ini: ")))
        << lines[5].toStdString();
    EXPECT_EQ(lines[6], QString::fromUtf8(GetParam().cronLine));
    EXPECT_EQ(lines[7], QString());

    const std::optional<FoundSchedule> found = scheduler.scheduleOf(schedule.button);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->home, ScheduleHome::Crontab);
    EXPECT_EQ(found->schedule, schedule);

    // Set again: one entry, not two.
    ASSERT_TRUE(scheduler.apply(schedule).done);
    EXPECT_EQ(readText(crontab).count(QStringLiteral("# Valdora schedule ")), 1);

    ASSERT_TRUE(scheduler.remove(schedule.button).done);
    EXPECT_EQ(valdora::test::readFile(crontab), own);
    EXPECT_FALSE(scheduler.scheduleOf(schedule.button));
}

TEST_P(ScheduleChoiceTest, UnitFilesPassSystemdAnalyzeVerify)
{
    const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
    if (analyze.isEmpty())
        GTEST_SKIP()
            << "systemd-analyze is not installed here: the unit files are checked by their text only";
    Schedule schedule = GetParam().schedule;
    // verify looks for the program it would start.
    schedule.program = QStandardPaths::findExecutable(QStringLiteral("true"));
    Scheduler scheduler(m_commands, unitFolder());
    ASSERT_TRUE(scheduler.apply(schedule).done);
    QStringList units{scheduler.servicePath(schedule.button)};
    if (QFileInfo::exists(scheduler.timerPath(schedule.button)))
        units << scheduler.timerPath(schedule.button);
    QProcess verify;
    verify.start(analyze, QStringList{QStringLiteral("--user"), QStringLiteral("verify")} + units);
    ASSERT_TRUE(verify.waitForFinished(30000)) << "systemd-analyze verify did not end within 30 s";
    const QString said = QString::fromLocal8Bit(verify.readAllStandardError());
    EXPECT_EQ(verify.exitCode(), 0) << said.toStdString();
    // A line systemd cannot read is skipped with a warning, and the unit still verifies.
    EXPECT_FALSE(said.contains(QStringLiteral("ignoring"))) << said.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ScheduleChoiceTest,
    ::testing::Values(
        ChoiceCase{
            "EveryDay", scheduleOf(ScheduleKind::Daily, QTime(2, 30)), "*-*-* 02:30:00",
            "systemctl --user enable --now valdora-run-100.timer",
            "30 2 * * * '/usr/lib/valdora/Valdora.exe' '--run' '~100.ini' '--scope' 'all' '--unattended' "
            "'--database' '/home/user/Sales 2026.dbf'"},
        ChoiceCase{
            "EveryHour", scheduleOf(ScheduleKind::Hourly), "*-*-* *:00:00",
            "systemctl --user enable --now valdora-run-100.timer",
            "0 * * * * '/usr/lib/valdora/Valdora.exe' '--run' '~100.ini' '--scope' 'all' '--unattended' "
            "'--database' '/home/user/Sales 2026.dbf'"},
        ChoiceCase{"AtLogin", scheduleOf(ScheduleKind::AtLogin), "",
                   "systemctl --user enable valdora-run-100.service",
                   "@reboot '/usr/lib/valdora/Valdora.exe' '--run' '~100.ini' '--scope' 'all' '--unattended' "
                   "'--database' '/home/user/Sales 2026.dbf'"},
        ChoiceCase{
            "SavedLookup",
            scheduleOf(ScheduleKind::Daily, QTime(23, 5), QStringLiteral("/home/user/It's 100%.LKU")),
            "*-*-* 23:05:00", "systemctl --user enable --now valdora-run-100.timer",
            "5 23 * * * '/usr/lib/valdora/Valdora.exe' '--run' '~100.ini' '--scope' 'lookup' '--lookup' "
            "'/home/user/It'\\''s 100\\%.LKU' '--unattended' '--database' '/home/user/Sales 2026.dbf'"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SchedulerTest, UnitWordsEscapeWhatSystemdWouldExpand)
{
    Schedule schedule = scheduleOf(ScheduleKind::Hourly);
    schedule.database = QStringLiteral("/data/100% \"$HOME\"\\x.dbf");
    schedule.environment = {
        {QStringLiteral("VALDORA_USER_SETTINGS"), QStringLiteral("/home/user/my settings")}};
    const QString service = serviceText(schedule);
    EXPECT_TRUE(service.contains(QStringLiteral("\"--database\" \"/data/100%% \\\"$$HOME\\\"\\\\x.dbf\"\n")))
        << service.toStdString();
    EXPECT_TRUE(
        service.contains(QStringLiteral("\nEnvironment=\"VALDORA_USER_SETTINGS=/home/user/my settings\"\n")));
    // The keys the listing reads keep the value as it is.
    EXPECT_EQ(scheduleOfService(service)->database, schedule.database);
}

TEST_F(SchedulerTest, CronEntryKeepsTheEnvironmentAndReadsBack)
{
    Schedule schedule = scheduleOf(ScheduleKind::Daily, QTime(6, 0));
    schedule.environment = {
        {QStringLiteral("VALDORA_USER_SETTINGS"), QStringLiteral("/home/user/it's mine")}};
    const QStringList lines = cronLines(schedule);
    EXPECT_EQ(lines[1],
              QStringLiteral("0 6 * * * VALDORA_USER_SETTINGS='/home/user/it'\\''s mine' ") + DefaultCommand);
    const QList<Schedule> read = schedulesOfCrontab(lines.join(u'\n'));
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read[0], schedule);
}

TEST_F(SchedulerTest, MovesAScheduleFromCrontabToSystemdWhenSystemdCameLater)
{
    m_commands.systemd = false;
    Scheduler scheduler(m_commands, unitFolder());
    ASSERT_TRUE(scheduler.apply(scheduleOf(ScheduleKind::Hourly)).done);
    m_commands.systemd = true;
    ASSERT_TRUE(scheduler.apply(scheduleOf(ScheduleKind::Daily, QTime(1, 0))).done);
    EXPECT_FALSE(readText(m_dir.filePath(QStringLiteral("crontab"))).contains(QStringLiteral("Valdora")));
    const QList<FoundSchedule> all = scheduler.schedules();
    ASSERT_EQ(all.size(), 1);
    EXPECT_EQ(all[0].home, ScheduleHome::SystemdTimer);
}

TEST_F(SchedulerTest, ChangedTimerIsRestartedAndLoginLeavesNoTimer)
{
    Scheduler scheduler(m_commands, unitFolder());
    ASSERT_TRUE(scheduler.apply(scheduleOf(ScheduleKind::Daily, QTime(1, 0))).done);
    m_commands.calls.clear();
    ASSERT_TRUE(scheduler.apply(scheduleOf(ScheduleKind::Daily, QTime(3, 0))).done);
    EXPECT_TRUE(m_commands.systemctlCalls().contains(
        QStringLiteral("systemctl --user restart valdora-run-100.timer")));
    EXPECT_TRUE(
        readText(scheduler.timerPath(QStringLiteral("~100.ini"))).contains(QStringLiteral("03:00:00")));
    ASSERT_TRUE(scheduler.apply(scheduleOf(ScheduleKind::AtLogin)).done);
    EXPECT_FALSE(QFileInfo::exists(scheduler.timerPath(QStringLiteral("~100.ini"))));
}

TEST_F(SchedulerTest, FailedEnableLeavesNoFilesAndSaysWhy)
{
    Scheduler scheduler(m_commands, unitFolder());
    m_commands.systemctlFails = 1;
    const ScheduleOutcome outcome = scheduler.apply(scheduleOf(ScheduleKind::Hourly));
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(outcome.failure,
              QStringLiteral("systemctl --user enable valdora-run-100.timer failed: Failed to "
                             "connect to bus"));
    EXPECT_FALSE(QFileInfo::exists(scheduler.servicePath(QStringLiteral("~100.ini"))));
    EXPECT_FALSE(QFileInfo::exists(scheduler.timerPath(QStringLiteral("~100.ini"))));
}

TEST_F(SchedulerTest, NeitherSystemdNorCronIsAFailure)
{
    m_commands.systemd = false;
    m_commands.crontab = false;
    Scheduler scheduler(m_commands, unitFolder());
    const ScheduleOutcome outcome = scheduler.apply(scheduleOf(ScheduleKind::Hourly));
    EXPECT_FALSE(outcome.done);
    EXPECT_EQ(outcome.failure, QStringLiteral("neither systemctl --user nor crontab is available"));
}

TEST_F(SchedulerTest, RefusesWhatCannotBeWritten)
{
    Scheduler scheduler(m_commands, unitFolder());
    Schedule schedule = scheduleOf(ScheduleKind::Hourly);
    schedule.database = QStringLiteral("/tmp/a\nExecStartPre=/bin/rm -rf /");
    const ScheduleOutcome outcome = scheduler.apply(schedule);
    EXPECT_FALSE(outcome.done);
    EXPECT_TRUE(outcome.failure.endsWith(QStringLiteral("holds a line break")))
        << outcome.failure.toStdString();
    EXPECT_TRUE(m_commands.calls.isEmpty());
    schedule.database.clear();
    EXPECT_EQ(scheduler.apply(schedule).failure, QStringLiteral("no database to run on"));
}

TEST_F(SchedulerTest, ListsEveryScheduledButtonWithItsNextRun)
{
    Scheduler scheduler(m_commands, unitFolder());
    Schedule daily = scheduleOf(ScheduleKind::Daily, QTime(2, 30));
    Schedule login = scheduleOf(ScheduleKind::AtLogin);
    login.button = QStringLiteral("~7.ini");
    ASSERT_TRUE(scheduler.apply(daily).done);
    ASSERT_TRUE(scheduler.apply(login).done);
    m_commands.systemd = false;
    Schedule hourly = scheduleOf(ScheduleKind::Hourly, {}, QStringLiteral("/home/user/new.LKU"));
    hourly.button = QStringLiteral("~205.ini");
    ASSERT_TRUE(scheduler.apply(hourly).done);
    const QDateTime now(QDate(2026, 12, 9), QTime(11, 40));
    EXPECT_EQ(schedulesText(scheduler.schedules(), now),
              QStringLiteral(
                  "button\twhen\tnext run\tscope\tdatabase\tkept in\n"
                  "~100.ini\tevery day at 02:30\t2026-12-10 02:30\tall contacts\t/home/user/Sales 2026.dbf\t"
                  "systemd timer valdora-run-100.timer\n"
                  "~7.ini\tat log-in\tat the next log-in\tall contacts\t/home/user/Sales 2026.dbf\t"
                  "systemd service valdora-run-7.service\n"
                  "~205.ini\tevery hour\t2026-12-09 12:00\tlookup /home/user/new.LKU\t"
                  "/home/user/Sales 2026.dbf\tcrontab"));
    EXPECT_EQ(schedulesText({}, now), QStringLiteral("no button is scheduled"));
}

struct NextRunCase {
    const char* name;
    Schedule schedule;
    QDateTime now;
    QDateTime next; // invalid: none
};

void PrintTo(const NextRunCase& row, std::ostream* os)
{
    *os << row.name;
}

class NextRunTest : public ::testing::TestWithParam<NextRunCase> {};

TEST_P(NextRunTest, ComesAfterNow)
{
    const std::optional<QDateTime> next = nextRun(GetParam().schedule, GetParam().now);
    EXPECT_EQ(next.value_or(QDateTime()), GetParam().next);
}

QDateTime at(int day, int hour, int minute)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute));
}

INSTANTIATE_TEST_SUITE_P(
    Times, NextRunTest,
    ::testing::Values(
        NextRunCase{"LaterToday", scheduleOf(ScheduleKind::Daily, QTime(23, 0)), at(9, 11, 40), at(9, 23, 0)},
        NextRunCase{"Tomorrow", scheduleOf(ScheduleKind::Daily, QTime(2, 30)), at(9, 11, 40), at(10, 2, 30)},
        NextRunCase{"ExactlyNowIsTomorrow", scheduleOf(ScheduleKind::Daily, QTime(2, 30)), at(9, 2, 30),
                    at(10, 2, 30)},
        NextRunCase{"NextHour", scheduleOf(ScheduleKind::Hourly), at(9, 11, 40), at(9, 12, 0)},
        NextRunCase{"NextDayAtMidnight", scheduleOf(ScheduleKind::Hourly), at(9, 23, 0), at(10, 0, 0)},
        NextRunCase{"AtLoginHasNoTime", scheduleOf(ScheduleKind::AtLogin), at(9, 11, 40), QDateTime()},
        NextRunCase{"Off", scheduleOf(ScheduleKind::Off), at(9, 11, 40), QDateTime()}),
    [](const auto& info) { return std::string(info.param.name); });

struct UnitNameCase {
    const char* name;
    const char* button;
    const char* unit;
};

class UnitNameTest : public ::testing::TestWithParam<UnitNameCase> {};

TEST_P(UnitNameTest, TakesOnlyWhatUnitNamesTake)
{
    EXPECT_EQ(unitBaseName(QString::fromUtf8(GetParam().button)), QString::fromUtf8(GetParam().unit));
}

INSTANTIATE_TEST_SUITE_P(Buttons, UnitNameTest,
                         ::testing::Values(UnitNameCase{"Number", "~100.ini", "valdora-run-100"},
                                           UnitNameCase{"Word", "~Age_2.INI", "valdora-run-Age_2"},
                                           UnitNameCase{"Blank", "~a b.ini", "valdora-run-a\\x20b"},
                                           UnitNameCase{"Accent", "~é.ini", "valdora-run-\\xc3\\xa9"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::schedule
