#include "RunningHostFixture.h"

#include "HostProcess.h"

#include "core/testsupport/FailsWith.h"
#include "host/client/ClientFactories.h"
#include "host/client/RunningHost.h"
#include "host/embedded/DatabaseFactory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QThread>

#include <ostream>

namespace valdora::test {
namespace {

using namespace valdora::host;

/// Waits until the probe file holds at least `count` lines and returns them.
QStringList probeLines(const QString& file, int count)
{
    QElapsedTimer timer;
    timer.start();
    QStringList lines;
    while (timer.elapsed() < 5000) {
        lines = QString::fromUtf8(readFile(file)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (lines.size() >= count)
            break;
        QThread::msleep(20);
    }
    return lines;
}

/// Copies the trigger probe into `folder` (made as needed) and returns its path there.
QString placeProbe(const QString& folder)
{
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/TriggerProbe");
    QFile::copy(QStringLiteral(TRIGGER_PROBE_PROGRAM), target);
    return target;
}

void setTriggers(const QString& database, const QString& field, const QString& entry, const QString& exit)
{
    auto db = createDatabase();
    db->OpenEx(database);
    FieldList& fields = db->Contact().Fields();
    const FieldId id = fields.FieldID(field);
    fields.EntryTrigger(id, entry);
    fields.ExitTrigger(id, exit);
}

TEST_F(RunningHostTest, ApplicationReportsTheOpenDatabaseAndTheContactOnScreen)
{
    startHost();
    auto application = createApplication();
    EXPECT_TRUE(application->IsDBOpen());
    EXPECT_EQ(application->GetOpenDBName(), QFileInfo(m_database).absoluteFilePath());
    EXPECT_EQ(application->GetAppPath(), QFileInfo(host::test::contactHostProgram()).absolutePath());
    auto view = application->CreateView(1, QStringLiteral("CV"));
    EXPECT_EQ(view->GetCurrentID(), firstContactId());
    EXPECT_EQ(view->GetCurrentID().size(), 12);
    EXPECT_EQ(run({QStringLiteral("current")}).out.trimmed(), firstContactId());
}

TEST_F(RunningHostTest, ContactViewReadsAndWritesTheContactOnScreen)
{
    startHost();
    const QString first = firstContactId();
    auto view = createApplication()->CreateView(1, QStringLiteral("CV"));
    auto database = createDatabase();
    database->OpenEx(m_database);
    database->Contact().Goto(first);
    EXPECT_EQ(view->GetField(FieldNumber::Company), database->Contact().Data(FieldNumber::Company));
    EXPECT_EQ(view->GetLastError(), 0);

    view->SetField(FieldNumber::Company, QStringLiteral("Zebra Works"));
    EXPECT_EQ(view->GetLastError(), 0);
    EXPECT_EQ(view->GetField(FieldNumber::Company), QStringLiteral("Zebra Works"));
    auto fresh = createDatabase();
    fresh->OpenEx(m_database);
    fresh->Contact().Goto(first);
    EXPECT_EQ(fresh->Contact().Data(FieldNumber::Company), QStringLiteral("Zebra Works"));

    EXPECT_EQ(view->GetField(9999), QString());
    EXPECT_EQ(view->GetLastError(), HostError::ViewFieldUnknown);
    view->SetField(9999, QStringLiteral("x"));
    EXPECT_EQ(view->GetLastError(), HostError::ViewFieldUnknown);
    view->GetField(FieldNumber::Company);
    EXPECT_EQ(view->GetLastError(), 0);
}

TEST_F(RunningHostTest, ShowPutsAContactOnScreenAndRefusesAnUnknownId)
{
    startHost();
    const QStringList all =
        run({QStringLiteral("lookup"), QStringLiteral("all")}).out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(all.size(), 5);
    EXPECT_EQ(run({QStringLiteral("show"), all.at(3)}).code, 0);
    EXPECT_EQ(createApplication()->CreateView(1, QStringLiteral("CV"))->GetCurrentID(), all.at(3));
    const CommandResult unknown = run({QStringLiteral("show"), QStringLiteral("nosuchid0000")});
    EXPECT_EQ(unknown.code, 1);
    EXPECT_TRUE(unknown.err.contains(QStringLiteral("nosuchid0000"))) << unknown.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("current")}).out.trimmed(), all.at(3));
}

