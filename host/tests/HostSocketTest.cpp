// The running host's socket against other local users: a squatter of the name, a server of another
// user where the host's socket belongs, a client of another user; and the protocol's bad frames.

#include "RunningHostFixture.h"

#include "HostProcess.h"

#include "core/UserSockets.h"
#include "core/testsupport/AnotherUser.h"
#include "core/testsupport/FailsWith.h"
#include "host/client/HostConnection.h"
#include "host/client/HostProtocol.h"
#include "host/client/RunningHost.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
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

TEST_F(RunningHostTest, ASocketLeftByAHostThatDiedIsTakenOver)
{
    startHost();
    m_host->kill();
    ASSERT_TRUE(m_host->waitForFinished(5000)) << "the host did not end in 5 s";
    ASSERT_TRUE(QFileInfo::exists(hostSocketPath())) << "a killed host leaves its socket behind";
    startHost();
    const CommandResult current = run({QStringLiteral("current")});
    EXPECT_EQ(current.code, 0) << current.err.toStdString();
    EXPECT_EQ(fileOwnerId(hostSocketPath()), currentUserId());
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
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        HostError::NoHostRunning, valdora::test::containing(message), [&] { connection.call(Op::IsDBOpen); }))
        << "a call to another user's server must not go through";

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

/// A 32-bit number as the protocol writes it (big-endian).
QByteArray be32(quint32 value)
{
    const char bytes[] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    return QByteArray(bytes, sizeof bytes);
}

/// The length prefix, then the body.
QByteArray frame(const QByteArray& body)
{
    return be32(quint32(body.size())) + body;
}

/// How the host answers a bad frame.
enum class Answer {
    Error,  ///< a Failed message (InvalidProcedureCall), the connection stays
    Closed, ///< the connection is closed without an answer
    None,   ///< nothing yet: the frame is incomplete and the host waits for the rest
};

struct BadFrame {
    const char* name;
    QByteArray bytes;
    Answer answer;
};

TEST_F(RunningHostTest, BadFramesGetAnErrorOrAClosedConnectionAndChangeNothing)
{
    startHost();
    const FieldId company = FieldNumber::Company;
    const QString before = fieldOnScreen(company);
    const BadFrame frames[] = {
        {"a length above the limit", be32(protocol::MaximumFrameSize + 1), Answer::Closed},
        {"the largest length there is", be32(0xFFFFFFFFU) + QByteArray(8, 'x'), Answer::Closed},
        {"a text count no body can hold", frame(be32(quint32(Op::IsDBOpen)) + be32(0) + be32(0xFFFFFFFEU)),
         Answer::Closed},
        {"a body that ends inside its texts",
         frame(be32(quint32(Op::SetField)) + be32(company) + be32(1) + be32(10) + QByteArray("ab", 2)),
         Answer::Closed},
        {"a text of an odd byte length",
         frame(be32(quint32(Op::SetField)) + be32(company) + be32(1) + be32(3) + QByteArray("abc", 3)),
         Answer::Closed},
        {"bytes after the message",
         frame(protocol::encode({Op::IsDBOpen, 0, {}}).mid(4) + QByteArray(1, '\0')), Answer::Closed},
        {"a body shorter than its header", frame(QByteArray("\x00\x00", 2)), Answer::Closed},
        {"a length prefix alone, cut short", QByteArray("\x00\x00", 2), Answer::None},
        {"a frame cut short", protocol::encode({Op::SetField, company, {QStringLiteral("x")}}).chopped(3),
         Answer::None},
        {"an unknown request", protocol::encode({Op(999), 0, {}}), Answer::Error},
        {"a reply sent as a request", protocol::encode({Op::Reply, 0, {}}), Answer::Error},
        {"an event sent as a request", protocol::encode({Op::Event, 1, {}}), Answer::Error},
        {"a write without its value", protocol::encode({Op::SetField, company, {}}), Answer::Error},
        {"a write with two values",
         protocol::encode({Op::SetField, company, {QStringLiteral("x"), QStringLiteral("y")}}),
         Answer::Error},
        {"a field id beyond 16 bits",
         protocol::encode({Op::SetField, 65536 + company, {QStringLiteral("x")}}), Answer::Error},
        {"a typed value without its field", protocol::encode({Op::TypeField, 0, {QStringLiteral("x")}}),
         Answer::Error},
        {"a lookup with one text", protocol::encode({Op::SetLookup, 0, {QStringLiteral("all")}}),
         Answer::Error},
        {"an auxiliary command with three texts",
         protocol::encode(
             {Op::AddAuxCommand, 0, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}}),
         Answer::Error},
        {"a number where none is taken", protocol::encode({Op::Quit, 7, {}}), Answer::Error},
        {"an open without its file", protocol::encode({Op::OpenFile, 0, {}}), Answer::Error},
    };
    for (const BadFrame& bad : frames) {
        SCOPED_TRACE(bad.name);
        QLocalSocket socket;
        socket.connectToServer(hostSocketPath());
        ASSERT_TRUE(socket.waitForConnected(2000)) << "the host does not take connections";
        socket.write(bad.bytes);
        ASSERT_TRUE(socket.waitForBytesWritten(2000));
        protocol::FrameReader reader;
        QElapsedTimer timer;
        timer.start();
        std::optional<Message> answer;
        bool closed = false;
        while (!answer && !closed && timer.elapsed() < 1500) {
            if (socket.waitForReadyRead(50))
                reader.append(socket.readAll());
            answer = reader.next();
            closed = socket.state() != QLocalSocket::ConnectedState;
        }
        switch (bad.answer) {
        case Answer::Error:
            ASSERT_TRUE(answer.has_value()) << "no answer in 1.5 s";
            EXPECT_EQ(answer->op, Op::Failed);
            EXPECT_EQ(answer->number, int(ErrorNumber::InvalidProcedureCall));
            EXPECT_FALSE(answer->texts.value(0).isEmpty());
            break;
        case Answer::Closed:
            EXPECT_FALSE(answer.has_value());
            EXPECT_TRUE(closed) << "the host kept the connection for 1.5 s";
            break;
        case Answer::None:
            EXPECT_FALSE(answer.has_value());
            EXPECT_FALSE(closed);
            break;
        }
        socket.abort();
        // The host lives on, unchanged.
        ASSERT_EQ(m_host->state(), QProcess::Running) << m_host->readAllStandardError().toStdString();
        EXPECT_EQ(fieldOnScreen(company), before);
    }
    EXPECT_TRUE(runningHostDatabasePath().has_value());
}

} // namespace
} // namespace valdora::test
