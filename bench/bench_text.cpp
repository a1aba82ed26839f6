// Costs of the text semantics the engine pays per operand and contact: the numeric test, text to
// double and back, the "0.00000000" pattern, the date test and the date-time text.

#include "core/TextLocale.h"

#include <benchmark/benchmark.h>

namespace {

using namespace valdora;

const TextLocale& english()
{
    static const TextLocale locale{QLocale(QStringLiteral("en_US"))};
    return locale;
}

void isNumeric(benchmark::State& state)
{
    const QString text = QStringLiteral(" -1234.5678 ");
    for (auto _ : state)
        benchmark::DoNotOptimize(english().isNumeric(text));
}
BENCHMARK(isNumeric);

void fromDouble(benchmark::State& state)
{
    double value = 1234.5678;
    for (auto _ : state) {
        benchmark::DoNotOptimize(english().fromDouble(value));
        value += 0.001;
    }
}
BENCHMARK(fromDouble);

void formatEightDecimals(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(english().format(7.5, u"0.00000000"));
}
BENCHMARK(formatEightDecimals);

void isDateOnText(benchmark::State& state)
{
    const QString text = QStringLiteral("Smith");
    for (auto _ : state)
        benchmark::DoNotOptimize(english().isDate(text));
}
BENCHMARK(isDateOnText);

void toDateTime(benchmark::State& state)
{
    const QString text = QStringLiteral("1/5/2026 9:30:00 AM");
    for (auto _ : state)
        benchmark::DoNotOptimize(english().toDateTime(text));
}
BENCHMARK(toDateTime);

void dateTimeText(benchmark::State& state)
{
    const QDateTime value(QDate(2026, 1, 5), QTime(9, 30));
    for (auto _ : state)
        benchmark::DoNotOptimize(english().dateTimeText(value));
}
BENCHMARK(dateTimeText);

} // namespace

BENCHMARK_MAIN();
