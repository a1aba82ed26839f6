#include "EngineTestBed.h"

#include "core/testsupport/ReportedError.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSet>

#include <gtest/gtest.h>

namespace valdora::engine::test {
namespace {

QString helperProgram()
{
    return valdora::test::binaryFolder() + QStringLiteral("/engine_counter_helper");
}

/// Starts a helper that obtains one number and holds its counter until it is killed. Its own
/// temporaries go into `dir`, which the test removes: a killed process cannot remove them itself.
void startHolder(QProcess& holder, const QTemporaryDir& dir, const QString& counterFile)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), dir.path());
    holder.setProcessEnvironment(environment);
    holder.start(helperProgram(),
                 {dir.path() + "/h", counterFile, QStringLiteral("1"), QStringLiteral("hold")});
}

QStringList outputLines(QProcess& process)
{
    return QString::fromLocal8Bit(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

TEST(CounterConcurrency, TwoProcessesNeverHandOutTheSameNumber)
{
    QTemporaryDir dir;
    const QString counterFile = dir.path() + QStringLiteral("/Shared.num");
    ASSERT_TRUE(valdora::test::writeFile(counterFile, "0001\r\n"));
    constexpr int PerProcess = 150;

    QProcess first;
    QProcess second;
    first.start(helperProgram(), {dir.path() + "/a", counterFile, QString::number(PerProcess)});
    second.start(helperProgram(), {dir.path() + "/b", counterFile, QString::number(PerProcess)});
    ASSERT_TRUE(first.waitForFinished(120000)) << first.errorString().toStdString();
    ASSERT_TRUE(second.waitForFinished(120000)) << second.errorString().toStdString();
    EXPECT_EQ(first.exitCode(), 0) << first.readAllStandardError().toStdString();
    EXPECT_EQ(second.exitCode(), 0) << second.readAllStandardError().toStdString();

    const QStringList numbers = outputLines(first) + outputLines(second);
    ASSERT_EQ(numbers.size(), 2 * PerProcess);
    const QSet<QString> distinct(numbers.begin(), numbers.end());
    EXPECT_EQ(distinct.size(), 2 * PerProcess);
    for (int n = 1; n <= 2 * PerProcess; ++n)
        EXPECT_TRUE(distinct.contains(QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0')))) << n;
    EXPECT_EQ(valdora::test::readFile(counterFile), QByteArray("0301\r\n"));
}

TEST(CounterConcurrency, LockOfAnEndedProcessDoesNotBlock)
{
    QTemporaryDir dir;
    const QString counterFile = dir.path() + QStringLiteral("/Held.num");
    ASSERT_TRUE(valdora::test::writeFile(counterFile, "41\r\n"));

    QProcess holder;
    startHolder(holder, dir, counterFile);
    ASSERT_TRUE(holder.waitForReadyRead(60000));
    EXPECT_EQ(outputLines(holder), QStringList{QStringLiteral("41")});
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(10000)) << "holder did not end within the wait";

    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    const QString button =
        bed.writeButton(QStringLiteral("~101.ini"),
                        {{"Type", "0"}, {"Format", QString(QChar(0xFA))}, {"AutoIniFile", counterFile}});
    const host::ContactId contact = bed.addContact({});
    QElapsedTimer timer;
    timer.start();
    // The number the ended process did not use is handed out again, without waiting.
    EXPECT_EQ(bed.compute(codeOf(Scheme::AutoNumber), button, contact), QStringLiteral("41"));
    EXPECT_LT(timer.elapsed(), 2000);
    bed.engine().Update_AutoNumber(0);
    EXPECT_EQ(valdora::test::readFile(counterFile), QByteArray("42\r\n"));
}

TEST(CounterConcurrency, HeldCounterFileIsReportedAfterTheWait)
{
    QTemporaryDir dir;
    const QString counterFile = dir.path() + QStringLiteral("/Busy.num");
    ASSERT_TRUE(valdora::test::writeFile(counterFile, "7\r\n"));

    QProcess holder;
    startHolder(holder, dir, counterFile);
    ASSERT_TRUE(holder.waitForReadyRead(60000));

    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Auto);
    bed.engine().context().options.counterLockTimeoutMs = 300;
    ValueEngine engine(bed.session(), bed.engine().context().reader, bed.fieldValues(),
                       bed.engine().context().options);
    const QString button =
        bed.writeButton(QStringLiteral("~101.ini"),
                        {{"Type", "0"}, {"Format", QString(QChar(0xFA))}, {"AutoIniFile", counterFile}});
    const host::ContactId contact = bed.addContact({});
    engine.Initialize(codeOf(Scheme::AutoNumber), 0, button);
    // No number rather than a number another process may hand out too.
    EXPECT_EQ(engine.Obtain(codeOf(Scheme::AutoNumber), contact, button, 0), QString());
    ASSERT_EQ(bed.messages().size(), 1);
    EXPECT_TRUE(valdora::test::reportsError(int(ErrorNumber::PermissionDenied), bed.messages().front()));
    EXPECT_TRUE(bed.messages().front().contains(
        QStringLiteral("in frmAutoMain: Function Obtain_AutoNumber - Line # ")));
    holder.kill();
    holder.waitForFinished(10000);
    EXPECT_EQ(valdora::test::readFile(counterFile), QByteArray("7\r\n"));
}

} // namespace
} // namespace valdora::engine::test
