#include "RunCommand.h"

#include "core/ConsolePlatform.h"
#include "core/ProgramFolder.h"
#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"
#include "run/ButtonRun.h"
#include "run/ProgramStartup.h"
#include "settings/ProgramSession.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>

namespace {

void printLine(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

// Valdora.exe --run BUTTON --scope current|lookup|all: one button run against the running host.
int runButton(const QStringList& arguments)
{
    using namespace valdora;
    QString error;
    const std::optional<bar::RunRequest> request = bar::RunCommand::parse(arguments, error);
    if (!request) {
        printLine(stderr, QStringLiteral("Valdora.exe: ") + error);
        printLine(stderr, bar::RunCommand::usage());
        return 2;
    }
    ConsolePlatform platform;
    const QString folder = programFolder();
    const UserSettings userSettings;
    ProgramSession session(platform, QStringLiteral("Valdora"), folder, userSettings);
    run::RunSummary summary;
    const bool ran = trapped(session.reporter(), {"Module1", RoutineKind::Sub, "Main"}, [&] {
        run::settleSessionAtStartUp(session,
                                    {.defaultLanguage = 0, .settingsFileTitle = session.applicationTitle()});
        // A mistyped name in a script should say so, not report the missing file as bad settings.
        const QString buttonPath = session.buttonFolder() + request->buttonFileName;
        if (!QFileInfo::exists(buttonPath)) {
            printLine(stderr, QStringLiteral("Valdora.exe: there is no button %1").arg(buttonPath));
            return;
        }
        const run::StartupHost hostObjects =
            run::openHostObjects({&host::createApplication, &host::createDatabase});
        run::FixedScopeChooser scopes(request->scope);
        run::ButtonRun buttonRun(session, hostObjects.runHost(),
                                 run::ProgramProfile::valdora(session.locale()), &scopes);
        summary = buttonRun.Process_Button(request->buttonFileName);
    });
    printLine(stdout, bar::RunCommand::summaryLine(request->buttonFileName, summary));
    return ran ? bar::RunCommand::exitCode(summary) : 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (!valdora::bar::RunCommand::isRunRequest(arguments)) {
        printLine(stderr, valdora::bar::RunCommand::usage());
        return 2;
    }
    return runButton(arguments);
}
