// ValdoraAuto against a real headless ContactHost.exe: started by the exit trigger of a field, started
// by Valdora for the contact on screen, several at once, and in the test's own process where a message
// or a window needs an answer.
#include "ScriptedScreens.h"

#include "auto/AutoProgram.h"
#include "core/testsupport/QtPrinters.h"
#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"
#include "run/tests/ProgramOnHostFixture.h"
#include "settings/MessageId.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace valdora::autorun {
namespace {

using run::test::Keys;

const QString Amount = QStringLiteral("Amount");
const QString Count = QStringLiteral("Count");
const QString Notes = QStringLiteral("Notes");
const QString Trigger = QStringLiteral("User 1");
const QString Counter = QString(QChar(0xFA));
const Keys NoWarning{{"AutoWarning0", "0"}, {"AutoWarning1", "0"}, {"AutoWarning2", "1"}};

class AutoOnHostTest : public run::test::ProgramOnHostTest {
protected:
    void SetUp() override
    {
        ProgramOnHostTest::SetUp();
        const UserSettings& settings = m_session->userSettings();
        ASSERT_TRUE(settings.set(Application::Valdora, "Settings", "Version", "310"));
        ASSERT_TRUE(
            settings.set(Application::Valdora, "Settings", "IniLocation", m_session->settingsFilePath()));
        m_contact = firstContactId();
    }

    host::FieldId fieldId(const QString& name, qint16* type = nullptr, int* decimals = nullptr)
    {
        const std::unique_ptr<host::Database> database = host::createDatabase();
        database->OpenEx(m_database);
        host::FieldList& fields = database->Contact().Fields();
        const host::FieldId id = fields.FieldID(name);
        if (type)
            *type = fields.Type(id);
        if (decimals)
            *decimals = fields.DecimalPlaces(id);
        return id;
    }

    /// Multiplies a number, or the value of a field, by a number into the target field.
    void multiplyButton(const QString& name, const QString& target, const QString& left, const QString& right,
                        const Keys& extra = NoWarning, const QString& leftField = {})
    {
        qint16 type = 0;
        int decimals = 0;
        const host::FieldId id = fieldId(target, &type, &decimals);
        qint16 leftType = 0;
        const host::FieldId leftId = leftField.isEmpty() ? 0 : fieldId(leftField, &leftType);
        const bool fromField = !leftField.isEmpty();
        writeButton(name, Keys{{"Type", "3"},
                               {"Name", "Button " + name},
                               {"Target", target},
                               {"TargetID", QString::number(id)},
                               {"TargetType", QString::number(type)},
                               {"TargetDecimals", QString::number(decimals)},
                               {"Over0", "0"},
                               {"Over1", "0"},
                               {"Over2", "0"},
                               {"Over3", "1"},
                               {"CalcOperator", "0"},
                               {"CalcTextOption0", fromField ? "0" : "1"},
                               {"CalcFieldOption0", fromField ? "1" : "0"},
                               {"CalcText0", left},
                               {"CalcField0", leftField},
                               {"CalcFieldID0", QString::number(leftId)},
                               {"CalcFieldType0", QString::number(leftType)},
                               {"CalcTextOption1", "1"},
                               {"CalcFieldOption1", "0"},
                               {"CalcText1", right}} +
                              extra);
    }

    /// An AutoNumber button counting in `counterFile` into the target field.
    void counterButton(const QString& name, const QString& target, const QString& counterFile)
    {
        qint16 type = 0;
        const host::FieldId id = fieldId(target, &type);
        writeButton(name, Keys{{"Type", "0"},
                               {"Name", "Button " + name},
                               {"Target", target},
                               {"TargetID", QString::number(id)},
                               {"TargetType", QString::number(type)},
                               {"Over3", "1"},
                               {"Format", Counter},
                               {"AutoIniFile", counterFile}} +
                              NoWarning);
    }

