#include "ButtonRunCommand.h"
#include "ConsoleLine.h"
#include "JournalCommand.h"
#include "RunCommand.h"
#include "RunJournalCommand.h"

#include "bar/schedule/SchedulesCommand.h"
#include "bar/schedule/UnattendedRequest.h"
#include "bar/schedule/UnattendedRun.h"
#include "bar/windows/BarProgram.h"

#include "core/ProgramFiles.h"
#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

namespace {

using namespace valdora;

// The bar opens the host's database itself and talks to the running host for everything else.
const run::HostFactories HostObjects{&host::createApplication, &host::createDatabase};

// Valdora.exe --run BUTTON --scope all --unattended --database PATH_OR_URI: a scheduled run.
int runScheduled(const QStringList& arguments)
{
    schedule::ProcessCommands commands;
    // The host program beside this one, also where VALDORA_PROGRAM_FOLDER names another program folder.
    const QString hostProgram = QDir(QCoreApplication::applicationDirPath()).filePath(ProgramFile::Host);
    return schedule::runUnattended(arguments, {HostObjects, hostProgram, commands});
}

// Valdora.exe --schedules: the scheduled buttons and their next run.
int listSchedules()
{
    schedule::ProcessCommands commands;
    schedule::Scheduler scheduler(commands);
    bar::printLine(stdout, schedule::schedulesText(scheduler.schedules(), QDateTime::currentDateTime()));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty())
        return bar::runBarProgram(argc, argv,
                                  {[] { return host::createEventControl(); }, HostObjects,
                                   [] { return host::createAuxCommands(); }});
    QCoreApplication app(argc, argv);
    arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (arguments == QStringList{QStringLiteral("--schedules")})
        return listSchedules();
    if (schedule::UnattendedCommand::isUnattendedRequest(arguments))
        return runScheduled(arguments);
    if (bar::JournalCommand::isJournalRequest(arguments) && !bar::RunCommand::isRunRequest(arguments))
        return bar::RunJournalCommand(HostObjects).execute(arguments);
    if (!bar::RunCommand::isRunRequest(arguments)) {
        bar::printLine(stderr, bar::RunCommand::usage());
        bar::printLine(stderr, schedule::UnattendedCommand::usage());
        return 2;
    }
    return bar::ButtonRunCommand(HostObjects).execute(arguments);
}
