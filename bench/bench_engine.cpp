// The value engine per call on the embedded database, beside the cost of one host Data read.
//
//   bench_engine [--benchmark_filter=...]

#include "engine/TableFieldReader.h"
#include "engine/ValueEngine.h"
#include "engine/tests/TestDatabase.h"
#include "run/ProgramProfile.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "settings/ButtonFile.h"
#include "settings/ProgramSession.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

using namespace valdora;

namespace {

constexpr int Contacts = 200;

/// One engine of Valdora over a database of Contacts contacts, with one button per scheme.
struct Bench {
    QTemporaryDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<ProgramSession> session;
    std::unique_ptr<host::Database> database;
    std::unique_ptr<engine::TableFieldReader> reader;
    engine::FieldValueTable fieldValues;
    std::unique_ptr<engine::ValueEngine> engine;
    QList<host::ContactId> ids;

    Bench()
    {
        QDir().mkpath(dir.path() + QStringLiteral("/buttons"));
        session = std::make_unique<ProgramSession>(platform, QStringLiteral("Valdora"), dir.path(),
                                                   UserSettings(dir.path()),
                                                   TextLocale(QLocale(QStringLiteral("en_US"))));
        session->setSettingsFile(dir.path() + QStringLiteral("/buttons/Valdora.ini"));
        database = engine::test::createTestDatabase(dir.path() + QStringLiteral("/contacts.db"));
        for (int i = 0; i < Contacts; ++i) {
            ids += engine::test::addTestContact(
                *database, {{QStringLiteral("Country"), QStringLiteral("Country %1").arg(i)},
                            {QStringLiteral("Amount"), QString::number(i)},
                            {QStringLiteral("Price"), QStringLiteral("%1.25").arg(i)},
                            {QStringLiteral("Birth Date"), QStringLiteral("3/20/1980")}});
        }
        reader = std::make_unique<engine::TableFieldReader>(database->Contact(), database->Users());
        fieldValues.reset(engine::test::maxFieldId(*database));
        engine = std::make_unique<engine::ValueEngine>(
            *session, *reader, fieldValues, run::ProgramProfile::valdora(session->locale()).engine);
        const QChar counter(0xFA);
        write(QStringLiteral("~100.ini"), {{"Type", "0"},
                                           {"Format", QStringLiteral("INV|") + counter},
                                           {"AutoIniFile", dir.path() + QStringLiteral("/Invoice.num")}});
        write(QStringLiteral("~101.ini"), {{"Type", "1"},
                                           {"Cond0", "1"},
                                           {"Field0", "Country"},
                                           {"Operator0", "7"},
                                           {"Condition0", "Country 1"},
                                           {"Value0", "yes"},
                                           {"Cond1", "1"},
                                           {"Field1", "Amount"},
                                           {"Operator1", "2"},
                                           {"Condition1", "100"},
                                           {"Value1", QStringLiteral("//[%1]*2").arg(fieldId("Amount"))}});
        write(QStringLiteral("~102.ini"), {{"Type", "2"},
                                           {"CalcField0", "Amount"},
                                           {"CalcTextOption1", "1"},
                                           {"CalcText1", "2.5"},
                                           {"CalcOperator0", "0"}});
        write(QStringLiteral("~103.ini"), {{"Type", "3"},
                                           {"CalcField0", "Price"},
                                           {"CalcTextOption1", "1"},
                                           {"CalcText1", "3"},
                                           {"CalcOperator", "1"}});
        write(QStringLiteral("~104.ini"), {{"Type", "4"}, {"NowDays", "7"}, {"NowFormatDate0", "1"}});
        write(QStringLiteral("~106.ini"), {{"Type", "6"}, {"DateField", "Birth Date"}, {"AgeFormat1", "1"}});
    }

    host::FieldId fieldId(const char* name)
    {
        return database->Contact().Fields().FieldID(QString::fromLatin1(name));
    }

    void write(const QString& file, const QList<std::pair<QString, QString>>& keys)
    {
        const ButtonFile button(session->ini(), session->buttonFilePath(file));
        for (const auto& [key, value] : keys)
            button.write(key, value);
    }
};

Bench& bench()
{
    static Bench instance;
    return instance;
}

void BM_HostData(benchmark::State& state)
{
    Bench& b = bench();
    host::ContactTable& contacts = b.database->Contact();
    const host::FieldId amount = b.fieldId("Amount");
    contacts.Goto(b.ids.front());
    for (auto _ : state)
        benchmark::DoNotOptimize(contacts.Data(amount));
}
BENCHMARK(BM_HostData);

void BM_HostGotoAndData(benchmark::State& state)
{
    Bench& b = bench();
    host::ContactTable& contacts = b.database->Contact();
    const host::FieldId amount = b.fieldId("Amount");
    qsizetype i = 0;
    for (auto _ : state) {
        contacts.Goto(b.ids.at(i++ % b.ids.size()));
        benchmark::DoNotOptimize(contacts.Data(amount));
    }
}
BENCHMARK(BM_HostGotoAndData);

void BM_StartCalc(benchmark::State& state)
{
    Bench& b = bench();
    b.database->Contact().Goto(b.ids.at(12));
    const QString expression =
        QStringLiteral("//([%1] + 5) * 2 - [%2] / 4").arg(b.fieldId("Amount")).arg(b.fieldId("Price"));
    for (auto _ : state)
        benchmark::DoNotOptimize(b.engine->calculator().Start_Calc(expression));
}
BENCHMARK(BM_StartCalc);

/// Obtain per contact, the contacts taken in turn as a run does.
void obtainPerContact(benchmark::State& state, qint16 type, const QString& file, bool advance)
{
    Bench& b = bench();
    b.engine->Initialize(type, 0, file);
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(b.engine->Obtain(type, b.ids.at(i++ % b.ids.size()), file, 0));
        if (type == codeOf(Scheme::AutoNumber)) {
            if (advance)
                b.engine->Update_AutoNumber(0);
            b.engine->releaseCounterLocks();
        }
    }
    if (!b.platform.messages().isEmpty())
        state.SkipWithError(qPrintable(b.platform.messageTexts().join(u'\n')));
}

BENCHMARK_CAPTURE(obtainPerContact, AutoNumber_unused, codeOf(Scheme::AutoNumber), QStringLiteral("~100.ini"),
                  false);
BENCHMARK_CAPTURE(obtainPerContact, AutoNumber_advanced, codeOf(Scheme::AutoNumber),
                  QStringLiteral("~100.ini"), true);
BENCHMARK_CAPTURE(obtainPerContact, Condition, codeOf(Scheme::Condition), QStringLiteral("~101.ini"), false);
BENCHMARK_CAPTURE(obtainPerContact, AddSubtract, codeOf(Scheme::AddSubtract), QStringLiteral("~102.ini"),
                  false);
BENCHMARK_CAPTURE(obtainPerContact, MultiplyDivide, codeOf(Scheme::MultiplyDivide),
                  QStringLiteral("~103.ini"), false);
BENCHMARK_CAPTURE(obtainPerContact, Now, codeOf(Scheme::Now), QStringLiteral("~104.ini"), false);
BENCHMARK_CAPTURE(obtainPerContact, Age, codeOf(Scheme::Age), QStringLiteral("~106.ini"), false);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
