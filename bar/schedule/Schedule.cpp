#include "Schedule.h"

#include "settings/ButtonFile.h"
#include "settings/ButtonFileName.h"

namespace valdora::schedule {

namespace {

const QString Daily = QStringLiteral("daily");
const QString Hourly = QStringLiteral("hourly");
const QString Login = QStringLiteral("login");
const QString Off = QStringLiteral("off");
const QString TimeFormat = QStringLiteral("HH:mm");

const QString RunOption = QStringLiteral("--run");
const QString ScopeOption = QStringLiteral("--scope");
const QString LookupOption = QStringLiteral("--lookup");
const QString UnattendedOption = QStringLiteral("--unattended");
const QString DatabaseOption = QStringLiteral("--database");

} // namespace

QString whenToken(const Schedule& schedule)
{
    switch (schedule.kind) {
    case ScheduleKind::Off:
        return Off;
    case ScheduleKind::Daily:
        return Daily + u' ' + schedule.time.toString(TimeFormat);
    case ScheduleKind::Hourly:
        return Hourly;
    case ScheduleKind::AtLogin:
        return Login;
    }
    return Off;
}

bool readWhenToken(const QString& token, Schedule& schedule)
{
    const QStringList parts = token.trimmed().split(u' ', Qt::SkipEmptyParts);
    if (parts.size() == 1 && parts[0] == Hourly)
        schedule.kind = ScheduleKind::Hourly;
    else if (parts.size() == 1 && parts[0] == Login)
        schedule.kind = ScheduleKind::AtLogin;
    else if (parts.size() == 1 && parts[0] == Off)
        schedule.kind = ScheduleKind::Off;
    else if (parts.size() == 2 && parts[0] == Daily) {
        const QTime time = QTime::fromString(parts[1], TimeFormat);
        if (!time.isValid())
            return false;
        schedule.kind = ScheduleKind::Daily;
        schedule.time = time;
    } else
        return false;
    return true;
}

std::optional<QDateTime> nextRun(const Schedule& schedule, const QDateTime& now)
{
    switch (schedule.kind) {
    case ScheduleKind::Daily: {
        QDateTime next(now.date(), schedule.time);
        if (next <= now)
            next = QDateTime(now.date().addDays(1), schedule.time);
        return next;
    }
    case ScheduleKind::Hourly: {
        const QDateTime hour(now.date(), QTime(now.time().hour(), 0));
        return hour.addSecs(3600);
    }
    case ScheduleKind::Off:
    case ScheduleKind::AtLogin:
        break;
    }
    return std::nullopt;
}

QString whenText(const Schedule& schedule)
{
    switch (schedule.kind) {
    case ScheduleKind::Off:
        return QStringLiteral("off");
    case ScheduleKind::Daily:
        return QStringLiteral("every day at ") + schedule.time.toString(TimeFormat);
    case ScheduleKind::Hourly:
        return QStringLiteral("every hour");
    case ScheduleKind::AtLogin:
        return QStringLiteral("at log-in");
    }
    return {};
}

QStringList unattendedArguments(const Schedule& schedule)
{
    QStringList arguments{RunOption, schedule.button, ScopeOption};
    if (schedule.lookupFile.isEmpty())
        arguments << QStringLiteral("all");
    else
        arguments << QStringLiteral("lookup") << LookupOption << schedule.lookupFile;
    arguments << UnattendedOption << DatabaseOption << schedule.database;
    return arguments;
}

bool readUnattendedArguments(const QStringList& arguments, Schedule& schedule)
{
    bool unattended = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == UnattendedOption) {
            unattended = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return false;
        const QString& value = arguments[++i];
        if (argument == RunOption)
            schedule.button = value;
        else if (argument == LookupOption)
            schedule.lookupFile = value;
        else if (argument == DatabaseOption)
            schedule.database = value;
        else if (argument != ScopeOption)
            return false;
    }
    return unattended && !schedule.button.isEmpty() && !schedule.database.isEmpty();
}

QString unitBaseName(const QString& button)
{
    QString name = buttonIdentifier(button);
    if (name.startsWith(ButtonFileName::Prefix))
        name.remove(0, 1);
    QString escaped;
    for (const char byte : name.toUtf8()) {
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || byte == '_' || byte == '-';
        escaped += plain ? QString(QChar(byte))
                         : QStringLiteral("\\x%1").arg(static_cast<unsigned char>(byte), 2, 16, QChar(u'0'));
    }
    return QStringLiteral("valdora-run-") + escaped;
}

} // namespace valdora::schedule
