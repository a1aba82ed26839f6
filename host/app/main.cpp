#include "CommandTable.h"
#include "DatabaseCommands.h"
#include "HostProgram.h"
#include "RunningHostCommands.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (const auto mode = valdora::host::app::hostModeOf(argc, argv))
        return valdora::host::app::runHost(argc, argv, *mode);
    QCoreApplication application(argc, argv);
    valdora::host::app::CommandTable table;
    valdora::host::app::addDatabaseCommands(table);
    valdora::host::app::addRunningHostCommands(table);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const int code = valdora::host::app::runCommandLine(table, application.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return code;
}
