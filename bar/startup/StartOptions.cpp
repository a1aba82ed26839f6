#include "StartOptions.h"

#include "settings/UserKey.h"

namespace valdora::bar {

namespace {

const QString On = QStringLiteral("1");
const QString Off = QStringLiteral("0");

} // namespace

StartOptions loadStartOptions(const UserSettings& userSettings)
{
    StartOptions options;
    options.startInTray =
        userSettings.get(Application::Valdora, UserKey::Settings, UserKey::StartBar, Off) != Off;
    options.closeToTray =
        userSettings.get(Application::Valdora, UserKey::Settings, UserKey::NotClose, Off) == On;
    return options;
}

bool storeStartOptions(const UserSettings& userSettings, const StartOptions& options)
{
    // Both are tried, so that one that fails does not keep the other from being stored.
    const bool startStored = userSettings.set(Application::Valdora, UserKey::Settings, UserKey::StartBar,
                                              options.startInTray ? On : Off);
    const bool closeStored = userSettings.set(Application::Valdora, UserKey::Settings, UserKey::NotClose,
                                              options.closeToTray ? On : Off);
    return startStored && closeStored;
}

} // namespace valdora::bar
