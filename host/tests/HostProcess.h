#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace valdora::host::test {

/// What one run of ContactHost.exe gave.
struct HostRun {
    int exitCode = -1;
    QString out;
    QString err;
};

/// The path of the built ContactHost.exe that the tests run.
QString contactHostProgram();

/// Runs ContactHost.exe with these arguments to its end.
HostRun runHost(const QStringList& arguments);

/// Starts `ContactHost.exe lock DB ID --seconds S` and waits until it reports the lock taken.
/// Returns false when it did not.
bool startLockHolder(QProcess& process, const QString& database, const QString& id, int seconds);

} // namespace valdora::host::test
