#include "RunCommand.h"

#include "core/ConsolePlatform.h"
#include "core/ProgramFolder.h"
#include "host/HostObjects.h"
#include "run/ButtonRun.h"
#include "settings/MessageTable.h"
#include "settings/ProgramSession.h"
#include "settings/SettingsLocation.h"

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
        session.messages().setLanguageBase(languageBaseFromSettings(userSettings, 0));
        session.setSettingsFile(
            SettingsLocation::settingsFilePathAtStartUp(userSettings, folder, session.applicationTitle()));
        // A mistyped name in a script should say so, not report the missing file as bad settings.
        const QString buttonPath = session.buttonFolder() + request->buttonFileName;
        if (!QFileInfo::exists(buttonPath)) {
            printLine(stderr, QStringLiteral("Valdora.exe: there is no button %1").arg(buttonPath));
            return;
        }
        const std::unique_ptr<host::Application> application = host::createApplication();
        const std::unique_ptr<host::Database> database = host::createDatabase();
        database->OpenEx(QString());
        const std::unique_ptr<host::ContactView> view = application->CreateView(1, QStringLiteral("CV"));
        run::FixedScopeChooser scopes(request->scope);
        run::ButtonRun buttonRun(session, {database.get(), application.get(), view.get()},
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
