// ValdoraAuto's logic over a host in memory: the start-up checks in their order, the run list, the
// warning screens each member asks for and the done notice.
#include "FakeHost.h"
#include "ScriptedScreens.h"

#include "auto/AutoProgram.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"
#include "settings/ButtonFile.h"
#include "settings/FixedTexts.h"
#include "settings/MessageId.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::autorun {
namespace {

using Keys = QList<QPair<QString, QString>>;

constexpr host::FieldId Amount = 30;
constexpr host::FieldId Count = 31;
constexpr host::FieldId Notes = 32;

class AutoProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        const QString folder = m_dir.filePath(QStringLiteral("program"));
        ASSERT_TRUE(QDir().mkpath(folder + QStringLiteral("/Settings")));
        m_session = std::make_unique<ProgramSession>(m_platform, QStringLiteral("Valdora Auto"), folder,
                                                     UserSettings(m_settings.path()),
                                                     TextLocale(QLocale(QStringLiteral("en_US"))));
        m_session->setSettingsFile(folder + QStringLiteral("/Settings/valdora.ini"));
        setting(QStringLiteral("Settings"), QStringLiteral("Version"), QStringLiteral("310"));
        setting(QStringLiteral("Settings"), QStringLiteral("IniLocation"), m_session->settingsFilePath());
        m_host.fields = {{1, m_host.contactId}, {Amount, {}}, {Count, {}}, {Notes, {}}};
    }

    void setting(const QString& section, const QString& key, const QString& value)
    {
        ASSERT_TRUE(m_session->userSettings().set(Application::Valdora, section, key, value));
    }

    void writeButton(const QString& name, const Keys& keys)
    {
        const ButtonFile button = ButtonFile::inFolder(m_session->ini(), m_session->buttonFolder(), name);
        for (const auto& [key, value] : keys)
            ASSERT_TRUE(button.write(key, value)) << key.toStdString();
    }

    /// Multiplies two operands into a field: a number, or a field of the contact when `fromField` is
    /// set. `extra` keys follow (warning options).
    void multiplyButton(const QString& name, host::FieldId target, const QString& left, const QString& right,
                        const Keys& extra = {}, std::optional<host::FieldId> fromField = std::nullopt)
    {
        Keys keys{{"Type", "3"},
                  {"Name", "Button " + name},
                  {"Target", "Field " + QString::number(target)},
                  {"TargetID", QString::number(target)},
                  {"TargetType", "1"},
                  {"Over0", "0"},
                  {"Over1", "0"},
                  {"Over2", "0"},
                  {"Over3", "1"},
                  {"CalcOperator", "0"},
                  {"CalcTextOption0", fromField ? "0" : "1"},
                  {"CalcFieldOption0", fromField ? "1" : "0"},
                  {"CalcText0", left},
                  {"CalcFieldID0", fromField ? QString::number(*fromField) : "0"},
                  {"CalcFieldType0", "1"},
                  {"CalcTextOption1", "1"},
                  {"CalcFieldOption1", "0"},
                  {"CalcText1", right}};
        writeButton(name, keys + extra);
    }

    AutoEnd run(const QString& argumentText)
    {
        AutoProgram program(*m_session, m_host.factories(), m_screens);
        const AutoEnd end = program.Main(argumentText);
        m_databaseName = program.databaseName();
        return end;
    }

    QString message(MessageId id) const { return m_session->messages().get(id); }

    QTemporaryDir m_dir;
    valdora::test::TemporaryUserSettings m_settings;
    ScriptedPlatform m_platform;
    std::unique_ptr<ProgramSession> m_session;
    test::FakeHostState m_host;
    test::ScriptedScreens m_screens;
    QString m_databaseName;
};

const Keys NoWarning{{"AutoWarning0", "0"}, {"AutoWarning1", "0"}, {"AutoWarning2", "1"}};

