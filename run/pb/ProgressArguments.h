#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace valdora::run {

/// The option by which a run names its own process to pb.exe: "pb.exe --run-pid <pid>".
inline const QString RunPidOption = QStringLiteral("--run-pid");

/// The arguments a run starts pb.exe with, so that the window closes soon after the run is gone
/// even when the run was killed before it could write its last stage.
inline QStringList progressWindowArguments(qint64 runPid)
{
    return {RunPidOption, QString::number(runPid)};
}

/// The run's process id in pb.exe's arguments (the program name not included): the number after
/// RunPidOption; nullopt when the option is absent or not followed by a process id (a positive
/// whole number), so that the window then behaves as one started without it.
std::optional<qint64> runPidArgument(const QStringList& arguments);

} // namespace valdora::run
