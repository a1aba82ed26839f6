#include "ProgressWindow.h"

#include "settings/UserKey.h"

#include "core/ProcessRunning.h"

#include <QMouseEvent>
#include <QVBoxLayout>

namespace valdora::run {

namespace {
/// Joins the count and the time left.
const QString TimeLeftSeparator = QStringLiteral(" - ");
} // namespace

QString ProgressWindow::timeLeftText(qint64 ms) const
{
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return m_texts.get(OwnText::ProgressSecondsLeft).arg(seconds);
    return m_texts.get(OwnText::ProgressMinutesLeft).arg(seconds / 60).arg(seconds % 60);
}

ProgressWindow::ProgressWindow(UserSettings settings, qint16 languageBase, int startGraceMs, QWidget* parent)
    : QWidget(parent), m_settings(std::move(settings)), m_texts(MessageTable::valdora(), languageBase),
      m_label(new QLabel(this)), m_bar(new QProgressBar(this)), m_startGraceMs(startGraceMs)
{
    setWindowTitle(QStringLiteral("Valdora"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(m_bar);
    // A summary runs to two lines.
    m_label->setWordWrap(true);
    m_label->setText(m_texts.get(OwnText::ProgressStarting));
    m_bar->setRange(0, 0);
    resize(360, 90);
    m_sinceStart.start();
    m_sinceChange.start();
    connect(&m_timer, &QTimer::timeout, this, &ProgressWindow::poll);
    m_timer.start(250);
}

void ProgressWindow::mousePressEvent(QMouseEvent* event)
{
    if (m_summaryShown)
        close();
    QWidget::mousePressEvent(event);
}

bool ProgressWindow::showSummary()
{
    const QString summary = m_settings.get(Application::Valdora, UserKey::Progress, UserKey::Summary);
    // The run clears the summary before it starts this window: one found is this run's, even when
    // the run ended before the window saw any stage of it.
    if (summary.isEmpty())
        return false;
    m_summaryShown = true;
    m_timer.stop();
    m_label->setText(summary);
    m_bar->setRange(0, 1);
    m_bar->setValue(1);
    QTimer::singleShot(SummaryMs, this, &QWidget::close);
    return true;
}

void ProgressWindow::poll()
{
    if (m_summaryShown)
        return;
    if (m_runPid && !isProcessRunning(*m_runPid)) {
        close();
        return;
    }
    const QString stage = m_settings.get(Application::Valdora, UserKey::Progress, UserKey::Stage);
    if (stage != m_lastStage) {
        m_lastStage = stage;
        m_sinceChange.restart();
    }
    const bool closing = stage == QStringLiteral("0") || stage == QStringLiteral("999999");
    if (stage == QStringLiteral("0") && showSummary())
        return;
    // A closing stage right after start may be the last run's: the new run writes "-1" at once.
    if (closing && (m_seenRun || m_sinceStart.elapsed() >= m_startGraceMs)) {
        close();
        return;
    }
    // A run that waits for an answer is not idle: the user may take a while to answer.
    const bool waiting =
        m_settings.get(Application::Valdora, UserKey::Progress, UserKey::Waiting) == QStringLiteral("1");
    if (waiting)
        m_sinceChange.restart();
    if (m_sinceChange.elapsed() > IdleTimeoutMs) {
        close();
        return;
    }
    bool ok = false;
    const qint64 value = stage.toLongLong(&ok);
    if (!ok || closing)
        return;
    m_seenRun = true;
    if (waiting) {
        // Not "counting" or a count that stands still while the run waits for the user.
        m_label->setText(m_texts.get(OwnText::ProgressWaiting));
        return;
    }
    if (value < 0) {
        m_bar->setRange(0, 0);
        m_label->setText(m_texts.get(OwnText::ProgressCounting).arg(-value));
        return;
    }
    const qint64 total = m_settings.get(Application::Valdora, UserKey::Progress, UserKey::Total).toLongLong();
    // The pace is measured from the first contact this window saw, which is not the run's first when
    // the window started late (an undo starts it only once it has lasted a while).
    if (!m_sinceFirstContact.isValid()) {
        m_sinceFirstContact.start();
        m_firstContactSeen = value;
    }
    m_bar->setRange(0, static_cast<int>(std::max<qint64>(total, 1)));
    m_bar->setValue(static_cast<int>(std::min(value, total)));
    QString text = m_texts.get(OwnText::ProgressOfTotal).arg(value).arg(total);
    // Until a contact has been written since, there is no pace to tell the time left by.
    if (value > m_firstContactSeen && total >= value) {
        const qint64 perContact = m_sinceFirstContact.elapsed() / (value - m_firstContactSeen);
        text += TimeLeftSeparator + timeLeftText(perContact * (total - value));
    }
    m_label->setText(text);
}

} // namespace valdora::run
