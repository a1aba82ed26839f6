#include "ButtonRunCommand.h"

#include "ButtonPreviewCommand.h"
#include "ConsoleLine.h"
#include "RunCommand.h"

#include "core/ConsolePlatform.h"
#include "core/ProgramFolder.h"
#include "run/ButtonRun.h"
#include "run/UndoAndRetry.h"
#include "run/journal/RunJournal.h"
#include "settings/ProgramSession.h"

#include <QFileInfo>

#include <memory>

namespace valdora::bar {

ButtonRunCommand::ButtonRunCommand(run::HostFactories factories) : m_factories(std::move(factories)) {}

int ButtonRunCommand::execute(const QStringList& arguments) const
{
    QString error;
    const std::optional<RunRequest> request = RunCommand::parse(arguments, error);
    if (!request) {
        printLine(stderr, QStringLiteral("Valdora.exe: ") + error);
        printLine(stderr, RunCommand::usage());
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
        const run::StartupHost hostObjects = run::openHostObjects(m_factories);
        run::FixedScopeChooser scopes(request->scope);
        if (request->preview) {
            summary =
                ButtonPreviewCommand(session, hostObjects.runHost(), scopes).execute(request->buttonFileName);
            return;
        }
        run::ButtonRun buttonRun(session, hostObjects.runHost(),
                                 run::ProgramProfile::valdora(session.locale()), &scopes);
        const std::unique_ptr<journal::RunJournal> journal =
            request->scope != run::Scope::CurrentContact ? run::openUserJournal(session) : nullptr;
        buttonRun.setJournal(journal.get());
        summary = buttonRun.Process_Button(request->buttonFileName);
    });
    if (request->preview)
        return ran && summary.started ? 0 : 2;
    printLine(stdout, RunCommand::summaryLine(request->buttonFileName, summary));
    return ran ? RunCommand::exitCode(summary) : 2;
}

} // namespace valdora::bar
