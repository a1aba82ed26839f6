// The progress window against the values a run writes: counting, n of Total with the time left, and
// closing by itself when the run is over or its process is gone, also as the real pb.exe.
#include "run/pb/ProgressWindow.h"
#include "run/ProgressWriter.h"
#include "run/pb/ProgressArguments.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/TestEnvironment.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include <gtest/gtest.h>

namespace valdora::run {
namespace {

class ProgressWindowTest : public ::testing::Test {
protected:
    // A process that stands for the run: it runs until the test kills it.
    static void startRun(QProcess& run)
    {
        run.start(QStringLiteral("sleep"), {QStringLiteral("300")});
        ASSERT_TRUE(run.waitForStarted(5000)) << run.errorString().toStdString();
    }
    static void killRun(QProcess& run)
    {
        run.kill(); // SIGKILL: the run writes no last stage
        ASSERT_TRUE(run.waitForFinished(5000)) << "run did not end within the wait";
    }
    void preparePbExe(QProcess& program) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("VALDORA_USER_SETTINGS"), m_settings.path());
        program.setProcessEnvironment(environment);
        program.setProgram(test::binaryFolder() + QStringLiteral("/pb.exe"));
    }

    test::TemporaryUserSettings m_settings;
    ProgressWriter m_writer{UserSettings(m_settings.path())};
};

TEST_F(ProgressWindowTest, ShowsCountingThenContactsOfTotalWithTimeLeft)
{
    ProgressWindow window(UserSettings(m_settings.path()));
    window.show();
    m_writer.setStatus(QStringLiteral("On"));
    m_writer.setStage(-1);
    window.poll();
    EXPECT_EQ(window.text(), QStringLiteral("Counting contacts: 1"));
    EXPECT_EQ(window.bar().maximum(), 0) << "a busy bar while counting";

    m_writer.setStage(-250);
    window.poll();
    EXPECT_EQ(window.text(), QStringLiteral("Counting contacts: 250"));

    m_writer.setTotal(250);
    m_writer.setStage(100);
    window.poll();
    // The first contact seen gives no pace yet: a window started late (an undo's) sees the run's
    // contacts from the middle, and a time left from them would be far too short.
    EXPECT_EQ(window.text(), QStringLiteral("100 of 250"));
    EXPECT_EQ(window.bar().maximum(), 250);
    EXPECT_EQ(window.bar().value(), 100);

    m_writer.setStage(150);
    window.poll();
    EXPECT_TRUE(window.text().startsWith(QStringLiteral("150 of 250 - "))) << window.text().toStdString();
    EXPECT_TRUE(window.text().endsWith(QStringLiteral(" s left"))) << window.text().toStdString();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(ProgressWindowTest, SaysSoWhileTheRunWaitsForAnAnswer)
{
    ProgressWindow window(UserSettings(m_settings.path()));
    window.show();
    m_writer.setStage(-3);
    m_writer.setWaiting(true);
    window.poll();
    EXPECT_EQ(window.text(), QStringLiteral("Waiting for your answer to Valdora's message..."))
        << "not counting while nothing is counted";
    m_writer.setWaiting(false);
    window.poll();
    EXPECT_EQ(window.text(), QStringLiteral("Counting contacts: 3"));
}

TEST_F(ProgressWindowTest, EndsWithTheRunsSummaryThenCloses)
{
    ProgressWindow window(UserSettings(m_settings.path()));
    window.show();
    m_writer.setSummary(QString());
    m_writer.setTotal(2);
    m_writer.setStage(2);
    window.poll();
    const QString summary = QStringLiteral("\"Times\": 2 contacts written, 0 unchanged, 0 failed.");
    m_writer.setSummary(summary);
    m_writer.setStage(0);
    window.poll();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.showsSummary());
    EXPECT_EQ(window.text(), summary);
    EXPECT_EQ(window.bar().value(), window.bar().maximum());
    QTest::mouseClick(&window, Qt::LeftButton);
    EXPECT_FALSE(window.isVisible()) << "a click closes the summary";

    // A run without a summary closes as before.
    ProgressWindow plain(UserSettings(m_settings.path()));
    plain.show();
    m_writer.setSummary(QString());
    m_writer.setStage(1);
    plain.poll();
    m_writer.setStage(0);
    plain.poll();
    EXPECT_FALSE(plain.isVisible());
}

struct LanguageCase {
    const char* name;
    qint16 base;
    const char* counting;
};

class ProgressWindowLanguageTest : public ProgressWindowTest,
                                   public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(ProgressWindowLanguageTest, SpeaksTheLanguageOfTheRun)
{
    ProgressWindow window(UserSettings(m_settings.path()), GetParam().base);
    EXPECT_NE(window.text(), QString());
    m_writer.setStage(-4);
    window.poll();
    EXPECT_EQ(window.text(), QString::fromUtf8(GetParam().counting));
}

