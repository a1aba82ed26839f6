// Valdora.exe --run against a running headless host when things go wrong: a contact held by another
// user, two runs of one button at once, damaged definitions and counter files, a run stopped halfway.
// Whatever happens, no number is handed out twice, nothing is lost and no failure reads as success.
#include "RunReliabilityFixture.h"

#include "core/FileLock.h"
#include "core/testsupport/QtPrinters.h"
#include "host/tests/HostProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QThread>

#include <gtest/gtest.h>

#include <optional>

namespace valdora::run::test {
namespace {

using valdora::test::readFile;
using valdora::test::writeFile;

const QString User1 = QStringLiteral("User 1");
const QString EditDate = QStringLiteral("Edit Date");

TEST_F(RunReliabilityTest, LockedContactGivesItsNumberBack)
{
    const QString counter = m_program + QStringLiteral("/Invoice.num");
    ASSERT_TRUE(writeFile(counter, "0001\r\n"));
    autoNumberButton(QStringLiteral("~101.ini"), counter, QStringLiteral("Over3"));
    startHost();
    const QStringList ids = contactIds();
    const QString heldBefore = column(User1)[2];
    QProcess holder;
    ASSERT_TRUE(host::test::startLockHolder(holder, m_database, ids[2], 60));

    const valdora::test::CommandResult result = valdora({"--run", "~101", "--scope", "all"});
    holder.kill();
    EXPECT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";

    EXPECT_EQ(result.code, 1) << result.err.toStdString();
    EXPECT_EQ(result.out,
              QStringLiteral("~101.ini: 5 contacts in scope, 4 written, 0 left unchanged, 1 failed"));
    // Only a number really written is used up: the held contact's number goes to the next contact.
    EXPECT_EQ(column(User1), (QStringList{"0001", "0002", heldBefore, "0003", "0004"}));
    EXPECT_EQ(readFile(counter), QByteArray("0005\r\n"));
}

/// ValdoraAuto's run on the contact on screen, with ValdoraAuto's copy of an AutoNumber button into
/// "User 1" (field 27) as the editor saves it.
class OnScreenNumberTest : public RunReliabilityTest {
protected:
    void SetUp() override
    {
        RunReliabilityTest::SetUp();
        m_counter = m_program + QStringLiteral("/Screen.num");
        ASSERT_TRUE(writeFile(m_counter, "0007\r\n"));
        autoNumberButton(QStringLiteral("~101.ini"), m_counter, QStringLiteral("Over3"));
        writeButton(QStringLiteral("~101.ini"),
                    {{"TargetID", "27"}, {"TargetType", "1"}, {"AutoWarning0", "0"}});
        m_ids = contactIds();
        startHost();
        ASSERT_EQ(run({QStringLiteral("show"), m_ids[2]}).code, 0);
    }
    QString m_counter;
    QStringList m_ids;
};

TEST_F(OnScreenNumberTest, ContactHeldElsewhereGivesItsNumberBack)
{
    const QStringList before = column(User1);
    QProcess holder;
    ASSERT_TRUE(host::test::startLockHolder(holder, m_database, m_ids[2], 60));
    runOnScreen(QStringLiteral("~101.ini"));
    holder.kill();
    EXPECT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";

    ASSERT_EQ(m_platform.messageTexts().size(), 1) << m_platform.messageTexts().join('|').toStdString();
    EXPECT_TRUE(m_platform.messageTexts()[0].startsWith(QStringLiteral("Error 3260: ")));
    EXPECT_EQ(column(User1), before);
    EXPECT_EQ(readFile(m_counter), QByteArray("0007\r\n"));

    // Once the contact is free, that number is the one it gets.
    runOnScreen(QStringLiteral("~101.ini"));
    EXPECT_EQ(column(User1)[2], QStringLiteral("0007"));
    EXPECT_EQ(readFile(m_counter), QByteArray("0008\r\n"));
}

TEST_F(OnScreenNumberTest, DeclinedConfirmationUsesNoNumber)
{
    const QStringList before = column(User1);
    int asked = 0;
    const RunSummary summary = runOnScreen(QStringLiteral("~101.ini"), [&asked](const RunMember&) {
        ++asked;
        return false;
    });
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(column(User1), before);
    EXPECT_EQ(readFile(m_counter), QByteArray("0007\r\n"));
    EXPECT_EQ(summary.failed, 0);
}

TEST_F(RunReliabilityTest, TwoRunsOfOneFillEmptyButtonNeitherOverwriteNorSkipANumber)
{
    constexpr int Contacts = 400;
    useContacts(Contacts);
    const QString counter = m_program + QStringLiteral("/Shared.num");
    autoNumberButton(QStringLiteral("~101.ini"), counter, QStringLiteral("Over0"));
    startHost();
    const QStringList editDatesBefore = column(EditDate);

    // The first contact on screen: each run writes it at once, and the other run must still start
    // while that write holds the contact's record lock.
    ASSERT_EQ(run({QStringLiteral("show"), contactIds().first()}).code, 0);

    const std::unique_ptr<QProcess> first = startValdora({"--run", "~101", "--scope", "all"});
    const std::unique_ptr<QProcess> second = startValdora({"--run", "~101", "--scope", "all"});
    ASSERT_TRUE(first->waitForFinished(180000)) << "first did not end within the wait";
    ASSERT_TRUE(second->waitForFinished(180000)) << "second did not end within the wait";

    // Each contact holds one number, every number 1..Contacts is used once and the counter is past them:
    // a number computed for a contact the other run filled meanwhile was never written nor used up.
    const QStringList numbers = column(User1);
    QSet<int> distinct;
    for (const QString& number : numbers)
        distinct.insert(number.toInt());
    EXPECT_EQ(distinct.size(), Contacts);
    EXPECT_FALSE(distinct.contains(0));
    EXPECT_EQ(*std::max_element(distinct.begin(), distinct.end()), Contacts);
    EXPECT_EQ(readFile(counter).trimmed(), QByteArray::number(Contacts + 1));
    // Each contact was committed once: the runs' written counts add up to the contacts.
    int written = 0;
    static const QRegularExpression count(QStringLiteral(", (\\d+) written,"));
    for (QProcess* run : {first.get(), second.get()}) {
        const QString line = QString::fromLocal8Bit(run->readAllStandardOutput());
        const QRegularExpressionMatch match = count.match(line);
        ASSERT_TRUE(match.hasMatch()) << line.toStdString() << run->readAllStandardError().toStdString();
        written += match.captured(1).toInt();
    }
    EXPECT_EQ(written, Contacts);
    EXPECT_NE(column(EditDate), editDatesBefore);
}

// Three runs of different AutoNumber buttons at once over one database, sharing one counter: the
// counter's lock and the databases' write locks are never waited for in opposite orders, so every run
// finishes, and no number is handed out twice nor lost.
TEST_F(RunReliabilityTest, ThreeRunsSharingOneCounterAllFinish)
{
    constexpr int Contacts = 300;
    useContacts(Contacts);
    const QString counter = m_program + QStringLiteral("/Shared.num");
    const QStringList targets{QStringLiteral("User 1"), QStringLiteral("User 2"), QStringLiteral("User 3")};
    for (int i = 0; i < 3; ++i) {
        const QString button = QStringLiteral("~10%1.ini").arg(i + 1);
        autoNumberButton(button, counter, QStringLiteral("Over3"));
        writeButton(button, {{"Target", targets[i]}, {"TargetDecimals", "-1"}});
    }
    startHost();
    ASSERT_EQ(run({QStringLiteral("show"), contactIds().last()}).code, 0);

    std::vector<std::unique_ptr<QProcess>> runs;
    for (int i = 0; i < 3; ++i)
        runs.push_back(startValdora({"--run", QStringLiteral("~10%1").arg(i + 1), "--scope", "all"}));
    int failed = 0;
    const QRegularExpression failedCount(QStringLiteral("(\\d+) failed"));
    for (const std::unique_ptr<QProcess>& process : runs) {
        ASSERT_TRUE(process->waitForFinished(300000)) << "a run did not end within five minutes";
        const QString out = QString::fromLocal8Bit(process->readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(process->readAllStandardError());
        const QRegularExpressionMatch counted = failedCount.match(out);
        ASSERT_TRUE(counted.hasMatch()) << out.toStdString() << err.toStdString();
        failed += counted.captured(1).toInt();
        // A contact the other runs hold at that moment may fail (and is kept for the retry); the run
        // itself goes to its end, without waiting for a lock that is never released.
        EXPECT_FALSE(out.contains(QStringLiteral("not reached"))) << out.toStdString() << err.toStdString();
        EXPECT_FALSE(err.contains(QStringLiteral("in use"))) << err.toStdString();
        EXPECT_FALSE(err.contains(QStringLiteral("database is locked"))) << err.toStdString();
    }
    QSet<int> distinct;
    int numbers = 0;
    for (const QString& target : targets) {
        for (const QString& number : column(target)) {
            if (number.isEmpty())
                continue;
            ++numbers;
            distinct.insert(number.toInt());
        }
    }
    EXPECT_EQ(distinct.size(), numbers) << "a number held twice";
    // How many contacts meet another run's lock depends on the machine's load; what may not vary is
    // that each contact either got its number or was reported failed (and kept for the retry).
    EXPECT_EQ(numbers + failed, 3 * Contacts) << "a contact neither written nor reported failed";
    EXPECT_GT(numbers, Contacts);
    EXPECT_EQ(readFile(counter).trimmed(), QByteArray::number(numbers + 1)) << "a number lost";
}

TEST_F(RunReliabilityTest, TypeThatIsNoNumberIsReportedAndWritesNothing)
{
    const QString counter = m_program + QStringLiteral("/AutoNumber_~101.num");
    writeButton(QStringLiteral("~101.ini"),
                {{"Type", "abc"}, {"Target", User1}, {"Format", CounterMarker}, {"Over3", "1"}});
    startHost();
    const QStringList before = column(User1);
    const QStringList editDates = column(EditDate);

    const valdora::test::CommandResult result = valdora({"--run", "~101", "--scope", "all"});

    EXPECT_NE(result.code, 0);
    EXPECT_EQ(result.out, QStringLiteral("~101.ini: not run"));
    EXPECT_EQ(result.err.count(QStringLiteral("Error 13: ")), 1) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("\"abc\""))) << result.err.toStdString();
    EXPECT_EQ(column(User1), before);
    EXPECT_EQ(column(EditDate), editDates);
    EXPECT_FALSE(QFile::exists(counter));
}

TEST_F(RunReliabilityTest, NowDaysThatAreNoNumberAreReportedOnceAndWriteNothing)
{
    writeButton(
        QStringLiteral("~100.ini"),
        {{"Type", "4"}, {"Target", User1}, {"NowDays", "7x"}, {"NowFormatDate0", "1"}, {"Over3", "1"}});
    startHost();
    const QStringList before = column(User1);
    const QStringList editDates = column(EditDate);

    const valdora::test::CommandResult result = valdora({"--run", "~100", "--scope", "all"});

    EXPECT_NE(result.code, 0);
    EXPECT_EQ(result.out, QStringLiteral("~100.ini: not run"));
    EXPECT_EQ(result.err.count(QStringLiteral("Error 13: ")), 1) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("Sub Initialize_Now"))) << result.err.toStdString();
    EXPECT_EQ(column(User1), before);
    EXPECT_EQ(column(EditDate), editDates) << "no contact is committed";
    // Nothing was written, so the journal has nothing to undo.
    const valdora::test::CommandResult runs = valdora({"--runs"});
    EXPECT_FALSE(runs.out.contains(QStringLiteral("~100"))) << runs.out.toStdString();
}

