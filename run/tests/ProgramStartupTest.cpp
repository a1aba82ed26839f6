#include "run/ProgramStartup.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::run {
namespace {

struct SettleCase {
    const char* name;
    QString storedLanguage; // "" leaves "Options"/"Language" absent
    QString
        storedIniLocation; // "" leaves "Settings"/"IniLocation" absent; "/" starts a path in the temp folder
    StartupSettings settings;
    qint16 languageBase;
    QString settingsFile; // below the temporary folder
};

class SettleSessionTest : public ::testing::TestWithParam<SettleCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_program = m_dir.filePath(QStringLiteral("program"));
        ASSERT_TRUE(QDir().mkpath(m_program + QStringLiteral("/Settings")));
        ASSERT_TRUE(QDir().mkpath(m_dir.filePath(QStringLiteral("user"))));
    }

    UserSettings userSettings() const { return UserSettings(m_dir.filePath(QStringLiteral("user"))); }

    QTemporaryDir m_dir;
    QString m_program;
    ScriptedPlatform m_platform;
};

TEST_P(SettleSessionTest, SettlesLanguageThenSettingsFile)
{
    const SettleCase& c = GetParam();
    const UserSettings store = userSettings();
    if (!c.storedLanguage.isEmpty()) {
        ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Options"), QStringLiteral("Language"),
                              c.storedLanguage));
    }
    if (!c.storedIniLocation.isEmpty()) {
        ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("IniLocation"),
                              m_dir.path() + c.storedIniLocation));
    }
    ProgramSession session(m_platform, QStringLiteral("Valdora"), m_program, store);

    settleSessionAtStartUp(session, c.settings);

    EXPECT_EQ(session.messages().languageBase(), c.languageBase);
    EXPECT_EQ(session.settingsFilePath(), m_dir.path() + c.settingsFile);
    EXPECT_EQ(session.buttonFolder(),
              m_dir.path() + c.settingsFile.left(c.settingsFile.lastIndexOf(u'/') + 1));
    EXPECT_EQ(m_platform.messageTexts(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(
    StoredSettings, SettleSessionTest,
    ::testing::Values(
        SettleCase{"NothingStored", "", "", {0, "Valdora"}, 300, "/program/Settings/Valdora.ini"},
        SettleCase{
            "DefaultLanguageOfTheProgram", "", "", {2, "Valdora"}, 2300, "/program/Settings/Valdora.ini"},
        SettleCase{"StoredLanguage", "1", "", {2, "Valdora"}, 1300, "/program/Settings/Valdora.ini"},
        SettleCase{"StoredLocation", "0", "/shared/buttons.ini", {0, "Valdora"}, 300, "/shared/buttons.ini"},
        SettleCase{"OtherTitle", "", "", {0, "Keel"}, 300, "/program/Settings/Keel.ini"}),
    [](const auto& info) { return info.param.name; });

TEST_F(SettleSessionTest, ALanguageThatIsNoNumberFailsAtTheCallersLineBeforeTheSettingsFile)
{
    const UserSettings store = userSettings();
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Options"), QStringLiteral("Language"),
                          QStringLiteral("French")));
    ProgramSession session(m_platform, QStringLiteral("Valdora"), m_program, store);

    int line = 0;
    try {
        line = __LINE__ + 1;
        settleSessionAtStartUp(session, {});
        FAIL() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), int(ErrorNumber::TypeMismatch));
        EXPECT_EQ(failure.line(), line);
    }
    EXPECT_EQ(session.settingsFilePath(), QString());
}

/// Host objects that write down what is asked of them.
struct HostCalls {
    QStringList calls;
    bool failOpen = false;
};

class RecordingView final : public host::ContactView {
public:
    host::ContactId GetCurrentID(Where) const override { return QStringLiteral("ID0000000001"); }
    QString GetField(host::FieldId, Where) override { return {}; }
    void SetField(host::FieldId, const QString&, Where) override {}
    int GetLastError() const override { return 0; }
    bool hasUnsavedChanges(Where = Where::current()) const override { return false; }
};

