#include "RunCommand.h"

#include "bar/dialogs/WindowScopeChooser.h"
#include "bar/windows/BarMain.h"
#include "bar/windows/FirstPaint.h"
#include "bar/windows/WindowBarScreens.h"
#include "core/qt/QtPlatform.h"

#include "core/ConsolePlatform.h"
#include "core/ProgramFolder.h"
#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"
#include "run/ButtonRun.h"
#include "run/ProgramStartup.h"
#include "settings/ProgramSession.h"

#include <QApplication>
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

// Valdora.exe: the bar beside the running host, until it is closed or the host goes.
int runBar(int argc, char** argv)
{
    using namespace valdora;
    QApplication app(argc, argv);
    // The bar may sit hidden in the notification area: the program ends when the bar says so.
    QApplication::setQuitOnLastWindowClosed(false);
    QtPlatform platform;
    ProgramSession session(platform, QStringLiteral("Valdora"), programFolder());
    bar::WindowBarScreens screens(session);
    bar::WindowScopeChooser scopes(session.messages());
    bar::SingleInstance instance(session.userSettings().folder());
    const std::unique_ptr<bar::MainBar> mainBar = bar::Main(
        {session,
         screens,
         scopes,
         {[] { return host::createEventControl(); }, {&host::createApplication, &host::createDatabase}},
         [] { return std::make_unique<bar::SystemTrayIcon>(); }},
        instance);
    if (!mainBar)
        return 0;
    platform.setParentWindow(mainBar.get());
    screens.setBar(mainBar.get());
    scopes.setParentWindow(mainBar.get());
    QObject::connect(mainBar.get(), &bar::MainBar::programEnded, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    // Start-up benchmarks: the bar says when it is first on screen, then the program ends.
    if (qEnvironmentVariableIsSet("VALDORA_EXIT_ON_FIRST_PAINT"))
        new bar::FirstPaint(*mainBar, [] {
            printLine(stdout, QStringLiteral("first paint"));
            QCoreApplication::exit(0);
        });
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty())
        return runBar(argc, argv);
    QCoreApplication app(argc, argv);
    arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    if (!valdora::bar::RunCommand::isRunRequest(arguments)) {
        printLine(stderr, valdora::bar::RunCommand::usage());
        return 2;
    }
    return runButton(arguments);
}