TEST_F(RunReliabilityTest, OnScreenMemberThatCannotBePreparedWritesNothing)
{
    writeButton(QStringLiteral("~100.ini"), {{"Type", "4"},
                                             {"Target", User1},
                                             {"TargetID", "27"},
                                             {"TargetType", "1"},
                                             {"NowDays", "7x"},
                                             {"AutoWarning0", "0"},
                                             {"Over3", "1"}});
    startHost();
    const QStringList before = column(User1);

    const RunSummary summary = runOnScreen(QStringLiteral("~100.ini"));

    EXPECT_EQ(column(User1), before);
    EXPECT_EQ(summary.written, 0);
    ASSERT_EQ(m_platform.messageTexts().size(), 1) << m_platform.messageTexts().join('|').toStdString();
    EXPECT_TRUE(m_platform.messageTexts()[0].startsWith(QStringLiteral("Error 13: ")));
}

struct OnScreenKeyCase {
    const char* name;
    const char* key;
    const char* value;
};

void PrintTo(const OnScreenKeyCase& row, std::ostream* os)
{
    *os << row.name;
}

class OnScreenDamagedKeyTest : public RunReliabilityTest,
                               public ::testing::WithParamInterface<OnScreenKeyCase> {};

// ValdoraAuto reads the target from the button file: a key that is no number stands for no field and
// no decimal places, and the button writes nothing.
TEST_P(OnScreenDamagedKeyTest, WritesNothingAndNamesTheKey)
{
    writeButton(QStringLiteral("~100.ini"), {{"Type", "4"},
                                             {"Target", User1},
                                             {"TargetID", "27"},
                                             {"TargetType", "1"},
                                             {"TargetDecimals", "-1"},
                                             {"AutoWarning0", "0"},
                                             {"Over3", "1"}});
    writeButton(QStringLiteral("~100.ini"),
                {{QString::fromLatin1(GetParam().key), QString::fromLatin1(GetParam().value)}});
    startHost();
    const QStringList before = column(User1);

    const RunSummary summary = runOnScreen(QStringLiteral("~100.ini"));

    EXPECT_EQ(column(User1), before);
    EXPECT_EQ(summary.written, 0);
    ASSERT_EQ(m_platform.messageTexts().size(), 1) << m_platform.messageTexts().join('|').toStdString();
    EXPECT_TRUE(m_platform.messageTexts()[0].startsWith(QStringLiteral("Error 13: ")));
    EXPECT_TRUE(m_platform.messageTexts()[0].contains(QString::fromLatin1(GetParam().key)));
}

