#pragma once

#include <algorithm>
#include <functional>

namespace valdora::run {

/// What differs between the run of Valdora's bar and that of ValdoraAuto; one routine, these passed in.
struct RunVariant {
    /// Module name of the failure reports: "frmMain" or "frmAutoMain".
    const char* module = "frmMain";
    /// Combo slots read: 8 in Valdora, 20 in ValdoraAuto.
    int comboSlots = 8;
    /// ValdoraAuto: the contact on screen only, targets from "TargetID"/"TargetType", decimals from
    /// "TargetDecimals", one SetField per used member, no commit check and no error log.
    bool contactOnScreen = false;

    static RunVariant valdora() { return {}; }
    static RunVariant valdoraAuto() { return {"frmAutoMain", 20, true}; }
};

/// What one run did, for the command line's summary.
struct RunSummary {
    bool started = false;    ///< false when the run ended before any contact (a message, a cancel)
    bool handedOver = false; ///< the contact was handed to ValdoraAuto
    int inScope = 0;
    int written = 0;   ///< contacts into which a computed value went
    int unchanged = 0; ///< contacts the rules left as they were
    int failed = 0;    ///< contacts whose write did not go through
    /// A failure report was shown during the run: something did not go as asked, even where every
    /// contact was written.
    bool failureReported = false;
    /// The run ended early on a failure: the contacts after the one it stopped at were not reached.
    bool stopped = false;

    /// Contacts in scope that the run never came to (only a stopped run leaves any).
    int notReached() const { return std::max(inScope - written - unchanged - failed, 0); }
};

} // namespace valdora::run