TEST_F(RunningHostTest, LookupsAreWrittenInTheirSortAndReadBack)
{
    startHost();
    auto application = createApplication();
    auto view = application->CreateView(1, QStringLiteral("CV"));
    view->SetField(FieldNumber::Company, QStringLiteral("Zebra Works"));
    const QString zebra = view->GetCurrentID();

    struct Case {
        QStringList arguments;
        int expectedCount;
    };
    const Case cases[] = {
        {{QStringLiteral("Company"), QStringLiteral("equals"), QStringLiteral("zebra works")}, 1},
        {{QStringLiteral("Company"), QStringLiteral("contains"), QStringLiteral("EBRA WO")}, 1},
        {{QStringLiteral("Company"), QStringLiteral("starts"), QStringLiteral("Zebra")}, 1},
        {{QStringLiteral("all")}, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CommandResult set = run(QStringList{QStringLiteral("lookup")} + c.arguments);
        ASSERT_EQ(set.code, 0) << set.err.toStdString();
        const QStringList ids = set.out.split('\n', Qt::SkipEmptyParts);
        EXPECT_EQ(ids.size(), c.expectedCount);
        EXPECT_EQ(run({QStringLiteral("lookup")}).out.split('\n', Qt::SkipEmptyParts), ids);
        if (c.expectedCount == 1) {
            EXPECT_EQ(ids, QStringList{zebra});
        }

        const QString file = m_dir.filePath(QStringLiteral("~currentLU.LKU"));
        application->SaveCurrentLookup(file);
        auto database = createDatabase();
        database->OpenEx(m_database);
        ContactTable& contacts = database->Contact();
        contacts.LoadLookUpQuery(file);
        QStringList read;
        for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
            read.append(contacts.Data(FieldNumber::UniqueId));
        EXPECT_EQ(read, ids);
    }
    // The lookup of every contact is in the host's default sort.
    auto database = createDatabase();
    database->OpenEx(m_database);
    database->Contact().Query(QString());
    QStringList sorted;
    for (database->Contact().MoveFirst(); !database->Contact().isEOF(); database->Contact().MoveNext())
        sorted.append(database->Contact().Data(FieldNumber::UniqueId));
    EXPECT_EQ(run({QStringLiteral("lookup")}).out.split('\n', Qt::SkipEmptyParts), sorted);
}

TEST_F(RunningHostTest, WrongLookupArgumentsAndFieldsAreRefusedClearly)
{
    startHost();
    const CommandResult usage = run(
        {QStringLiteral("lookup"), QStringLiteral("Company"), QStringLiteral("like"), QStringLiteral("x")});
    EXPECT_EQ(usage.code, 2);
    const CommandResult field = run({QStringLiteral("lookup"), QStringLiteral("NoSuchField"),
                                     QStringLiteral("equals"), QStringLiteral("x")});
    EXPECT_EQ(field.code, 1);
    EXPECT_TRUE(field.err.contains(QStringLiteral("NoSuchField"))) << field.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("lookup")}).out.split('\n', Qt::SkipEmptyParts).size(), 5);
}

TEST_F(RunningHostTest, TypedValueIsCommittedByCommand104)
{
    startHost();
    auto application = createApplication();
    auto view = application->CreateView(1, QStringLiteral("CV"));
    const QString before = view->GetField(FieldNumber::Company);
    ASSERT_EQ(run({QStringLiteral("type"), QStringLiteral("Company"), QStringLiteral("Typed Co")}).code, 0);
    EXPECT_EQ(view->GetField(FieldNumber::Company), before);
    application->Command(104);
    EXPECT_EQ(view->GetField(FieldNumber::Company), QStringLiteral("Typed Co"));
}

