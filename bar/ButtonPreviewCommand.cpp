#include "ButtonPreviewCommand.h"

#include "ConsoleLine.h"

#include "run/preview/RunPreview.h"
#include "settings/ProgramSession.h"

#include <cstdio>

namespace valdora::bar {

ButtonPreviewCommand::ButtonPreviewCommand(ProgramSession& session, run::RunHost host,
                                           run::ScopeChooser& scopes)
    : m_session(session), m_host(host), m_scopes(scopes)
{}

run::RunSummary ButtonPreviewCommand::execute(const QString& buttonFileName)
{
    run::RunPreview preview(m_session, m_host, run::ProgramProfile::valdora(m_session.locale()), &m_scopes);
    bool headerDone = false;
    // Rows go out as they come, so a long preview shows its first rows at once.
    preview.setRowObserver([&](const run::PreviewRow& row) {
        const QString csv = run::previewCsv({row});
        const qsizetype lineEnd = csv.indexOf(QStringLiteral("\r\n")) + 2;
        std::fputs((headerDone ? csv.mid(lineEnd) : csv).toUtf8().constData(), stdout);
        headerDone = true;
    });
    const run::PreviewResult result = preview.Preview_Button(buttonFileName);
    if (!headerDone)
        std::fputs(run::previewCsv({}).toUtf8().constData(), stdout);
    std::fflush(stdout);
    printLine(stderr, QStringLiteral("%1: %2 contacts would be written, %3 unchanged, %4 locked now")
                          .arg(buttonFileName)
                          .arg(result.counts.wouldWrite)
                          .arg(result.counts.unchanged)
                          .arg(result.counts.lockedNow));
    return result.summary;
}

} // namespace valdora::bar
