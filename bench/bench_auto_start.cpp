// ValdoraAuto.exe from process start to exit, as a user waits for it on leaving a triggered field: a
// Now button without warning screens on the contact on screen of a running headless host. In the same
// run, a program that only constructs a QApplication and exits. Prints both medians and their ratio.
//
//   bench_auto_start [RUNS]     (default 30; QT_QPA_PLATFORM defaults to offscreen)
//
// Where ValdoraAuto's time goes beyond the bare start: the QApplication itself (platform plugin,
// fonts) is nearly all of it. The rest is the dynamic loader (Qt Network, and with it the Kerberos,
// GSSAPI and proxy libraries, about twice the loader's work of the bare program, a few milliseconds),
// and eleven host round trips on three local connections (two for the event control, five for the
// application, four for the contact view), well under a millisecond each. Start
// ValdoraAuto with no host running to see the round trips' share: the difference is within noise.

#include "host/client/ClientFactories.h"
#include "host/client/RunningHost.h"
#include "host/embedded/SampleData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

/// A headless host of its own on a sample database, killed at the end.
struct RunningHost {
    QTemporaryDir dir;
    QProcess process;

    RunningHost()
    {
        qputenv("VALDORA_HOST_SERVER",
                ("valdora-bench-" + QUuid::createUuid().toString(QUuid::Id128)).toUtf8());
        qputenv("VALDORA_USER_SETTINGS", dir.filePath(QStringLiteral("user")).toUtf8());
        const QString database = dir.filePath(QStringLiteral("contacts.vdb"));
        valdora::host::createSampleDatabase(database, 50);
        process.start(QStringLiteral(CONTACT_HOST_PROGRAM), {QStringLiteral("--headless"), database});
        for (int i = 0; i < 500 && !valdora::host::runningHostDatabasePath(); ++i)
            QThread::msleep(20);
    }
    ~RunningHost()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

/// Writes one INI key the way the suite's files hold them.
void writeKey(const QString& file, const QString& section, const QString& key, const QString& value)
{
    QSettings ini(file, QSettings::IniFormat);
    ini.setValue(section + u'/' + key, value);
}

/// Milliseconds from the start of the program to its exit; negative when it failed.
double timedRun(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return -1;
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 30;

    RunningHost host;
    if (!valdora::host::runningHostDatabasePath()) {
        std::fprintf(stderr, "bench_auto_start: the host did not come up\n");
        return 1;
    }
    const QString settingsFolder = host.dir.filePath(QStringLiteral("buttons"));
    QDir().mkpath(settingsFolder);
    const QString userFile = host.dir.filePath(QStringLiteral("user/Valdora.ini"));
    writeKey(userFile, QStringLiteral("Settings"), QStringLiteral("Version"), QStringLiteral("310"));
    writeKey(userFile, QStringLiteral("Settings"), QStringLiteral("IniLocation"),
             settingsFolder + QStringLiteral("/valdora.ini"));
    // A Now button into "User 1" (field 27), no warning screen.
    const QString button = settingsFolder + QStringLiteral("/~100.ini");
    for (const auto& [key, value] : std::vector<std::pair<QString, QString>>{{"Type", "4"},
                                                                             {"Target", "User 1"},
                                                                             {"TargetID", "27"},
                                                                             {"TargetType", "1"},
                                                                             {"Over3", "1"},
                                                                             {"NowFormatDate0", "1"},
                                                                             {"AutoWarning0", "0"},
                                                                             {"AutoWarning1", "0"},
                                                                             {"AutoWarning2", "1"}})
        writeKey(button, QStringLiteral("Settings"), key, value);

    std::vector<double> autoTimes;
    std::vector<double> bareTimes;
    for (int i = 0; i < runs; ++i) {
        const double autoTime = timedRun(QStringLiteral(VALDORA_AUTO_PROGRAM), {QStringLiteral("~100")});
        const double bareTime = timedRun(QStringLiteral(BARE_QAPPLICATION_PROGRAM), {});
        if (autoTime < 0 || bareTime < 0) {
            std::fprintf(stderr, "bench_auto_start: a run failed (ValdoraAuto %.1f ms, bare %.1f ms)\n",
                         autoTime, bareTime);
            return 1;
        }
        autoTimes.push_back(autoTime);
        bareTimes.push_back(bareTime);
    }
    // The runs must have done their work, or the figures time an early end.
    const QString written =
        valdora::host::createApplication()->CreateView(1, QStringLiteral("CV"))->GetField(27);
    if (written.isEmpty()) {
        std::fprintf(stderr, "bench_auto_start: ValdoraAuto ran but wrote nothing\n");
        return 1;
    }
    const double autoMedian = median(autoTimes);
    const double bareMedian = median(bareTimes);
    std::printf("runs: %d\n", runs);
    std::printf("ValdoraAuto.exe ~100 median: %.1f ms\n", autoMedian);
    std::printf("bare QApplication median:    %.1f ms\n", bareMedian);
    std::printf("ratio:                       %.2f\n", autoMedian / bareMedian);
    return 0;
}
