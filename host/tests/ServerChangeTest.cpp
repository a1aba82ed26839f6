// A host window on a contact database on the server while another workstation writes to it: the
// window follows what was written, on screen and in its list, within a second.
#include "TestServer.h"

#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/app/ContactWindow.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace valdora::host::test {
namespace {

/// How long another workstation's write may take to show.
constexpr int SeenWithinMs = 1000;

class ServerChangesSeen : public ::testing::Test {
protected:
    void SetUp() override
    {
        createSampleDatabase(m_server.location(), 5);
        m_application.openDatabase(m_server.location());
        m_window.emplace(m_application, m_platform);
        m_window->show();
        m_other = openToolDatabase(m_server.location());
    }

    /// Writes a field of a contact as another workstation does: its own connection, its lock.
    void writeElsewhere(const ContactId& id, FieldId field, const QString& value)
    {
        ToolContactTable& contacts = m_other->contacts();
        contacts.Goto(id);
        contacts.Edit();
        ASSERT_EQ(contacts.LockLevel(), 1);
        contacts.SetDataEx({field}, {value});
        ASSERT_EQ(contacts.Update(), id) << contacts.lastWriteFailure().toStdString();
    }

    QLineEdit* editor(FieldId id) const
    {
        return m_window->findChild<QLineEdit*>(QStringLiteral("field%1").arg(id));
    }
    QString row(int number) const { return m_window->findChild<QListWidget*>()->item(number)->text(); }

    ServerTestDatabase m_server;
    QTemporaryDir m_dir;
    valdora::test::TemporaryUserSettings m_settings;
    ScriptedPlatform m_platform;
    HostApplication m_application{m_platform, m_dir.filePath(QStringLiteral("aux.json"))};
    std::optional<app::ContactWindow> m_window;
    std::unique_ptr<ToolDatabase> m_other;
};

TEST_F(ServerChangesSeen, TheContactOnScreenAndItsRowShowAnotherWorkstationsWrite)
{
    const ContactId shown = m_application.currentId();
    ASSERT_FALSE(shown.isEmpty());
    writeElsewhere(shown, FieldNumber::Company, QStringLiteral("Written Elsewhere"));
    const int at = int(m_application.lookupIds().indexOf(shown));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return editor(FieldNumber::Company)->text() == QStringLiteral("Written Elsewhere"); },
        SeenWithinMs))
        << "the contact on screen did not show the other workstation's write within a second";
    EXPECT_TRUE(row(at).startsWith(QStringLiteral("Written Elsewhere - "))) << row(at).toStdString();
    EXPECT_EQ(m_application.currentId(), shown) << "the window stays on its contact";
}

TEST_F(ServerChangesSeen, ARowOfTheListShowsAnotherWorkstationsWriteAndTheHostTellsIt)
{
    const ContactId shown = m_application.currentId();
    const QString company = editor(FieldNumber::Company)->text();
    const ContactId other = m_application.lookupIds().at(3);
    QSignalSpy told(&m_application, &HostApplication::contactsWritten);
    writeElsewhere(other, FieldNumber::Contact, QStringLiteral("Nora Elsewhere"));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return row(3).endsWith(QStringLiteral(" - Nora Elsewhere")); }, SeenWithinMs))
        << "the list row did not show the other workstation's write within a second: "
        << row(3).toStdString();
    ASSERT_FALSE(told.isEmpty());
    EXPECT_EQ(told.first().first().value<QList<ContactId>>(), QList<ContactId>{other});
    EXPECT_EQ(m_application.currentId(), shown);
    EXPECT_EQ(editor(FieldNumber::Company)->text(), company) << "the contact on screen is left as it was";
}

// The server ends every connection (a restart): the host listens again on a new one, says that
// anything may have changed, and hears the writes after that.
TEST_F(ServerChangesSeen, AListenerWhoseConnectionWasEndedListensAgain)
{
    QSignalSpy told(&m_application, &HostApplication::contactsWritten);
    m_server.execute(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity "
                                    "WHERE datname = current_database() AND pid <> pg_backend_pid()"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !told.isEmpty(); }, 5000))
        << "the host did not listen again within five seconds";
    ASSERT_FALSE(told.isEmpty());
    EXPECT_TRUE(told.first().first().value<QList<ContactId>>().isEmpty())
        << "writes missed while not listening are told as a change of anything";
    // The other workstation's connection was ended too: it connects again.
    m_other = openToolDatabase(m_server.location());
    const ContactId shown = m_application.currentId();
    writeElsewhere(shown, FieldNumber::Company, QStringLiteral("After The Restart"));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return editor(FieldNumber::Company)->text() == QStringLiteral("After The Restart"); },
        SeenWithinMs))
        << "a write after the listener came back was not shown within a second";
}

} // namespace
} // namespace valdora::host::test
