#include "SystemCommands.h"

#include <QProcess>
#include <QStandardPaths>

namespace valdora::schedule {

namespace {

constexpr int CommandTimeoutMs = 15000;

} // namespace

bool ProcessCommands::has(const QString& program) const
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

CommandOutput ProcessCommands::run(const QString& program, const QStringList& arguments,
                                   const QByteArray& input)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return {-1, {}, program.toUtf8() + " is not installed"};
    QProcess process;
    process.start(path, arguments);
    if (!process.waitForStarted(CommandTimeoutMs))
        return {-1, {}, process.errorString().toUtf8()};
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(CommandTimeoutMs)) {
        process.kill();
        process.waitForFinished(CommandTimeoutMs);
        return {-1, process.readAllStandardOutput(), program.toUtf8() + " did not end in time"};
    }
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace valdora::schedule