INSTANTIATE_TEST_SUITE_P(Keys, OnScreenDamagedKeyTest,
                         ::testing::Values(OnScreenKeyCase{"TargetId", "TargetID", "27x"},
                                           OnScreenKeyCase{"TargetType", "TargetType", "text"},
                                           OnScreenKeyCase{"TargetDecimals", "TargetDecimals", "2x"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnusableCounterRun {
    const char* name;
    const char* file;                  // under the program folder
    std::optional<QByteArray> content; // "<dir>" makes it a folder
    bool readOnlyFolder;
    const char* reason;
};

void PrintTo(const UnusableCounterRun& row, std::ostream* os)
{
    *os << row.name;
}

class UnusableCounterRunTest : public RunReliabilityTest,
                               public ::testing::WithParamInterface<UnusableCounterRun> {};

TEST_P(UnusableCounterRunTest, StopsBeforeTheFirstWriteAndSaysWhy)
{
    const UnusableCounterRun& row = GetParam();
    const QString counter = m_program + QStringLiteral("/") + QString::fromLatin1(row.file);
    if (row.content && *row.content == "<dir>") {
        ASSERT_TRUE(QDir().mkpath(counter));
    } else if (row.content) {
        ASSERT_TRUE(writeFile(counter, *row.content));
    }
    const QString folder = QFileInfo(counter).absolutePath();
    if (row.readOnlyFolder) {
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    autoNumberButton(QStringLiteral("~101.ini"), counter, QStringLiteral("Over3"));
    startHost();
    const QStringList before = column(User1);
    const QStringList editDates = column(EditDate);

    const valdora::test::CommandResult result = valdora({"--run", "~101", "--scope", "all"});
    if (row.readOnlyFolder)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    EXPECT_NE(result.code, 0);
    EXPECT_EQ(result.out, QStringLiteral("~101.ini: not run"));
    // One message, naming the file and the real reason.
    EXPECT_EQ(result.err.count(QStringLiteral("Valdora error: ")), 1) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QDir::toNativeSeparators(counter))) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QString::fromLatin1(row.reason))) << result.err.toStdString();
    EXPECT_EQ(column(User1), before);
    EXPECT_EQ(column(EditDate), editDates) << "no contact is committed";
    if (row.content && *row.content != "<dir>") {
        EXPECT_EQ(readFile(counter), *row.content);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Counters, UnusableCounterRunTest,
    ::testing::Values(
        UnusableCounterRun{"FolderMissing", "gone/X.num", std::nullopt, false, "does not exist"},
        UnusableCounterRun{"ReadOnlyFolder", "locked/X.num", QByteArray("0007\r\n"), true, "is read-only"},
        UnusableCounterRun{"PathIsAFolder", "X.num", QByteArray("<dir>"), false, "it is a folder"},
        UnusableCounterRun{"Garbage", "X.num", QByteArray("twelve\r\n"), false, "holds \"twelve\""},
        UnusableCounterRun{"EmptyFile", "X.num", QByteArray(""), false, "holds no number"},
        UnusableCounterRun{"Negative", "X.num", QByteArray("-5\r\n"), false, "holds \"-5\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunReliabilityTest, RunStoppedHalfwayExitsNonZeroAndItsCountsAddUp)
{
    constexpr int Contacts = 3000;
    useContacts(Contacts);
    const QString counter = m_program + QStringLiteral("/Spoiled.num");
    autoNumberButton(QStringLiteral("~101.ini"), counter, QStringLiteral("Over3"));
    startHost();

    const std::unique_ptr<QProcess> run = startValdora({"--run", "~101", "--scope", "all"});
    // Once the run is under way, the counter is spoiled between two of its contacts: under the
    // counter's own lock, as another program that writes it would.
    QElapsedTimer timer;
    timer.start();
    while (readFile(counter).trimmed().toInt() < 50 && timer.elapsed() < 60000)
        QThread::msleep(5);
    ASSERT_GE(readFile(counter).trimmed().toInt(), 50) << "the run did not take its 50th number within 60 s";
    {
        const FileLock lock(counter, 10000);
        ASSERT_TRUE(lock.isLocked());
        ASSERT_TRUE(writeFile(counter, "spoiled\r\n"));
    }
    ASSERT_TRUE(run->waitForFinished(120000)) << "run did not end within the wait";
    const QString out = QString::fromLocal8Bit(run->readAllStandardOutput()).trimmed();
    const QString err = QString::fromLocal8Bit(run->readAllStandardError()).trimmed();

    EXPECT_EQ(run->exitCode(), 1) << out.toStdString();
    static const QRegularExpression summary(
        QStringLiteral("^~101\\.ini: 3000 contacts in scope, (\\d+) written, 0 left unchanged, 1 failed, "
                       "(\\d+) not reached$"));
    const QRegularExpressionMatch match = summary.match(out);
    ASSERT_TRUE(match.hasMatch()) << out.toStdString();
    const int written = match.captured(1).toInt();
    EXPECT_EQ(written + 1 + match.captured(2).toInt(), Contacts);
    EXPECT_TRUE(err.contains(QStringLiteral("holds \"spoiled\""))) << err.toStdString();
    // What was written is 1..written, once each; the rest is untouched.
    const QStringList numbers = column(User1);
    QSet<int> distinct;
    int filled = 0;
    for (const QString& number : numbers) {
        if (number.isEmpty() || !number.front().isDigit())
            continue;
        ++filled;
        distinct.insert(number.toInt());
    }
    EXPECT_EQ(filled, written);
    EXPECT_EQ(distinct.size(), written);
    EXPECT_EQ(readFile(counter), QByteArray("spoiled\r\n"));
}

} // namespace
} // namespace valdora::run::test
