#include "DesktopNotice.h"

#include <QFileInfo>

namespace valdora::schedule {

namespace {

const QString Title = QStringLiteral("Valdora");

/// The session bus's address; empty when the user has none.
QString sessionBus()
{
    const QString address = qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS");
    if (!address.isEmpty())
        return address;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString socket = runtime + QStringLiteral("/bus");
    if (!runtime.isEmpty() && QFileInfo(socket).exists())
        return QStringLiteral("unix:path=") + socket;
    return {};
}

} // namespace

NoticeSent sendDesktopNotice(SystemCommands& commands, const QString& line)
{
    const QString bus = sessionBus();
    if (bus.isEmpty())
        return NoticeSent::NoSessionBus;
    // The programs below find the bus through the environment, which a run from cron lacks.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", bus.toLocal8Bit());
    if (commands.has(QStringLiteral("notify-send")))
        return commands.run(QStringLiteral("notify-send"),
                            {QStringLiteral("--app-name=") + Title, Title, line})
                       .succeeded()
                   ? NoticeSent::NotifySend
                   : NoticeSent::Failed;
    if (commands.has(QStringLiteral("gdbus")))
        return commands.run(QStringLiteral("gdbus"),
                            {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
                             QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("--object-path"),
                             QStringLiteral("/org/freedesktop/Notifications"), QStringLiteral("--method"),
                             QStringLiteral("org.freedesktop.Notifications.Notify"), Title,
                             QStringLiteral("0"), QString(), Title, line, QStringLiteral("[]"),
                             QStringLiteral("{}"), QStringLiteral("-1")})
                       .succeeded()
                   ? NoticeSent::Gdbus
                   : NoticeSent::Failed;
    return NoticeSent::Failed;
}

} // namespace valdora::schedule
