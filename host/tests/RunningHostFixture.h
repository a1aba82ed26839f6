#pragma once

#include "core/testsupport/TestEnvironment.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace valdora::test {

/// What a ContactHost.exe command printed and returned.
struct CommandResult {
    int code = -1;
    QString out;
    QString err;
};

/// How the host process is started: without a window, or with its contact window on the offscreen
/// platform (as a user would start it, `ContactHost.exe DB`).
enum class HostStart { Headless, WithWindow };

/// A test with its own host server name, temporary folder, per-user settings and sample database,
/// and a real host process on that database (started by startHost, always killed at the end).
class RunningHostTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    /// Starts `ContactHost.exe --headless DB` (or `ContactHost.exe DB` with its window) and waits
    /// until it answers.
    void startHost(HostStart how = HostStart::Headless);
    /// Waits for the host process to end by itself; true when it did within the time.
    bool waitForHostEnd(int timeoutMs = 5000);
    /// Runs a ContactHost.exe command to its end.
    CommandResult run(const QStringList& arguments);
    /// The id of the first contact of the default sort (the one on screen after the start).
    QString firstContactId() const;

    QTemporaryDir m_dir;
    std::unique_ptr<TemporaryUserSettings> m_settings;
    QString m_database;
    QString m_probeOutput;
    std::unique_ptr<QProcess> m_host;
    QByteArray m_previousServer;
    /// The host's program folder when set (files the host's callers put beside it land there instead
    /// of in the build's folder); else the folder of ContactHost.exe.
    QString m_hostProgramFolder;
};

} // namespace valdora::test
