// The integration on the real programs: Valdora placed on the host's toolbar through the integration
// window, the host restarted through the bar's unload, the command shown by the host's window and
// started from it, and the Valdora it starts coming up on the restarted host and ending with it.
#include "bar/BarShutdown.h"
#include "bar/options/windows/IntegrateWindow.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "host/app/AuxCommandStore.h"
#include "host/app/ContactWindow.h"
#include "host/app/HostApplication.h"
#include "host/client/ClientFactories.h"
#include "host/client/RunningHost.h"
#include "host/embedded/DatabaseFactory.h"
#include "run/tests/ProgramOnHostFixture.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

class IntegrationEndToEnd : public run::test::ProgramOnHostTest {
protected:
    void SetUp() override
    {
        ProgramOnHostTest::SetUp();
        // The restart starts the host again from its own folder, so the host keeps the build's.
        m_hostProgramFolder.clear();
        ASSERT_NO_FATAL_FAILURE(startHost());
        const UserSettings& store = m_session->userSettings();
        store.set(Application::Valdora, "Settings", "Installed", "1");
        store.set(Application::Valdora, "Settings", "Version", "313");
        store.set(Application::Valdora, "Options", "Language", "0");
    }

    /// Starts a program as the shell starts it for the host, as the host process of the test.
    void startAsHost(const ProgramStart& start)
    {
        m_host = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        m_host->setProcessEnvironment(environment);
        m_host->setWorkingDirectory(start.workingFolder);
        m_host->start(start.program, start.arguments);
        ASSERT_TRUE(m_host->waitForStarted(5000)) << "m_host did not start within the wait";
        QElapsedTimer timer;
        timer.start();
        while (!host::runningHostDatabasePath() && timer.elapsed() < 10000) {
            ASSERT_NE(m_host->state(), QProcess::NotRunning) << m_host->readAllStandardError().toStdString();
            QTest::qWait(20);
        }
        ASSERT_TRUE(host::runningHostDatabasePath().has_value()) << "the host did not come up again";
    }
};

TEST_F(IntegrationEndToEnd, ValdoraPlacedOnTheToolbarStartsFromTheRestartedHost)
{
    // Valdora as it runs from the suite's program folder, with its link to the running host.
    const QString suiteFolder = QFileInfo(QStringLiteral(VALDORA_PROGRAM)).absolutePath();
    ScriptedPlatform platform;
    ProgramSession session(platform, QStringLiteral("Valdora"), suiteFolder, m_session->userSettings());
    BarConnection connection;
    connection.host.application = host::createApplication();
    connection.host.database = host::createDatabase();
    connection.host.database->OpenEx(QString());
    BarFlags flags;

    valdora::test::inNextModal([&platform](QWidget& window) {
        valdora::test::click(window, QStringLiteral("chkScreen_0"));
        platform.answerNextMessage(MessageAnswer::Yes);
        valdora::test::click(window, QStringLiteral("cmdOK"));
    });
    UnloadEnd end = UnloadEnd::Now;
    ASSERT_TRUE(IntegrateWindow::edit(session, &host::createAuxCommands, flags,
                                      [&] { end = unloadBar(session, connection, flags, QPoint(0, 0)); }));
    EXPECT_EQ(end, UnloadEnd::AfterTwoTicks);

    // The host closed, and is started again on its database.
    ASSERT_TRUE(waitForHostEnd(10000)) << "the host did not close";
    ASSERT_EQ(platform.startedPrograms().size(), 1);
    const ProgramStart restart = platform.startedPrograms().at(0);
    EXPECT_EQ(QFileInfo(restart.program).fileName(), QStringLiteral("ContactHost.exe"));
    EXPECT_EQ(restart.arguments, QStringList{QFileInfo(m_database).absoluteFilePath()});
    ASSERT_NO_FATAL_FAILURE(startAsHost(restart));
    EXPECT_EQ(host::createAuxCommands()->AuxCommandExistsInToolbar(1, QStringLiteral("Valdora")), 1);

    // The host's window shows the command on its toolbar; a click starts Valdora.
    ScriptedPlatform hostPlatform;
    host::HostApplication hostApplication(hostPlatform, host::AuxCommandStore::defaultFile());
    host::app::ContactWindow window(hostApplication, hostPlatform);
    auto* command = window.findChild<QAction*>(QStringLiteral("toolbarCommand_Valdora"));
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->text(), QStringLiteral("Valdora"));
    EXPECT_EQ(command->toolTip(), QStringLiteral("Click to launch Valdora"));
    bool onToolbar = false;
    for (const QToolBar* toolbar : window.findChildren<QToolBar*>())
        onToolbar = onToolbar || toolbar->actions().contains(command);
    EXPECT_TRUE(onToolbar);
    command->trigger();
    ASSERT_EQ(hostPlatform.startedPrograms().size(), 1)
        << hostPlatform.messageTexts().join('|').toStdString();
    const ProgramStart launch = hostPlatform.startedPrograms().at(0);
    EXPECT_EQ(QFileInfo(launch.program).canonicalFilePath(),
              QFileInfo(QStringLiteral(VALDORA_PROGRAM)).canonicalFilePath());
    EXPECT_EQ(QFileInfo(launch.workingFolder).canonicalFilePath(),
              QFileInfo(suiteFolder).canonicalFilePath());

    // That Valdora comes up on the restarted host and ends when the host closes.
    const std::unique_ptr<QProcess> valdora = startValdora(launch.arguments);
    QElapsedTimer timer;
    timer.start();
    const UserSettings& store = m_session->userSettings();
    while (store.get(Application::Valdora, "Settings", "Hwnd").isEmpty() && timer.elapsed() < 20000 &&
           valdora->state() != QProcess::NotRunning)
        QTest::qWait(50);
    EXPECT_FALSE(store.get(Application::Valdora, "Settings", "Hwnd").isEmpty())
        << valdora->readAllStandardError().toStdString();
    ASSERT_EQ(run({QStringLiteral("quit")}).code, 0);
    EXPECT_TRUE(valdora->waitForFinished(20000)) << "valdora did not end within the wait";
    EXPECT_EQ(valdora->exitCode(), 0);
    EXPECT_TRUE(waitForHostEnd(10000));
}

} // namespace
} // namespace valdora::bar
