#include "VersionCheck.h"

#include "settings/UserKey.h"

namespace valdora::autorun {

namespace {

const QString LowestVersion = QStringLiteral("310");

} // namespace

bool settingsAreCurrent(const QString& storedVersion)
{
    // Valdora has always compared the version as text; its upgrade writes it that way, so the order
    // is kept even where it is not numeric ("4" passes, "1000" does not).
    return QString::compare(storedVersion, LowestVersion, Qt::CaseSensitive) >= 0;
}

QString storedVersion(const UserSettings& settings)
{
    return settings.get(Application::Valdora, UserKey::Settings, UserKey::Version);
}

} // namespace valdora::autorun
