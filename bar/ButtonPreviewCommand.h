#pragma once

#include "run/ContactRoad.h"
#include "run/RunSummary.h"
#include "run/ScopeChooser.h"

#include <QString>

namespace valdora {
class ProgramSession;
}

namespace valdora::bar {

/// Valdora.exe --run BUTTON --scope ... --preview: what the run would write, as CSV rows on stdout (the
/// header even when no row comes), and the counts in one line on stderr. Nothing is written.
class ButtonPreviewCommand {
public:
    ButtonPreviewCommand(ProgramSession& session, run::RunHost host, run::ScopeChooser& scopes);

    /// Previews the button of that file name; the summary says whether the run would have started.
    run::RunSummary execute(const QString& buttonFileName);

private:
    ProgramSession& m_session;
    run::RunHost m_host;
    run::ScopeChooser& m_scopes;
};

} // namespace valdora::bar