TEST_F(AutoProgramTest, StartsUpInOrderAndSavesTheTypedValueBeforeAnyFieldIsRead)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4", NoWarning);

    EXPECT_EQ(run(QStringLiteral("~100")), AutoEnd::Ran);

    const QStringList expectedStart{"Register(0)",      "OpenFile()",    "IsDBOpen",
                                    "CreateView(1,CV)", "GetOpenDBName", "Command(104)"};
    ASSERT_GE(m_host.calls.size(), expectedStart.size());
    EXPECT_EQ(m_host.calls.mid(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(m_host.calls.last(), QStringLiteral("Unregister"));
    EXPECT_TRUE(m_host.calls.contains(QStringLiteral("SetField(30,12)")));
    EXPECT_EQ(m_host.fields.value(Amount), QStringLiteral("12"));
    EXPECT_EQ(m_databaseName, QStringLiteral("sales.vdb"));
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join('|').toStdString();
    EXPECT_TRUE(m_screens.shown.isEmpty());
}

TEST_F(AutoProgramTest, ReadsTheValueTypedIntoTheTriggeringField)
{
    m_host.fields[Amount] = QStringLiteral("2");
    m_host.typed = {{Amount, QStringLiteral("5")}};
    multiplyButton(QStringLiteral("~100.ini"), Count, "", "10", NoWarning, Amount);

    EXPECT_EQ(run(QStringLiteral("~100")), AutoEnd::Ran);
    EXPECT_EQ(m_host.fields.value(Count), QStringLiteral("50"));
}

struct VersionCase {
    const char* name;
    std::optional<QString> version;
    bool runs;
};

class AutoVersionTest : public AutoProgramTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(AutoVersionTest, StoredVersionDecidesWhetherAnythingRuns)
{
    const VersionCase& row = GetParam();
    if (row.version)
        setting(QStringLiteral("Settings"), QStringLiteral("Version"), *row.version);
    else {
        ASSERT_TRUE(
            m_session->userSettings().removeSection(Application::Valdora, QStringLiteral("Settings")));
        setting(QStringLiteral("Settings"), QStringLiteral("IniLocation"), m_session->settingsFilePath());
    }
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4", NoWarning);

    const AutoEnd end = run(QStringLiteral("~100"));

    if (row.runs) {
        EXPECT_EQ(end, AutoEnd::Ran);
        EXPECT_EQ(m_host.fields.value(Amount), QStringLiteral("12"));
        EXPECT_TRUE(m_platform.messages().isEmpty());
        return;
    }
    EXPECT_EQ(end, AutoEnd::SettingsNotCurrent);
    EXPECT_TRUE(m_host.calls.isEmpty()) << m_host.calls.join(' ').toStdString();
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages()[0].text,
              QStringLiteral("You need to run Valdora once (simply launching it is enough) to update your "
                             "buttons to the latest version."));
    EXPECT_EQ(m_platform.messages()[0].title, QStringLiteral("Valdora Auto"));
    EXPECT_EQ(m_platform.messages()[0].buttons, MessageButtons::Ok);
}

