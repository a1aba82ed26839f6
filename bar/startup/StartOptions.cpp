#include "StartOptions.h"

namespace valdora::bar {

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const QString StartBarKey = QStringLiteral("startBar");
const QString NotCloseKey = QStringLiteral("NotClose");
const QString On = QStringLiteral("1");
const QString Off = QStringLiteral("0");

} // namespace

StartOptions loadStartOptions(const UserSettings& userSettings)
{
    StartOptions options;
    options.startInTray = userSettings.get(Application::Valdora, SettingsSection, StartBarKey, Off) != Off;
    options.closeToTray = userSettings.get(Application::Valdora, SettingsSection, NotCloseKey, Off) == On;
    return options;
}

bool storeStartOptions(const UserSettings& userSettings, const StartOptions& options)
{
    // Both are tried, so that one that fails does not keep the other from being stored.
    const bool startStored =
        userSettings.set(Application::Valdora, SettingsSection, StartBarKey, options.startInTray ? On : Off);
    const bool closeStored =
        userSettings.set(Application::Valdora, SettingsSection, NotCloseKey, options.closeToTray ? On : Off);
    return startStored && closeStored;
}

} // namespace valdora::bar
