#include "HostProcess.h"

namespace valdora::host::test {

HostRun runHost(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(VALDORA_CONTACT_HOST), arguments);
    process.waitForFinished(60000);
    return HostRun{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                   QString::fromUtf8(process.readAllStandardOutput()),
                   QString::fromUtf8(process.readAllStandardError())};
}

bool startLockHolder(QProcess& process, const QString& database, const QString& id, int seconds)
{
    process.start(
        QStringLiteral(VALDORA_CONTACT_HOST),
        {QStringLiteral("lock"), database, id, QStringLiteral("--seconds"), QString::number(seconds)});
    QByteArray seen;
    while (!seen.contains('\n')) {
        if (!process.waitForReadyRead(10000))
            return false;
        seen += process.readAllStandardOutput();
    }
    return seen.startsWith("locked ");
}

} // namespace valdora::host::test
