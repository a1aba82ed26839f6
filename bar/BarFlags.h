#pragma once

namespace valdora::bar {

/// The program-wide flags of the bar, in one place.
struct BarFlags {
    /// The connection with the host failed at the bar's load: the program ends without a word more.
    bool quit = false;
    /// A load of the bar that rebuilds it after a deletion: the registration, the placement and the
    /// start in the notification area are skipped.
    bool reload = false;
    /// The integration asked for a restart of the host at the end.
    bool restartHost = false;
    /// The user asked for Keelbrook: the host closes and Keelbrook starts at the end.
    bool launchKeelbrook = false;
    /// The settings were stored by a version whose buttons lack the decimals of a numeric target: the
    /// bar's load gives them "TargetDecimals" once.
    bool upgradeTargetDecimals = false;
};

} // namespace valdora::bar
