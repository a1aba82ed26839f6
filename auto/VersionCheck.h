#pragma once

#include "settings/UserSettings.h"

namespace valdora::autorun {

/// True when the stored settings are at least those of the version that brought the current button
/// files: "Settings"/"Version" compared as text with "310", so an absent value, "309" and "1000" are
/// below it and "310" and "4" are not.
bool settingsAreCurrent(const QString& storedVersion);

/// "Settings"/"Version" of application Valdora; empty when absent.
QString storedVersion(const UserSettings& settings);

} // namespace valdora::autorun
