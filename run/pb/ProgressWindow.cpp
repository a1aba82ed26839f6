#include "ProgressWindow.h"

#include "core/ProcessRunning.h"
#include "settings/FixedTexts.h"

#include <QVBoxLayout>

namespace valdora::run {

namespace {
const QString Section = QStringLiteral("Progress");

QString timeLeftText(qint64 ms)
{
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return fixedtexts::ProgressSecondsLeft.arg(seconds);
    return fixedtexts::ProgressMinutesLeft.arg(seconds / 60).arg(seconds % 60);
}
} // namespace

ProgressWindow::ProgressWindow(UserSettings settings, int startGraceMs, QWidget* parent)
    : QWidget(parent), m_settings(std::move(settings)), m_label(new QLabel(this)),
      m_bar(new QProgressBar(this)), m_startGraceMs(startGraceMs)
{
    setWindowTitle(QStringLiteral("Valdora"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    m_label->setText(fixedtexts::ProgressStarting);
    m_bar->setRange(0, 0);
    resize(320, 80);
    m_sinceStart.start();
    m_sinceChange.start();
    connect(&m_timer, &QTimer::timeout, this, &ProgressWindow::poll);
    m_timer.start(250);
}

void ProgressWindow::poll()
{
    if (m_runPid && !isProcessRunning(*m_runPid)) {
        close();
        return;
    }
    const QString stage = m_settings.get(Application::Valdora, Section, QStringLiteral("Stage"));
    if (stage != m_lastStage) {
        m_lastStage = stage;
        m_sinceChange.restart();
    }
    const bool closing = stage == QStringLiteral("0") || stage == QStringLiteral("999999");
    // A closing stage right after start may be the last run's: the new run writes "-1" at once.
    if (closing && (m_seenRun || m_sinceStart.elapsed() >= m_startGraceMs)) {
        close();
        return;
    }
    if (m_sinceChange.elapsed() > IdleTimeoutMs) {
        close();
        return;
    }
    bool ok = false;
    const qint64 value = stage.toLongLong(&ok);
    if (!ok || closing)
        return;
    m_seenRun = true;
    if (value < 0) {
        m_bar->setRange(0, 0);
        m_label->setText(fixedtexts::ProgressCounting.arg(-value));
        return;
    }
    const qint64 total = m_settings.get(Application::Valdora, Section, QStringLiteral("Total")).toLongLong();
    if (!m_sinceFirstContact.isValid())
        m_sinceFirstContact.start();
    m_bar->setRange(0, static_cast<int>(std::max<qint64>(total, 1)));
    m_bar->setValue(static_cast<int>(std::min(value, total)));
    QString text = fixedtexts::ProgressOfTotal.arg(value).arg(total);
    if (value > 0 && total >= value) {
        const qint64 perContact = m_sinceFirstContact.elapsed() / value;
        text += fixedtexts::ProgressTimeLeftSeparator + timeLeftText(perContact * (total - value));
    }
    m_label->setText(text);
}

} // namespace valdora::run