    QString field(const QString& name)
    {
        return run({QStringLiteral("get"), m_database, m_contact, name}).out.trimmed();
    }

    /// Waits until the field of the contact on screen holds the value; the host does not wait for the
    /// programs its triggers start.
    bool fieldBecomes(const QString& name, const QString& value, int msecs = 30000)
    {
        const QDeadlineTimer deadline(msecs);
        while (!deadline.hasExpired()) {
            if (field(name) == value)
                return true;
            QThread::msleep(50);
        }
        return false;
    }

    void setExitTrigger(const QString& fieldName, const QString& argumentText)
    {
        const valdora::test::CommandResult result =
            run({QStringLiteral("trigger"), m_database, fieldName, QStringLiteral("exit"),
                 QFileInfo(QStringLiteral(VALDORA_AUTO_PROGRAM)).absolutePath() +
                     QStringLiteral("/ValdoraAuto.exe ") + argumentText});
        ASSERT_EQ(result.code, 0) << result.err.toStdString();
    }

    /// ValdoraAuto.exe with this argument text as one argument, as the host starts it, to its end.
    int autoExe(const QString& argumentText, int msecs = 30000)
    {
        QProcess process;
        process.start(QStringLiteral(VALDORA_AUTO_PROGRAM), {argumentText});
        if (!process.waitForFinished(msecs)) {
            process.kill();
            process.waitForFinished();
            return -1;
        }
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    /// ValdoraAuto in the test's process, over the running host, with scripted messages and screens;
    /// with the database object that reads the host's database, as the program has it, or without.
    AutoEnd inProcess(const QString& argumentText, bool withDatabase = true)
    {
        m_autoSession = std::make_unique<ProgramSession>(m_platform, QStringLiteral("Valdora Auto"),
                                                         m_program, UserSettings(m_settings->path()),
                                                         TextLocale(QLocale(QStringLiteral("en_US"))));
        AutoHostFactories factories{[] { return host::createEventControl(); }, &host::createApplication};
        if (withDatabase)
            factories.database = &host::createDatabase;
        AutoProgram program(*m_autoSession, std::move(factories), m_screens);
        return program.Main(argumentText);
    }

    QString message(MessageId id) const { return m_session->messages().get(id); }

    QString m_contact;
    std::unique_ptr<ProgramSession> m_autoSession;
    test::ScriptedScreens m_screens;
};

TEST_F(AutoOnHostTest, ExitTriggerFillsTheContactOnScreenButtonAfterButton)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");
    // The second reads what the first wrote.
    multiplyButton(QStringLiteral("~101.ini"), Count, "", "2", NoWarning, Amount);
    setExitTrigger(Trigger, QStringLiteral("~100,~101"));
    startHost();

    ASSERT_EQ(run({QStringLiteral("enter-field"), Trigger}).code, 0);
    ASSERT_EQ(run({QStringLiteral("leave-field"), Trigger}).code, 0);

