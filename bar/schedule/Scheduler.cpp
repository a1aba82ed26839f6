#include "Scheduler.h"

#include "ScheduleFiles.h"

#include "core/FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace valdora::schedule {

namespace {

const QString Systemctl = QStringLiteral("systemctl");
const QString Crontab = QStringLiteral("crontab");

QString commandFailure(const QString& what, const CommandOutput& output)
{
    const QString said = QString::fromLocal8Bit(output.err).trimmed();
    return said.isEmpty() ? QStringLiteral("%1 failed (exit code %2)").arg(what).arg(output.code)
                          : QStringLiteral("%1 failed: %2").arg(what, said.simplified());
}

bool byButton(const FoundSchedule& a, const FoundSchedule& b)
{
    return a.schedule.button < b.schedule.button;
}

} // namespace

Scheduler::Scheduler(SystemCommands& commands, QString unitFolder)
    : m_commands(commands), m_unitFolder(std::move(unitFolder))
{}

QString Scheduler::defaultUnitFolder()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty())
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/systemd/user");
}

QString Scheduler::servicePath(const QString& button) const
{
    return m_unitFolder + u'/' + unitBaseName(button) + QStringLiteral(".service");
}

QString Scheduler::timerPath(const QString& button) const
{
    return m_unitFolder + u'/' + unitBaseName(button) + QStringLiteral(".timer");
}

CommandOutput Scheduler::systemctl(const QStringList& arguments)
{
    return m_commands.run(Systemctl, QStringList{QStringLiteral("--user")} + arguments);
}

bool Scheduler::hasSystemd()
{
    return m_commands.has(Systemctl) && systemctl({QStringLiteral("show-environment")}).succeeded();
}

ScheduleOutcome Scheduler::apply(const Schedule& schedule)
{
    if (schedule.kind == ScheduleKind::Off)
        return remove(schedule.button);
    const QString problem = scheduleProblem(schedule);
    if (!problem.isEmpty())
        return {false, ScheduleHome::SystemdTimer, problem};
    return hasSystemd() ? applyAsUnits(schedule) : applyToCrontab(schedule);
}

ScheduleOutcome Scheduler::applyAsUnits(const Schedule& schedule)
{
    ScheduleOutcome outcome{false, ScheduleHome::SystemdTimer, {}};
    // A schedule moves home when systemd came after cron: the old entry would run it twice.
    outcome.failure = removeCronLines(schedule.button);
    if (!outcome.failure.isEmpty())
        return outcome;
    const bool hadTimer = QFileInfo::exists(timerPath(schedule.button));
    // Going from a timer to log-in (or back) leaves nothing of the other kind enabled.
    outcome.failure = removeUnits(schedule.button, true);
    if (!outcome.failure.isEmpty())
        return outcome;
    const QString timer = timerText(schedule);
    if (!QDir().mkpath(m_unitFolder) ||
        !replaceFileAtomically(servicePath(schedule.button), serviceText(schedule).toUtf8()) ||
        (!timer.isEmpty() && !replaceFileAtomically(timerPath(schedule.button), timer.toUtf8()))) {
        outcome.failure = QStringLiteral("the unit files cannot be written in %1").arg(m_unitFolder);
        removeUnits(schedule.button, true);
        return outcome;
    }
    const CommandOutput reload = systemctl({QStringLiteral("daemon-reload")});
    const QString unit =
        QFileInfo(timer.isEmpty() ? servicePath(schedule.button) : timerPath(schedule.button)).fileName();
    // A log-in schedule is a service the session manager starts when the user logs in: enabled, not
    // started now.
    const CommandOutput enable = reload.succeeded()
                                     ? systemctl(timer.isEmpty() ? QStringList{QStringLiteral("enable"), unit}
                                                                 : QStringList{QStringLiteral("enable"),
                                                                               QStringLiteral("--now"), unit})
                                     : reload;
    if (enable.succeeded() && hadTimer && !timer.isEmpty()) {
        // A running timer keeps its old calendar until it is started again.
        const CommandOutput restart = systemctl({QStringLiteral("restart"), unit});
        if (!restart.succeeded())
            outcome.failure = commandFailure(QStringLiteral("systemctl --user restart ") + unit, restart);
    } else if (!enable.succeeded())
        outcome.failure = commandFailure(QStringLiteral("systemctl --user enable ") + unit, enable);
    if (!outcome.failure.isEmpty()) {
        removeUnits(schedule.button, true);
        return outcome;
    }
    outcome.done = true;
    return outcome;
}