// The host holds the record on screen only while the user has typed into it and not committed: a
// field with the focus, or a window that regains it, keeps no other program from writing the contact.
TEST_F(RunningHostTest, RecordIsLockedOnlyWhileTheUserHasUnsavedChanges)
{
    startHost();
    const QString first = firstContactId();
    auto application = createApplication();
    auto view = application->CreateView(1, QStringLiteral("CV"));
    auto database = createDatabase();
    database->OpenEx(m_database);
    ContactTable& contacts = database->Contact();
    const auto heldOnScreen = [&] {
        contacts.Goto(first);
        return contacts.isLocked();
    };
    struct Step {
        QStringList command;
        bool held;
    };
    const Step steps[] = {
        {{QStringLiteral("enter-field"), QStringLiteral("Company")}, false},
        {{QStringLiteral("leave-field"), QStringLiteral("Company")}, false},
        {{QStringLiteral("enter-field"), QStringLiteral("Company")}, false},
        {{QStringLiteral("type"), QStringLiteral("Company"), QStringLiteral("Left Co")}, true},
        {{QStringLiteral("type"), QStringLiteral("Company"), QStringLiteral("Left Co 2")}, true},
        {{QStringLiteral("leave-field"), QStringLiteral("Company")}, false},
        {{QStringLiteral("type"), QStringLiteral("City"), QStringLiteral("Lyon")}, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.command.join(u' ').toStdString());
        ASSERT_EQ(run(step.command).code, 0);
        EXPECT_EQ(heldOnScreen(), step.held);
        EXPECT_EQ(view->hasUnsavedChanges(), step.held);
    }
    application->Command(104); // commits what is typed, as the host's save does
    EXPECT_FALSE(heldOnScreen());
    EXPECT_FALSE(view->hasUnsavedChanges());
    auto fresh = createDatabase();
    fresh->OpenEx(m_database);
    fresh->Contact().Goto(first);
    EXPECT_EQ(fresh->Contact().Data(FieldNumber::Company), QStringLiteral("Left Co 2"));
    EXPECT_EQ(fresh->Contact().Data(fresh->Contact().Fields().FieldID(QStringLiteral("City"))),
              QStringLiteral("Lyon"));
}

TEST_F(RunningHostTest, WriteToARecordAnotherUserHoldsFailsAndChangesNothing)
{
    startHost();
    const QString first = firstContactId();
    auto view = createApplication()->CreateView(1, QStringLiteral("CV"));
    const QString before = view->GetField(FieldNumber::Company);
    auto other = createDatabase();
    other->OpenEx(m_database);
    other->Contact().Goto(first);
    other->Contact().Edit();
    ASSERT_EQ(other->Contact().LockLevel(), 1);
    try {
        view->SetField(FieldNumber::Company, QStringLiteral("Not Written"));
        FAIL() << "a write to a record held by another user must fail";
    } catch (const HostFailure& failure) {
        EXPECT_EQ(failure.number(), HostError::RecordLocked);
    }
    // The user may enter the field, but not change it while another program holds the record.
    EXPECT_EQ(run({QStringLiteral("enter-field"), QStringLiteral("Company")}).code, 0);
    EXPECT_EQ(run({QStringLiteral("type"), QStringLiteral("Company"), QStringLiteral("Typed")}).code, 1);
    EXPECT_FALSE(view->hasUnsavedChanges());
    other->Contact().Update();
    EXPECT_EQ(view->GetField(FieldNumber::Company), before);
    EXPECT_EQ(run({QStringLiteral("type"), QStringLiteral("Company"), QStringLiteral("Typed")}).code, 0);
}

TEST_F(RunningHostTest, TriggersStartTheirProgramWithItsArgumentsInItsFolder)
{
    struct Case {
        QString folder;
        QString arguments;
    };
    const Case cases[] = {
        {QStringLiteral("plain"), QStringLiteral("~100,~101")},
        {QStringLiteral("My Tools/with blanks"), QStringLiteral("~100, ~102")},
        {QStringLiteral("no arguments"), QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        QFile::remove(m_probeOutput);
        const QString probe = placeProbe(m_dir.filePath(c.folder));
        const QString text = c.arguments.isEmpty() ? probe : probe + QLatin1Char(' ') + c.arguments;
        setTriggers(m_database, QStringLiteral("Company"), text, probe + QStringLiteral(" ~exit"));
        startHost();
        ASSERT_EQ(run({QStringLiteral("enter-field"), QStringLiteral("Company")}).code, 0);
        QStringList lines = probeLines(m_probeOutput, 1);
        ASSERT_EQ(lines.size(), 1);
        const QStringList expected{QFileInfo(probe).absolutePath()};
        EXPECT_EQ(lines.at(0),
                  (c.arguments.isEmpty() ? expected : expected + QStringList{c.arguments}).join('|'));
        ASSERT_EQ(run({QStringLiteral("leave-field"), QStringLiteral("Company")}).code, 0);
        lines = probeLines(m_probeOutput, 2);
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines.at(1), expected.first() + QStringLiteral("|~exit"));
        m_host->kill();
        m_host->waitForFinished(5000);
    }
}