INSTANTIATE_TEST_SUITE_P(Languages, ProgressWindowLanguageTest,
                         ::testing::Values(LanguageCase{"English", 300, "Counting contacts: 4"},
                                           LanguageCase{"French", 1300, "Comptage des contacts\u00a0: 4"},
                                           LanguageCase{"German", 2300, "Kontakte werden gezählt: 4"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ClosingCase {
    const char* name;
    qint64 stage;
};

class ProgressWindowClosingTest : public ProgressWindowTest,
                                  public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(ProgressWindowClosingTest, ClosesWhenTheRunIsOver)
{
    ProgressWindow window(UserSettings(m_settings.path()));
    window.show();
    m_writer.setStage(-1);
    window.poll();
    m_writer.setStage(GetParam().stage);
    window.poll();
    EXPECT_FALSE(window.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Ends, ProgressWindowClosingTest,
                         ::testing::Values(ClosingCase{"Done", 0},
                                           ClosingCase{"MemberMissing", ProgressWriter::MemberMissing}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ProgressWindowTest, ClosingStageOfAnEarlierRunIsIgnoredRightAfterStart)
{
    m_writer.setStage(0);
    ProgressWindow window(UserSettings(m_settings.path()));
    window.show();
    window.poll();
    EXPECT_TRUE(window.isVisible()) << "the new run has not written its first stage yet";

    // Once the grace time is over, a closing stage closes even a window that saw no run.
    ProgressWindow late(UserSettings(m_settings.path()), 300, 0);
    late.show();
    late.poll();
    EXPECT_FALSE(late.isVisible());
}

TEST_F(ProgressWindowTest, ProgramEndsByItselfWhenTheRunEnds)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VALDORA_USER_SETTINGS"), m_settings.path());
    program.setProcessEnvironment(environment);
    m_writer.setStage(-1);
    program.start(test::binaryFolder() + QStringLiteral("/pb.exe"), {});
    ASSERT_TRUE(program.waitForStarted(5000)) << "program did not start within the wait";
    m_writer.setTotal(3);
    m_writer.setStage(2);
    EXPECT_FALSE(program.waitForFinished(600)) << "the window stays while the run goes on";
    m_writer.setStage(0);
    EXPECT_TRUE(program.waitForFinished(5000)) << "program did not end within the wait";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

TEST_F(ProgressWindowTest, WindowClosesOnceTheRunProcessIsGone)
{
    QProcess run;
    startRun(run);
    ProgressWindow window(UserSettings(m_settings.path()));
    window.watchRun(run.processId());
    window.show();
    m_writer.setTotal(3);
    m_writer.setStage(1);
    window.poll();
    EXPECT_TRUE(window.isVisible()) << "the run goes on";
    killRun(run);
    window.poll();
    EXPECT_FALSE(window.isVisible()) << "the run died in the middle, without a last stage";
}

TEST_F(ProgressWindowTest, ProgramEndsSoonAfterTheRunThatStartedItIsKilled)
{
    QProcess run;
    startRun(run);
    QProcess program;
    preparePbExe(program);
    program.setArguments(progressWindowArguments(run.processId()));
    m_writer.setStage(-1);
    program.start();
    ASSERT_TRUE(program.waitForStarted(5000)) << "program did not start within the wait";
    m_writer.setTotal(3);
    m_writer.setStage(1);
    EXPECT_FALSE(program.waitForFinished(800)) << "the window stays while the run goes on";
    killRun(run);
    QElapsedTimer closing;
    closing.start();
    EXPECT_TRUE(program.waitForFinished(5000)) << "program did not end within the wait";
    EXPECT_LT(closing.elapsed(), 2000) << "the window closes soon after the run is gone";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

TEST_F(ProgressWindowTest, ProgramWithoutTheRunsProcessIdKeepsWaitingForTheLastStage)
{
    QProcess program;
    preparePbExe(program);
    m_writer.setStage(-1);
    program.start();
    ASSERT_TRUE(program.waitForStarted(5000)) << "program did not start within the wait";
    EXPECT_FALSE(program.waitForFinished(800));
    m_writer.setStage(0);
    EXPECT_TRUE(program.waitForFinished(5000)) << "program did not end within the wait";
}

struct ArgumentCase {
    const char* name;
    QStringList arguments;
    std::optional<qint64> runPid;
};

// Test names in CTest carry the row's name, not its bytes.
void PrintTo(const ArgumentCase& row, std::ostream* os)
{
    *os << row.name;
}

class RunPidArgumentTest : public ::testing::TestWithParam<ArgumentCase> {};

TEST_P(RunPidArgumentTest, ReadsTheRunsProcessId)
{
    EXPECT_EQ(runPidArgument(GetParam().arguments), GetParam().runPid);
}

INSTANTIATE_TEST_SUITE_P(
    Arguments, RunPidArgumentTest,
    ::testing::Values(ArgumentCase{"None", {}, std::nullopt},
                      ArgumentCase{"AsARunPassesIt", progressWindowArguments(4242), 4242},
                      ArgumentCase{"AmongOthers", {"-style", "fusion", "--run-pid", "77"}, 77},
                      ArgumentCase{"ValueMissing", {"--run-pid"}, std::nullopt},
                      ArgumentCase{"NotANumber", {"--run-pid", "abc"}, std::nullopt},
                      // kill() takes 0 and negative ids for process groups.
                      ArgumentCase{"Zero", {"--run-pid", "0"}, std::nullopt},
                      ArgumentCase{"Negative", {"--run-pid", "-1"}, std::nullopt},
                      ArgumentCase{"OtherSpelling", {"--runpid", "77"}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProgressArguments, TheRunNamesItsLanguage)
{
    EXPECT_EQ(languageArgument(progressWindowArguments(4242, 2300)), 2300);
    EXPECT_EQ(languageArgument(progressWindowArguments(4242, 1300)), 1300);
    EXPECT_EQ(languageArgument({}), 300) << "English when not named";
    EXPECT_EQ(languageArgument({LanguageOption, QStringLiteral("99")}), 300);
}

} // namespace
} // namespace valdora::run
