#include "host/RunningHost.h"

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
    return std::nullopt; // replaced by the client of the running host
}

} // namespace valdora::host