INSTANTIATE_TEST_SUITE_P(Versions, AutoVersionTest,
                         ::testing::Values(VersionCase{"Absent", std::nullopt, false},
                                           VersionCase{"Empty", QString(), false},
                                           VersionCase{"Below", QStringLiteral("309"), false},
                                           VersionCase{"Current", QStringLiteral("310"), true},
                                           VersionCase{"FourAsText", QStringLiteral("4"), true},
                                           VersionCase{"ThousandAsText", QStringLiteral("1000"), false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AutoProgramTest, NoHostToRegisterWithEndsWithoutAWord)
{
    m_host.registerResult = 0;
    m_host.hostRunning = false;
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4", NoWarning);

    EXPECT_EQ(run(QStringLiteral("~100")), AutoEnd::HostNotRunning);
    EXPECT_EQ(m_host.calls, QStringList({"Register(0)", "IsHostRunning", "Unregister"}));
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(AutoProgramTest, FailedRegistrationWithARunningHostSaysSoAndRuns)
{
    m_host.registerResult = 0;
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4", NoWarning);

    EXPECT_EQ(run(QStringLiteral("~100")), AutoEnd::Ran);
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages()[0].text,
              QStringLiteral("Unable to register ContactHost events. Run hostreg.exe and try again!"));
    EXPECT_EQ(m_platform.messages()[0].title, QStringLiteral("Valdora Auto"));
    EXPECT_EQ(m_host.fields.value(Amount), QStringLiteral("12"));
}

TEST_F(AutoProgramTest, DatabaseThatStaysClosedEndsAfterItsMessage)
{
    m_host.databaseOpen = false;
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4", NoWarning);

    EXPECT_EQ(run(QStringLiteral("~100")), AutoEnd::DatabaseClosed);
    EXPECT_EQ(m_host.calls, QStringList({"Register(0)", "OpenFile()", "IsDBOpen", "Unregister"}));
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages()[0].text, message(MessageId::DatabaseNotReopened));
    EXPECT_TRUE(m_platform.messages()[0].text.startsWith(QStringLiteral(
        "You probably exited ContactHost while your mouse was in a field with an exit Trigger")));
}

TEST_F(AutoProgramTest, EmptyArgumentTextIsReportedAsAFailure)
{
    EXPECT_EQ(run(QString()), AutoEnd::Failed);
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_TRUE(m_platform.messages()[0].text.startsWith(QStringLiteral("Error 9: 'Subscript out of range'")))
        << m_platform.messages()[0].text.toStdString();
    EXPECT_TRUE(
        m_platform.messages()[0].text.contains(QStringLiteral("in frmAutoMain: Sub Run_Button - Line # ")));
    EXPECT_EQ(m_host.calls.last(), QStringLiteral("Unregister"));
}

struct RunListCase {
    const char* name;
    const char* argumentText;
    /// The fields written, in order, as "SetField(id,value)".
    QStringList writes;
    /// The buttons reported missing.
    QStringList missing;
};

class AutoRunListTest : public AutoProgramTest, public ::testing::WithParamInterface<RunListCase> {};

TEST_P(AutoRunListTest, RunsTheNonEmptyEntriesInOrder)
{
    const RunListCase& row = GetParam();
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4", NoWarning);
    // The second reads what the first wrote.
    multiplyButton(QStringLiteral("~101.ini"), Count, "", "2", NoWarning, Amount);

    run(QString::fromUtf8(row.argumentText));

    QStringList writes;
    for (const QString& call : m_host.calls)
        if (call.startsWith(QStringLiteral("SetField")))
            writes << call;
    EXPECT_EQ(writes, row.writes);
    QStringList expectedMessages;
    for (const QString& name : row.missing)
        expectedMessages << message(MessageId::MissingButtonHead) + name +
                                message(MessageId::MissingButtonTail);
    QStringList heads;
    for (const QString& text : m_platform.messageTexts())
        heads << text.section(QStringLiteral("\r\n"), 0, 0);
    EXPECT_EQ(heads, expectedMessages);
    EXPECT_TRUE(m_screens.shown.isEmpty());
}

const QString Twelve = QStringLiteral("SetField(30,12)");
const QString TwentyFour = QStringLiteral("SetField(31,24)");

INSTANTIATE_TEST_SUITE_P(
    ArgumentTexts, AutoRunListTest,
    ::testing::Values(RunListCase{"TwoButtons", "~100,~101", {Twelve, TwentyFour}, {}},
                      RunListCase{"DirectMode", "*~100.ini", {Twelve}, {}},
                      RunListCase{"EmptyEntryBetween", "~100,,~101", {Twelve, TwentyFour}, {}},
                      RunListCase{"LeadingComma", ",~100", {Twelve}, {}},
                      RunListCase{"TrailingComma", "~100,", {Twelve}, {}},
                      RunListCase{"BlankKeptInTheName", "~100 ,~101", {"SetField(31,)"}, {"~100 .ini"}},
                      RunListCase{"BlankAfterComma", "~100, ~101", {Twelve}, {" ~101.ini"}},
                      RunListCase{"MissingInTheMiddle", "~100,~555,~101", {Twelve, TwentyFour}, {"~555.ini"}},
                      RunListCase{"MissingAtTheEnd", "~100,~555", {Twelve}, {"~555.ini"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(AutoProgramTest, MissingButtonNamesItsTargetInTheMessage)
{
    writeButton(QStringLiteral("~556.ini"), {{"Target", "Phone"}});
    // A file without "Type" is no button; its target still tells the user which trigger to change.
    run(QStringLiteral("~556"));
    ASSERT_EQ(m_platform.messageTexts().size(), 1);
    EXPECT_EQ(m_platform.messageTexts()[0],
              QStringLiteral("The button ~556.ini does not exist.\r\nYou will need to change the Trigger "
                             "settings of the Phone field\r\nfor this error message to stop appearing."));
}

TEST_F(AutoProgramTest, ButtonWithoutWarningKeysAsksForConfirmation)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");

    run(QStringLiteral("~100"));

    EXPECT_EQ(m_screens.shown, QStringList({"confirm Field 30"}));
    ASSERT_EQ(m_screens.confirmations.size(), 1);
    const ConfirmationTexts& texts = m_screens.confirmations[0];
    EXPECT_EQ(texts.caption, QStringLiteral("Valdora Optional Confirmation"));
    EXPECT_EQ(texts.intro,
              QStringLiteral("You have set Valdora to automatically update the following field :"));
    EXPECT_EQ(texts.question, QStringLiteral("Do you want to proceed ?"));
    EXPECT_EQ(texts.yes, QStringLiteral("&Yes"));
    EXPECT_EQ(texts.no, QStringLiteral("&No"));
    EXPECT_EQ(texts.noteHead, QStringLiteral("NOTE :"));
    EXPECT_EQ(texts.note,
              QStringLiteral("To get rid of this confirmation screen, launch Valdora and go to the "
                             "Settings screen of the Button ~100.ini button."));
    EXPECT_EQ(m_host.fields.value(Amount), QStringLiteral("12"));
}

TEST_F(AutoProgramTest, NoticeComesAfterTheConfirmationAndBeforeTheWrite)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4",
                   {{"AutoWarning0", "1"}, {"AutoWarning1", "1"}});

    run(QStringLiteral("~100"));

    EXPECT_EQ(m_screens.shown, QStringList({"confirm Field 30", "notice Updating Field 30..."}));
    ASSERT_EQ(m_screens.notices.size(), 1);
    EXPECT_EQ(m_screens.notices[0].title, QStringLiteral("Valdora Automatic Update"));
    EXPECT_EQ(m_host.fields.value(Amount), QStringLiteral("12"));
}

TEST_F(AutoProgramTest, DirectModeShowsNoWarningButTheDoneNotice)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4",
                   {{"AutoWarning0", "1"}, {"AutoWarning1", "1"}, {"DoneScreen", "1"}});

    run(QStringLiteral("*~100.ini"));

    EXPECT_EQ(m_screens.shown, QStringList({"done Calculation completed!"}));
    EXPECT_EQ(m_host.fields.value(Amount), QStringLiteral("12"));
}

