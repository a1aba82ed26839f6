#include "RunPreview.h"

#include "PreviewRoad.h"

namespace valdora::run {

RunPreview::RunPreview(ProgramSession& session, RunHost host, ProgramProfile profile, ScopeChooser* scopes)
    : m_session(session), m_host(host), m_profile(std::move(profile)), m_scopes(scopes)
{
    m_profile.engine.preview = true;
}

PreviewResult RunPreview::Preview_Button(const QString& buttonFileName)
{
    PreviewResult result;
    ButtonRun run(m_session, m_host, m_profile, m_scopes);
    run.progress().setStored(false);
    run.setRoadMaker([&](const RoadParts& parts) {
        return std::make_unique<PreviewRoad>(
            parts, m_scopes,
            [&](PreviewRow row) {
                if (m_observer)
                    m_observer(row);
                result.rows.push_back(std::move(row));
            },
            m_stopRequested);
    });
    result.summary = run.Process_Button(buttonFileName);
    result.counts = previewCounts(result.rows);
    return result;
}

} // namespace valdora::run
