#include "ProcessRunning.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <sys/types.h>

namespace valdora {

namespace {

// A killed process stays in the table as a zombie until its parent reaps it; it runs no more.
bool isZombie(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false; // no /proc: the signal test alone decides
    // "pid (command) state ...": the command may hold blanks and parentheses, the state follows the last ')'.
    const QByteArray line = stat.read(512);
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() && (line[close + 2] == 'Z' || line[close + 2] == 'X');
}

} // namespace

bool isProcessRunning(qint64 pid)
{
    // 0 and negative ids name process groups to kill(), never one process.
    if (pid <= 0 || pid != static_cast<pid_t>(pid))
        return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
        return false;
    return !isZombie(pid);
}

} // namespace valdora
