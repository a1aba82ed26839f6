#include "BarShutdown.h"

#include "settings/KeelbrookCommandLine.h"
#include "settings/UserKey.h"

#include "core/ProgramFiles.h"
#include "host/HostCommand.h"

#include <QDir>

#include <exception>

namespace valdora::bar {

namespace {

/// Runs a step of the shutdown with its failures ignored: the position is stored whatever the host
/// does.
template <typename Step> void ignoringFailures(Step&& step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}

} // namespace

UnloadEnd unloadBar(ProgramSession& session, BarConnection& connection, const BarFlags& flags,
                    QPoint positionTwips)
{
    QString databasePath;
    QString hostFolder = session.programFolder();
    if (flags.restartHost || flags.launchKeelbrook) {
        ignoringFailures([&] {
            if (connection.host.application)
                hostFolder = connection.host.application->GetAppPath();
        });
        ignoringFailures([&] {
            if (connection.host.database)
                databasePath = connection.host.database->GetDatabasePath();
        });
        ignoringFailures([&] {
            if (connection.host.application)
                connection.host.application->Command(host::HostCommand::Close);
        });
    }
    ignoringFailures([&] {
        connection.host.view.reset();
        connection.host.application.reset();
        if (connection.host.database)
            connection.host.database->Close();
        connection.host.database.reset();
    });
    if (connection.events) {
        ignoringFailures([&] { connection.events->Unregister(); });
        connection.events.reset();
    }
    const UserSettings& store = session.userSettings();
    store.set(Application::Valdora, UserKey::Settings,
              {{UserKey::Top, QString::number(positionTwips.y())},
               {UserKey::Left, QString::number(positionTwips.x())}});

    const QString folder = session.programFolder();
    if (flags.restartHost) {
        // The host opens its database files: it starts again on the database it had open.
        if (!databasePath.isEmpty())
            session.platform().startProgram(
                {QDir(hostFolder).filePath(ProgramFile::Host), {databasePath}, folder});
        return UnloadEnd::AfterTwoTicks;
    }
    if (flags.launchKeelbrook)
        session.platform().startProgram(
            {QDir(folder).filePath(ProgramFile::Keelbrook), {KeelbrookCommandLine::WaitArgument}, folder});
    return UnloadEnd::Now;
}

} // namespace valdora::bar
