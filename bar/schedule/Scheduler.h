#pragma once

#include "Schedule.h"
#include "SystemCommands.h"

#include <QList>
#include <QString>

#include <optional>

namespace valdora::schedule {

/// Where a schedule is kept.
enum class ScheduleHome { SystemdTimer, Crontab };

/// A schedule as found: what it holds and where.
struct FoundSchedule {
    Schedule schedule;
    ScheduleHome home = ScheduleHome::SystemdTimer;
};

/// What setting or removing a schedule came to: done, or the reason it was not.
struct ScheduleOutcome {
    bool done = false;
    ScheduleHome home = ScheduleHome::SystemdTimer;
    QString failure;
};

/// Writes, removes and lists the buttons' schedules: systemd user units (a timer and a service per
/// button) where "systemctl --user" answers, else a marked crontab entry. Every program it starts goes
/// through the SystemCommands seam; the unit files go to `unitFolder`.
class Scheduler {
public:
    explicit Scheduler(SystemCommands& commands, QString unitFolder = defaultUnitFolder());

    /// $XDG_CONFIG_HOME/systemd/user, else ~/.config/systemd/user.
    static QString defaultUnitFolder();

    /// True when the user's systemd instance answers.
    bool hasSystemd();
    /// Sets a button's schedule (an Off schedule removes it), replacing any it had, in either home.
    ScheduleOutcome apply(const Schedule& schedule);
    /// Removes the button's schedule from both homes; done when nothing of it is left.
    ScheduleOutcome remove(const QString& button);
    /// Every scheduled button, the systemd ones first, each sorted by button.
    QList<FoundSchedule> schedules();
    /// The button's schedule, if it has one.
    std::optional<FoundSchedule> scheduleOf(const QString& button);

    QString servicePath(const QString& button) const;
    QString timerPath(const QString& button) const;

private:
    ScheduleOutcome applyAsUnits(const Schedule& schedule);
    ScheduleOutcome applyToCrontab(const Schedule& schedule);
    /// The user's crontab; nullopt with `failure` set when it cannot be read (having none is empty).
    std::optional<QString> readCrontab(QString& failure);
    QString writeCrontab(const QString& crontab);
    QString removeUnits(const QString& button, bool systemd);
    QString removeCronLines(const QString& button);
    CommandOutput systemctl(const QStringList& arguments);

    SystemCommands& m_commands;
    QString m_unitFolder;
};

} // namespace valdora::schedule
