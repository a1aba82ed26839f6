// The bar with 120 buttons: built and shown in this process beside an empty QWidget shown the same
// way (each to its first paint), then Valdora.exe from process start to the bar's first paint beside a
// bare QApplication that shows one window (empty, and with a label and a button), each to the line it
// prints at its first paint. Prints the medians, the bar's cost over the empty window and the
// start-up ratios.
//
//   bench_bar [RUNS]     (default 15; QT_QPA_PLATFORM defaults to offscreen)

#include "BenchRunningHost.h"
#include "PaintWatch.h"

#include "bar/windows/MainBar.h"
#include "core/ConsolePlatform.h"
#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"
#include "settings/ButtonFile.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace valdora;
using bench::median;
using bench::toFirstPaint;

constexpr int Buttons = 120;

class NoScreens final : public bar::BarScreens {
public:
    bool upgradeSettings() override { return true; }
    void showSplash() override {}
    void closeSplash() override {}
    void chooseLanguage() override {}
    void openEditor(int) override {}
    void showTriggerSyntax(const QString&) override {}
    bool previewRun(const QString&, run::Scope) override { return false; }
    std::optional<bar::RunChoice> chooseRun(const std::vector<bar::ListedRun>&,
                                            std::optional<qint64>) override
    {
        return std::nullopt;
    }
};

class NoIcon final : public bar::NotificationIcon {
public:
    bool add(const QIcon&, const QString&) override { return false; }
    bool remove() override { return false; }
    bool isShown() const override { return false; }
};

