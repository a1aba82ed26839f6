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

#include "BenchRunningHost.h"

#include "core/ConsolePlatform.h"
#include "core/ErrorReport.h"
#include "host/client/ClientFactories.h"
#include "settings/ButtonFile.h"
#include "settings/IniLib.h"
#include "settings/UserSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

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

    const valdora::bench::BenchRunningHost host;
    if (!host.isUp()) {
        std::fprintf(stderr, "bench_auto_start: the host did not come up\n");
        return 1;
    }
    const QString settingsFolder = host.dir.filePath(QStringLiteral("buttons"));
    QDir().mkpath(settingsFolder);
    const valdora::UserSettings store;
    store.set(valdora::Application::Valdora, QStringLiteral("Settings"), QStringLiteral("Version"),
              QStringLiteral("310"));
    store.set(valdora::Application::Valdora, QStringLiteral("Settings"), QStringLiteral("IniLocation"),
              settingsFolder + QStringLiteral("/valdora.ini"));
    // A Now button into "User 1" (field 27), no warning screen.
    valdora::ConsolePlatform platform;
    const valdora::ErrorReporter reporter{platform, QStringLiteral("Valdora"), [] { return QString(); }};
    const valdora::IniLib ini{reporter};
    const valdora::ButtonFile button(ini, settingsFolder + QStringLiteral("/~100.ini"));
    for (const auto& [key, value] : std::vector<std::pair<QString, QString>>{{"Type", "4"},
                                                                             {"Target", "User 1"},
                                                                             {"TargetID", "27"},
                                                                             {"TargetType", "1"},
                                                                             {"Over3", "1"},
                                                                             {"NowFormatDate0", "1"},
                                                                             {"AutoWarning0", "0"},
                                                                             {"AutoWarning1", "0"},
                                                                             {"AutoWarning2", "1"}}) {
        if (!button.write(key, value)) {
            std::fprintf(stderr, "bench_auto_start: cannot write %s\n", qPrintable(button.path()));
            return 1;
        }
    }

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
