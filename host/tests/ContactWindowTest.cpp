#include "host/app/ContactWindow.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/app/HostProgram.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace valdora::test {
namespace {

using namespace valdora::host;

/// A sample database open in a host, with the host's window over it.
class ContactWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()) << "no temporary folder"; }
    /// Makes a sample database of that many contacts, opens it and makes the window.
    app::ContactWindow& open(int contacts)
    {
        m_database = m_dir.filePath(QStringLiteral("contacts.vdb"));
        createSampleDatabase(m_database, contacts);
        m_application.openDatabase(m_database);
        return m_window.emplace(m_application, m_platform);
    }

    QTemporaryDir m_dir;
    TemporaryUserSettings m_settings;
    ScriptedPlatform m_platform;
    HostApplication m_application{m_platform, m_dir.filePath(QStringLiteral("aux.json"))};
    QString m_database;
    std::optional<app::ContactWindow> m_window;
};

TEST_F(ContactWindow, ShowsTheContactOnScreenWithEveryField)
{
    app::ContactWindow& window = open(5);
    HostApplication& application = m_application;
    window.show();
    QCoreApplication::processEvents();

    auto* company = window.findChild<QLineEdit*>(QStringLiteral("field%1").arg(FieldNumber::Company));
    ASSERT_NE(company, nullptr);
    EXPECT_EQ(company->text(), application.field(FieldNumber::Company).value_or(QString()));
    EXPECT_FALSE(company->text().isEmpty());
    auto* uniqueId = window.findChild<QLineEdit*>(QStringLiteral("field%1").arg(FieldNumber::UniqueId));
    ASSERT_NE(uniqueId, nullptr);
    EXPECT_TRUE(uniqueId->isReadOnly());
    EXPECT_EQ(uniqueId->text(), application.currentId());
    EXPECT_EQ(window.findChild<QListWidget*>()->count(), 5);

    // A field written through the application is on screen at once.
    application.setField(FieldNumber::Company, QStringLiteral("Zebra Works"));
    EXPECT_EQ(company->text(), QStringLiteral("Zebra Works"));

    const QPixmap picture = window.grab();
    ASSERT_FALSE(picture.isNull());
    const QString file =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("contact-window.png"));
    ASSERT_TRUE(picture.save(file));
    EXPECT_GT(QFileInfo(file).size(), 0);
}

TEST_F(ContactWindow, AWriteOfAnotherProgramShowsWithoutMovingAway)
{
    app::ContactWindow& window = open(3);
    HostApplication& application = m_application;
    window.show();
    auto* company = window.findChild<QLineEdit*>(QStringLiteral("field%1").arg(FieldNumber::Company));
    ASSERT_NE(company, nullptr);

    // As a run of the bar writes: its own connection to the file, not through this host.
    const std::unique_ptr<Database> other = createDatabase();
    other->OpenEx(m_database);
    ContactTable& contacts = other->Contact();
    contacts.Goto(application.currentId());
    contacts.Edit();
    contacts.SetDataEx({FieldNumber::Company}, {QStringLiteral("Written Elsewhere")});
    contacts.Update();
    EXPECT_TRUE(QTest::qWaitFor([&] { return company->text() == QStringLiteral("Written Elsewhere"); }, 5000))
        << "the window still shows " << company->text().toStdString();
}

TEST_F(ContactWindow, MovingBetweenContactsFollowsTheLookup)
{
    app::ContactWindow& window = open(3);
    HostApplication& application = m_application;
    const QList<ContactId> ids = application.lookupIds();
    ASSERT_EQ(ids.size(), 3);
    application.move(+1);
    EXPECT_EQ(application.currentId(), ids.at(1));
    EXPECT_EQ(window.findChild<QListWidget*>()->currentRow(), 1);
    application.move(+1);
    application.move(+1);
    EXPECT_EQ(application.currentId(), ids.at(2));
    application.move(-1);
    EXPECT_EQ(application.currentId(), ids.at(1));
}

