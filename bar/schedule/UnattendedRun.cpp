#include "UnattendedRun.h"

#include "DesktopNotice.h"
#include "HostForRun.h"
#include "SavedLookupApplication.h"
#include "UnattendedPlatform.h"
#include "UnattendedRequest.h"

#include "bar/RunCommand.h"
#include "core/FileLock.h"
#include "core/ProgramFolder.h"
#include "host/DatabaseLocation.h"
#include "run/ButtonRun.h"
#include "run/UndoAndRetry.h"
#include "run/journal/RunJournal.h"
#include "settings/ProgramSession.h"

#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <cstdio>
#include <memory>

namespace valdora::schedule {

namespace {

constexpr int LockPollMs = 200;

void printLine(FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
    std::fflush(stream);
}

/// The failures of one unattended run: said on stderr as they come, appended to error.log at the end.
class FailureLines {
public:
    explicit FailureLines(UnattendedPlatform& platform) : m_platform(platform) {}

    void add(const QString& line)
    {
        m_own << line;
        printLine(stderr, QStringLiteral("Valdora.exe: ") + line);
    }
    /// Every failure so far: the messages of the run, then the run's own.
    QStringList all() const { return m_platform.lines() + m_own; }
    QString first() const { return all().value(0); }

    /// Appends the failures to error.log in the data folder (UTF-8, CRLF, as the run's own lines).
    void appendTo(const QString& dataFolder, const QString& button) const
    {
        const QStringList lines = all();
        if (lines.isEmpty())
            return;
        QFile log(dataFolder + QStringLiteral("/error.log"));
        if (!log.open(QIODevice::WriteOnly | QIODevice::Append)) {
            printLine(stderr, QStringLiteral("Valdora.exe: the error log %1 cannot be written: %2")
                                  .arg(log.fileName(), log.errorString()));
            return;
        }
        const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        QByteArray text;
        for (const QString& line : lines)
            text += QStringLiteral("%1 %2 (unattended): %3\r\n").arg(stamp, button, line).toUtf8();
        log.write(text);
    }

private:
    UnattendedPlatform& m_platform;
    QStringList m_own;
};

/// The database as the journal names it: a file by its full path, anything else as given.
QString journalDatabaseName(const QString& database)
{
    const QFileInfo file(database);
    return file.exists() ? file.canonicalFilePath() : database;
}

bool isLocalFile(const QString& database)
{
    return !host::isServerLocation(database);
}

/// Takes the button's lock, polling until `waitSeconds` have passed; nullptr when it could not.
std::unique_ptr<FileLock> takeButtonLock(const QString& lockFile, int waitSeconds)
{
    QDeadlineTimer deadline(qint64(waitSeconds) * 1000);
    for (;;) {
        auto lock = std::make_unique<FileLock>(lockFile, 0);
        if (lock->isLocked())
            return lock;
        if (deadline.hasExpired())
            return nullptr;
        QThread::msleep(static_cast<unsigned long>(std::min<qint64>(LockPollMs, deadline.remainingTime())));
    }
}

/// The journal's line for a run that gave up: a run entry with no contacts, stopped, whose scope says why.
void journalGaveUp(ProgramSession& session, const UnattendedRequest& request, const QString& why)
{
    const std::unique_ptr<journal::RunJournal> journal = run::openUserJournal(session);
    journal::RunInfo info;
    info.button = request.run.buttonFileName;
    info.database = journalDatabaseName(request.database);
    info.user = qEnvironmentVariable("USER");
    info.scope = why;
    journal->begin(info);
    journal::RunEnd end;
    end.stopped = true;
    journal->finish(end);
}

} // namespace

QString buttonLockFile(const QString& storeFolder, const QString& buttonFileName)
{
    return storeFolder + QStringLiteral("/scheduled-") + buttonFileName;
}

int runUnattended(const QStringList& arguments, const UnattendedSetup& setup)
{
    UnattendedPlatform platform;
    FailureLines failures(platform);
    const UserSettings userSettings;
    ProgramSession session(platform, QStringLiteral("Valdora"), programFolder(), userSettings);
    QString error;
    const std::optional<UnattendedRequest> request = UnattendedCommand::parse(arguments, error);
    if (!request) {
        failures.add(error);
        printLine(stderr, bar::RunCommand::usage() + u'\n' + UnattendedCommand::usage());
        failures.appendTo(session.dataFolder(), QStringLiteral("Valdora.exe --unattended"));
        sendDesktopNotice(setup.commands, QStringLiteral("Valdora.exe --unattended: ") + error);
        return 2;
    }
    const QString& button = request->run.buttonFileName;
    run::RunSummary summary;
    int code = 2;
    const bool ran = trapped(session.reporter(), {"Module1", RoutineKind::Sub, "Main"}, [&] {
        run::settleSessionAtStartUp(session,
                                    {.defaultLanguage = 0, .settingsFileTitle = session.applicationTitle()});
        if (!QFileInfo::exists(session.buttonFilePath(button))) {
            failures.add(QStringLiteral("there is no button %1").arg(session.buttonFilePath(button)));
            return;
        }
        // Checked before any host starts: a host given a missing file would make an empty database.
        if (isLocalFile(request->database) && !QFileInfo(request->database).isFile()) {
            failures.add(
                QStringLiteral("the database %1 is not there: nothing was written").arg(request->database));
            return;
        }
        if (!request->lookupFile.isEmpty() && !QFileInfo(request->lookupFile).isFile()) {
            failures.add(QStringLiteral("the lookup file %1 is not there: nothing was written")
                             .arg(request->lookupFile));
            return;
        }
        const std::unique_ptr<FileLock> lock =
            takeButtonLock(buttonLockFile(userSettings.folder(), button), request->waitSeconds);
        if (!lock) {
            const QString why = QStringLiteral("not run: an earlier run of %1 still ran after %2 s")
                                    .arg(button)
                                    .arg(request->waitSeconds);
            failures.add(why);
            journalGaveUp(session, *request, why);
            code = GaveUpWaiting;
            return;
        }
        QString hostFailure;
        const std::unique_ptr<HostForRun> host =
            HostForRun::forDatabase(request->database, setup.hostProgram, hostFailure);
        if (!host) {
            failures.add(QStringLiteral("no host for %1: %2").arg(request->database, hostFailure));
            return;
        }
        // Declared after the host, so that they are released before a host started for the run ends.
        const run::StartupHost hostObjects = run::openHostObjects(setup.factories);
        if (!HostForRun::runsOn(hostObjects.database->GetDatabasePath(), request->database)) {
            failures.add(QStringLiteral("the host has %1 open, not %2: nothing was written")
                             .arg(hostObjects.database->GetDatabasePath(), request->database));
            return;
        }
        std::unique_ptr<SavedLookupApplication> savedLookup;
        run::RunHost runHost = hostObjects.runHost();
        if (!request->lookupFile.isEmpty()) {
            savedLookup = std::make_unique<SavedLookupApplication>(*runHost.application, request->lookupFile);
            runHost.application = savedLookup.get();
        }
        run::FixedScopeChooser scopes(request->run.scope);
        run::ButtonRun buttonRun(session, runHost, run::ProgramProfile::valdora(session.locale()), &scopes);
        const std::unique_ptr<journal::RunJournal> journal = run::openUserJournal(session);
        buttonRun.setJournal(journal.get());
        summary = buttonRun.Process_Button(button);
        code = bar::RunCommand::exitCode(summary);
    });
    if (!ran)
        code = 2;
    const QString summaryLine = bar::RunCommand::summaryLine(button, summary);
    printLine(stdout, summaryLine);
    failures.appendTo(session.dataFolder(), button);
    QString notice = summaryLine;
    if (code != 0 && !failures.first().isEmpty())
        notice += QStringLiteral(": ") + failures.first();
    sendDesktopNotice(setup.commands, notice);
    return code;
}

} // namespace valdora::schedule
