#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace valdora::schedule {

/// What a system command gave: its exit code (-1 when it could not be started or did not end in
/// time), its output and its error output.
struct CommandOutput {
    int code = -1;
    QByteArray out;
    QByteArray err;

    bool succeeded() const { return code == 0; }
};

/// The programs that scheduling and the unattended run start: systemctl, crontab, notify-send, gdbus.
/// Scheduling asks them through this seam alone, so that tests check the files and lines written
/// without touching the real user's timers, crontab or desktop.
class SystemCommands {
public:
    virtual ~SystemCommands() = default;

    /// True when the program can be started (found on the search path).
    virtual bool has(const QString& program) const = 0;
    /// Runs the program to its end with `input` on its standard input, waiting a bounded time.
    virtual CommandOutput run(const QString& program, const QStringList& arguments,
                              const QByteArray& input = {}) = 0;
};

/// The real programs, found on the search path; each is given 15 seconds to end.
class ProcessCommands final : public SystemCommands {
public:
    bool has(const QString& program) const override;
    CommandOutput run(const QString& program, const QStringList& arguments,
                      const QByteArray& input = {}) override;
};

} // namespace valdora::schedule