TEST_F(RunningHostTest, MacroTriggerIsReportedOnceAndTheHostGoesOn)
{
    const QString macro = m_dir.filePath(QStringLiteral("My Macros/fill.mpr"));
    ASSERT_TRUE(writeFile(macro, "macro"));
    setTriggers(m_database, QStringLiteral("Company"), QString(), macro);
    startHost();
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(run({QStringLiteral("enter-field"), QStringLiteral("Company")}).code, 0);
        ASSERT_EQ(run({QStringLiteral("leave-field"), QStringLiteral("Company")}).code, 0);
    }
    EXPECT_EQ(run({QStringLiteral("current")}).out.trimmed(), firstContactId());
    m_host->kill();
    m_host->waitForFinished(5000);
    const QString said = QString::fromLocal8Bit(m_host->readAllStandardError());
    EXPECT_EQ(said.count(QStringLiteral("cannot be run")), 1) << said.toStdString();
}

TEST_F(RunningHostTest, RegisteredClientHearsTheHostCloseAndItsDatabaseClose)
{
    startHost();
    auto events = createEventControl();
    EXPECT_TRUE(events->IsHostRunning());
    EXPECT_GE(events->Register(0), 1);
    QSignalSpy closing(events.get(), &EventControl::OnUserWantsToClose);
    QSignalSpy closed(events.get(), &EventControl::OnDatabaseClose);
    createApplication()->Command(150);
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(closing.count() > 0 || closing.wait(500));
    EXPECT_TRUE(closed.count() > 0 || closed.wait(500));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_TRUE(waitForHostEnd());
    EXPECT_EQ(m_host->exitCode(), 0);
    EXPECT_FALSE(events->IsHostRunning());
}

/// A way for another program to close a host that shows its window.
struct CloseRequest {
    const char* name;
    bool byCommandLine; ///< `ContactHost.exe quit`; else the host's close command (150) from a client
};

void PrintTo(const CloseRequest& request, std::ostream* out)
{
    *out << request.name;
}

class HostWithWindowClose : public RunningHostTest, public ::testing::WithParamInterface<CloseRequest> {};

TEST_P(HostWithWindowClose, EndsTheProgramAfterTellingItsClients)
{
    startHost(HostStart::WithWindow);
    auto events = createEventControl();
    ASSERT_GE(events->Register(0), 1);
    QSignalSpy closing(events.get(), &EventControl::OnUserWantsToClose);
    QSignalSpy closed(events.get(), &EventControl::OnDatabaseClose);
    if (GetParam().byCommandLine)
        ASSERT_EQ(run({QStringLiteral("quit")}).code, 0);
    else
        createApplication()->Command(150);
    EXPECT_TRUE(closing.count() > 0 || closing.wait(1000));
    EXPECT_TRUE(closed.count() > 0 || closed.wait(1000));
    ASSERT_TRUE(waitForHostEnd(5000)) << "the host with its window is still running";
    EXPECT_EQ(m_host->exitCode(), 0) << m_host->readAllStandardError().toStdString();
    // Told once: the window that goes with the host does not close the host a second time.
    QCoreApplication::processEvents();
    EXPECT_EQ(closing.count(), 1);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(events->IsHostRunning());
}