    EXPECT_TRUE(fieldBecomes(Count, QStringLiteral("24"))) << field(Count).toStdString();
    EXPECT_EQ(field(Amount), QStringLiteral("12.00"));
}

TEST_F(AutoOnHostTest, TypedUnsavedValueOfTheTriggeringFieldIsWhatTheButtonReads)
{
    multiplyButton(QStringLiteral("~100.ini"), Count, "", "2", NoWarning, Amount);
    setExitTrigger(Amount, QStringLiteral("~100"));
    startHost();

    ASSERT_EQ(run({QStringLiteral("type"), Amount, QStringLiteral("7")}).code, 0);
    ASSERT_EQ(run({QStringLiteral("leave-field"), Amount}).code, 0);

    EXPECT_TRUE(fieldBecomes(Count, QStringLiteral("14"))) << field(Count).toStdString();
}

struct ExeCase {
    const char* name;
    const char* argumentText;
    const char* amount;
    const char* count;
};

class AutoExeTest : public AutoOnHostTest, public ::testing::WithParamInterface<ExeCase> {};

TEST_P(AutoExeTest, RunsTheNonEmptyEntries)
{
    const ExeCase& row = GetParam();
    // Both ask for confirmation: only direct mode may write without a window.
    const Keys confirm{{"AutoWarning0", "0"}};
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4", confirm);
    multiplyButton(QStringLiteral("~101.ini"), Count, "5", "5", confirm);
    const QString amountBefore = field(Amount);
    const QString countBefore = field(Count);
    startHost();

    EXPECT_EQ(autoExe(QString::fromUtf8(row.argumentText)), 0);

    EXPECT_EQ(field(Amount), *row.amount ? QString::fromUtf8(row.amount) : amountBefore);
    EXPECT_EQ(field(Count), *row.count ? QString::fromUtf8(row.count) : countBefore);
}

INSTANTIATE_TEST_SUITE_P(ArgumentTexts, AutoExeTest,
                         ::testing::Values(ExeCase{"DirectMode", "*~100.ini", "12.00", ""},
                                           ExeCase{"EmptyEntryBetween", "~100,,~101", "12.00", "25"},
                                           ExeCase{"LeadingComma", ",~100", "12.00", ""},
                                           ExeCase{"TrailingComma", "~100,", "12.00", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(AutoOnHostTest, DirectModeShowsNoWindowWhateverTheButtonAsks)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4",
                   {{"AutoWarning0", "1"}, {"AutoWarning1", "1"}});
    startHost();

    EXPECT_EQ(inProcess(QStringLiteral("*~100.ini")), AutoEnd::Ran);
    EXPECT_TRUE(m_screens.shown.isEmpty());
    EXPECT_EQ(field(Amount), QStringLiteral("12.00"));
}

struct MissingCase {
    const char* name;
    const char* argumentText;
    const char* missing;
    const char* count;
};

class AutoMissingButtonTest : public AutoOnHostTest, public ::testing::WithParamInterface<MissingCase> {};

TEST_P(AutoMissingButtonTest, MissingButtonIsNamedAndTheRestRuns)
{
    const MissingCase& row = GetParam();
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");
    multiplyButton(QStringLiteral("~101.ini"), Count, "5", "5");
    const QString countBefore = field(Count);
    startHost();

    EXPECT_EQ(inProcess(QString::fromUtf8(row.argumentText)), AutoEnd::Ran);

    ASSERT_EQ(m_platform.messageTexts().size(), 1) << m_platform.messageTexts().join('|').toStdString();
    EXPECT_TRUE(m_platform.messageTexts()[0].startsWith(message(MessageId::MissingButtonHead) +
                                                        QString::fromUtf8(row.missing) +
                                                        message(MessageId::MissingButtonTail)));
    EXPECT_EQ(field(Count), *row.count ? QString::fromUtf8(row.count) : countBefore);
}

INSTANTIATE_TEST_SUITE_P(Entries, AutoMissingButtonTest,
                         ::testing::Values(MissingCase{"InTheMiddle", "~100,~555,~101", "~555.ini", "25"},
                                           MissingCase{"AtTheEnd", "~100,~555", "~555.ini", ""},
                                           MissingCase{"BlankBeforeComma", "~100 ,~101", "~100 .ini", "25"}),
                         [](const auto& info) { return std::string(info.param.name); });

/// What the host's database tells of the missing button ~555.
enum class FieldSource {
    Running,      ///< "User 1" runs "~100,~555" on exit, "Notes" (a lower id) queues "~555" on entry
    QueuedOnly,   ///< only "Notes" queues it, in a trigger other than the one that ran
    NotNamed,     ///< "Notes" runs "~100,~5555": neither is the missing button
    NoDatabase,   ///< as Running, but the program has no database object to read the triggers with
    DatabaseGone, ///< as Running, but the host's file cannot be opened beside the host meanwhile
    StoredTarget, ///< no trigger names it; a damaged file of that name, without a type, names "Count"
};

struct MissingFieldCase {
    const char* name;
    FieldSource source;
    const char* language; ///< the stored language choice: "0" English, "2" German
    const char* expected;
};

class AutoMissingButtonFieldTest : public AutoOnHostTest,
                                   public ::testing::WithParamInterface<MissingFieldCase> {
protected:
    void setTrigger(const QString& fieldName, const char* kind, const QString& argumentText)
    {
        const QString text =
            QDir::toNativeSeparators(m_program + QStringLiteral("/ValdoraAuto.exe ")) + argumentText;
        const valdora::test::CommandResult result =
            run({QStringLiteral("trigger"), m_database, fieldName, QString::fromLatin1(kind), text});
        ASSERT_EQ(result.code, 0) << result.err.toStdString();
    }
};

TEST_P(AutoMissingButtonFieldTest, MessageNamesTheFieldToChangeOrLeavesNoGap)
{
    const MissingFieldCase& row = GetParam();
    const QString argumentText = QStringLiteral("~100,~555");
    ASSERT_TRUE(m_session->userSettings().set(Application::Valdora, "Options", "Language",
                                              QString::fromUtf8(row.language)));
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");
    switch (row.source) {
    case FieldSource::Running:
    case FieldSource::NoDatabase:
    case FieldSource::DatabaseGone:
        setTrigger(Trigger, "exit", argumentText);
        [[fallthrough]];
    case FieldSource::QueuedOnly:
        setTrigger(Notes, "entry", QStringLiteral("~555"));
        break;
    case FieldSource::NotNamed:
        setTrigger(Notes, "entry", QStringLiteral("~100,~5555"));
        break;
    case FieldSource::StoredTarget:
        writeButton(QStringLiteral("~555.ini"), {{"Name", "Damaged"}, {"Target", Count}});
        break;
    }
    startHost();
    const QString away = m_database + QStringLiteral(".away");
    if (row.source == FieldSource::DatabaseGone) {
        ASSERT_TRUE(QFile::rename(m_database, away));
    }

    const AutoEnd end = inProcess(argumentText, row.source != FieldSource::NoDatabase);

    if (row.source == FieldSource::DatabaseGone) {
        ASSERT_TRUE(QFile::rename(away, m_database));
    }
    EXPECT_EQ(end, AutoEnd::Ran);
    EXPECT_EQ(m_platform.messageTexts(), QStringList{QString::fromUtf8(row.expected)});
    // The button before the missing one ran all the same.
    EXPECT_EQ(field(Amount), QStringLiteral("12.00"));
}

// The whole message, spelled out, with the words that stand where the field's name goes.
#define ENGLISH_MISSING(field)                                                                               \
    "The button ~555.ini does not exist.\r\nYou will need to change the Trigger settings of the " field      \
    "\r\nfor this error message to stop appearing."
#define GERMAN_MISSING(field)                                                                                \
    "Die Schaltfl\u00e4che ~555.ini existiert nicht.\r\nSie m\u00fcssen die Ausl\u00f6ser-Einstellungen "    \
    "\u00e4ndern f\u00fcr das " field "\r\ndamit diese Fehlermeldung nicht mehr erscheint."

INSTANTIATE_TEST_SUITE_P(
    Sources, AutoMissingButtonFieldTest,
    ::testing::Values(
        MissingFieldCase{"FoundEnglish", FieldSource::Running, "0", ENGLISH_MISSING("User 1 field")},
        MissingFieldCase{"FoundGerman", FieldSource::Running, "2", GERMAN_MISSING("User 1 Feld")},
        MissingFieldCase{"QueuedOnly", FieldSource::QueuedOnly, "0", ENGLISH_MISSING("Notes field")},
        MissingFieldCase{"NotFoundEnglish", FieldSource::NotNamed, "0", ENGLISH_MISSING("field")},
        MissingFieldCase{"NotFoundGerman", FieldSource::NotNamed, "2", GERMAN_MISSING("Feld")},
        MissingFieldCase{"NoDatabaseEnglish", FieldSource::NoDatabase, "0", ENGLISH_MISSING("field")},
        MissingFieldCase{"NoDatabaseGerman", FieldSource::NoDatabase, "2", GERMAN_MISSING("Feld")},
        MissingFieldCase{"DatabaseGone", FieldSource::DatabaseGone, "0", ENGLISH_MISSING("field")},
        MissingFieldCase{"StoredTargetEnglish", FieldSource::StoredTarget, "0",
                         ENGLISH_MISSING("Count field")},
        MissingFieldCase{"StoredTargetGerman", FieldSource::StoredTarget, "2", GERMAN_MISSING("Count Feld")}),
    [](const auto& info) { return std::string(info.param.name); });

#undef ENGLISH_MISSING
#undef GERMAN_MISSING

TEST_F(AutoOnHostTest, ComboMemberDeclinedKeepsTheEarlierMemberAndTheNextEntryRuns)
{
    multiplyButton(QStringLiteral("~201.ini"), Amount, "3", "4");
    multiplyButton(QStringLiteral("~202.ini"), Count, "5", "5", {{"AutoWarning0", "1"}});
    multiplyButton(QStringLiteral("~203.ini"), Notes, "6", "6");
    writeButton(QStringLiteral("~200.ini"), {{"Type", "5"},
                                             {"Button3", "1"},
                                             {"ButtonName3", "~201.ini"},
                                             {"Button12", "1"},
                                             {"ButtonName12", "~202.ini"},
                                             {"Button13", "1"},
                                             {"ButtonName13", "~203.ini"}});
    multiplyButton(QStringLiteral("~101.ini"), QStringLiteral("User 2"), "7", "7");
    const QString countBefore = field(Count);
    const QString notesBefore = field(Notes);
    startHost();
    m_screens.answerNextConfirmation(false);

    EXPECT_EQ(inProcess(QStringLiteral("~200,~101")), AutoEnd::Ran);

    EXPECT_EQ(m_screens.shown, QStringList({"confirm Count"}));
    EXPECT_EQ(field(Amount), QStringLiteral("12.00"));
    EXPECT_EQ(field(Count), countBefore);
    EXPECT_EQ(field(Notes), notesBefore);
    EXPECT_EQ(field(QStringLiteral("User 2")), QStringLiteral("49"));
}

TEST_F(AutoOnHostTest, ComboMembersInSlotsThreeAndTwelveBothRun)
{
    multiplyButton(QStringLiteral("~201.ini"), Amount, "3", "4");
    multiplyButton(QStringLiteral("~202.ini"), Count, "5", "5");
    writeButton(QStringLiteral("~200.ini"), {{"Type", "5"},
                                             {"Button3", "1"},
                                             {"ButtonName3", "~201.ini"},
                                             {"Button12", "1"},
                                             {"ButtonName12", "~202.ini"}});
    startHost();

    EXPECT_EQ(autoExe(QStringLiteral("~200")), 0);
    EXPECT_EQ(field(Amount), QStringLiteral("12.00"));
    EXPECT_EQ(field(Count), QStringLiteral("25"));
}

TEST_F(AutoOnHostTest, TwoRunnersStartedAtOnceTakeTwoDistinctNumbers)
{
    const QString counterFile = m_dir.filePath(QStringLiteral("shared-counter.ini"));
    counterButton(QStringLiteral("~300.ini"), QStringLiteral("User 3"), counterFile);
    counterButton(QStringLiteral("~301.ini"), QStringLiteral("User 4"), counterFile);
    setExitTrigger(QStringLiteral("User 3"), QStringLiteral("~300"));
    setExitTrigger(QStringLiteral("User 4"), QStringLiteral("~301"));
    startHost();

    QProcess first;
    QProcess second;
    first.start(QStringLiteral(VALDORA_AUTO_PROGRAM), {QStringLiteral("~300")});
    second.start(QStringLiteral(VALDORA_AUTO_PROGRAM), {QStringLiteral("~301")});
    ASSERT_TRUE(first.waitForFinished(30000)) << "first did not end within the wait";
    ASSERT_TRUE(second.waitForFinished(30000)) << "second did not end within the wait";
    EXPECT_EQ(first.exitCode(), 0);
    EXPECT_EQ(second.exitCode(), 0);

    QStringList numbers{field(QStringLiteral("User 3")), field(QStringLiteral("User 4"))};
    numbers.sort();
    EXPECT_EQ(numbers, QStringList({"1", "2"}));
}

TEST_F(AutoOnHostTest, ValdoraHandsTheContactOnScreenToValdoraAuto)
{
    ASSERT_TRUE(
        QFile::link(QStringLiteral(VALDORA_AUTO_PROGRAM), m_program + QStringLiteral("/ValdoraAuto.exe")));
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4", {{"AutoWarning0", "1"}});
    startHost();

    const valdora::test::CommandResult result = valdora({"--run", "~100", "--scope", "current"}, 30000);
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    // Handed over in direct mode: no confirmation window, the field written by ValdoraAuto.
    EXPECT_TRUE(fieldBecomes(Amount, QStringLiteral("12.00"))) << result.out.toStdString();
}

TEST_F(AutoOnHostTest, NoHostRunningEndsSilently)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");
    const QString before = field(Amount);

    EXPECT_EQ(autoExe(QStringLiteral("~100"), 20000), 1);
    EXPECT_EQ(field(Amount), before);
}

TEST_F(AutoOnHostTest, ClosedDatabaseIsReopened)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");
    startHost();
    ASSERT_EQ(run({QStringLiteral("close-db")}).code, 0);

