#include "SettingsTestSupport.h"

#include "settings/UserSettings.h"

#include <QDir>

namespace valdora::test {
namespace {

using UserSettingsTest = SettingsTest;

// Sets or unsets environment variables for one test, then restores them.
class ScopedEnvironment {
public:
    void set(const char* name, const QByteArray& value)
    {
        remember(name);
        qputenv(name, value);
    }
    void unset(const char* name)
    {
        remember(name);
        qunsetenv(name);
    }
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : m_saved) {
            if (value)
                qputenv(name, *value);
            else
                qunsetenv(name);
        }
    }

private:
    void remember(const char* name)
    {
        m_saved.emplace_back(name,
                             qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    }
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

TEST_F(UserSettingsTest, FolderComesFromTheEnvironment)
{
    EXPECT_EQ(UserSettings().folder(), QDir::cleanPath(m_userSettings.path()));
    ScopedEnvironment environment;
    environment.unset("VALDORA_USER_SETTINGS");
    environment.set("XDG_CONFIG_HOME", m_dir.path().toUtf8());
    EXPECT_EQ(UserSettings().folder(), m_dir.path() + QStringLiteral("/Valdora"));
    environment.unset("XDG_CONFIG_HOME");
    environment.set("HOME", m_dir.path().toUtf8());
    EXPECT_EQ(UserSettings().folder(), m_dir.path() + QStringLiteral("/.config/Valdora"));
}

TEST_F(UserSettingsTest, OneFilePerApplication)
{
    const UserSettings store;
    EXPECT_TRUE(store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("Version"),
                          QStringLiteral("313")));
    EXPECT_TRUE(store.set(Application::Keelbrook, QStringLiteral("Settings"), QStringLiteral("LastDB"),
                          QStringLiteral("/data/Sales.dbf")));
    EXPECT_EQ(readFile(m_userSettings.path() + QStringLiteral("/Valdora.ini")),
              "[Settings]\r\nVersion=313\r\n");
    EXPECT_EQ(readFile(store.filePath(Application::Keelbrook)), "[Settings]\r\nLastDB=/data/Sales.dbf\r\n");
}

// Lines the store does not set keep every byte, also bytes that are no UTF-8 (a Latin-1 letter put
// there by another program or an editor): a run's progress values must not spoil another section.
TEST_F(UserSettingsTest, LinesItDoesNotSetKeepEveryByte)
{
    const UserSettings store;
    const QByteArray other = "[Other]\r\nName=caf\xE9 \x81\xFF\r\n; r\xE9sum\xE9\r\n";
    ASSERT_TRUE(writeFile(store.filePath(Application::Valdora), other + "[Progress]\r\nStage=1\r\n"));
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Progress"), QStringLiteral("Stage"),
                          QStringLiteral("2")));
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Progress"), QStringLiteral("Total"),
                          QStringLiteral("\u00e9t\u00e9")));
    EXPECT_EQ(readFile(store.filePath(Application::Valdora)),
              other + "[Progress]\r\nStage=2\r\nTotal=\xC3\xA9t\xC3\xA9\r\n");
}

TEST_F(UserSettingsTest, AbsentReadsAsDefaultAndNamesMatchInAnyCase)
{
    const UserSettings store;
    EXPECT_EQ(store.get(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("Hwnd"),
                        QStringLiteral("0")),
              u"0");
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Options"), QStringLiteral("Language"),
                          QStringLiteral("1300")));
    EXPECT_EQ(store.get(Application::Valdora, QStringLiteral("OPTIONS"), QStringLiteral("language")),
              u"1300");
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("options"), QStringLiteral("LANGUAGE"),
                          QStringLiteral("2300")));
    EXPECT_EQ(store.get(Application::Valdora, QStringLiteral("Options"), QStringLiteral("Language")),
              u"2300");
    EXPECT_EQ(store.sections(Application::Valdora), QStringList{QStringLiteral("Options")});
    EXPECT_EQ(store.keys(Application::Valdora, QStringLiteral("options")),
              QStringList{QStringLiteral("Language")});
}

TEST_F(UserSettingsTest, StoredEmptyValueIsNotTheDefaultAndLongValuesAreWhole)
{
    const UserSettings store;
    ASSERT_TRUE(
        store.set(Application::Valdora, QStringLiteral("Progress"), QStringLiteral("Status"), QString()));
    EXPECT_EQ(store.get(Application::Valdora, QStringLiteral("Progress"), QStringLiteral("Status"),
                        QStringLiteral("Off")),
              u"");
    const QString longValue = QString(500, u'x') + QStringLiteral(" \u4E2D ");
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("IniLocation"),
                          longValue));
    EXPECT_EQ(store.get(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("IniLocation")),
              longValue);
}

TEST_F(UserSettingsTest, EnumeratesSectionsAndKeysInStoredOrder)
{
    const UserSettings store;
    for (const char* section : {"Settings", "~100", "Options", "~101"}) {
        for (const char* key : {"Name", "_DB", "ButtonName0"})
            ASSERT_TRUE(store.set(Application::Valdora, QString::fromLatin1(section),
                                  QString::fromLatin1(key), QStringLiteral("v")));
    }
    EXPECT_EQ(store.sections(Application::Valdora),
              (QStringList{QStringLiteral("Settings"), QStringLiteral("~100"), QStringLiteral("Options"),
                           QStringLiteral("~101")}));
    EXPECT_EQ(store.keys(Application::Valdora, QStringLiteral("~101")),
              (QStringList{QStringLiteral("Name"), QStringLiteral("_DB"), QStringLiteral("ButtonName0")}));
    EXPECT_TRUE(store.keys(Application::Valdora, QStringLiteral("~102")).isEmpty());
    EXPECT_TRUE(store.sections(Application::Keelbrook).isEmpty());
}

