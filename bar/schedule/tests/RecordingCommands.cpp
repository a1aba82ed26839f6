#include "RecordingCommands.h"

#include <QFile>

namespace valdora::schedule::test {

bool RecordingCommands::has(const QString& program) const
{
    if (program == QStringLiteral("systemctl"))
        return systemd;
    if (program == QStringLiteral("crontab"))
        return crontab;
    return installed.contains(program);
}

CommandOutput RecordingCommands::run(const QString& program, const QStringList& arguments,
                                     const QByteArray& input)
{
    calls << (QStringList{program} + arguments).join(u' ');
    if (!has(program))
        return {-1, {}, "not installed"};
    if (program == QStringLiteral("systemctl")) {
        if (arguments.value(1) == QStringLiteral("show-environment"))
            return {0, "HOME=/home/user\n", {}};
        return systemctlFails ? CommandOutput{systemctlFails, {}, "Failed to connect to bus"}
                              : CommandOutput{0, {}, {}};
    }
    if (program != QStringLiteral("crontab"))
        return {0, {}, {}};
    QFile file(m_crontabFile);
    if (arguments == QStringList{QStringLiteral("-l")}) {
        if (!file.open(QIODevice::ReadOnly))
            return {1, {}, "no crontab for user\n"};
        return {0, file.readAll(), {}};
    }
    if (arguments == QStringList{QStringLiteral("-")} &&
        file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(input);
        return {0, {}, {}};
    }
    return {1, {}, "crontab: usage"};
}

QStringList RecordingCommands::systemctlCalls() const
{
    QStringList found;
    for (const QString& call : calls)
        if (call.startsWith(QStringLiteral("systemctl ")) &&
            !call.endsWith(QStringLiteral("show-environment")))
            found << call;
    return found;
}

} // namespace valdora::schedule::test
