// GetField round trips to a running headless host: one request and one reply on the view's kept
// connection per call.
//
//   bench_contact_view [--benchmark_filter=...]

#include "BenchRunningHost.h"

#include "host/client/ClientFactories.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

using namespace valdora::host;

namespace {

void GetFieldRoundTrip(benchmark::State& state)
{
    const valdora::bench::BenchRunningHost host;
    auto view = createApplication()->CreateView(1, QStringLiteral("CV"));
    for (auto _ : state)
        benchmark::DoNotOptimize(view->GetField(FieldNumber::Company));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(GetFieldRoundTrip)->Unit(benchmark::kMicrosecond);

void GetCurrentIdRoundTrip(benchmark::State& state)
{
    const valdora::bench::BenchRunningHost host;
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
