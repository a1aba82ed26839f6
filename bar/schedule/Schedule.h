#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QTime>

#include <optional>

namespace valdora::schedule {

/// When a scheduled button runs.
enum class ScheduleKind {
    Off,    ///< not scheduled
    Daily,  ///< every day at a time
    Hourly, ///< at the start of every hour
    AtLogin ///< when the user logs in (a minute after the user's session manager starts)
};

/// Variables of the scheduling program's environment that a scheduled run keeps, so that it uses the
/// same per-user store and program folder as the window that scheduled it.
using Environment = QList<QPair<QString, QString>>;

/// One button's schedule: when it runs, on which contacts and database, and the program that runs it.
struct Schedule {
    QString button; ///< "~100.ini"
    ScheduleKind kind = ScheduleKind::Off;
    QTime time; ///< the time of day of a daily run
    /// The saved lookup file whose contacts the run covers; empty: all contacts.
    QString lookupFile;
    /// The database path (or URI) the run opens.
    QString database;
    /// The Valdora.exe that runs it.
    QString program;
    Environment environment;

    bool operator==(const Schedule&) const = default;
};

/// The short token of a kind and time as the schedule files keep it: "daily 02:30", "hourly", "login",
/// "off".
QString whenToken(const Schedule& schedule);
/// Reads a token written by whenToken into `schedule`; false when it is none.
bool readWhenToken(const QString& token, Schedule& schedule);

/// The moment after `now` at which the schedule runs next; nullopt for one that is off or that runs
/// at log-in (no clock time).
std::optional<QDateTime> nextRun(const Schedule& schedule, const QDateTime& now);

/// "every day at 02:30", "every hour", "at log-in", "off" (the command line's English).
QString whenText(const Schedule& schedule);

/// The arguments of the unattended run the schedule starts:
/// "--run ~100.ini --scope all --unattended --database PATH" (or "--scope lookup --lookup FILE").
QStringList unattendedArguments(const Schedule& schedule);
/// Reads the button, scope and database back from such arguments into `schedule`; false when they
/// are not an unattended run's.
bool readUnattendedArguments(const QStringList& arguments, Schedule& schedule);

/// The base name of a button's schedule files: "valdora-run-100" for "~100.ini". Characters that
/// unit names do not take are escaped as systemd escapes them ("\x20").
QString unitBaseName(const QString& button);

} // namespace valdora::schedule
