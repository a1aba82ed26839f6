#include "ProgressWriter.h"

namespace valdora::run {

namespace {
const QString Section = QStringLiteral("Progress");
}

QString ProgressWriter::status() const
{
    return m_settings.get(Application::Valdora, Section, QStringLiteral("Status"), QStringLiteral("Off"));
}

void ProgressWriter::setContactStage(qint64 stage)
{
    if (m_minimumIntervalMs > 0 && m_sinceContactStage.isValid() &&
        m_sinceContactStage.elapsed() < m_minimumIntervalMs)
        return;
    m_sinceContactStage.start();
    setStage(stage);
}

void ProgressWriter::write(const QString& key, const QString& value) const
{
    // The window only shows these values: a store that cannot be written never stops a run.
    m_settings.set(Application::Valdora, Section, key, value);
    if (m_observer)
        m_observer(key, value);
}

} // namespace valdora::run
