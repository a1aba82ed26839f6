#pragma once

#include "Scheduler.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace valdora::schedule {

/// Valdora.exe --schedules: the scheduled buttons, a header line, then one tab-separated line each
/// (button, when, next run, scope, database, where it is kept); "no button is scheduled" when none is.
QString schedulesText(const QList<FoundSchedule>& schedules, const QDateTime& now);

/// Where a schedule is kept, as the listing and the window say it: "systemd timer valdora-run-100.timer",
/// "systemd service valdora-run-100.service (at log-in)" or "crontab".
QString homeText(const FoundSchedule& found);

/// When the schedule runs next, as the listing says it: "2026-12-10 02:30", "at the next log-in",
/// "at the next start of the machine" (cron's nearest to a log-in).
QString nextRunText(const FoundSchedule& found, const QDateTime& now);

} // namespace valdora::schedule
