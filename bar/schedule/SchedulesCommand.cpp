#include "SchedulesCommand.h"

namespace valdora::schedule {

QString homeText(const FoundSchedule& found)
{
    const QString base = unitBaseName(found.schedule.button);
    if (found.home == ScheduleHome::Crontab)
        return QStringLiteral("crontab");
    if (found.schedule.kind == ScheduleKind::AtLogin)
        return QStringLiteral("systemd service %1.service").arg(base);
    return QStringLiteral("systemd timer %1.timer").arg(base);
}

QString nextRunText(const FoundSchedule& found, const QDateTime& now)
{
    if (found.schedule.kind == ScheduleKind::AtLogin)
        return found.home == ScheduleHome::Crontab ? QStringLiteral("at the next start of the machine")
                                                   : QStringLiteral("at the next log-in");
    const std::optional<QDateTime> next = nextRun(found.schedule, now);
    return next ? next->toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QStringLiteral("never");
}

QString schedulesText(const QList<FoundSchedule>& schedules, const QDateTime& now)
{
    if (schedules.isEmpty())
        return QStringLiteral("no button is scheduled");
    QStringList lines{QStringLiteral("button\twhen\tnext run\tscope\tdatabase\tkept in")};
    for (const FoundSchedule& found : schedules) {
        const Schedule& schedule = found.schedule;
        lines << QStringList{schedule.button,
                             whenText(schedule),
                             nextRunText(found, now),
                             schedule.lookupFile.isEmpty() ? QStringLiteral("all contacts")
                                                           : QStringLiteral("lookup ") + schedule.lookupFile,
                             schedule.database,
                             homeText(found)}
                     .join(u'\t');
    }
    return lines.join(u'\n');
}

} // namespace valdora::schedule
