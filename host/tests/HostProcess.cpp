#include "HostProcess.h"

namespace valdora::host::test {

QString contactHostProgram()
{
    return QStringLiteral(CONTACT_HOST_PROGRAM);
}

HostRun runHost(const QStringList& arguments)
{
    QProcess process;
    process.start(contactHostProgram(), arguments);
    process.waitForFinished(60000);
    return HostRun{process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                   QString::fromUtf8(process.readAllStandardOutput()),
                   QString::fromUtf8(process.readAllStandardError())};
}

bool startLockHolder(QProcess& process, const QString& database, const QString& id, int seconds)
{
    process.start(contactHostProgram(), {QStringLiteral("lock"), database, id, QStringLiteral("--seconds"),
                                         QString::number(seconds)});
    QByteArray seen;
    while (!seen.contains('\n')) {
        if (!process.waitForReadyRead(10000))
            return false;
        seen += process.readAllStandardOutput();
    }
    return seen.startsWith("locked ");
}

} // namespace valdora::host::test
