#pragma once

#include "settings/ButtonFile.h"

namespace valdora::autorun {

/// The warning screens one member of a button asks for before its value is written.
struct WarningChoice {
    bool confirmation = false; ///< the confirmation window ("AutoWarning0", "1" when absent)
    bool notice = false;       ///< the one-second notice ("AutoWarning1", off when absent)

    friend bool operator==(const WarningChoice&, const WarningChoice&) = default;
};

/// What the member's own button file asks for; nothing in direct mode, whatever the file says.
WarningChoice warningChoice(const ButtonFile& member, bool directMode);

/// True when the button named on the command line asks for the done notice ("DoneScreen" is "1").
bool wantsDoneScreen(const ButtonFile& button);

} // namespace valdora::autorun
