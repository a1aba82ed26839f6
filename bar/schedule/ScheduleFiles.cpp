#include "ScheduleFiles.h"

#include <QRegularExpression>

namespace valdora::schedule {

namespace {

const QString ButtonKey = QStringLiteral("X-Valdora-Button");
const QString WhenKey = QStringLiteral("X-Valdora-When");
const QString CronMarker = QStringLiteral("# Valdora schedule ");
const QString CronMarkerEnd =
    QStringLiteral(" (written by Valdora: remove this line and the next to end it)");

/// One word of an ExecStart= or Environment= line: double-quoted, with the characters that systemd
/// would take as escapes, specifiers or variables escaped.
QString unitWord(const QString& word)
{
    QString quoted = word;
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'"', QStringLiteral("\\\""));
    quoted.replace(u'%', QStringLiteral("%%"));
    quoted.replace(u'$', QStringLiteral("$$"));
    return u'"' + quoted + u'"';
}

/// One word of a crontab entry: single-quoted for the shell; cron itself takes '%' for a line break
/// unless it is escaped.
QString cronWord(const QString& word)
{
    QString quoted = word;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    quoted.replace(u'%', QStringLiteral("\\%"));
    return u'\'' + quoted + u'\'';
}

/// The words of a crontab command as cronWord wrote them.
QStringList cronWords(const QString& command)
{
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < command.size(); ++i) {
        const QChar c = command[i];
        if (quoted) {
            if (c == u'\'')
                quoted = false;
            else if (c == u'\\' && i + 1 < command.size() && command[i + 1] == u'%')
                word += command[++i];
            else
                word += c;
            continue;
        }
        if (c == u'\'') {
            quoted = true;
            inWord = true;
        } else if (c == u'\\' && i + 1 < command.size()) {
            word += command[++i];
            inWord = true;
        } else if (c == u' ') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words << word;
    return words;
}

QString cronTimes(const Schedule& schedule)
{
    switch (schedule.kind) {
    case ScheduleKind::Daily:
        return QStringLiteral("%1 %2 * * *").arg(schedule.time.minute()).arg(schedule.time.hour());
    case ScheduleKind::Hourly:
        return QStringLiteral("0 * * * *");
    case ScheduleKind::AtLogin:
        // cron knows no log-in: the nearest it offers is the start of the machine.
        return QStringLiteral("@reboot");
    case ScheduleKind::Off:
        break;
    }
    return {};
}

/// The value of "KEY=" in a unit text; empty when absent.
QString unitValue(const QString& text, const QString& key)
{
    const QString prefix = key + u'=';
    for (const QString& line : text.split(u'\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    return {};
}

} // namespace

QString serviceText(const Schedule& schedule)
{
    QStringList command{unitWord(schedule.program)};
    for (const QString& argument : unattendedArguments(schedule))
        command << unitWord(argument);
    QStringList lines{
        QStringLiteral(
            "# Written by Valdora for the schedule of the button %1; set the schedule to off in the "
            "button's \"Schedule...\" window to remove it.")
            .arg(schedule.button),
        QStringLiteral("[Unit]"),
        QStringLiteral("Description=Valdora: run the button %1 unattended").arg(schedule.button),
        ButtonKey + u'=' + schedule.button,
        WhenKey + u'=' + whenToken(schedule),
        QStringLiteral("X-Valdora-Lookup=") + schedule.lookupFile,
        QStringLiteral("X-Valdora-Database=") + schedule.database,
        QString(),
        QStringLiteral("[Service]"),
        QStringLiteral("Type=oneshot"),
    };
    for (const auto& [name, value] : schedule.environment)
        lines << QStringLiteral("Environment=") + unitWord(name + u'=' + value);
    lines << QStringLiteral("ExecStart=") + command.join(u' ');
    if (schedule.kind == ScheduleKind::AtLogin)
        lines << QString() << QStringLiteral("[Install]") << QStringLiteral("WantedBy=default.target");
    return lines.join(u'\n') + u'\n';
}

QString timerText(const Schedule& schedule)
{
    QString calendar;
    if (schedule.kind == ScheduleKind::Daily)
        calendar = QStringLiteral("*-*-* ") + schedule.time.toString(QStringLiteral("HH:mm:00"));
    else if (schedule.kind == ScheduleKind::Hourly)
        calendar = QStringLiteral("*-*-* *:00:00");
    else
        return {};
    const QStringList lines{
        QStringLiteral("# Written by Valdora for the schedule of the button %1.").arg(schedule.button),
        QStringLiteral("[Unit]"),
        QStringLiteral("Description=Valdora: schedule of the button %1 (%2)")
            .arg(schedule.button, whenText(schedule)),
        QString(),
        QStringLiteral("[Timer]"),
        QStringLiteral("OnCalendar=") + calendar,
        // A run missed while the machine was off is made up once at the next start.
        QStringLiteral("Persistent=true"),
        QString(),
        QStringLiteral("[Install]"),
        QStringLiteral("WantedBy=timers.target"),
    };
    return lines.join(u'\n') + u'\n';
}

std::optional<Schedule> scheduleOfService(const QString& text)
{
    Schedule schedule;
    schedule.button = unitValue(text, ButtonKey);
    if (schedule.button.isEmpty() || !readWhenToken(unitValue(text, WhenKey), schedule))
        return std::nullopt;
    schedule.lookupFile = unitValue(text, QStringLiteral("X-Valdora-Lookup"));
    schedule.database = unitValue(text, QStringLiteral("X-Valdora-Database"));
    return schedule;
}

QStringList cronLines(const Schedule& schedule)
{
    QStringList command;
    for (const auto& [name, value] : schedule.environment)
        command << name + u'=' + cronWord(value);
    command << cronWord(schedule.program);
    for (const QString& argument : unattendedArguments(schedule))
        command << cronWord(argument);
    return {CronMarker + schedule.button + QStringLiteral(": ") + whenToken(schedule) + CronMarkerEnd,
            cronTimes(schedule) + u' ' + command.join(u' ')};
}

QString crontabWithout(const QString& crontab, const QString& button)
{
    const QString marker = CronMarker + button + QStringLiteral(": ");
    QStringList kept;
    const QStringList lines = crontab.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(marker)) {
            ++i; // the entry under the marker goes with it
            continue;
        }
        kept << lines[i];
    }
    return kept.join(u'\n');
}

