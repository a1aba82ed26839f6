#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace valdora::run {

/// The option by which a run names its own process to pb.exe: "pb.exe --run-pid <pid>".
inline const QString RunPidOption = QStringLiteral("--run-pid");
/// The option by which a run names the language of its texts: "--language 1300" (a language base).
inline const QString LanguageOption = QStringLiteral("--language");

/// The arguments a run starts pb.exe with, so that the window closes soon after the run is gone
/// even when the run was killed before it could write its last stage.
/// The window speaks the run's language, the one the running program started with (a language chosen
/// since takes effect at the next start, here as everywhere).
inline QStringList progressWindowArguments(qint64 runPid, qint16 languageBase = 300)
{
    return {RunPidOption, QString::number(runPid), LanguageOption, QString::number(languageBase)};
}

/// The run's process id in pb.exe's arguments (the program name not included): the number after
/// RunPidOption; nullopt when the option is absent or not followed by a process id (a positive
/// whole number), so that the window then behaves as one started without it.
std::optional<qint64> runPidArgument(const QStringList& arguments);
/// The language base after LanguageOption (300, 1300 or 2300); English when absent or another value.
qint16 languageArgument(const QStringList& arguments);

} // namespace valdora::run
