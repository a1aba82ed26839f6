#pragma once

#include "bar/schedule/SystemCommands.h"

#include <QString>
#include <QStringList>

namespace valdora::schedule::test {

/// The system's programs as a test stands them in: systemctl answers or is missing as the test says and
/// keeps every call; crontab keeps the user's crontab in a file of the test's folder. Nothing of the
/// real user's timers or crontab is touched.
class RecordingCommands final : public SystemCommands {
public:
    explicit RecordingCommands(QString crontabFile) : m_crontabFile(std::move(crontabFile)) {}

    bool has(const QString& program) const override;
    CommandOutput run(const QString& program, const QStringList& arguments,
                      const QByteArray& input = {}) override;

    /// Whether "systemctl --user" answers; without it the scheduler falls back to crontab.
    bool systemd = true;
    /// Whether a crontab program is installed.
    bool crontab = true;
    /// Other programs that are installed (notify-send, gdbus); each succeeds.
    QStringList installed;
    /// systemctl calls fail with this exit code when not 0 (a broken user manager).
    int systemctlFails = 0;
    /// Every call, as "program arg arg ...", in order.
    QStringList calls;
    /// The calls of systemctl other than the availability check.
    QStringList systemctlCalls() const;

private:
    QString m_crontabFile;
};

} // namespace valdora::schedule::test