INSTANTIATE_TEST_SUITE_P(Requests, HostWithWindowClose,
                         ::testing::Values(CloseRequest{"QuitCommand", true},
                                           CloseRequest{"HostCommand150", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunningHostTest, CloseDatabaseTellsRegisteredClientsAndOpenFileReopensIt)
{
    startHost();
    auto events = createEventControl();
    ASSERT_GE(events->Register(0), 1);
    QSignalSpy closing(events.get(), &EventControl::OnUserWantsToClose);
    QSignalSpy closed(events.get(), &EventControl::OnDatabaseClose);
    ASSERT_EQ(run({QStringLiteral("close-db")}).code, 0);
    EXPECT_TRUE(closed.count() > 0 || closed.wait(500));
    EXPECT_EQ(closing.count(), 0);
    auto application = createApplication();
    EXPECT_FALSE(application->IsDBOpen());
    EXPECT_EQ(runningHostDatabasePath(), std::nullopt);
    application->OpenFile(QString());
    EXPECT_TRUE(application->IsDBOpen());
    EXPECT_EQ(application->GetOpenDBName(), QFileInfo(m_database).absoluteFilePath());
    ASSERT_EQ(run({QStringLiteral("quit")}).code, 0);
    EXPECT_TRUE(closing.count() > 0 || closing.wait(500));
    EXPECT_TRUE(waitForHostEnd());
}

TEST_F(RunningHostTest, UnregisteredClientHearsNothing)
{
    startHost();
    auto events = createEventControl();
    ASSERT_GE(events->Register(0), 1);
    events->Unregister();
    QSignalSpy closed(events.get(), &EventControl::OnDatabaseClose);
    ASSERT_EQ(run({QStringLiteral("close-db")}).code, 0);
    EXPECT_FALSE(closed.wait(300));
}

TEST_F(RunningHostTest, AuxiliaryCommandsArePlacedPerViewAndSurviveARestart)
{
    startHost();
    const QString name = QStringLiteral("Valdora");
    {
        auto aux = createAuxCommands();
        EXPECT_EQ(aux->AuxCommandExists(name), 0);
        EXPECT_NE(aux->AddAuxCommandToToolbar(1, name), 0); // not defined yet
        EXPECT_EQ(aux->AddAuxCommand(
                      name, QStringLiteral("/opt/valdora/Valdora.exe"), QStringLiteral("/opt/valdora"), name,
                      QStringLiteral("Click to launch Valdora"), QStringLiteral("/opt/valdora/Valdora.ico"),
                      QStringLiteral("/opt/valdora/Valdora32.ico"), 1),
                  0);
        EXPECT_EQ(aux->AuxCommandExists(name), 1);
        EXPECT_EQ(aux->AddAuxCommandToToolbar(1, name), 0);
        EXPECT_EQ(aux->AddAuxCommandToToolsMenu(3, name), 0);
        EXPECT_NE(aux->AddAuxCommandToToolbar(7, name), 0);
        EXPECT_NE(aux->AddAuxCommandToToolsMenu(0, name), 0);
    }
    ASSERT_EQ(run({QStringLiteral("quit")}).code, 0);
    ASSERT_TRUE(waitForHostEnd());
    startHost();
    auto aux = createAuxCommands();
    for (int view = 1; view <= 6; ++view) {
        EXPECT_EQ(aux->AuxCommandExistsInToolbar(view, name), view == 1 ? 1 : 0) << view;
        EXPECT_EQ(aux->AuxCommandExistsInToolsMenu(view, name), view == 3 ? 1 : 0) << view;
    }
    EXPECT_EQ(aux->RemoveAuxCommandFromToolbar(1, name), 0);
    EXPECT_EQ(aux->AuxCommandExistsInToolbar(1, name), 0);
}

TEST_F(RunningHostTest, SecondHostForTheSameUserSaysSoAndEnds)
{
    startHost();
    const CommandResult second = run({QStringLiteral("--headless"), m_database});
    EXPECT_NE(second.code, 0);
    EXPECT_TRUE(second.err.contains(QStringLiteral("already running"))) << second.err.toStdString();
    EXPECT_EQ(run({QStringLiteral("current")}).code, 0);
}

TEST_F(RunningHostTest, HostThatCannotOpenItsDatabaseSaysWhy)
{
    const CommandResult result =
        run({QStringLiteral("--headless"), m_dir.filePath(QStringLiteral("missing.vdb"))});
    EXPECT_NE(result.code, 0);
    EXPECT_FALSE(result.err.isEmpty());
}

TEST_F(RunningHostTest, ClientFailsClearlyWhenNoHostRuns)
{
    const valdora::test::ExpectedText noHost =
        valdora::test::containing("No contact host is running (ContactHost.exe, server ");
    auto application = createApplication();
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(HostError::NoHostRunning, noHost,
                                                      [&] { application->IsDBOpen(); }));
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(HostError::NoHostRunning, noHost, [&] {
        createAuxCommands()->AuxCommandExists(QStringLiteral("Valdora"));
    }));
    auto events = createEventControl();
    EXPECT_EQ(events->Register(0), 0);
    EXPECT_FALSE(events->IsHostRunning());
    EXPECT_EQ(runningHostDatabasePath(), std::nullopt);
    const CommandResult current = run({QStringLiteral("current")});
    EXPECT_EQ(current.code, 1);
    EXPECT_TRUE(current.err.contains(QStringLiteral("No contact host is running")))
        << current.err.toStdString();
}

} // namespace
} // namespace valdora::test
