#pragma once

#include <algorithm>

namespace valdora::run {

/// What one run did, for the command line's summary.
struct RunSummary {
    bool started = false;    ///< false when the run ended before any contact (a message, a cancel)
    bool handedOver = false; ///< the contact was handed to ValdoraAuto
    int inScope = 0;
    int written = 0;   ///< contacts whose fields a computed value changed
    int unchanged = 0; ///< contacts the rules left as they were
    int failed = 0;    ///< contacts whose write did not go through
    /// A failure report was shown during the run: something did not go as asked, even where every
    /// contact was written.
    bool failureReported = false;
    /// The run ended early on a failure: the contacts after the one it stopped at were not reached.
    bool stopped = false;
    /// The run's entry in the user's run journal (0: not journalled).
    long long journalRun = 0;
    /// A contact could not be reached (its message has been shown): the bar is to unload.
    bool unloadRequested = false;

    /// Contacts in scope that the run never came to (only a stopped run leaves any).
    int notReached() const { return std::max(inScope - written - unchanged - failed, 0); }

    /// Counts one contact the run came to the end of: failed, or written when a computed value went in.
    void countContact(bool writeFailed, bool valueUsed)
    {
        if (writeFailed)
            ++failed;
        else
            (valueUsed ? written : unchanged) += 1;
    }
};

} // namespace valdora::run
