#pragma once

#include "Schedule.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace valdora::schedule {

/// The texts of a button's schedule as systemd user units and as crontab lines, and their reading
/// back. Each file and line carries the schedule in keys of its own (systemd ignores "X-" keys, cron
/// comment lines), so that the window and "--schedules" read back what was written.

/// The service unit that starts the unattended run.
QString serviceText(const Schedule& schedule);
/// The timer unit of a daily or hourly schedule; empty for one at log-in (its service is started by
/// the user's session manager instead, as the service's [Install] section says).
QString timerText(const Schedule& schedule);
/// The schedule a service unit written by serviceText holds; nullopt for any other file.
std::optional<Schedule> scheduleOfService(const QString& text);

/// The two crontab lines of a schedule: a marker comment naming the button, then the entry.
QStringList cronLines(const Schedule& schedule);
/// The crontab without the lines of that button's schedule (its marker and the entry after it);
/// every other line stays as it was.
QString crontabWithout(const QString& crontab, const QString& button);
/// The schedules the crontab's marked lines hold.
QList<Schedule> schedulesOfCrontab(const QString& crontab);

/// Why a schedule cannot be written (a value with a line break, no database, no program); empty when
/// it can.
QString scheduleProblem(const Schedule& schedule);

} // namespace valdora::schedule
