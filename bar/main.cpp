#include "JournalCommand.h"
#include "RunCommand.h"

#include "bar/dialogs/WindowScopeChooser.h"
#include "bar/schedule/SchedulesCommand.h"
#include "bar/schedule/UnattendedRequest.h"
#include "bar/schedule/UnattendedRun.h"
#include "bar/windows/BarMain.h"
#include "bar/windows/FirstPaint.h"
#include "bar/windows/WindowBarScreens.h"
#include "core/qt/QtPlatform.h"
#include "core/qt/WindowPlacement.h"
#include "run/WaitingPlatform.h"

#include "core/ConsolePlatform.h"
#include "core/ProgramFiles.h"
#include "core/ProgramFolder.h"
#include "core/icons/ProgramIcons.h"
#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"
#include "run/ButtonRun.h"
#include "run/ProgramStartup.h"
#include "run/UndoAndRetry.h"
#include "run/journal/RunJournal.h"
#include "run/journal/RunUndo.h"
#include "run/preview/RunPreview.h"
#include "settings/MessageButtonCaptions.h"
#include "settings/ProgramSession.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

void printLine(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

// Valdora.exe --run BUTTON --scope ... --preview: the rows as CSV on stdout, the counts on stderr.
void previewButton(valdora::ProgramSession& session, valdora::run::RunHost host,
                   valdora::run::ScopeChooser& scopes, const QString& buttonFileName,
                   valdora::run::RunSummary& summary)
{
    using namespace valdora;
    run::RunPreview preview(session, host, run::ProgramProfile::valdora(session.locale()), &scopes);
    bool headerDone = false;
    // Rows go out as they come, so a long preview shows its first rows at once.
    preview.setRowObserver([&](const run::PreviewRow& row) {
        const QString csv = run::previewCsv({row});
        const qsizetype lineEnd = csv.indexOf(QStringLiteral("\r\n")) + 2;
        std::fputs((headerDone ? csv.mid(lineEnd) : csv).toUtf8().constData(), stdout);
        headerDone = true;
    });
    const run::PreviewResult result = preview.Preview_Button(buttonFileName);
    if (!headerDone)
        std::fputs(run::previewCsv({}).toUtf8().constData(), stdout);
    std::fflush(stdout);
    summary = result.summary;
    printLine(stderr, QStringLiteral("%1: %2 contacts would be written, %3 unchanged, %4 locked now")
                          .arg(buttonFileName)
                          .arg(result.counts.wouldWrite)
                          .arg(result.counts.unchanged)
                          .arg(result.counts.lockedNow));
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
        if (request->preview) {
            previewButton(session, hostObjects.runHost(), scopes, request->buttonFileName, summary);
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
    printLine(stdout, bar::RunCommand::summaryLine(request->buttonFileName, summary));
    return ran ? bar::RunCommand::exitCode(summary) : 2;
}

// Valdora.exe --runs | --undo [RUN] | --retry [RUN]: the user's run journal.
int runJournalCommand(const QStringList& arguments)
{
    using namespace valdora;
    QString error;
    const std::optional<bar::JournalCommandRequest> request = bar::JournalCommand::parse(arguments, error);
    if (!request) {
        printLine(stderr, QStringLiteral("Valdora.exe: ") + error);
        printLine(stderr, bar::RunCommand::usage());
        return 2;
    }
    ConsolePlatform platform;
    const UserSettings userSettings;
    ProgramSession session(platform, QStringLiteral("Valdora"), programFolder(), userSettings);
    int code = 2;
    trapped(session.reporter(), {"Module1", RoutineKind::Sub, "Main"}, [&] {
        const std::unique_ptr<journal::RunJournal> opened = run::openUserJournal(session);
        journal::RunJournal& journal = *opened;
        if (request->action == bar::JournalAction::List) {
            printLine(stdout, bar::JournalCommand::runsText(journal.runs()));
            code = 0;
            return;
        }
        const Messages& texts = session.messages();
        if (request->action == bar::JournalAction::Retry) {
            const run::StartupHost hostObjects =
                run::openHostObjects({&host::createApplication, &host::createDatabase});
            const run::RetryPlan plan =
                run::planRetry(journal, request->run, hostObjects.database->GetDatabasePath(), texts);
            if (!plan.ready()) {
                printLine(stderr, QStringLiteral("Valdora.exe: ") + plan.refusal);
                return;
            }
            run::settleSessionAtStartUp(
                session, {.defaultLanguage = 0, .settingsFileTitle = session.applicationTitle()});
            const run::RunSummary summary =
                run::retryFailedContacts(session, hostObjects.runHost(), journal, plan);
            printLine(stdout, QStringLiteral("retry of run %1: ").arg(plan.run->id) +
                                  bar::RunCommand::summaryLine(plan.run->info.button, summary));
            code = bar::RunCommand::exitCode(summary);
            return;
        }
        const std::optional<qint64> runId = request->run ? request->run : journal.lastUndoable();
        const std::optional<journal::JournalRun> entry = runId ? journal.run(*runId) : std::nullopt;
        if (!entry) {
            printLine(stderr,
                      QStringLiteral("Valdora.exe: ") + (runId ? texts.get(OwnText::NoSuchRun).arg(*runId)
                                                               : texts.get(OwnText::NothingToUndo)));
            return;
        }
        // An undo is not undone, and a run is undone once.
        if (entry->isUndo() || entry->undoneBy != 0) {
            printLine(stderr,
                      QStringLiteral("Valdora.exe: ") +
                          (entry->isUndo()
                               ? texts.get(OwnText::UndoOfUndo).arg(entry->id).arg(entry->info.of)
                               : texts.get(OwnText::UndoneAlready).arg(entry->id).arg(entry->undoneBy)));
            return;
        }
        const run::StartupHost hostObjects =
            run::openHostObjects({&host::createApplication, &host::createDatabase});
        journal::RunUndo undoer(journal, *hostObjects.database);
        printLine(stdout, bar::JournalCommand::undoPlanText(*entry, undoer.plan(*runId)));
        const journal::UndoReport report = undoer.undo(*runId, hostObjects.database->CurrentUser());
        printLine(stdout, run::undoReportText(report, texts));
        code = bar::JournalCommand::undoExitCode(report);
    });
    return code;
}

// Valdora.exe --run BUTTON --scope all --unattended --database PATH_OR_URI: a scheduled run.
int runScheduled(const QStringList& arguments)
{
    using namespace valdora;
    schedule::ProcessCommands commands;
    // The host program beside this one, also where VALDORA_PROGRAM_FOLDER names another program folder.
    const QString hostProgram = QDir(QCoreApplication::applicationDirPath()).filePath(ProgramFile::Host);
    return schedule::runUnattended(
        arguments, {{&host::createApplication, &host::createDatabase}, hostProgram, commands});
}

// Valdora.exe --schedules: the scheduled buttons and their next run.
int listSchedules()
{
    using namespace valdora;
    schedule::ProcessCommands commands;
    schedule::Scheduler scheduler(commands);
    printLine(stdout, schedule::schedulesText(scheduler.schedules(), QDateTime::currentDateTime()));
    return 0;
}

// Valdora.exe: the bar beside the running host, until it is closed or the host goes.
int runBar(int argc, char** argv)
{
    using namespace valdora;
    QApplication app(argc, argv);
    // The bar, the editor and every window they open carry Valdora's icon.
    valdora::icons::useProgramIcon(valdora::icons::Program::Valdora);
    // Each window opens over the window it belongs to, wholly on a screen (the bar at its own place).
    valdora::placeWindowsOverTheirOwners(app);
    // The bar may sit hidden in the notification area: the program ends when the bar says so.
    QApplication::setQuitOnLastWindowClosed(false);
    QtPlatform desktop;
    // The progress window of a run says when the run waits for the answer to one of these messages.
    run::WaitingPlatform platform(desktop, UserSettings());
    ProgramSession session(platform, QStringLiteral("Valdora"), programFolder());
    desktop.setButtonCaptions(messageButtonCaptions(session.messages()));
    bar::WindowBarScreens screens(session);
    bar::WindowScopeChooser scopes(session.messages());
    bar::SingleInstance instance(session.userSettings().folder());
    const std::unique_ptr<bar::MainBar> mainBar =
        bar::Main({session,
                   screens,
                   scopes,
                   {[] { return host::createEventControl(); },
                    {&host::createApplication, &host::createDatabase},
                    [] { return host::createAuxCommands(); }},
                   [] { return std::make_unique<bar::SystemTrayIcon>(); }},
                  instance);
    if (!mainBar)
        return 0;
    desktop.setParentWindow(mainBar.get());
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
    if (arguments == QStringList{QStringLiteral("--schedules")})
        return listSchedules();
    if (valdora::schedule::UnattendedCommand::isUnattendedRequest(arguments))
        return runScheduled(arguments);
    if (valdora::bar::JournalCommand::isJournalRequest(arguments) &&
        !valdora::bar::RunCommand::isRunRequest(arguments))
        return runJournalCommand(arguments);
    if (!valdora::bar::RunCommand::isRunRequest(arguments)) {
        printLine(stderr, valdora::bar::RunCommand::usage());
        printLine(stderr, valdora::schedule::UnattendedCommand::usage());
        return 2;
    }
    return runButton(arguments);
}
