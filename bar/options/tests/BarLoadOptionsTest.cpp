// What the bar's load does for the options, on the real bar against a running headless host: the
// first run's link to the maker's page in the host's web-links folder, written once, and the
// per-button "TargetDecimals" upgrade of buttons saved by an earlier version.
#include "bar/options/windows/IntegrateWindow.h"
#include "bar/tests/BarScriptedScreens.h"
#include "bar/tests/RunningHostFactories.h"
#include "bar/windows/MainBar.h"
#include "widgets/testsupport/WindowTestSupport.h"

#include "host/client/ClientFactories.h"
#include "run/ScopeChooser.h"
#include "run/tests/ProgramOnHostFixture.h"
#include "settings/ButtonFile.h"
#include "settings/Cp1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace valdora::bar {
namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<absent>");
}

class BarLoadOptionsTest : public run::test::ProgramOnHostTest {
protected:
    void SetUp() override
    {
        ProgramOnHostTest::SetUp();
        // The host's program folder, where its web-links folder lies: one of the test's own.
        m_hostFolder = m_dir.filePath(QStringLiteral("host"));
        ASSERT_TRUE(QDir().mkpath(m_hostFolder));
        m_previousFolder = qgetenv("VALDORA_PROGRAM_FOLDER");
        qputenv("VALDORA_PROGRAM_FOLDER", m_hostFolder.toLocal8Bit());
        ASSERT_NO_FATAL_FAILURE(startHost());
        m_screens = std::make_unique<test::ScriptedScreens>(store());
    }
    void TearDown() override
    {
        m_bar.reset();
        ProgramOnHostTest::TearDown();
        if (m_previousFolder.isEmpty())
            qunsetenv("VALDORA_PROGRAM_FOLDER");
        else
            qputenv("VALDORA_PROGRAM_FOLDER", m_previousFolder);
    }

    const UserSettings& store() const { return m_session->userSettings(); }

    void loadBar(bool upgradeTargetDecimals = false)
    {
        m_bar.reset();
        m_bar =
            std::make_unique<MainBar>(BarParts{*m_session, *m_screens, m_scopes, test::runningHostFactories(),
                                               std::make_unique<test::ScriptedIcon>(false)});
        m_bar->flags().upgradeTargetDecimals = upgradeTargetDecimals;
        ASSERT_TRUE(m_bar->Form_Load()) << m_platform.messageTexts().join(" | ").toStdString();
        EXPECT_FALSE(m_bar->flags().upgradeTargetDecimals);
    }

    QString m_hostFolder;
    QByteArray m_previousFolder;
    std::unique_ptr<test::ScriptedScreens> m_screens;
    run::FixedScopeChooser m_scopes{run::Scope::AllContacts};
    std::unique_ptr<MainBar> m_bar;
};

TEST_F(BarLoadOptionsTest, TheFirstRunWritesTheMakerLinkOnceInTheChosenLanguage)
{
    const QString link = m_hostFolder + QStringLiteral("/NetLinks/Valdora.url");
    m_screens->languageChoice = 1;
    ASSERT_NO_FATAL_FAILURE(loadBar());
    EXPECT_EQ(m_screens->languageAsked, 1);
    EXPECT_EQ(
        contentOf(link),
        Cp1252::encode(
            u"[&Valdora Software - Modules gratuits pour ContactHost]https://www.valdora.example/\r\n"));
    EXPECT_EQ(store().get(Application::Valdora, "Settings", "Installed"), QStringLiteral("1"));
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join('|').toStdString();

    // Later loads write nothing; a first run again (the marker reset) leaves the existing link alone.
    QFile edited(link);
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write("[Mine]https://example.org/\r\n");
    edited.close();
    ASSERT_NO_FATAL_FAILURE(loadBar());
    ASSERT_TRUE(store().set(Application::Valdora, "Settings", "Installed", "0"));
    ASSERT_NO_FATAL_FAILURE(loadBar());
    EXPECT_EQ(m_screens->languageAsked, 2);
    EXPECT_EQ(contentOf(link), QByteArray("[Mine]https://example.org/\r\n"));
}

