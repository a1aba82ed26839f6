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
    EXPECT_TRUE(window.text().startsWith(QStringLiteral("100 of 250 - "))) << window.text().toStdString();
    EXPECT_TRUE(window.text().endsWith(QStringLiteral(" s left"))) << window.text().toStdString();
    EXPECT_EQ(window.bar().maximum(), 250);
    EXPECT_EQ(window.bar().value(), 100);
    EXPECT_TRUE(window.isVisible());
}

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
    ProgressWindow late(UserSettings(m_settings.path()), 0);
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

} // namespace
} // namespace valdora::run
