// GetField round trips to a running headless host: one request and one reply on the view's kept
// connection per call.
//
//   bench_contact_view [--benchmark_filter=...]

#include "host/client/ClientFactories.h"
#include "host/client/RunningHost.h"
#include "host/embedded/SampleData.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>

#include <benchmark/benchmark.h>

using namespace valdora::host;

namespace {

/// A headless host of its own on a sample database, killed at the end.
struct RunningHost {
    QTemporaryDir dir;
    QProcess process;

    RunningHost()
    {
        qputenv("VALDORA_HOST_SERVER",
                ("valdora-bench-" + QUuid::createUuid().toString(QUuid::Id128)).toUtf8());
        qputenv("VALDORA_USER_SETTINGS", dir.filePath(QStringLiteral("settings")).toUtf8());
        const QString database = dir.filePath(QStringLiteral("contacts.vdb"));
        createSampleDatabase(database, 50);
        process.start(QStringLiteral(CONTACT_HOST_PROGRAM), {QStringLiteral("--headless"), database});
        for (int i = 0; i < 500 && !runningHostDatabasePath(); ++i)
            QThread::msleep(20);
    }
    ~RunningHost()
    {
        process.kill();
        process.waitForFinished(5000);
    }
};

void GetFieldRoundTrip(benchmark::State& state)
{
    RunningHost host;
    auto view = createApplication()->CreateView(1, QStringLiteral("CV"));
    for (auto _ : state)
        benchmark::DoNotOptimize(view->GetField(FieldNumber::Company));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(GetFieldRoundTrip)->Unit(benchmark::kMicrosecond);

void GetCurrentIdRoundTrip(benchmark::State& state)
{
    RunningHost host;
    auto view = createApplication()->CreateView(1, QStringLiteral("CV"));
    for (auto _ : state)
        benchmark::DoNotOptimize(view->GetCurrentID());
}
BENCHMARK(GetCurrentIdRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
