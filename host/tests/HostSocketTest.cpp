// The running host's socket against other local users: a squatter of the name, a server of another
// user where the host's socket belongs, a client of another user.

#include "RunningHostFixture.h"

#include "HostProcess.h"

#include "core/UserSockets.h"
#include "core/testsupport/AnotherUser.h"
#include "host/client/HostConnection.h"
#include "host/client/HostProtocol.h"
#include "host/client/RunningHost.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QThread>

namespace valdora::test {
namespace {

using namespace valdora::host;
using protocol::Message;
using protocol::Op;

QString hostSocketPath()
{
    return userSocketPath(runningHostServerName()).path;
}

/// The first field value of the contact on screen, through a fresh connection.
QString fieldOnScreen(FieldId id)
{
    HostConnection connection;
    return connection.call(Op::GetField, id).texts.value(0);
}

TEST_F(RunningHostTest, TheHostSocketIsInThePrivateFolderAndASquatterOfTheSharedNameIsNeverReached)
{
    if (!canActAsAnotherUser())
        GTEST_SKIP() << "acting as another user needs root";
    // Another user takes the name in the shared temporary folder, where the socket used to be.
    ForeignServer squatter(QDir::tempPath() + u'/' + runningHostServerName());
    ASSERT_TRUE(squatter.listening());
    startHost();
    EXPECT_TRUE(hostSocketPath().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/'))
        << hostSocketPath().toStdString();
    EXPECT_EQ(fileOwnerId(hostSocketPath()), currentUserId());
    const CommandResult current = run({QStringLiteral("current")});
    EXPECT_EQ(current.code, 0) << current.err.toStdString();
    EXPECT_EQ(current.out.trimmed(), firstContactId());
    EXPECT_EQ(squatter.connections(), 0);
}

TEST_F(RunningHostTest, AServerOfAnotherUserIsRefusedByEveryClientWithItsMessage)
{
    if (!canActAsAnotherUser())
        GTEST_SKIP() << "acting as another user needs root";
    ForeignServer foreign(hostSocketPath());
    ASSERT_TRUE(foreign.listening());
    const QString message = QStringLiteral("The socket \"%1\" belongs to another user").arg(hostSocketPath());

    HostConnection connection;
    EXPECT_FALSE(connection.connect());
    EXPECT_TRUE(connection.refusal().startsWith(message)) << connection.refusal().toStdString();
    try {
        connection.call(Op::IsDBOpen);
        ADD_FAILURE() << "a call to another user's server went through";
    } catch (const HostFailure& failure) {
        EXPECT_EQ(failure.number(), HostError::NoHostRunning);
        EXPECT_TRUE(failure.description().contains(message)) << failure.description().toStdString();
    }

    const CommandResult current = run({QStringLiteral("current")});
    EXPECT_EQ(current.code, 1);
    EXPECT_TRUE(current.err.contains(message)) << current.err.toStdString();

    // The host itself does not start beside it, nor take the socket away.
    const CommandResult host = run({QStringLiteral("--headless"), m_database});
    EXPECT_EQ(host.code, 1);
    EXPECT_TRUE(host.err.contains(message)) << host.err.toStdString();
    EXPECT_EQ(fileOwnerId(hostSocketPath()), 65534U);

    EXPECT_EQ(foreign.connectionsThatSent(), 0);
}

TEST_F(RunningHostTest, AClientOfAnotherUserIsDroppedUnanswered)
{
    if (!canActAsAnotherUser())
        GTEST_SKIP() << "acting as another user needs root";
    startHost();
    const ForeignVisit visit = visitAsAnotherUser(hostSocketPath(), protocol::encode({Op::Quit, 0, {}}));
    EXPECT_TRUE(visit.connected);
    EXPECT_TRUE(visit.closed);
    EXPECT_EQ(visit.answer, QByteArray());
    // The host was not closed by it.
    QThread::msleep(300);
    EXPECT_EQ(m_host->state(), QProcess::Running);
    EXPECT_TRUE(runningHostDatabasePath().has_value());
}

} // namespace
} // namespace valdora::test
