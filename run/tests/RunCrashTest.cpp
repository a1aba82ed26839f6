// Valdora.exe --run killed (SIGKILL) at random moments of an AutoNumber run, each time followed by a
// run to completion. After every kill the database is sound, no number is held twice and the counter
// is past every number written; after every completed run no temporary file is left.
//
// VALDORA_CRASH_KILLS and VALDORA_CRASH_CONTACTS make it a longer soak (scripts/crash-soak.sh).
#include "RunReliabilityFixture.h"

#include "core/testsupport/QtPrinters.h"
#include "host/embedded/DatabaseFactory.h"

#include <QElapsedTimer>
#include <QHash>
#include <QRandomGenerator>
#include <QThread>

#include <gtest/gtest.h>

namespace valdora::run::test {
namespace {

using valdora::test::readFile;

int fromEnvironment(const char* name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

class RunCrashTest : public RunReliabilityTest {
protected:
    /// Empties "User 1" of every contact, so that the next run numbers them all again.
    void clearTargets()
    {
        const std::unique_ptr<host::Database> database = host::createDatabase();
        database->OpenEx(m_database);
        host::ContactTable& contacts = database->Contact();
        const host::FieldId target = contacts.Fields().FieldID(QStringLiteral("User 1"));
        contacts.Query(QString());
        QStringList ids;
        for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
            ids << contacts.Data(host::FieldNumber::UniqueId);
        for (const QString& id : ids) {
            contacts.Goto(id);
            if (contacts.Data(target).isEmpty())
                continue;
            contacts.Edit();
            contacts.SetDataEx({target}, {QString()});
            ASSERT_EQ(contacts.Update(), id);
        }
        database->Close();
    }

    /// The numbers held now: every one at most once, the counter past the highest.
    void expectNoNumberTwice(const QString& counter, const QString& when)
    {
        QHash<int, int> seen;
        int highest = 0;
        for (const QString& number : column(QStringLiteral("User 1"))) {
            if (number.isEmpty())
                continue;
            const int value = number.toInt();
            ++seen[value];
            highest = std::max(highest, value);
        }
        for (auto it = seen.cbegin(); it != seen.cend(); ++it)
            EXPECT_EQ(it.value(), 1) << "number " << it.key() << " held twice " << when.toStdString();
        EXPECT_GT(readFile(counter).trimmed().toInt(), highest) << when.toStdString();
    }

    QStringList temporaries() const
    {
        QStringList found;
        for (const QString& folder : {m_program, m_program + QStringLiteral("/Settings"), m_settings->path()})
            found += temporariesIn(folder);
        return found;
    }
};

TEST_F(RunCrashTest, KilledRunsNeverHandOutANumberTwice)
{
    const int kills = fromEnvironment("VALDORA_CRASH_KILLS", 8);
    const int contacts = fromEnvironment("VALDORA_CRASH_CONTACTS", 1500);
    useContacts(contacts);
    const QString counter = m_program + QStringLiteral("/Crash.num");
    autoNumberButton(QStringLiteral("~101.ini"), counter, QStringLiteral("Over0"));
    // The button file itself is never rewritten by the run, so a kill cannot leave its temporary.
    writeButton(QStringLiteral("~101.ini"), {{"TargetDecimals", "-1"}});
    startHost();

    // A whole run first, to learn how long one takes here.
    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(valdora({"--run", "~101", "--scope", "all"}).code, 0);
    const qint64 wholeRunMs = std::max<qint64>(timer.elapsed(), 50);
    expectNoNumberTwice(counter, QStringLiteral("after the first run"));

    QRandomGenerator random(20261208u);
    int killedMidway = 0;
    for (int round = 1; round <= kills; ++round) {
        clearTargets();
        const std::unique_ptr<QProcess> run = startValdora({"--run", "~101", "--scope", "all"});
        QThread::msleep(static_cast<unsigned long>(random.bounded(wholeRunMs)));
        if (run->state() != QProcess::NotRunning) {
            run->kill();
            ++killedMidway;
        }
        run->waitForFinished(30000);
        const QString when = QStringLiteral("after kill %1").arg(round);
        EXPECT_EQ(integrity(), QStringLiteral("ok")) << when.toStdString();
        expectNoNumberTwice(counter, when);

        const valdora::test::CommandResult rest = valdora({"--run", "~101", "--scope", "all"});
        EXPECT_EQ(rest.code, 0) << rest.out.toStdString() << rest.err.toStdString();
        const QString after = QStringLiteral("after the run that followed kill %1").arg(round);
        expectNoNumberTwice(counter, after);
        EXPECT_FALSE(column(QStringLiteral("User 1")).contains(QString())) << after.toStdString();
        EXPECT_EQ(temporaries(), QStringList()) << after.toStdString();
        if (HasFailure())
            break;
    }
    std::printf("crash test: %d kills, %d of them during a run, %d contacts\n", kills, killedMidway,
                contacts);
}

TEST_F(RunCrashTest, KilledRunsAndKilledUndosAreTakenBackExactly)
{
    const int kills = std::max(fromEnvironment("VALDORA_CRASH_KILLS", 8) / 2, 2);
    const int contacts = fromEnvironment("VALDORA_CRASH_CONTACTS", 1500);
    useContacts(contacts);
    const QString counter = m_program + QStringLiteral("/Crash.num");
    autoNumberButton(QStringLiteral("~101.ini"), counter, QStringLiteral("Over0"));
    writeButton(QStringLiteral("~101.ini"), {{"TargetDecimals", "-1"}});
    startHost();

    QElapsedTimer timer;
    timer.start();
    ASSERT_EQ(valdora({"--run", "~101", "--scope", "all"}).code, 0);
    const qint64 wholeRunMs = std::max<qint64>(timer.elapsed(), 50);
    ASSERT_EQ(valdora({"--undo"}).code, 0);
    const QStringList untouched(contacts, QString());
    ASSERT_EQ(column(QStringLiteral("User 1")), untouched);

    const auto killAtRandom = [&](QRandomGenerator& random, const QStringList& arguments) {
        const std::unique_ptr<QProcess> process = startValdora(arguments);
        QThread::msleep(static_cast<unsigned long>(random.bounded(wholeRunMs)));
        const bool killed = process->state() != QProcess::NotRunning;
        if (killed)
            process->kill();
        process->waitForFinished(30000);
        return killed;
    };
    QRandomGenerator random(20261209u);
    int runsKilled = 0;
    int undosKilled = 0;
    for (int round = 1; round <= kills; ++round) {
        // A run killed halfway: its undo gives every contact back what it held.
        runsKilled += killAtRandom(random, {"--run", "~101", "--scope", "all"}) ? 1 : 0;
        const valdora::test::CommandResult undone = valdora({"--undo"});
        EXPECT_TRUE(undone.code == 0 || (undone.code == 2 && column(QStringLiteral("User 1")) == untouched))
            << undone.out.toStdString() << undone.err.toStdString();
        EXPECT_EQ(column(QStringLiteral("User 1")), untouched) << "after the undo of killed run " << round;

        // A whole run, its undo killed halfway: undoing it again finishes the job.
        ASSERT_EQ(valdora({"--run", "~101", "--scope", "all"}).code, 0);
        undosKilled += killAtRandom(random, {"--undo"}) ? 1 : 0;
        const valdora::test::CommandResult again = valdora({"--undo"});
        EXPECT_TRUE(again.code == 0 || again.code == 2) << again.out.toStdString() << again.err.toStdString();
        EXPECT_EQ(column(QStringLiteral("User 1")), untouched) << "after the killed undo of round " << round;
        EXPECT_EQ(valdora({"--undo"}).code, 2) << "nothing left to undo after round " << round;
        EXPECT_EQ(integrity(), QStringLiteral("ok"));
        if (HasFailure())
            break;
    }
    std::printf("crash test: %d rounds, %d runs and %d undos killed halfway, %d contacts\n", kills,
                runsKilled, undosKilled, contacts);
}

} // namespace
} // namespace valdora::run::test
