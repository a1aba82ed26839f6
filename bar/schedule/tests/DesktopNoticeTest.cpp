#include "RecordingCommands.h"

#include "bar/schedule/DesktopNotice.h"

#include "core/testsupport/TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::schedule {
namespace {

/// Which programs are there and whether a session bus is; how the notice goes out and the call made.
struct NoticeCase {
    const char* name;
    QByteArray busAddress;
    bool busSocket; ///< a "bus" socket file in XDG_RUNTIME_DIR (what a run from cron finds)
    QStringList installed;
    NoticeSent sent;
    QString call; ///< the one call made; empty: none
};

void PrintTo(const NoticeCase& row, std::ostream* os)
{
    *os << row.name;
}

class DesktopNoticeTest : public ::testing::TestWithParam<NoticeCase> {};

const QString Line = QStringLiteral("~100.ini: 5 contacts in scope, 5 written, 0 left unchanged, 0 failed");

TEST_P(DesktopNoticeTest, GoesOutWhereASessionBusIs)
{
    QTemporaryDir runtime;
    ASSERT_TRUE(runtime.isValid());
    if (GetParam().busSocket) {
        ASSERT_TRUE(valdora::test::writeFile(runtime.filePath(QStringLiteral("bus")), {}));
    }
    const QByteArray previousBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    const QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    qputenv("DBUS_SESSION_BUS_ADDRESS", GetParam().busAddress);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    test::RecordingCommands commands(runtime.filePath(QStringLiteral("crontab")));
    commands.installed = GetParam().installed;

    EXPECT_EQ(sendDesktopNotice(commands, Line), GetParam().sent);
    EXPECT_EQ(commands.calls, GetParam().call.isEmpty() ? QStringList() : QStringList{GetParam().call});
    if (GetParam().busSocket && GetParam().busAddress.isEmpty()) {
        EXPECT_EQ(qgetenv("DBUS_SESSION_BUS_ADDRESS"), "unix:path=" + runtime.filePath("bus").toUtf8());
    }
    qputenv("DBUS_SESSION_BUS_ADDRESS", previousBus);
    qputenv("XDG_RUNTIME_DIR", previousRuntime);
}

const QString NotifySend = QStringLiteral("notify-send --app-name=Valdora Valdora ") + Line;
const QString Gdbus =
    QStringLiteral("gdbus call --session --dest org.freedesktop.Notifications --object-path "
                   "/org/freedesktop/Notifications --method org.freedesktop.Notifications.Notify "
                   "Valdora 0  Valdora ") +
    Line + QStringLiteral(" [] {} -1");

INSTANTIATE_TEST_SUITE_P(
    Desktops, DesktopNoticeTest,
    ::testing::Values(
        NoticeCase{"NoBus", {}, false, {"notify-send", "gdbus"}, NoticeSent::NoSessionBus, {}},
        NoticeCase{"NotifySend",
                   "unix:path=/run/user/1000/bus",
                   false,
                   {"notify-send", "gdbus"},
                   NoticeSent::NotifySend,
                   NotifySend},
        NoticeCase{"GdbusOnly", "unix:path=/run/user/1000/bus", false, {"gdbus"}, NoticeSent::Gdbus, Gdbus},
        NoticeCase{"BusSocketFromCron", {}, true, {"notify-send"}, NoticeSent::NotifySend, NotifySend},
        NoticeCase{"NeitherProgram", "unix:path=/run/user/1000/bus", false, {}, NoticeSent::Failed, {}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::schedule
