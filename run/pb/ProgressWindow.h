#pragma once

#include "settings/MessageTable.h"
#include "settings/UserSettings.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

#include <optional>

namespace valdora::run {

/// The small window that shows a button run's progress. It reads "Progress" ("Stage", "Total",
/// "Status", "Waiting", "Summary") of application Valdora a few times a second and closes itself when
/// the run is over, or, when it watches the run's process, as soon as that process is gone. While the
/// run waits for the answer to a message it says so; at the end it shows the run's summary for a few
/// seconds when the run left one.
class ProgressWindow : public QWidget {
public:
    /// How long a closing stage left from an earlier run is ignored after start.
    static constexpr int StartGraceMs = 3000;
    /// With no change for this long the window closes, so it never lingers after a run that died.
    static constexpr int IdleTimeoutMs = 10 * 60 * 1000;

    /// How long the summary of a run stays before the window closes (a click closes it at once).
    static constexpr int SummaryMs = 6000;

    /// `languageBase`: the language of the run's program (300, 1300, 2300).
    explicit ProgressWindow(UserSettings settings, qint16 languageBase = 300, int startGraceMs = StartGraceMs,
                            QWidget* parent = nullptr);

    /// Closes the window at the first poll that finds the process `runPid` no longer running: a run
    /// killed before it wrote its last stage would otherwise leave the window open until the idle
    /// timeout.
    void watchRun(qint64 runPid) { m_runPid = runPid; }

    /// Reads the progress values once and shows them; the window's timer calls it a few times a second.
    void poll();

    QString text() const { return m_label->text(); }
    /// The window shows the run's summary and closes by itself soon.
    bool showsSummary() const { return m_summaryShown; }
    const QProgressBar& bar() const { return *m_bar; }

protected:
    /// A click on a summary closes the window at once.
    void mousePressEvent(QMouseEvent* event) override;

private:
    /// At the end of the run: its summary, if it left one; false when there is none to show.
    bool showSummary();
    QString timeLeftText(qint64 ms) const;

    UserSettings m_settings;
    Messages m_texts;
    QLabel* m_label;
    QProgressBar* m_bar;
    QTimer m_timer;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceChange;
    QElapsedTimer m_sinceFirstContact;
    /// The first contact stage this window saw.
    qint64 m_firstContactSeen = 0;
    int m_startGraceMs;
    QString m_lastStage;
    bool m_seenRun = false;
    bool m_summaryShown = false;
    std::optional<qint64> m_runPid;
};

} // namespace valdora::run
