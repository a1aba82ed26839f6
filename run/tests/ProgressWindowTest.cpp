// The progress window against the values a run writes: counting, n of Total with the time left, and
// closing by itself when the run is over, also as the real pb.exe.
#include "run/pb/ProgressWindow.h"
#include "run/ProgressWriter.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/TestEnvironment.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace valdora::run {
namespace {

class ProgressWindowTest : public ::testing::Test {
protected:
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
    ASSERT_TRUE(program.waitForStarted(5000));
    m_writer.setTotal(3);
    m_writer.setStage(2);
    EXPECT_FALSE(program.waitForFinished(600)) << "the window stays while the run goes on";
    m_writer.setStage(0);
    EXPECT_TRUE(program.waitForFinished(5000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}

} // namespace
} // namespace valdora::run