TEST_F(BarLoadOptionsTest, YesToTheRestartQuestionRestartsTheHostThroughTheBarsUnload)
{
    ASSERT_TRUE(store().set(Application::Valdora, "Settings", "Installed", "1"));
    ASSERT_TRUE(store().set(Application::Valdora, "Options", "Language", "0"));
    // A close box that hides the bar does not keep it from ending for the restart.
    ASSERT_TRUE(store().set(Application::Valdora, "Settings", "NotClose", "1"));
    ASSERT_NO_FATAL_FAILURE(loadBar());
    MainBar& bar = *m_bar;
    QSignalSpy ended(&bar, &MainBar::programEnded);
    valdora::test::inNextModal([this](QWidget& window) {
        valdora::test::click(window, QStringLiteral("chkScreen_0"));
        m_platform.answerNextMessage(MessageAnswer::Yes);
        valdora::test::click(window, QStringLiteral("cmdOK"));
    });
    // What the editor's menu item does: the window, then the bar's own close when a restart is asked.
    ASSERT_TRUE(IntegrateWindow::edit(*m_session, &host::createAuxCommands, bar.flags(),
                                      [&bar] { bar.mnuClose_Click(); }));
    EXPECT_TRUE(bar.flags().restartHost);
    ASSERT_TRUE(waitForHostEnd(10000)) << "the host did not close";
    ASSERT_EQ(m_platform.startedPrograms().size(), 1);
    const ProgramStart& started = m_platform.startedPrograms().first();
    EXPECT_EQ(QFileInfo(started.program).fileName(), QStringLiteral("ContactHost.exe"));
    EXPECT_EQ(QFileInfo(started.arguments.value(0)).canonicalFilePath(),
              QFileInfo(m_database).canonicalFilePath());
    EXPECT_TRUE(bar.isHidden());
    EXPECT_TRUE(ended.count() > 0 || ended.wait(5000)) << "Valdora did not end after the restart";
}

/// Whether the load was told that the stored settings predate the decimals of numeric targets.
struct UpgradeCase {
    const char* name;
    bool due;
};

void PrintTo(const UpgradeCase& c, std::ostream* out)
{
    *out << c.name;
}

class BarLoadTargetDecimals : public BarLoadOptionsTest, public ::testing::WithParamInterface<UpgradeCase> {};

TEST_P(BarLoadTargetDecimals, NumericTargetsOfTheOpenDatabaseGetTheirDecimals)
{
    ASSERT_TRUE(store().set(Application::Valdora, "Settings", "Installed", "1"));
    ASSERT_TRUE(store().set(Application::Valdora, "Options", "Language", "0"));
    // Amount (16) is numeric with 2 decimals, Count (18) numeric with none, Company (25) text.
    writeButton(QStringLiteral("~100.ini"), {{"Name", "Amount"}, {"TargetID", "16"}});
    writeButton(QStringLiteral("~101.ini"), {{"Name", "Count"}, {"TargetID", "18"}});
    writeButton(QStringLiteral("~102.ini"), {{"Name", "Company"}, {"TargetID", "25"}});
    writeButton(QStringLiteral("~103.ini"),
                {{"Name", "Elsewhere"}, {"TargetID", "16"}, {"_DB", "other.vdb"}});
    ASSERT_NO_FATAL_FAILURE(loadBar(GetParam().due));

    const auto decimals = [&](const QString& file) {
        return ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), file)
            .read(ButtonKey::TargetDecimals, QStringLiteral("<absent>"));
    };
    const QString absent = QStringLiteral("<absent>");
    EXPECT_EQ(decimals(QStringLiteral("~100.ini")), GetParam().due ? QStringLiteral("2") : absent);
    EXPECT_EQ(decimals(QStringLiteral("~101.ini")), GetParam().due ? QStringLiteral("0") : absent);
    EXPECT_EQ(decimals(QStringLiteral("~102.ini")), absent);
    // A button of another database is not on the bar: its target is not this database's field.
    EXPECT_EQ(decimals(QStringLiteral("~103.ini")), absent);
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Versions, BarLoadTargetDecimals,
                         ::testing::Values(UpgradeCase{"EarlierVersion", true},
                                           UpgradeCase{"CurrentVersion", false}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::bar
