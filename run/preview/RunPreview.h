#pragma once

#include "PreviewRow.h"

#include "run/ButtonRun.h"

#include <functional>
#include <vector>

namespace valdora::run {

/// What a preview found.
struct PreviewResult {
    RunSummary summary; ///< `started` false when the preview ended before any contact
    std::vector<PreviewRow> rows;
    PreviewCounts counts;
};

/// Computes what a button's run would write to every contact in scope, with the run's own code (its
/// members, Obtain routines, Validate and decimal places), and writes nothing: no field, no counter
/// file, no "TargetDecimals", no progress value, no error log. An AutoNumber shows the numbers the run
/// would hand out.
class RunPreview {
public:
    RunPreview(ProgramSession& session, RunHost host, ProgramProfile profile, ScopeChooser* scopes = nullptr);

    /// Sees every row as soon as it is computed (a window shows the first rows while the rest come).
    void setRowObserver(std::function<void(const PreviewRow&)> observer) { m_observer = std::move(observer); }

    /// Asked before each contact: true ends the preview there (the user closed its window).
    void setStopCheck(std::function<bool()> stopRequested) { m_stopRequested = std::move(stopRequested); }

    /// Previews the button of that file name ("~101.ini").
    PreviewResult Preview_Button(const QString& buttonFileName);

private:
    ProgramSession& m_session;
    RunHost m_host;
    ProgramProfile m_profile;
    ScopeChooser* m_scopes;
    std::function<void(const PreviewRow&)> m_observer;
    std::function<bool()> m_stopRequested;
};

} // namespace valdora::run
