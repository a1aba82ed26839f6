// Keelbrook's logic without windows, over real embedded databases: the host check's delay, the
// language base, the opening and the login, the listing, the sorting, the removal and the error
// report.
#include "KeelbrookFixture.h"

#include "triggers/TriggerKind.h"
#include "triggers/program/DatabaseSelection.h"
#include "triggers/program/ErrorReportFile.h"
#include "triggers/program/KeelbrookTexts.h"
#include "triggers/program/ReportModel.h"
#include "triggers/program/TriggerListing.h"
#include "triggers/program/TriggerRemoval.h"

#include "core/testsupport/AnotherUser.h"
#include "core/testsupport/QtPrinters.h"
#include "host/embedded/EmbeddedDatabase.h"
#include "settings/SettingsLocation.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace valdora::keelbrook::test {
namespace {

struct DelayCase {
    const char* name;
    const char* arguments;
    int delay;
};

class HostCheckDelay : public ::testing::TestWithParam<DelayCase> {};

TEST_P(HostCheckDelay, WaitsOnlyWhenTheArgumentsHoldW5)
{
    EXPECT_EQ(hostCheckDelay(QString::fromUtf8(GetParam().arguments)), GetParam().delay);
}

INSTANTIATE_TEST_SUITE_P(Arguments, HostCheckDelay,
                         ::testing::Values(DelayCase{"None", "", 0}, DelayCase{"FromValdora", "/w5", 2000},
                                           DelayCase{"Anywhere", "x w5 y", 2000},
                                           DelayCase{"OtherNumber", "/w4", 0},
                                           DelayCase{"CapitalW", "/W5", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeelbrookTest, HostCheckRefusesWhenMemberOneAnswersAboveZero)
{
    FakeEventControl running(1);
    FakeEventControl closed(0);
    EXPECT_TRUE(hostIsRunning(running));
    EXPECT_FALSE(hostIsRunning(closed));
}

struct LanguageCase {
    const char* name;
    int language; ///< -1: no setting
    qint16 base;
    const char* chooseDatabase;
};

class KeelbrookLanguage : public KeelbrookTest, public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(KeelbrookLanguage, BaseComesFromValdorasOptionWithGermanByDefault)
{
    if (GetParam().language >= 0)
        setLanguage(GetParam().language);
    m_state->settleLanguage();
    EXPECT_EQ(m_state->offset(), GetParam().base);
    EXPECT_EQ(m_state->text(MessageId::ChooseDatabase), MessageTable::keelbrook().row(GetParam().base + 223));
}

INSTANTIATE_TEST_SUITE_P(Settings, KeelbrookLanguage,
                         ::testing::Values(LanguageCase{"Absent", -1, 2300, nullptr},
                                           LanguageCase{"English", 0, 300, nullptr},
                                           LanguageCase{"French", 1, 1300, nullptr},
                                           LanguageCase{"German", 2, 2300, nullptr}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeelbrookTest, LastDatabaseAndUserLiveInKeelbrooksOwnStore)
{
    ASSERT_TRUE(m_state->setLastDatabase(QStringLiteral("/data/contacts.dbf")));
    ASSERT_TRUE(m_state->setLastUser(QStringLiteral("Chris")));
    const UserSettings store;
    EXPECT_EQ(store.get(QStringLiteral("Keelbrook"), QStringLiteral("Settings"), QStringLiteral("LastDB")),
              QStringLiteral("/data/contacts.dbf"));
    EXPECT_EQ(store.get(QStringLiteral("Keelbrook"), QStringLiteral("Settings"), QStringLiteral("LastUser")),
              QStringLiteral("Chris"));
    EXPECT_TRUE(
        store.get(QStringLiteral("Valdora"), QStringLiteral("Settings"), QStringLiteral("LastDB")).isEmpty());
}

TEST_F(KeelbrookTest, ADatabaseThatCannotBeOpenedLeavesNothingBehindAndSaysNothing)
{
    bool asked = false;
    EXPECT_FALSE(openDatabase(*m_state, m_dir.filePath(QStringLiteral("missing.dbf")),
                              [&](host::Database&) { asked = true; }));
    EXPECT_FALSE(asked);
    EXPECT_EQ(m_state->database(), nullptr);
    EXPECT_TRUE(m_platform.messages().isEmpty());
    // A file that is no database at all.
    const QString junk = m_dir.filePath(QStringLiteral("junk.dbf"));
    ASSERT_TRUE(valdora::test::writeFile(junk, "not a database"));
    EXPECT_FALSE(openDatabase(*m_state, junk, [](host::Database&) {}));
    EXPECT_EQ(m_state->database(), nullptr);
    EXPECT_TRUE(m_platform.messages().isEmpty());
}

TEST_F(KeelbrookTest, ASingleUserDatabaseOpensWithoutALogin)
{
    const QString path = makeDatabase(QStringLiteral("Sales.dbf"));
    bool asked = false;
    ASSERT_TRUE(openDatabase(*m_state, path, [&](host::Database&) { asked = true; }));
    EXPECT_FALSE(asked);
    ASSERT_NE(m_state->database(), nullptr);
    EXPECT_EQ(m_state->databaseName(), QStringLiteral("Sales.dbf"));
    EXPECT_EQ(m_state->fields().Label(26), QStringLiteral("Contact"));
}

struct LoginCase {
    const char* name;
    const char* password;
    bool wrong;
};

class KeelbrookLogin : public KeelbrookTest, public ::testing::WithParamInterface<LoginCase> {};

TEST_P(KeelbrookLogin, OneAttemptThenTheOpeningGoesOn)
{
    const QString path = makeDatabase(QStringLiteral("Shared.dbf"));
    addUser(path, QStringLiteral("Chris"), QStringLiteral("s3cret"));
    int logins = 0;
    ASSERT_TRUE(openDatabase(*m_state, path, [&](host::Database& database) {
        ++logins;
        validateLogin(*m_state, database, QStringLiteral("Chris"), QString::fromUtf8(GetParam().password));
    }));
    EXPECT_EQ(logins, 1);
    EXPECT_EQ(m_state->lastUser(), QStringLiteral("Chris"));
    ASSERT_NE(m_state->database(), nullptr);
    if (GetParam().wrong) {
        EXPECT_EQ(m_platform.messageTexts(), QStringList{QStringLiteral("Sorry wrong username or password")});
        EXPECT_EQ(m_platform.messages().first().title, QStringLiteral("Keelbrook"));
    } else {
        EXPECT_TRUE(m_platform.messages().isEmpty());
        EXPECT_EQ(m_state->database()->CurrentUser(), QStringLiteral("Chris"));
    }
}

INSTANTIATE_TEST_SUITE_P(Passwords, KeelbrookLogin,
                         ::testing::Values(LoginCase{"Right", "s3cret", false},
                                           LoginCase{"Wrong", "guess", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeelbrookTest, ListingRunsByFieldIdWithEntryBeforeExit)
{
    const QString path = makeDatabase(QStringLiteral("Sales.dbf"),
                                      {{26, TriggerKind::Exit, QStringLiteral("/opt/tools/b.exe")},
                                       {7, TriggerKind::Exit, QStringLiteral("/opt/tools/phone-out.exe")},
                                       {7, TriggerKind::Entry, QStringLiteral("/opt/tools/phone-in.exe")},
                                       {11, TriggerKind::Entry, QStringLiteral("/macros/city.mpr")}});
    setLanguage(0);
    m_state->settleLanguage();
    openIntoState(path);
    const Listing listing = listTriggers(*m_state);
    ASSERT_EQ(listing.rows.size(), 4);
    const QList<std::pair<host::FieldId, QString>> expected = {{7, QStringLiteral("Entry")},
                                                               {7, QStringLiteral("Exit")},
                                                               {11, QStringLiteral("Entry")},
                                                               {26, QStringLiteral("Exit")}};
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(listing.rows[row].fieldId, expected[row].first) << row;
        EXPECT_EQ(listing.rows[row].typeText, expected[row].second) << row;
    }
    EXPECT_EQ(listing.rows[0].label, QStringLiteral("Phone"));
    EXPECT_EQ(listing.rows[0].description, QStringLiteral("/opt/tools/phone-in.exe"));
    EXPECT_EQ(listing.rows[2].description, QStringLiteral("/macros/city.mpr"));
    EXPECT_FALSE(listing.selectedRow);
    EXPECT_FALSE(m_state->ended());
    EXPECT_TRUE(
        m_state->trace().path().startsWith(QStringLiteral("frmReport.Form_Load/Write_Trigger(7,Entry,1)/")))
        << m_state->trace().path().toStdString();
    EXPECT_TRUE(m_state->trace().path().endsWith(QStringLiteral("Write_Trigger(26,Exit,4)/")));
}

struct DescriptionCase {
    const char* name;
    /// The trigger text; "%1" stands for Keelbrook's program folder with its separator.
    const char* text;
    const char* description; ///< "%1" as above
};

struct SettingsFileCase {
    const char* name;
    int programMode;
};

void PrintTo(const SettingsFileCase& row, std::ostream* os)
{
    *os << row.name;
}

class KeelbrookSettingsFile : public ::testing::TestWithParam<SettingsFileCase> {};

// Without a stored location Keelbrook takes the settings file that Valdora and ValdoraAuto take: the
// default one of the data folder, which for a user of an installed suite is not the program folder.
TEST_P(KeelbrookSettingsFile, IsTheOneTheOtherProgramsUse)
{
    const valdora::test::TemporaryUserSettings store;
    const valdora::test::ProgramFolderTree tree(GetParam().programMode);
    const valdora::test::PinnedDataHome pinned(tree.openHome());
    ScriptedPlatform platform;
    EXPECT_TRUE(valdora::test::asAnotherUser([&] {
        ProgramSession valdora(platform, QStringLiteral("Valdora"), tree.program());
        valdora.setSettingsFile(SettingsLocation::settingsFilePathAtStartUp(valdora));
        ProgramSession session(platform, texts::ProgramTitle, tree.program());
        KeelbrookState state(
            session, [] { return std::unique_ptr<host::Database>(); }, QStringLiteral("3.1.3"));
        state.settleSettingsFile();
        return session.settingsFilePath() == valdora.settingsFilePath() &&
               session.buttonFolder() == valdora.buttonFolder() &&
               session.buttonFolder().startsWith(valdora.dataFolder());
    }));
}

INSTANTIATE_TEST_SUITE_P(Folders, KeelbrookSettingsFile,
                         ::testing::Values(SettingsFileCase{"PortableCopy", 0777},
                                           SettingsFileCase{"Installed", 0555}),
                         [](const auto& info) { return std::string(info.param.name); });

class KeelbrookDescription : public KeelbrookTest, public ::testing::WithParamInterface<DescriptionCase> {};

TEST_P(KeelbrookDescription, ButtonTriggersReadAsTheButtonsCaptions)
{
    const QString buttons = m_dir.filePath(QStringLiteral("Buttons"));
    ASSERT_TRUE(valdora::test::writeFile(buttons + QStringLiteral("/~100.ini"),
                                         "[Settings]\r\nName=Next Invoice\r\n"));
    ASSERT_TRUE(
        valdora::test::writeFile(buttons + QStringLiteral("/~101.ini"), "[Settings]\r\nName=Birthday\r\n"));
    ASSERT_TRUE(UserSettings().set(Application::Valdora, QStringLiteral("Settings"),
                                   QStringLiteral("IniLocation"), buttons + QStringLiteral("/Valdora.ini")));
    m_state->settleSettingsFile();
    const QString folder = QDir::toNativeSeparators(m_dir.path() + u'/');
    const QString text = QString::fromUtf8(GetParam().text).replace(QStringLiteral("%1"), folder);
    const QString path = makeDatabase(QStringLiteral("Sales.dbf"), {{7, TriggerKind::Exit, text}});
    openIntoState(path);
    const Listing listing = listTriggers(*m_state);
    ASSERT_EQ(listing.rows.size(), 1);
    EXPECT_EQ(listing.rows[0].description,
              QString::fromUtf8(GetParam().description).replace(QStringLiteral("%1"), folder));
    EXPECT_EQ(listing.rows[0].rawText, text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, KeelbrookDescription,
    ::testing::Values(
        DescriptionCase{"OneButton", "%1ValdoraAuto.exe ~100", "Valdora Button: Next Invoice"},
        DescriptionCase{"Queue", "%1ValdoraAuto.exe ~100,~101", "Valdora Buttons: Next Invoice, Birthday"},
        DescriptionCase{"UnnamedButton", "%1ValdoraAuto.exe ~100,~999", "Incorrect Valdora button syntax"},
        DescriptionCase{"CapitalLetters", "%1VALDORAAUTO.EXE ~100", "Incorrect Valdora button syntax"},
        DescriptionCase{"OtherFolder", "/elsewhere/ValdoraAuto.exe ~100", "/elsewhere/ValdoraAuto.exe ~100"},
        DescriptionCase{"Macro", "/macros/Follow up.mpr", "/macros/Follow up.mpr"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeelbrookTest, FieldsPastFifteenHundredAreNotListed)
{
    const QString path = makeDatabase(QStringLiteral("Big.dbf"));
    growFields(path, 1520);
    {
        host::embedded::EmbeddedDatabase database;
        database.OpenEx(path);
        const QList<host::FieldId> ids = database.fields().ids();
        ASSERT_GT(ids.last(), 1500);
        host::FieldList& fields = database.Contact().Fields();
        fields.ExitTrigger(1500, QStringLiteral("/opt/last.exe"));
        fields.ExitTrigger(ids.last(), QStringLiteral("/opt/beyond.exe"));
    }
    openIntoState(path);
    const Listing listing = listTriggers(*m_state);
    ASSERT_EQ(listing.rows.size(), 1);
    EXPECT_EQ(listing.rows[0].fieldId, 1500);
}

TEST_F(KeelbrookTest, TheRememberedTriggerIsSelected)
{
    const QString command = QStringLiteral("/opt/Valdora/ValdoraAuto.exe ~100");
    const QString path = makeDatabase(QStringLiteral("Sales.dbf"), {{7, TriggerKind::Exit, command},
                                                                    {11, TriggerKind::Exit, command},
                                                                    {11, TriggerKind::Entry, command}});
    openIntoState(path);
    m_state->rememberTrigger({.fieldId = 11, .kind = TriggerKind::Exit, .text = command});
    const Listing listing = listTriggers(*m_state);
    ASSERT_EQ(listing.rows.size(), 3);
    EXPECT_EQ(listing.selectedRow, 2);
}

TEST_F(KeelbrookTest, AFailureWritesTheErrorReportShowsItAndEnds)
{
    setLanguage(0);
    m_state->settleLanguage();
    // No database was opened (an empty box on OK): the listing's first host call has nothing to call.
    const Listing listing = listTriggers(*m_state);
    EXPECT_TRUE(listing.rows.isEmpty());
    EXPECT_EQ(m_endCount, 1);
    EXPECT_TRUE(m_state->ended());
    EXPECT_TRUE(m_state->failed());
    const QStringList lines = errorReportLines();
    ASSERT_EQ(lines.size(), 4) << lines.join(u'|').toStdString();
    EXPECT_TRUE(
        lines[0].endsWith(QStringLiteral(" 91: Object variable or With block variable not setIn: frmReport")))
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], QStringLiteral("App: Keelbrook 3.1.3"));
    EXPECT_EQ(lines[2], QStringLiteral("Path: frmReport.Form_Load/"));
    EXPECT_EQ(lines[3], QStringLiteral("Currently: 0"));
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages().first().text,
              QStringLiteral("91: Object variable or With block variable not set\nIn: frmReport\n\n"
                             "Please e-mail the error_report.txt file in the app directory to: ") +
                  MessageTable::supportAddress());
    EXPECT_EQ(m_platform.messages().first().title, QStringLiteral("Keelbrook"));
}

TEST_F(KeelbrookTest, TheErrorReportFileGrowsByFourLinesAPerFailure)
{
    for (int failure = 0; failure < 2; ++failure)
        m_state->reportFailure(Failure(ErrorNumber::FileNotFound), QStringLiteral("frmAdd"));
    EXPECT_EQ(errorReportLines().size(), 8);
    EXPECT_EQ(m_endCount, 1);
}

TEST(ErrorReportLines, FourLinesWithoutASeparatorBeforeIn)
{
    const ErrorRecord record{.when = QDateTime(QDate(2026, 3, 14), QTime(9, 5, 7)),
                             .number = 3265,
                             .description = QStringLiteral("Item not found"),
                             .source = QStringLiteral("frmReport"),
                             .program = QStringLiteral("Keelbrook 3.1.3"),
                             .trace = QStringLiteral("Form_Load/frmReport.Form_Load/"),
                             .progress = 2012};
    EXPECT_EQ(errorReportLines(record),
              (QStringList{QStringLiteral("2026-03-14 09:05:07 3265: Item not foundIn: frmReport"),
                           QStringLiteral("App: Keelbrook 3.1.3"),
                           QStringLiteral("Path: Form_Load/frmReport.Form_Load/"),
                           QStringLiteral("Currently: 2012")}));
}

// Sorting: a fixture of rows whose texts sort differently as text and as numbers.
TriggerRow sortRow(const char* label, const char* type, host::FieldId id)
{
    TriggerRow row;
    row.label = QString::fromUtf8(label);
    row.typeText = QString::fromUtf8(type);
    row.description = row.rawText = QStringLiteral("/opt/x.exe");
    row.fieldId = id;
    return row;
}

QList<TriggerRow> sortRows()
{
    return {sortRow("Phone", "Entry", 7), sortRow("city", "Exit", 10), sortRow("Zip", "Entry", 9),
            sortRow("Amount", "Exit", 100)};
}

std::array<QString, ReportModel::ColumnCount> englishHeaders()
{
    return {QStringLiteral("Field"), QStringLiteral("Type"),
            QStringLiteral("Program, macro or Valdora button"), QStringLiteral("Field ID")};
}

QStringList column(const ReportModel& model, int column)
{
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row)
        texts << model.cellText(row, column);
    return texts;
}

QStringList headers(const ReportModel& model)
{
    QStringList texts;
    for (int section = 0; section < model.columnCount(); ++section)
        texts << model.headerData(section, Qt::Horizontal).toString();
    return texts;
}

TEST(ReportModelSort, FieldIdTwiceSortsDescendingThenAscendingAsText)
{
    ReportModel model(englishHeaders());
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    model.setRows(sortRows());
    model.sortByHeader(ReportModel::FieldIdColumn);
    EXPECT_EQ(
        column(model, ReportModel::FieldIdColumn),
        (QStringList{QStringLiteral("9"), QStringLiteral("7"), QStringLiteral("100"), QStringLiteral("10")}));
    EXPECT_EQ(headers(model).last(), QStringLiteral("<<  Field ID"));
    model.sortByHeader(ReportModel::FieldIdColumn);
    EXPECT_EQ(
        column(model, ReportModel::FieldIdColumn),
        (QStringList{QStringLiteral("10"), QStringLiteral("100"), QStringLiteral("7"), QStringLiteral("9")}));
    EXPECT_EQ(headers(model), (QStringList{QStringLiteral("Field"), QStringLiteral("Type"),
                                           QStringLiteral("Program, macro or Valdora button"),
                                           QStringLiteral(">>  Field ID")}));
}

TEST(ReportModelSort, TheOrderTurnsOverAcrossColumnsAndOnlyTheClickedHeaderIsMarked)
{
    ReportModel model(englishHeaders());
    model.setRows(sortRows());
    model.sortByHeader(ReportModel::FieldColumn);
    // Letter case aside: "city" between "Amount" and "Phone".
    EXPECT_EQ(column(model, ReportModel::FieldColumn),
              (QStringList{QStringLiteral("Zip"), QStringLiteral("Phone"), QStringLiteral("city"),
                           QStringLiteral("Amount")}));
    model.sortByHeader(ReportModel::TypeColumn);
    EXPECT_EQ(model.sortOrder(), Qt::AscendingOrder);
    EXPECT_EQ(headers(model),
              (QStringList{QStringLiteral("Field"), QStringLiteral(">>  Type"),
                           QStringLiteral("Program, macro or Valdora button"), QStringLiteral("Field ID")}));
    // Equal texts keep the order they had.
    EXPECT_EQ(column(model, ReportModel::FieldColumn),
              (QStringList{QStringLiteral("Zip"), QStringLiteral("Phone"), QStringLiteral("city"),
                           QStringLiteral("Amount")}));
}

struct AfterRemovalCase {
    const char* name;
    int removed;
    int remaining;
    std::optional<int> select;
};

class RowAfterRemoval : public ::testing::TestWithParam<AfterRemovalCase> {};

TEST_P(RowAfterRemoval, FirstStaysFirstOtherwiseTheRowBefore)
{
    EXPECT_EQ(rowAfterRemoval(GetParam().removed, GetParam().remaining), GetParam().select);
}

INSTANTIATE_TEST_SUITE_P(Rows, RowAfterRemoval,
                         ::testing::Values(AfterRemovalCase{"OnlyRow", 0, 0, std::nullopt},
                                           AfterRemovalCase{"FirstOfSeveral", 0, 3, 0},
                                           AfterRemovalCase{"FourthRow", 3, 4, 2},
                                           AfterRemovalCase{"LastRow", 4, 4, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LoginRightsCase {
    const char* name;
    std::optional<const char*> password; // nullopt: the login window was cancelled
    bool mayChange;
};

void PrintTo(const LoginRightsCase& row, std::ostream* os)
{
    *os << row.name;
}

class KeelbrookLoginRights : public KeelbrookTest, public ::testing::WithParamInterface<LoginRightsCase> {};

// The host decides what a database with passwords allows without a valid login: its triggers can be
// listed, not added or removed; Keelbrook says why and goes on.
TEST_P(KeelbrookLoginRights, OnlyAValidLoginChangesTriggers)
{
    const LoginRightsCase& row = GetParam();
    const QString path =
        makeDatabase(QStringLiteral("Shared.dbf"), {{7, TriggerKind::Entry, QStringLiteral("/opt/in.exe")},
                                                    {7, TriggerKind::Exit, QStringLiteral("/opt/out.exe")}});
    addUser(path, QStringLiteral("Chris"), QStringLiteral("s3cret"));
    setLanguage(0);
    m_state->settleLanguage();
    ASSERT_TRUE(openDatabase(*m_state, path, [&](host::Database& database) {
        if (row.password)
            validateLogin(*m_state, database, QStringLiteral("Chris"), QString::fromUtf8(*row.password));
    }));
    m_platform.clearRecord();
    ReportModel model{englishHeaders()};
    model.setRows(listTriggers(*m_state).rows);
    ASSERT_EQ(model.rowCount(), 2) << "reading is always allowed";

    m_platform.answerNextMessage(MessageAnswer::Yes);
    const RemovalResult removal = cmdRemove(*m_state, model, 1);
    bool added = true;
    try {
        triggers::writeTrigger(m_state->fields(), 9, TriggerKind::Entry, QStringLiteral("/opt/new.exe"));
    } catch (const host::HostFailure& refused) {
        added = false;
        EXPECT_EQ(refused.number(), host::HostError::WriteRefused);
    }

    EXPECT_FALSE(m_state->ended());
    EXPECT_FALSE(m_state->failed()) << "no error report";
    EXPECT_EQ(added, row.mayChange);
    if (row.mayChange) {
        EXPECT_EQ(removal.end, RemovalEnd::Removed);
        EXPECT_TRUE(triggerIn(path, 7, TriggerKind::Exit).isEmpty());
        EXPECT_EQ(triggerIn(path, 9, TriggerKind::Entry), QStringLiteral("/opt/new.exe"));
    } else {
        EXPECT_EQ(removal.end, RemovalEnd::NotRemoved);
        EXPECT_EQ(triggerIn(path, 7, TriggerKind::Exit), QStringLiteral("/opt/out.exe"));
        EXPECT_TRUE(triggerIn(path, 9, TriggerKind::Entry).isEmpty());
        ASSERT_EQ(m_platform.messages().size(), 2) << m_platform.messageTexts().join('|').toStdString();
        EXPECT_TRUE(m_platform.messages().last().text.contains(QStringLiteral("can be read but not changed")))
            << m_platform.messages().last().text.toStdString();
        EXPECT_EQ(m_platform.messages().last().title, QStringLiteral("Keelbrook"));
    }
}

INSTANTIATE_TEST_SUITE_P(Logins, KeelbrookLoginRights,
                         ::testing::Values(LoginRightsCase{"Valid", "s3cret", true},
                                           LoginRightsCase{"WrongPassword", "guess", false},
                                           LoginRightsCase{"Cancelled", std::nullopt, false}),
                         [](const auto& info) { return std::string(info.param.name); });

class KeelbrookRemoval : public KeelbrookTest {
protected:
    void SetUp() override
    {
        KeelbrookTest::SetUp();
        m_path = makeDatabase(QStringLiteral("Sales.dbf"),
                              {{7, TriggerKind::Entry, QStringLiteral("/opt/in.exe")},
                               {7, TriggerKind::Exit, QStringLiteral("/opt/out.exe")}});
        setLanguage(0);
        m_state->settleLanguage();
        openIntoState(m_path);
        m_model.setRows(listTriggers(*m_state).rows);
    }

    QString m_path;
    ReportModel m_model{englishHeaders()};
};

TEST_F(KeelbrookRemoval, WithoutASelectionNothingChanges)
{
    const RemovalResult result = cmdRemove(*m_state, m_model, std::nullopt);
    EXPECT_EQ(result.end, RemovalEnd::NotRemoved);
    EXPECT_EQ(m_platform.messageTexts(), QStringList{QStringLiteral("No item selected.")});
    EXPECT_EQ(m_model.rowCount(), 2);
    EXPECT_EQ(triggerIn(m_path, 7, TriggerKind::Entry), QStringLiteral("/opt/in.exe"));
    EXPECT_FALSE(m_state->ended());
}

TEST_F(KeelbrookRemoval, NoKeepsTheTrigger)
{
    m_platform.answerNextMessage(MessageAnswer::No);
    const RemovalResult result = cmdRemove(*m_state, m_model, 1);
    EXPECT_EQ(result.end, RemovalEnd::Declined);
    ASSERT_EQ(m_platform.messages().size(), 1);
    EXPECT_EQ(m_platform.messages().first().text,
              QStringLiteral("Are you sure you want to delete the ExitTrigger associated with Phone?"));
    EXPECT_EQ(m_platform.messages().first().buttons, MessageButtons::YesNo);
    EXPECT_EQ(m_model.rowCount(), 2);
    EXPECT_EQ(triggerIn(m_path, 7, TriggerKind::Exit), QStringLiteral("/opt/out.exe"));
}

TEST_F(KeelbrookRemoval, YesClearsThatKindOnlyAndRemovesTheRow)
{
    m_platform.answerNextMessage(MessageAnswer::Yes);
    const RemovalResult result = cmdRemove(*m_state, m_model, 1);
    EXPECT_EQ(result.end, RemovalEnd::Removed);
    EXPECT_EQ(result.select, 0);
    EXPECT_EQ(m_model.rowCount(), 1);
    EXPECT_TRUE(triggerIn(m_path, 7, TriggerKind::Exit).isEmpty());
    EXPECT_EQ(triggerIn(m_path, 7, TriggerKind::Entry), QStringLiteral("/opt/in.exe"));
    EXPECT_TRUE(m_state->trace().path().endsWith(QStringLiteral("cmdRemove/")));
}

} // namespace
} // namespace valdora::keelbrook::test
