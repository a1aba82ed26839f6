#pragma once

#include "host/client/RunningHost.h"
#include "host/embedded/SampleData.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

namespace valdora::bench {

/// A headless host of its own on a sample database of 50 contacts, killed at the end. Its server name
/// and the per-user store (the folder "settings" of its temporary folder) are this process's own, so
/// a benchmark never meets a host or a store of someone else. CONTACT_HOST_PROGRAM names the host.
struct BenchRunningHost {
    QTemporaryDir dir;
    QProcess process;

    BenchRunningHost()
    {
        qputenv("VALDORA_HOST_SERVER",
                ("valdora-bench-" + QUuid::createUuid().toString(QUuid::Id128)).toUtf8());
        qputenv("VALDORA_USER_SETTINGS", dir.filePath(QStringLiteral("settings")).toUtf8());
        const QString database = dir.filePath(QStringLiteral("contacts.vdb"));
        host::createSampleDatabase(database, 50);
        process.start(QStringLiteral(CONTACT_HOST_PROGRAM), {QStringLiteral("--headless"), database});
        for (int i = 0; i < 500 && !host::runningHostDatabasePath(); ++i)
            QThread::msleep(20);
    }
    ~BenchRunningHost()
    {
        process.kill();
        process.waitForFinished(5000);
    }
    BenchRunningHost(const BenchRunningHost&) = delete;
    BenchRunningHost& operator=(const BenchRunningHost&) = delete;

    /// True once the host answers with its open database.
    bool isUp() const { return host::runningHostDatabasePath().has_value(); }
};

} // namespace valdora::bench