/// Milliseconds from the start of the program to its line "first paint" (the window is on screen);
/// negative, after a line on stderr that says what did not come, when it failed. The program's end is
/// waited for but not timed.
double timedToFirstPaint(const QString& program, const QStringList& arguments,
                         const QProcessEnvironment& environment)
{
    constexpr int LimitMs = 30000;
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    const QDeadlineTimer deadline(LimitMs);
    QByteArray output;
    double painted = -1;
    while (painted < 0 && !deadline.hasExpired() && process.waitForReadyRead(int(deadline.remainingTime()))) {
        output += process.readAllStandardOutput();
        if (output.contains("first paint"))
            painted = double(timer.nsecsElapsed()) / 1e6;
    }
    if (painted < 0) {
        std::fprintf(stderr, "bench_bar: no \"first paint\" line from %s within %d ms\n", qPrintable(program),
                     LimitMs);
        process.kill();
        process.waitForFinished(5000);
        return -1;
    }
    if (!process.waitForFinished(LimitMs)) {
        std::fprintf(stderr, "bench_bar: %s did not end within %d ms of its first paint\n",
                     qPrintable(program), LimitMs);
        process.kill();
        process.waitForFinished(5000);
        return -1;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        std::fprintf(stderr, "bench_bar: %s ended with %d\n", qPrintable(program), process.exitCode());
        return -1;
    }
    return painted;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 15;

    const bench::BenchRunningHost host;
    if (!host.isUp()) {
        std::fprintf(stderr, "bench_bar: the host did not come up\n");
        return 1;
    }
    const QString settingsFolder = host.dir.filePath(QStringLiteral("buttons"));
    QDir().mkpath(settingsFolder);
    const UserSettings store;
    store.set(Application::Valdora, "Settings", "Version", "313");
    store.set(Application::Valdora, "Settings", "Installed", "1");
    store.set(Application::Valdora, "Options", "Language", "0");
    store.set(Application::Valdora, "Settings", "IniLocation",
              settingsFolder + QStringLiteral("/valdora.ini"));

    ConsolePlatform platform;
    ProgramSession session(platform, QStringLiteral("Valdora"), host.dir.path(), store);
    session.setSettingsFile(settingsFolder + QStringLiteral("/valdora.ini"));
    for (int i = 0; i < Buttons; ++i) {
        const ButtonFile button = ButtonFile::inFolder(session.ini(), session.buttonFolder(),
                                                       QStringLiteral("~%1.ini").arg(100 + i));
        if (!button.write(ButtonKey::Name, QStringLiteral("Button %1").arg(i)) ||
            !button.write(ButtonKey::FontBold, i % 2 ? QStringLiteral("-1") : QStringLiteral("0"))) {
            std::fprintf(stderr, "bench_bar: cannot write %s\n", qPrintable(button.path()));
            return 1;
        }
    }

    NoScreens screens;
    run::FixedScopeChooser scopes(std::nullopt);
    std::vector<double> emptyTimes;
    std::vector<double> barTimes;
    for (int i = 0; i < runs; ++i) {
        const std::optional<double> empty = toFirstPaint("an empty QWidget", [] {
            auto widget = std::make_unique<QWidget>();
            widget->resize(200, 100);
            return widget;
        });
        bool loaded = true;
        const std::optional<double> bar = toFirstPaint("the bar", [&] {
            auto made = std::make_unique<bar::MainBar>(
                bar::BarParts{session,
                              screens,
                              scopes,
                              {[] { return host::createEventControl(); },
                               {&host::createApplication, &host::createDatabase},
                               [] { return host::createAuxCommands(); }},
                              std::make_unique<NoIcon>()});
            loaded = made->Form_Load() && loaded;
            return made;
        });
        if (!loaded) {
            std::fprintf(stderr, "bench_bar: the bar did not load\n");
            return 1;
        }
        if (!empty || !bar)
            return 1;
        emptyTimes.push_back(*empty);
        barTimes.push_back(*bar);
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VALDORA_EXIT_ON_FIRST_PAINT"), QStringLiteral("1"));
    std::vector<double> startTimes;
    std::vector<double> bareTimes;
    std::vector<double> textTimes;
    for (int i = 0; i < runs; ++i) {
        const double start = timedToFirstPaint(QStringLiteral(VALDORA_PROGRAM), {}, environment);
        const double bare = timedToFirstPaint(QStringLiteral(BARE_QAPPLICATION_PROGRAM),
                                              {QStringLiteral("--show-window")}, environment);
        if (start < 0 || bare < 0) {
            std::fprintf(stderr, "bench_bar: a start failed (Valdora %.1f ms, bare %.1f ms)\n", start, bare);
            return 1;
        }
        const double text = timedToFirstPaint(QStringLiteral(BARE_QAPPLICATION_PROGRAM),
                                              {QStringLiteral("--show-window-with-text")}, environment);
        if (text < 0) {
            std::fprintf(stderr, "bench_bar: the bare start with text failed\n");
            return 1;
        }
        startTimes.push_back(start);
        bareTimes.push_back(bare);
        textTimes.push_back(text);
    }

    const double emptyMedian = median(emptyTimes);
    const double barMedian = median(barTimes);
    const double startMedian = median(startTimes);
    const double bareMedian = median(bareTimes);
    const double textMedian = median(textTimes);
    std::printf("runs: %d, buttons: %d\n", runs, Buttons);
    std::printf("empty QWidget to first paint median: %.1f ms\n", emptyMedian);
    std::printf("bar built to first paint median:     %.1f ms\n", barMedian);
    const auto verdict = [](bool met) { return met ? "target met" : "target missed"; };
    const double barOver = barMedian - emptyMedian;
    std::printf("bar over empty window:               %.1f ms (target at most 10 ms): %s\n", barOver,
                verdict(barOver <= 10));
    std::printf("Valdora.exe start to first paint:    %.1f ms\n", startMedian);
    std::printf("bare QApplication with one window:   %.1f ms\n", bareMedian);
    std::printf("start-up ratio:                      %.2f (target at most 2): %s\n",
                startMedian / bareMedian, verdict(startMedian <= 2 * bareMedian));
    std::printf("bare window with a label and button: %.1f ms\n", textMedian);
    std::printf("start-up ratio to it:                %.2f (target at most 1.3): %s\n",
                startMedian / textMedian, verdict(startMedian <= 1.3 * textMedian));
    return 0;
}