class RecordingApplication final : public host::Application {
public:
    explicit RecordingApplication(HostCalls& calls) : m_calls(calls) {}
    void OpenFile(const QString&, Where) override { m_calls.calls << QStringLiteral("OpenFile"); }
    bool IsDBOpen(Where) const override { return true; }
    QString GetOpenDBName(Where) const override { return {}; }
    std::unique_ptr<host::ContactView> CreateView(int kind, const QString& name, Where) override
    {
        m_calls.calls << QStringLiteral("CreateView %1 %2").arg(kind).arg(name);
        return std::make_unique<RecordingView>();
    }
    void SaveCurrentLookup(const QString&, Where) override {}
    QString GetAppPath(Where) const override { return {}; }
    void Command(int, Where) override {}

private:
    HostCalls& m_calls;
};

class RecordingDatabase final : public host::Database {
public:
    explicit RecordingDatabase(HostCalls& calls) : m_calls(calls) {}
    void OpenEx(const QString& path, Where where) override
    {
        m_calls.calls << QStringLiteral("OpenEx '%1'").arg(path);
        if (m_calls.failOpen)
            throw host::HostFailure(host::HostError::DatabaseFailure, QStringLiteral("locked"), where);
    }
    host::ContactTable& Contact(Where where) override
    {
        throw host::HostFailure(ErrorNumber::TypeMismatch, where);
    }
    host::UserList& Users(Where where) override { throw host::HostFailure(ErrorNumber::TypeMismatch, where); }
    QString CurrentUser(Where) const override { return {}; }
    QString GetDatabasePath(Where) const override { return {}; }
    void Close() override {}
    bool isMultiuser(Where) const override { return false; }
    bool ValidateUser(const QString&, const QString&, Where) override { return false; }
    bool Error() const override { return false; }

private:
    HostCalls& m_calls;
};

HostFactories recordingFactories(HostCalls& calls, bool withDatabase)
{
    HostFactories factories;
    factories.application = [&calls] {
        calls.calls << QStringLiteral("application");
        return std::make_unique<RecordingApplication>(calls);
    };
    if (withDatabase) {
        factories.database = [&calls] {
            calls.calls << QStringLiteral("database");
            return std::make_unique<RecordingDatabase>(calls);
        };
    }
    return factories;
}

TEST(OpenHostObjectsTest, OpensTheHostsDatabaseBeforeTheContactView)
{
    HostCalls calls;
    const StartupHost objects = openHostObjects(recordingFactories(calls, true));

    EXPECT_EQ(calls.calls, (QStringList{"application", "database", "OpenEx ''", "CreateView 1 CV"}));
    const RunHost host = objects.runHost();
    EXPECT_EQ(host.application, objects.application.get());
    EXPECT_EQ(host.database, objects.database.get());
    EXPECT_EQ(host.view, objects.view.get());
    EXPECT_NE(host.view, nullptr);
}

TEST(OpenHostObjectsTest, AProgramWithoutADatabaseObjectGetsTheViewOnly)
{
    HostCalls calls;
    const StartupHost objects = openHostObjects(recordingFactories(calls, false));

    EXPECT_EQ(calls.calls, (QStringList{"application", "CreateView 1 CV"}));
    EXPECT_EQ(objects.database, nullptr);
    EXPECT_EQ(objects.runHost().database, nullptr);
    EXPECT_NE(objects.view, nullptr);
}

TEST(OpenHostObjectsTest, ADatabaseThatDoesNotOpenFailsAtTheCallersLineWithoutAView)
{
    HostCalls calls;
    calls.failOpen = true;
    int line = 0;
    try {
        line = __LINE__ + 1;
        const StartupHost objects = openHostObjects(recordingFactories(calls, true));
        FAIL() << "no failure";
    } catch (const host::HostFailure& failure) {
        EXPECT_EQ(failure.number(), host::HostError::DatabaseFailure);
        EXPECT_EQ(failure.line(), line);
    }
    EXPECT_EQ(calls.calls, (QStringList{"application", "database", "OpenEx ''"}));
}

} // namespace
} // namespace valdora::run
