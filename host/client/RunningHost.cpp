#include "RunningHost.h"

#include "HostConnection.h"

namespace valdora::host {

QString runningHostServerName()
{
    const QString overridden = qEnvironmentVariable("VALDORA_HOST_SERVER");
    if (!overridden.isEmpty())
        return overridden;
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty())
        user = QStringLiteral("user");
    return QStringLiteral("valdora-contacthost-") + user;
}

std::optional<QString> runningHostDatabasePath()
{
    HostConnection connection;
    if (!connection.connect())
        return std::nullopt;
    try {
        if (connection.call(protocol::Op::IsDBOpen).number == 0)
            return std::nullopt;
        return connection.call(protocol::Op::GetOpenDBName).texts.value(0);
    } catch (const HostFailure&) {
        return std::nullopt;
    }
}

} // namespace valdora::host
