#include "ProgressWriter.h"

#include "settings/UserKey.h"

namespace valdora::run {

QString ProgressWriter::status() const
{
    return m_settings.get(Application::Valdora, UserKey::Progress, UserKey::Status, QStringLiteral("Off"));
}

bool ProgressWriter::due(QElapsedTimer& since) const
{
    if (m_minimumIntervalMs > 0 && since.isValid() && since.elapsed() < m_minimumIntervalMs)
        return false;
    since.start();
    return true;
}

void ProgressWriter::keepStatusOn()
{
    if (due(m_sinceStatusCheck) && status() == QStringLiteral("Off"))
        setStatus(QStringLiteral("On"));
}

void ProgressWriter::setContactStage(qint64 stage)
{
    if (due(m_sinceContactStage))
        setStage(stage);
}

void ProgressWriter::write(const QString& key, const QString& value) const
{
    // The window only shows these values: a store that cannot be written never stops a run.
    if (m_stored)
        m_settings.set(Application::Valdora, UserKey::Progress, key, value);
    if (m_observer)
        m_observer(key, value);
}

} // namespace valdora::run