TEST_F(AutoProgramTest, DeclinedConfirmationWritesNothingAndTheNextEntryRuns)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4", {{"DoneScreen", "1"}});
    multiplyButton(QStringLiteral("~101.ini"), Count, "5", "5", {{"AutoWarning0", "1"}, {"DoneScreen", "1"}});
    m_screens.answerNextConfirmation(false);

    run(QStringLiteral("~100,~101"));

    EXPECT_EQ(m_screens.shown,
              QStringList({"confirm Field 30", "confirm Field 31", "done Calculation completed!"}));
    EXPECT_EQ(m_host.fields.value(Amount), QString());
    EXPECT_EQ(m_host.fields.value(Count), QStringLiteral("25"));
}

TEST_F(AutoProgramTest, ComboDeclinedAtASecondMemberKeepsTheFirstAndSkipsTheRest)
{
    multiplyButton(QStringLiteral("~201.ini"), Amount, "3", "4", NoWarning);
    multiplyButton(QStringLiteral("~202.ini"), Count, "5", "5", {{"AutoWarning0", "1"}});
    multiplyButton(QStringLiteral("~203.ini"), Notes, "6", "6", NoWarning);
    writeButton(QStringLiteral("~200.ini"), {{"Type", "5"},
                                             {"DoneScreen", "1"},
                                             {"Button3", "1"},
                                             {"ButtonName3", "~201.ini"},
                                             {"Button12", "1"},
                                             {"ButtonName12", "~202.ini"},
                                             {"Button19", "1"},
                                             {"ButtonName19", "~203.ini"}});
    multiplyButton(QStringLiteral("~101.ini"), Notes, "7", "7", NoWarning);
    m_screens.answerNextConfirmation(false);

    run(QStringLiteral("~200,~101"));

    EXPECT_EQ(m_screens.shown, QStringList({"confirm Field 31"}));
    EXPECT_EQ(m_host.fields.value(Amount), QStringLiteral("12"));
    EXPECT_EQ(m_host.fields.value(Count), QString());
    // The member after the declined one was not written; the next entry of the run list was.
    EXPECT_EQ(m_host.fields.value(Notes), QStringLiteral("49"));
    EXPECT_FALSE(m_host.calls.contains(QStringLiteral("SetField(32,36)")));
}

TEST_F(AutoProgramTest, ComboMembersInSlotsThreeAndTwelveBothRun)
{
    multiplyButton(QStringLiteral("~201.ini"), Amount, "3", "4", NoWarning);
    multiplyButton(QStringLiteral("~202.ini"), Count, "5", "5", NoWarning);
    writeButton(QStringLiteral("~200.ini"), {{"Type", "5"},
                                             {"DoneScreen", "1"},
                                             {"Button3", "1"},
                                             {"ButtonName3", "~201.ini"},
                                             {"Button12", "1"},
                                             {"ButtonName12", "~202.ini"}});

    run(QStringLiteral("~200"));

    EXPECT_EQ(m_host.fields.value(Amount), QStringLiteral("12"));
    EXPECT_EQ(m_host.fields.value(Count), QStringLiteral("25"));
    EXPECT_EQ(m_screens.shown, QStringList({"done Calculation completed!"}));
}

TEST_F(AutoProgramTest, LanguageSettingChoosesTheTextsOfTheScreens)
{
    setting(QStringLiteral("Options"), QStringLiteral("Language"), QStringLiteral("1"));
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");

    run(QStringLiteral("~100"));

    ASSERT_EQ(m_screens.confirmations.size(), 1);
    EXPECT_EQ(m_session->messages().languageBase(), 1300);
    EXPECT_EQ(m_screens.confirmations[0].question, m_session->messages().get(MessageId::ProceedQuestion));
    EXPECT_NE(m_screens.confirmations[0].question, QStringLiteral("Do you want to proceed ?"));
}

} // namespace
} // namespace valdora::autorun