TEST_F(ContactWindow, TypingInAFieldIsSavedWhenTheUserLeavesIt)
{
    app::ContactWindow& window = open(3);
    HostApplication& application = m_application;
    auto* city = window.findChild<QLineEdit*>(
        QStringLiteral("field%1").arg(application.fieldId(QStringLiteral("City"))));
    ASSERT_NE(city, nullptr);

    QFocusEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(city, &in);
    EXPECT_EQ(application.fieldOnScreen(), application.fieldId(QStringLiteral("City")));
    city->clear();
    QTest::keyClicks(city, QStringLiteral("Linz"));
    EXPECT_EQ(application.typedValue(), QStringLiteral("Linz"));
    EXPECT_NE(application.field(application.fieldId(QStringLiteral("City"))), QStringLiteral("Linz"));

    QFocusEvent out(QEvent::FocusOut);
    QCoreApplication::sendEvent(city, &out);
    EXPECT_EQ(application.fieldOnScreen(), 0);
    EXPECT_EQ(application.field(application.fieldId(QStringLiteral("City"))), QStringLiteral("Linz"));
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(ContactWindow, ClosingTheWindowClosesTheHostAsTheUserWould)
{
    app::ContactWindow& window = open(2);
    HostApplication& application = m_application;
    window.show();
    QStringList heard;
    QObject::connect(&application, &HostApplication::userWantsToClose,
                     [&] { heard << QStringLiteral("closing"); });
    QObject::connect(&application, &HostApplication::databaseClosed,
                     [&] { heard << QStringLiteral("closed"); });
    QObject::connect(&application, &HostApplication::quitRequested, [&] { heard << QStringLiteral("quit"); });
    window.close();
    EXPECT_EQ(heard,
              (QStringList{QStringLiteral("closing"), QStringLiteral("closed"), QStringLiteral("quit")}));
    EXPECT_FALSE(application.isDatabaseOpen());
}

/// A host with its window on a small sample database, and what the program would be told to do.
class ClosingHostWindow : public ContactWindow {
protected:
    void SetUp() override
    {
        ContactWindow::SetUp();
        app::ContactWindow& window = open(2);
        app::endProgramWhenClosed(m_application, [this](int code) { m_exitCodes << code; });
        QObject::connect(&m_application, &HostApplication::userWantsToClose,
                         [this] { m_heard << QStringLiteral("closing"); });
        QObject::connect(&m_application, &HostApplication::databaseClosed,
                         [this] { m_heard << QStringLiteral("closed"); });
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << "the window was not shown within the wait";
    }

    QStringList m_heard;
    QList<int> m_exitCodes;
};

TEST_F(ClosingHostWindow, CloseBoxClosesTheWindowAndEndsTheProgram)
{
    EXPECT_TRUE(m_window->close());
    EXPECT_FALSE(m_window->isVisible());
    EXPECT_FALSE(m_application.isDatabaseOpen());
    EXPECT_TRUE(m_application.isClosing());
    // The program ends after the events already on their way.
    EXPECT_TRUE(m_exitCodes.isEmpty());
    QCoreApplication::processEvents();
    EXPECT_EQ(m_exitCodes, QList<int>{0});
    EXPECT_EQ(m_heard, (QStringList{QStringLiteral("closing"), QStringLiteral("closed")}));
}

TEST_F(ClosingHostWindow, WindowGoesWithAHostThatAClientClosedAndTellsNobodyTwice)
{
    m_application.close(); // what a client's quit or command 150 does
    QCoreApplication::processEvents();
    EXPECT_EQ(m_exitCodes, QList<int>{0});
    // The program's end closes its windows; the window accepts and does not close the host again.
    EXPECT_TRUE(m_window->close());
    EXPECT_FALSE(m_window->isVisible());
    m_application.close();
    QCoreApplication::processEvents();
    EXPECT_EQ(m_exitCodes, QList<int>{0});
    EXPECT_EQ(m_heard, (QStringList{QStringLiteral("closing"), QStringLiteral("closed")}));
}

} // namespace
} // namespace valdora::test