QList<Schedule> schedulesOfCrontab(const QString& crontab)
{
    static const QRegularExpression markerLine(QStringLiteral("^# Valdora schedule (\\S+): (.+?)") +
                                               QRegularExpression::escape(CronMarkerEnd) + u'$');
    static const QRegularExpression assignment(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*="));
    QList<Schedule> schedules;
    const QStringList lines = crontab.split(u'\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QRegularExpressionMatch marker = markerLine.match(lines[i]);
        if (!marker.hasMatch())
            continue;
        Schedule schedule;
        if (!readWhenToken(marker.captured(2), schedule))
            continue;
        QStringList words = cronWords(lines[i + 1]);
        // The times (five fields, or one "@" word), the variables, the program, then its arguments.
        const qsizetype times = words.value(0).startsWith(u'@') ? 1 : 5;
        words = words.mid(times);
        while (!words.isEmpty() && assignment.match(words.first()).hasMatch()) {
            const qsizetype equals = words.first().indexOf(u'=');
            schedule.environment.append({words.first().left(equals), words.first().mid(equals + 1)});
            words.removeFirst();
        }
        if (words.isEmpty())
            continue;
        schedule.program = words.takeFirst();
        if (!readUnattendedArguments(words, schedule) || schedule.button != marker.captured(1))
            continue;
        schedules << schedule;
    }
    return schedules;
}

QString scheduleProblem(const Schedule& schedule)
{
    for (const QString& value : {schedule.button, schedule.database, schedule.lookupFile, schedule.program})
        if (value.contains(u'\n') || value.contains(u'\r'))
            return QStringLiteral("'%1' holds a line break").arg(value.simplified());
    if (schedule.kind == ScheduleKind::Off)
        return {};
    if (schedule.database.isEmpty())
        return QStringLiteral("no database to run on");
    if (schedule.program.isEmpty())
        return QStringLiteral("no program to run");
    if (schedule.kind == ScheduleKind::Daily && !schedule.time.isValid())
        return QStringLiteral("no time of day");
    return {};
}

} // namespace valdora::schedule