ScheduleOutcome Scheduler::applyToCrontab(const Schedule& schedule)
{
    ScheduleOutcome outcome{false, ScheduleHome::Crontab, {}};
    if (!m_commands.has(Crontab)) {
        outcome.failure = QStringLiteral("neither systemctl --user nor crontab is available");
        return outcome;
    }
    // Unit files left from a time with systemd would be started again if it came back.
    outcome.failure = removeUnits(schedule.button, false);
    if (!outcome.failure.isEmpty())
        return outcome;
    const std::optional<QString> crontab = readCrontab(outcome.failure);
    if (!crontab)
        return outcome;
    // The user's lines stay as they are; the entry goes at the end, on lines of its own.
    QString kept = crontabWithout(*crontab, schedule.button);
    if (!kept.isEmpty() && !kept.endsWith(u'\n'))
        kept += u'\n';
    outcome.failure = writeCrontab(kept + cronLines(schedule).join(u'\n') + u'\n');
    outcome.done = outcome.failure.isEmpty();
    return outcome;
}

ScheduleOutcome Scheduler::remove(const QString& button)
{
    ScheduleOutcome outcome{false, ScheduleHome::SystemdTimer, {}};
    const bool systemd = hasSystemd();
    outcome.failure = removeUnits(button, systemd);
    const QString cronFailure = removeCronLines(button);
    if (outcome.failure.isEmpty())
        outcome.failure = cronFailure;
    outcome.home = systemd ? ScheduleHome::SystemdTimer : ScheduleHome::Crontab;
    outcome.done = outcome.failure.isEmpty();
    return outcome;
}

QString Scheduler::removeUnits(const QString& button, bool systemd)
{
    const QString service = servicePath(button);
    const QString timer = timerPath(button);
    const bool hadService = QFileInfo::exists(service);
    const bool hadTimer = QFileInfo::exists(timer);
    if (!hadService && !hadTimer)
        return {};
    if (systemd) {
        // Disabling a unit that is not enabled is no failure; the files going is what counts.
        if (hadTimer)
            systemctl({QStringLiteral("disable"), QStringLiteral("--now"), QFileInfo(timer).fileName()});
        if (hadService)
            systemctl({QStringLiteral("disable"), QFileInfo(service).fileName()});
    }
    if ((hadTimer && !QFile::remove(timer)) || (hadService && !QFile::remove(service)))
        return QStringLiteral("the unit files of %1 cannot be removed from %2").arg(button, m_unitFolder);
    if (systemd)
        systemctl({QStringLiteral("daemon-reload")});
    return {};
}

QString Scheduler::removeCronLines(const QString& button)
{
    if (!m_commands.has(Crontab))
        return {};
    QString failure;
    const std::optional<QString> crontab = readCrontab(failure);
    if (!crontab)
        return failure;
    const QString kept = crontabWithout(*crontab, button);
    if (kept == *crontab)
        return {};
    return writeCrontab(kept);
}

std::optional<QString> Scheduler::readCrontab(QString& failure)
{
    const CommandOutput listed = m_commands.run(Crontab, {QStringLiteral("-l")});
    if (listed.succeeded())
        return QString::fromLocal8Bit(listed.out);
    // "no crontab for USER" is an empty crontab, not a failure.
    if (listed.code > 0 && listed.err.contains("no crontab"))
        return QString();
    failure = commandFailure(QStringLiteral("crontab -l"), listed);
    return std::nullopt;
}

QString Scheduler::writeCrontab(const QString& crontab)
{
    const CommandOutput written = m_commands.run(Crontab, {QStringLiteral("-")}, crontab.toLocal8Bit());
    return written.succeeded() ? QString() : commandFailure(QStringLiteral("crontab -"), written);
}

QList<FoundSchedule> Scheduler::schedules()
{
    QList<FoundSchedule> units;
    const QDir folder(m_unitFolder);
    for (const QString& name : folder.entryList({QStringLiteral("valdora-run-*.service")}, QDir::Files)) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        if (const std::optional<Schedule> found = scheduleOfService(QString::fromUtf8(file.readAll())))
            units.append({*found, ScheduleHome::SystemdTimer});
    }
    std::sort(units.begin(), units.end(), byButton);
    QList<FoundSchedule> entries;
    QString failure;
    const std::optional<QString> crontab = m_commands.has(Crontab) ? readCrontab(failure) : std::nullopt;
    for (const Schedule& schedule : schedulesOfCrontab(crontab.value_or(QString())))
        entries.append({schedule, ScheduleHome::Crontab});
    std::sort(entries.begin(), entries.end(), byButton);
    return units + entries;
}

std::optional<FoundSchedule> Scheduler::scheduleOf(const QString& button)
{
    for (const FoundSchedule& found : schedules())
        if (found.schedule.button.compare(button, Qt::CaseInsensitive) == 0)
            return found;
    return std::nullopt;
}

} // namespace valdora::schedule