TEST_F(UserSettingsTest, RemoveSectionTakesItsKeysAndKeepsTheRest)
{
    const UserSettings store;
    ASSERT_TRUE(store.removeSection(Application::Valdora, QStringLiteral("~100.ini"))); // no store yet
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("Top"),
                          QStringLiteral("5")));
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("~100.ini"), QStringLiteral("Name"),
                          QStringLiteral("A")));
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Options"), QStringLiteral("Language"),
                          QStringLiteral("300")));
    EXPECT_TRUE(store.removeSection(Application::Valdora, QStringLiteral("~100.INI")));
    EXPECT_EQ(store.sections(Application::Valdora),
              (QStringList{QStringLiteral("Settings"), QStringLiteral("Options")}));
    EXPECT_EQ(store.get(Application::Valdora, QStringLiteral("~100.ini"), QStringLiteral("Name"),
                        QStringLiteral("d")),
              u"d");
    EXPECT_EQ(store.get(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("Top")), u"5");
    EXPECT_TRUE(store.removeSection(Application::Valdora, QStringLiteral("~100.ini")));
}

TEST_F(UserSettingsTest, BadInputIsRefusedAndLosesNothing)
{
    const UserSettings store;
    ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("Top"),
                          QStringLiteral("5")));
    const QByteArray before = readFile(store.filePath(Application::Valdora));
    EXPECT_FALSE(store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("Top"),
                           QStringLiteral("1\r\n[Options]")));
    EXPECT_FALSE(store.set(QStringLiteral("../Valdora"), QStringLiteral("Settings"), QStringLiteral("Top"),
                           QStringLiteral("1")));
    EXPECT_FALSE(
        store.set(QString(), QStringLiteral("Settings"), QStringLiteral("Top"), QStringLiteral("1")));
    EXPECT_EQ(store.get(QStringLiteral("../Valdora"), QStringLiteral("Settings"), QStringLiteral("Top"),
                        QStringLiteral("d")),
              u"d");
    EXPECT_EQ(readFile(store.filePath(Application::Valdora)), before);
    EXPECT_FALSE(QFileInfo::exists(m_userSettings.path() + QStringLiteral("/../Valdora.ini")));
}

TEST_F(UserSettingsTest, SeveralValuesAreStoredTogetherOrNotAtAll)
{
    const UserSettings store;
    const QString section = QStringLiteral("Settings");
    ASSERT_TRUE(store.set(Application::Valdora, section, {{"Top", "15"}, {"Left", "-30"}}));
    EXPECT_EQ(store.get(Application::Valdora, section, "top"), u"15");
    EXPECT_EQ(store.get(Application::Valdora, section, "LEFT"), u"-30");
    const QByteArray before = readFile(store.filePath(Application::Valdora));
    EXPECT_FALSE(store.set(Application::Valdora, section, {{"Top", "20"}, {"Left", "1\n[Options]"}}));
    EXPECT_EQ(readFile(store.filePath(Application::Valdora)), before);
    EXPECT_TRUE(store.set(Application::Valdora, section, {{"Top", "15"}, {"Left", "-30"}}));
    EXPECT_EQ(readFile(store.filePath(Application::Valdora)), before);
}

TEST_F(UserSettingsTest, MissingFolderIsCreatedAtTheFirstWrite)
{
    const UserSettings store(path(QStringLiteral("config/Valdora")));
    EXPECT_TRUE(store.set(Application::Valdora, QStringLiteral("Settings"), QStringLiteral("Top"),
                          QStringLiteral("5")));
    EXPECT_EQ(readFile(path(QStringLiteral("config/Valdora/Valdora.ini"))), "[Settings]\r\nTop=5\r\n");
}

TEST_F(UserSettingsTest, AnotherProcessesWriteIsSeenAtTheNextRead)
{
    const UserSettings store;
    for (const char* stage : {"1", "2", "3", "-1"}) {
        ASSERT_EQ(runHelper({QStringLiteral("set-user"), store.folder(), Application::Valdora,
                             QStringLiteral("Progress"), QStringLiteral("Stage"), QString::fromLatin1(stage)})
                      .exitCode,
                  0);
        EXPECT_EQ(store.get(Application::Valdora, QStringLiteral("Progress"), QStringLiteral("Stage")),
                  QString::fromLatin1(stage));
    }
}

TEST_F(UserSettingsTest, ConcurrentWritersLoseNoKey)
{
    const UserSettings store;
    constexpr int Count = 100;
    QProcess first;
    QProcess second;
    startHelper(first, {QStringLiteral("fill-user"), store.folder(), Application::Valdora,
                        QStringLiteral("Progress"), QStringLiteral("A"), QString::number(Count)});
    startHelper(second, {QStringLiteral("fill-user"), store.folder(), Application::Valdora,
                         QStringLiteral("Progress"), QStringLiteral("B"), QString::number(Count)});
    for (int i = 0; i < Count; ++i)
        ASSERT_TRUE(store.set(Application::Valdora, QStringLiteral("Progress"),
                              QStringLiteral("C") + QString::number(i), QString::number(i)));
    ASSERT_TRUE(first.waitForFinished(60000)) << "first did not end within the wait";
    ASSERT_TRUE(second.waitForFinished(60000)) << "second did not end within the wait";
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(store.keys(Application::Valdora, QStringLiteral("Progress")).size(), 3 * Count);
    for (int i = 0; i < Count; ++i) {
        for (const char* prefix : {"A", "B", "C"})
            EXPECT_EQ(store.get(Application::Valdora, QStringLiteral("Progress"),
                                QString::fromLatin1(prefix) + QString::number(i)),
                      QString::number(i));
    }
}

} // namespace
} // namespace valdora::test
