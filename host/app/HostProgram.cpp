#include "HostProgram.h"

#include "ContactWindow.h"
#include "HostApplication.h"
#include "HostServer.h"
#include "core/ConsolePlatform.h"
#include "core/icons/ProgramIcons.h"
#include "core/qt/QtPlatform.h"
#include "host/DatabaseLocation.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace valdora::host::app {

namespace {

QString argument(char* argv[], int index)
{
    return QString::fromLocal8Bit(argv[index]);
}

/// The host itself, once the Qt application object exists.
int serve(const QString& database, Platform& platform, HostMode mode)
{
    QTextStream err(stderr);
    HostApplication application(platform, AuxCommandStore::defaultFile());
    HostServer server(application);
    QString reason;
    if (!server.listen(reason)) {
        err << "ContactHost.exe: " << reason << Qt::endl;
        return 1;
    }
    try {
        application.openDatabase(database);
    } catch (const Failure& failure) {
        err << "ContactHost.exe: " << failure.description() << Qt::endl;
        return 1;
    }
    endProgramWhenClosed(application);
    std::unique_ptr<ContactWindow> window;
    if (mode == HostMode::Window) {
        window = std::make_unique<ContactWindow>(application, platform);
        window->show();
    }
    return QCoreApplication::exec();
}

} // namespace

void endProgramWhenClosed(HostApplication& application, std::function<void(int)> exit)
{
    if (!exit)
        exit = [](int code) { QCoreApplication::exit(code); };
    // Queued: the answer to the client that asked and the events to the others leave first.
    QObject::connect(
        &application, &HostApplication::quitRequested, &application, [exit] { exit(0); },
        Qt::QueuedConnection);
}

std::optional<HostMode> hostModeOf(int argc, char* argv[])
{
    if (argc == 3 && argument(argv, 1) == QLatin1String("--headless"))
        return HostMode::Headless;
    if (argc != 2)
        return std::nullopt;
    const QString database = argument(argv, 1);
    if (database.startsWith(QLatin1Char('-')))
        return std::nullopt;
    if (isServerLocation(database) || QFileInfo(database).isFile() || database.contains(QLatin1Char('/')) ||
        database.contains(QLatin1Char('.')))
        return HostMode::Window;
    return std::nullopt;
}

int runHost(int argc, char* argv[], HostMode mode)
{
    const QString database = argument(argv, argc - 1);
    if (mode == HostMode::Headless) {
        QCoreApplication qt(argc, argv);
        ConsolePlatform platform;
        return serve(database, platform, mode);
    }
    QApplication qt(argc, argv);
    icons::useProgramIcon(icons::Program::ContactHost);
    QtPlatform platform;
    return serve(database, platform, mode);
}

} // namespace valdora::host::app