    EXPECT_EQ(inProcess(QStringLiteral("~100")), AutoEnd::Ran);
    EXPECT_TRUE(m_platform.messages().isEmpty()) << m_platform.messageTexts().join('|').toStdString();
    EXPECT_EQ(field(Amount), QStringLiteral("12.00"));
}

TEST_F(AutoOnHostTest, DatabaseThatCannotBeReopenedEndsWithItsMessage)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");
    startHost();
    ASSERT_EQ(run({QStringLiteral("close-db")}).code, 0);
    // The file is gone: OpenFile("") cannot bring it back.
    ASSERT_TRUE(QFile::rename(m_database, m_database + QStringLiteral(".away")));

    EXPECT_EQ(inProcess(QStringLiteral("~100")), AutoEnd::DatabaseClosed);
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages()[0].text, message(MessageId::DatabaseNotReopened));
    EXPECT_EQ(m_platform.messages()[0].title, QStringLiteral("Valdora Auto"));
}

TEST_F(AutoOnHostTest, RefusedRegistrationIsToldAndTheButtonsRunAllTheSame)
{
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");
    qputenv("VALDORA_HOST_REFUSE_EVENTS", "1");
    startHost();
    qunsetenv("VALDORA_HOST_REFUSE_EVENTS");

    EXPECT_EQ(inProcess(QStringLiteral("~100")), AutoEnd::Ran);
    EXPECT_EQ(m_platform.messageTexts(), QStringList{message(MessageId::CannotRegisterHostEvents)});
    EXPECT_EQ(field(Amount), QStringLiteral("12.00"));
}

TEST_F(AutoOnHostTest, StaleSettingsStopTheProgramBeforeTheHostIsAsked)
{
    ASSERT_TRUE(m_session->userSettings().set(Application::Valdora, "Settings", "Version", "309"));
    multiplyButton(QStringLiteral("~100.ini"), Amount, "3", "4");
    const QString before = field(Amount);
    startHost();

    EXPECT_EQ(inProcess(QStringLiteral("~100")), AutoEnd::SettingsNotCurrent);
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(field(Amount), before);
}

} // namespace
} // namespace valdora::autorun
