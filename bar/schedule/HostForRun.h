#pragma once

#include <QProcess>
#include <QString>

#include <memory>

namespace valdora::schedule {

/// The running host an unattended run talks to: the one that already has its database open, or else a
/// headless ContactHost.exe started for the run on a server name of its own (so that it never takes the
/// place of a host the user started), which is ended again when this object goes.
class HostForRun {
public:
    /// Finds or starts the host for `database` (passed to the host as given). Returns nullptr with
    /// `failure` set when no host could be had: the host program failed to open the database, ended,
    /// or did not answer within `startTimeoutMs`.
    static std::unique_ptr<HostForRun> forDatabase(const QString& database, const QString& hostProgram,
                                                   QString& failure, int startTimeoutMs = 20000);
    ~HostForRun();
    HostForRun(const HostForRun&) = delete;
    HostForRun& operator=(const HostForRun&) = delete;

    /// True when the run started the host itself (and ends it).
    bool startedForRun() const { return m_process != nullptr; }

    /// True when a host is running on that database now: the same file, or the same text for a URI.
    static bool runsOn(const QString& openDatabase, const QString& database);

    /// Only forDatabase makes one.
    class Key {
        friend class HostForRun;
        Key() = default;
    };
    explicit HostForRun(Key) {}

private:
    std::unique_ptr<QProcess> m_process;
    QByteArray m_previousServer;
};

} // namespace valdora::schedule
