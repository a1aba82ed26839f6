#pragma once

#include "settings/UserSettings.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>

#include <optional>

namespace valdora::run {

/// The small window that shows a button run's progress. It reads "Progress" ("Stage", "Total",
/// "Status") of application Valdora a few times a second and closes itself when the run is over,
/// or, when it watches the run's process, as soon as that process is gone.
class ProgressWindow : public QWidget {
public:
    /// How long a closing stage left from an earlier run is ignored after start.
    static constexpr int StartGraceMs = 3000;
    /// With no change for this long the window closes, so it never lingers after a run that died.
    static constexpr int IdleTimeoutMs = 10 * 60 * 1000;

    explicit ProgressWindow(UserSettings settings, int startGraceMs = StartGraceMs,
                            QWidget* parent = nullptr);

    /// Closes the window at the first poll that finds the process `runPid` no longer running: a run
    /// killed before it wrote its last stage would otherwise leave the window open until the idle
    /// timeout.
    void watchRun(qint64 runPid) { m_runPid = runPid; }

    /// Reads the progress values once and shows them; the window's timer calls it a few times a second.
    void poll();

    QString text() const { return m_label->text(); }
    const QProgressBar& bar() const { return *m_bar; }

private:
    UserSettings m_settings;
    QLabel* m_label;
    QProgressBar* m_bar;
    QTimer m_timer;
    QElapsedTimer m_sinceStart;
    QElapsedTimer m_sinceChange;
    QElapsedTimer m_sinceFirstContact;
    int m_startGraceMs;
    QString m_lastStage;
    bool m_seenRun = false;
    std::optional<qint64> m_runPid;
};

} // namespace valdora::run
