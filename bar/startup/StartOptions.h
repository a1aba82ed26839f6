#pragma once

#include "settings/UserSettings.h"

namespace valdora::bar {

/// The start-up and close options of the bar, as the start options window shows and stores them.
struct StartOptions {
    /// Start in the notification area instead of showing the bar ("Settings"/"startBar").
    bool startInTray = false;
    /// The close box hides the bar to the notification area ("Settings"/"NotClose").
    bool closeToTray = false;

    friend bool operator==(const StartOptions&, const StartOptions&) = default;
};

/// The stored options: the tray start is chosen when "startBar" is anything but "0" (absent reads
/// "0"); the close option when "NotClose" is "1".
StartOptions loadStartOptions(const UserSettings& userSettings);

/// Stores "startBar" ("1" tray, "0" bar) and "NotClose" ("1" or "0"). False when either could not be
/// stored. "startBar" takes effect at the next start, "NotClose" at the next close.
bool storeStartOptions(const UserSettings& userSettings, const StartOptions& options);

} // namespace valdora::bar
