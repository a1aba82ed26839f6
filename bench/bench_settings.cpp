// Costs of the settings store: GetKeyValue and SetKeyValue on button files of 60 and 140 keys (an
// AutoNumber button and a saved Condition button), a per-user settings write and read, the atomic
// replace of a counter file that a run makes per contact, and a plain stat() of the same file in the
// same run for comparison.

#include "settings/ButtonFile.h"
#include "settings/IniLib.h"
#include "settings/UserSettings.h"

#include "core/ConsolePlatform.h"
#include "core/ErrorReport.h"
#include "core/FileLock.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <sys/stat.h>

namespace {

using namespace valdora;

struct Fixture {
    QTemporaryDir dir;
    ConsolePlatform platform;
    ErrorReporter reporter{platform, QStringLiteral("Valdora"), [] { return QString(); }};
    IniLib ini{reporter, TextLocale(QLocale(QStringLiteral("en_US")))};
    UserSettings store{dir.path() + QStringLiteral("/user")};

    QString buttonFile(int keys) const { return dir.path() + QStringLiteral("/~%1.ini").arg(keys); }
};

Fixture& fixture()
{
    static Fixture instance;
    return instance;
}

// A button file of `keys` keys, values of a realistic length.
void writeButtonFile(const QString& path, int keys)
{
    QByteArray content = "[Settings]\r\nName=Customer number\r\nType=1\r\nTarget=User 1\r\n";
    for (int i = 3; i < keys; ++i)
        content += "Key" + QByteArray::number(i) + "=value " + QByteArray::number(i * 37) + "\r\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        std::abort();
}

// The key read is the last one of the file: the worst place for a reader that scans.
QString lastKey(int keys)
{
    return QStringLiteral("Key") + QString::number(keys - 1);
}

void BM_Stat(benchmark::State& state)
{
    const QByteArray path = QFile::encodeName(fixture().buttonFile(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        struct stat info {};
        benchmark::DoNotOptimize(::stat(path.constData(), &info));
    }
}

void BM_GetKeyValue(benchmark::State& state)
{
    const int keys = static_cast<int>(state.range(0));
    const QString path = fixture().buttonFile(keys);
    const QString key = lastKey(keys);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            fixture().ini.GetKeyValue(ButtonKey::Section, key, QStringLiteral("0"), {}, {}, path));
}

void BM_GetKeyValueJustWritten(benchmark::State& state)
{
    // A file changed within the last two seconds is parsed again at every read.
    const int keys = static_cast<int>(state.range(0));
    const QString path = fixture().dir.path() + QStringLiteral("/fresh%1.ini").arg(keys);
    writeButtonFile(path, keys);
    const QString key = lastKey(keys);
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture().ini.GetKeyValue(ButtonKey::Section, key, {}, {}, {}, path));
}

void BM_SetKeyValue(benchmark::State& state)
{
    const int keys = static_cast<int>(state.range(0));
    const QString path = fixture().dir.path() + QStringLiteral("/write%1.ini").arg(keys);
    writeButtonFile(path, keys);
    int i = 0;
    for (auto _ : state)
        fixture().ini.SetKeyValue(ButtonKey::Section, ButtonKey::TargetDecimals, QString::number(++i), path);
}

void BM_UserSettingsSet(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state)
        fixture().store.set(Application::Valdora, QStringLiteral("Progress"), QStringLiteral("Stage"),
                            QString::number(++i));
}

void BM_UserSettingsGet(benchmark::State& state)
{
    fixture().store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("MaxFields"),
                        QStringLiteral("80"));
    for (auto _ : state)
        benchmark::DoNotOptimize(fixture().store.get(Application::Valdora, QStringLiteral("Settings"),
                                                     QStringLiteral("MaxFields")));
}

// A run replaces its counter file once per contact, flushed to the disk later: what is left is the
// replace itself, in a folder that also holds the button files.
void BM_ReplaceCounterSyncedLater(benchmark::State& state)
{
    const QString path = fixture().dir.path() + QStringLiteral("/Invoice.num");
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(replaceFileAtomically(
            path, QByteArray::number(++i).rightJustified(4, '0') + "\r\n", FileSync::Later));
}

BENCHMARK(BM_Stat)->Arg(60)->Arg(140);
BENCHMARK(BM_GetKeyValue)->Arg(60)->Arg(140);
BENCHMARK(BM_GetKeyValueJustWritten)->Arg(60)->Arg(140);
BENCHMARK(BM_SetKeyValue)->Arg(60)->Arg(140);
BENCHMARK(BM_UserSettingsSet);
BENCHMARK(BM_UserSettingsGet);
BENCHMARK(BM_ReplaceCounterSyncedLater);

// Mean cost of one call in nanoseconds over `rounds` calls.
template <typename Call> double nanosecondsPerCall(int rounds, Call&& call)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        call();
    const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
    return spent.count() / rounds;
}

void printSummary()
{
    constexpr int Rounds = 200000;
    std::printf("\nSummary (unchanged file, last key read, mean of %d calls):\n", Rounds);
    for (const int keys : {60, 140}) {
        const QString path = fixture().buttonFile(keys);
        const QByteArray name = QFile::encodeName(path);
        const QString key = lastKey(keys);
        const double statNs = nanosecondsPerCall(Rounds, [&] {
            struct stat info {};
            benchmark::DoNotOptimize(::stat(name.constData(), &info));
        });
        const double getNs = nanosecondsPerCall(Rounds, [&] {
            benchmark::DoNotOptimize(fixture().ini.GetKeyValue(ButtonKey::Section, key, {}, {}, {}, path));
        });
        std::printf(
            "  %3d keys: GetKeyValue %7.0f ns   stat %6.0f ns   ratio %.1f x stat   (target 5000 ns)\n", keys,
            getNs, statNs, getNs / statNs);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (const int keys : {60, 140})
        writeButtonFile(fixture().buttonFile(keys), keys);
    // Files changed within two seconds are never served from the cache: let them settle.
    QThread::msleep(2100);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
