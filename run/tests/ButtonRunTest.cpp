#include "run/ButtonRun.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"
#include "host/tests/ContactColumns.h"
#include "host/tests/HostProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

namespace valdora::run {
namespace {

using Keys = QList<QPair<QString, QString>>;

constexpr int Contacts = 4;
const QString User1 = QStringLiteral("User 1");
const QString User2 = QStringLiteral("User 2");
const QString User3 = QStringLiteral("User 3");

/// A program folder with a settings folder, a real sample database of four contacts and a session.
class ButtonRunTest : public ::testing::Test {
protected:
    ButtonRunTest()
        : m_locale(QStringLiteral("en_US")),
          m_session(m_platform, QStringLiteral("Valdora"), m_folder.path(), UserSettings(m_settings.path()),
                    TextLocale(QLocale(QStringLiteral("en_US"))))
    {
        QDir(m_folder.path()).mkpath(QStringLiteral("Settings"));
        m_session.setSettingsFile(m_folder.path() + QStringLiteral("/Settings/valdora.ini"));
        const QString path = m_folder.path() + QStringLiteral("/Sample.dbf");
        host::createSampleDatabase(path, Contacts);
        m_database = host::createDatabase();
        m_database->OpenEx(path);
        m_progress = std::make_unique<QStringList>();
    }

    QString writeButton(const QString& name, const Keys& keys)
    {
        const ButtonFile button = ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), name);
        for (const auto& [key, value] : keys)
            EXPECT_TRUE(button.write(key, value));
        return name;
    }
    QString readKey(const QString& name, const QString& key)
    {
        return ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), name).read(key);
    }

    /// A Now button writing today's date into a field with an overwrite mode.
    QString nowButton(const QString& name, const QString& target, const Keys& over)
    {
        Keys keys{{"Type", "4"}, {"Target", target}, {"NowFormatDate0", "1"}};
        keys += over;
        return writeButton(name, keys);
    }

    /// A Combo button with these slots, each a slot index, a member file and whether it is enabled.
    QString comboButton(const QString& name, const QList<std::tuple<int, QString, bool>>& members)
    {
        Keys keys{{"Type", "5"}};
        for (const auto& [slot, member, enabled] : members)
            keys += {{QStringLiteral("Button%1").arg(slot), QString(enabled ? "1" : "0")},
                     {QStringLiteral("ButtonName%1").arg(slot), member}};
        return writeButton(name, keys);
    }

    RunSummary runAll(const QString& button, std::optional<Scope> scope = Scope::AllContacts)
    {
        FixedScopeChooser scopes(scope);
        ButtonRun run(m_session, {m_database.get(), nullptr, nullptr},
                      ProgramProfile::valdora(m_session.locale()), &scopes);
        run.progress().setMinimumInterval(0);
        QStringList* seen = m_progress.get();
        run.progress().setObserver(
            [seen](const QString& key, const QString& value) { *seen << key + "=" + value; });
        return run.Process_Button(button);
    }

    /// A field of every contact, in the default sort.
    QStringList column(const QString& field) { return host::test::fieldOfEveryContact(*m_database, field); }
    void fillFirst(const QString& field, const QString& value)
    {
        host::ContactTable& contacts = m_database->Contact();
        contacts.Query(QString());
        contacts.MoveFirst();
        contacts.Edit();
        contacts.SetDataEx({contacts.Fields().FieldID(field)}, {value});
        ASSERT_FALSE(contacts.Update().isEmpty());
    }
    /// Sets a field of every contact, in the default sort.
    void setColumn(const QString& field, const QStringList& values)
    {
        host::ContactTable& contacts = m_database->Contact();
        const host::FieldId id = contacts.Fields().FieldID(field);
        contacts.Query(QString());
        QStringList ids;
        for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
            ids << contacts.Data(host::FieldNumber::UniqueId);
        for (qsizetype i = 0; i < ids.size() && i < values.size(); ++i) {
            contacts.Goto(ids[i]);
            contacts.Edit();
            contacts.SetDataEx({id}, {values[i]});
            ASSERT_EQ(contacts.Update(), ids[i]);
        }
    }
    QString today() const { return m_session.locale().dateText(QDate::currentDate()); }

    test::TemporaryUserSettings m_settings;
    test::PinnedLocale m_locale;
    QTemporaryDir m_folder;
    ScriptedPlatform m_platform;
    ProgramSession m_session;
    std::unique_ptr<host::Database> m_database;
    std::unique_ptr<QStringList> m_progress;
};

struct ModeCase {
    const char* name;
    Keys over;
    QString firstBefore; // the first contact's field before the run ("" for none)
    QString firstAfter;  // "{today}" for the computed date
    int written;
};

class ButtonRunModeTest : public ButtonRunTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ButtonRunModeTest, EveryContactGetsTheRuleResult)
{
    if (!GetParam().firstBefore.isEmpty())
        fillFirst(User1, QString(GetParam().firstBefore).replace(QStringLiteral("{today}"), today()));
    const QString button = nowButton(QStringLiteral("~101.ini"), User1, GetParam().over);

    const RunSummary summary = runAll(button);

    EXPECT_TRUE(summary.started);
    EXPECT_EQ(summary.inScope, Contacts);
    EXPECT_EQ(summary.written, GetParam().written);
    EXPECT_EQ(summary.unchanged, Contacts - GetParam().written);
    EXPECT_EQ(summary.failed, 0);
    // A rule with no option leaves every field as it was.
    QStringList expected(Contacts, GetParam().written == 0 ? QString() : today());
    expected[0] = QString(GetParam().firstAfter).replace(QStringLiteral("{today}"), today());
    EXPECT_EQ(column(User1), expected);
    EXPECT_TRUE(m_platform.messageTexts().isEmpty()) << m_platform.messageTexts().join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ButtonRunModeTest,
    ::testing::Values(
        ModeCase{"FillEmpty", {{"Over0", "1"}, {"Over1", "0"}}, "A", "A", Contacts - 1},
        ModeCase{"Append", {{"Over0", "0"}, {"Over1", "1"}, {"AppenSep", "/"}}, "A", "A/{today}", Contacts},
        ModeCase{"Overwrite", {{"Over0", "0"}, {"Over1", "0"}, {"Over2", "1"}}, "A", "{today}", Contacts},
        ModeCase{"Always", {{"Over0", "0"}, {"Over1", "0"}, {"Over3", "1"}}, "A", "{today}", Contacts},
        ModeCase{"NoOptionKeeps", {{"Over0", "0"}, {"Over1", "0"}}, "A", "A", 0},
        // Writing back what a contact holds leaves it unchanged, as the preview and the journal say.
        ModeCase{"AlwaysTheSameValue",
                 {{"Over0", "0"}, {"Over1", "0"}, {"Over3", "1"}},
                 "{today}",
                 "{today}",
                 Contacts - 1},
        ModeCase{"OverwriteTheSameValue",
                 {{"Over0", "0"}, {"Over1", "0"}, {"Over2", "1"}},
                 "{today}",
                 "{today}",
                 Contacts - 1}),
    [](const auto& info) { return std::string(info.param.name); });

struct SchemeCase {
    const char* name;
    Keys keys;      // "{folder}" stands for the program folder
    QString source; // the field the button reads ("" for none)
    QStringList sourceValues;
    QString target;
    QStringList targetBefore;
    QStringList targetAfter;
    QByteArray counterBefore; // AutoNumber: the counter file before and after the run
    QByteArray counterAfter;
};

void PrintTo(const SchemeCase& row, std::ostream* os)
{
    *os << row.name;
}

class ButtonRunSchemeTest : public ButtonRunTest, public ::testing::WithParamInterface<SchemeCase> {
protected:
    /// "{date:2000-01-31}" as the user writes dates, "{yearsAgo:30}" the date thirty years before today.
    QString expand(QString text) const
    {
        static const QRegularExpression date(QStringLiteral("\\{date:([0-9-]+)\\}"));
        static const QRegularExpression yearsAgo(QStringLiteral("\\{yearsAgo:([0-9]+)\\}"));
        if (const auto match = date.match(text); match.hasMatch())
            text.replace(match.captured(0),
                         m_session.locale().dateText(QDate::fromString(match.captured(1), Qt::ISODate)));
        if (const auto match = yearsAgo.match(text); match.hasMatch())
            text.replace(match.captured(0), m_session.locale().dateText(
                                                QDate::currentDate().addYears(-match.captured(1).toInt())));
        return text.replace(QStringLiteral("{folder}"), m_folder.path());
    }
    QStringList expand(const QStringList& texts) const
    {
        QStringList expanded;
        for (const QString& text : texts)
            expanded << expand(text);
        return expanded;
    }
    QString counterPath() const { return m_folder.path() + QStringLiteral("/Invoice.num"); }
};

TEST_P(ButtonRunSchemeTest, EveryContactGetsItsValue)
{
    const SchemeCase& row = GetParam();
    if (!row.source.isEmpty())
        setColumn(row.source, expand(row.sourceValues));
    setColumn(row.target, row.targetBefore);
    if (!row.counterBefore.isEmpty()) {
        ASSERT_TRUE(test::writeFile(counterPath(), row.counterBefore));
    }
    Keys keys{{"Type", ""}, {"Target", row.target}};
    for (const auto& [key, value] : row.keys)
        keys += {key, expand(value)};
    keys.removeFirst(); // "Type" comes from the row's keys
    const QString button = writeButton(QStringLiteral("~101.ini"), keys);

    const RunSummary summary = runAll(button);

    EXPECT_EQ(summary.inScope, Contacts);
    EXPECT_EQ(summary.failed, 0);
    EXPECT_EQ(column(row.target), expand(row.targetAfter));
    if (!row.counterAfter.isEmpty()) {
        EXPECT_EQ(test::readFile(counterPath()), row.counterAfter);
    }
    EXPECT_EQ(m_platform.messageTexts(), QStringList());
}

const Keys Always{{"Over0", "0"}, {"Over1", "0"}, {"Over2", "0"}, {"Over3", "1"}};
const Keys FillEmpty{{"Over0", "1"}, {"Over1", "0"}, {"Over2", "0"}, {"Over3", "0"}};

INSTANTIATE_TEST_SUITE_P(
    Schemes, ButtonRunSchemeTest,
    ::testing::Values(
        // Numbers are drawn only for the contacts whose value is used: the filled one keeps its text
        // and takes no number.
        SchemeCase{"AutoNumberFillsEmptyAndAdvancesPerUse",
                   Keys{{"Type", "0"},
                        {"Format", QString::fromLatin1("\xf9|\xfa")},
                        {"AutoTextPos", "1"},
                        {"AutoNumberPos", "1"},
                        {"AutoTextValue", "INV"},
                        {"AutoSep", "-"},
                        {"AutoIniFile", "{folder}/Invoice.num"}} +
                       FillEmpty,
                   {},
                   {},
                   "User 3",
                   {"", "kept", "", ""},
                   {"INV-0007", "kept", "INV-0008", "INV-0009"},
                   "0007\r\n",
                   "0010\r\n"},
        SchemeCase{"ConditionByCity",
                   Keys{{"Type", "1"},
                        {"Cond0", "1"},
                        {"Field0", "City"},
                        {"Operator0", "0"},
                        {"Condition0", "Hamburg"},
                        {"Value0", "Germany"},
                        {"Cond1", "1"},
                        {"Field1", "City"},
                        {"Operator1", "0"},
                        {"Condition1", "Lyon"},
                        {"Value1", "France"}} +
                       Always,
                   "City",
                   {"Hamburg", "Lyon", "Oslo", "Hamburg"},
                   "User 3",
                   {"", "", "old", ""},
                   {"Germany", "France", "", "Germany"},
                   {},
                   {}},
        SchemeCase{"AddDaysToADate",
                   Keys{{"Type", "2"},
                        {"CalcTextOption0", "0"},
                        {"CalcFieldOption0", "1"},
                        {"CalcField0", "Birth Date"},
                        {"CalcOperator0", "0"},
                        {"CalcTextOption1", "1"},
                        {"CalcFieldOption1", "0"},
                        {"CalcText1", "14"},
                        {"CalcOperator1", "0"},
                        {"CalcOperator2", "0"}} +
                       Always,
                   "Birth Date",
                   {"{date:2000-01-20}", "{date:1999-12-31}", "{date:2024-02-20}", "{date:1980-06-01}"},
                   "User 2",
                   {"", "", "", ""},
                   {"{date:2000-02-03}", "{date:2000-01-14}", "{date:2024-03-05}", "{date:1980-06-15}"},
                   {},
                   {}},
        SchemeCase{"MultiplyIntoTwoDecimals",
                   Keys{{"Type", "3"},
                        {"CalcTextOption0", "0"},
                        {"CalcFieldOption0", "1"},
                        {"CalcField0", "Count"},
                        {"CalcOperator", "0"},
                        {"CalcTextOption1", "1"},
                        {"CalcFieldOption1", "0"},
                        {"CalcText1", "1.5"}} +
                       Always,
                   "Count",
                   {"2", "3", "0", "7"},
                   "Amount",
                   {"", "", "", ""},
                   {"3.00", "4.50", "0.00", "10.50"},
                   {},
                   {}},
        SchemeCase{"AgeInYears",
                   Keys{{"Type", "6"},
                        {"DateField", "Birth Date"},
                        {"AgeFormat0", "1"},
                        {"AgeFormat1", "0"},
                        {"AgeFormat2", "0"},
                        {"Blank", "-"}} +
                       Always,
                   "Birth Date",
                   {"{yearsAgo:30}", "{yearsAgo:1}", "", "{yearsAgo:0}"},
                   "User 4",
                   {"", "", "", ""},
                   {"30", "1", "-", "0"},
                   {},
                   {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailingMemberCase {
    const char* name;
    Keys keys;               // of a button on "User 3" that always overwrites; "{folder}" as above
    bool prepared;           // false: it fails while it is prepared; true: at its first contact
    const char* messageHead; // how its first message begins
};

void PrintTo(const FailingMemberCase& row, std::ostream* os)
{
    *os << row.name;
}

class FailingMemberTest : public ButtonRunTest, public ::testing::WithParamInterface<FailingMemberCase> {};

// A member that cannot be prepared writes nothing at all; one that cannot compute its value for a
// contact writes nothing into that contact, and the run stops there rather than say the same at every
// contact. Its scheme's message, once, is the only thing that happens.
TEST_P(FailingMemberTest, WritesNothingAndSaysSo)
{
    const FailingMemberCase& row = GetParam();
    const QStringList kept(Contacts, QStringLiteral("kept"));
    setColumn(User3, kept);
    setColumn(QStringLiteral("City"), {"Hamburg", "Lyon", "Oslo", "Hamburg"});
    Keys keys{{"Target", User3}, {"Over0", "0"}, {"Over1", "0"}, {"Over2", "0"}, {"Over3", "1"}};
    for (const auto& [key, value] : row.keys)
        keys += {key, QString(value).replace(QStringLiteral("{folder}"), m_folder.path())};
    const QString button = writeButton(QStringLiteral("~101.ini"), keys);

    const RunSummary summary = runAll(button);

    EXPECT_EQ(column(User3), kept);
    EXPECT_EQ(summary.written, 0);
    EXPECT_EQ(summary.unchanged, 0);
    ASSERT_FALSE(m_platform.messageTexts().isEmpty());
    EXPECT_TRUE(m_platform.messageTexts().first().startsWith(QString::fromUtf8(row.messageHead)))
        << m_platform.messageTexts().join('|').toStdString();
    EXPECT_EQ(m_platform.messageTexts().size(), 1) << m_platform.messageTexts().join('|').toStdString();
    if (row.prepared) {
        EXPECT_TRUE(summary.started);
        EXPECT_TRUE(summary.stopped);
        EXPECT_EQ(summary.failed, 1);
        EXPECT_EQ(summary.notReached(), Contacts - 1);
    } else {
        EXPECT_FALSE(summary.started);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Members, FailingMemberTest,
    ::testing::Values(
        FailingMemberCase{"NowDaysNotANumber",
                          {{"Type", "4"}, {"NowDays", "7x"}, {"NowFormatDate0", "1"}},
                          false,
                          "Error 13: "},
        FailingMemberCase{"NowOperatorNotANumber",
                          {{"Type", "4"}, {"NowDays", "7"}, {"NowOperator", "minus"}},
                          false,
                          "Error 13: "},
        FailingMemberCase{
            "NowDaysOutOfRange", {{"Type", "4"}, {"NowDays", "99999999999"}}, false, "Error 6: "},
        FailingMemberCase{"AutoNumberDigitsNotANumber",
                          {{"Type", "0"},
                           {"Format", QString::fromLatin1("\xf8|\xfa")},
                           {"AutoFieldValue", "City"},
                           {"Truncate", "1"},
                           {"TruncateDigits", "3x"},
                           {"AutoIniFile", "{folder}/Invoice.num"}},
                          false,
                          "Error 13: "},
        FailingMemberCase{"AutoNumberFieldMissing",
                          {{"Type", "0"},
                           {"Format", QString::fromLatin1("\xf8|\xfa")},
                           {"AutoFieldValue", "No Such Field"},
                           {"AutoIniFile", "{folder}/Invoice.num"}},
                          false,
                          "Invalid data."},
        FailingMemberCase{"ConditionOperatorNotANumber",
                          {{"Type", "1"},
                           {"Cond0", "1"},
                           {"Field0", "City"},
                           {"Operator0", "x"},
                           {"Condition0", "Hamburg"},
                           {"Value0", "hit"}},
                          true,
                          "Error 13: "},
        FailingMemberCase{"ConditionFieldMissing",
                          {{"Type", "1"},
                           {"Cond0", "1"},
                           {"Field0", "No Such Field"},
                           {"Operator0", "0"},
                           {"Condition0", "Hamburg"},
                           {"Value0", "hit"}},
                          true,
                          "Invalid data."},
        FailingMemberCase{"CalculationInvalid",
                          {{"Type", "1"},
                           {"Cond0", "1"},
                           {"Field0", "City"},
                           {"Operator0", "1"},
                           {"Condition0", "Nowhere"},
                           {"Value0", "//[Phone]"}},
                          true,
                          "Invalid calculation"},
        FailingMemberCase{"AddFieldMissing",
                          {{"Type", "2"},
                           {"CalcTextOption0", "0"},
                           {"CalcFieldOption0", "1"},
                           {"CalcField0", "No Such Field"},
                           {"CalcOperator0", "0"}},
                          true,
                          "Invalid data."},
        FailingMemberCase{
            "AgeFieldMissing", {{"Type", "6"}, {"DateField", "No Such Field"}}, true, "Invalid data."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ButtonRunTest, ComboWithAMemberThatCannotBePreparedWritesNoMember)
{
    nowButton("~201.ini", User1, {{"Over3", "1"}});
    nowButton("~202.ini", User2, {{"Over3", "1"}, {"NowDays", "7x"}});
    const QString combo = comboButton("~200.ini", {{0, "~201.ini", true}, {1, "~202.ini", true}});

    const RunSummary summary = runAll(combo);

    EXPECT_FALSE(summary.started);
    EXPECT_EQ(column(User1), QStringList(Contacts, QString()));
    EXPECT_EQ(column(User2), QStringList(Contacts, QString()));
    ASSERT_EQ(m_platform.messageTexts().size(), 1);
    EXPECT_TRUE(m_platform.messageTexts()[0].contains(QStringLiteral("Initialize_Now")));
}

TEST_F(ButtonRunTest, ProgressValuesInOrder)
{
    const QString button = nowButton(QStringLiteral("~101.ini"), User1, {{"Over3", "1"}});
    runAll(button);
    QStringList expected{"Status=On", "Stage=-1"};
    for (int i = 1; i <= Contacts; ++i)
        expected << QStringLiteral("Stage=-%1").arg(i);
    expected << QStringLiteral("Total=%1").arg(Contacts);
    for (int i = 1; i <= Contacts; ++i)
        expected << QStringLiteral("Stage=%1").arg(i);
    expected << "Stage=0";
    // The summary of the run is cleared as it starts and written just before its last stage.
    QStringList summaries;
    QStringList others;
    for (const QString& value : *m_progress)
        (value.startsWith(QStringLiteral("Summary=")) ? summaries : others) << value;
    EXPECT_EQ(others, expected);
    ASSERT_EQ(summaries.size(), 2);
    EXPECT_EQ(summaries[0], QStringLiteral("Summary="));
    EXPECT_TRUE(
        summaries[1].contains(QStringLiteral(": %1 contacts written, 0 unchanged, 0 failed.").arg(Contacts)))
        << summaries[1].toStdString();
    EXPECT_EQ(m_progress->at(m_progress->size() - 2), summaries[1]);
    EXPECT_EQ(m_session.userSettings().get(Application::Valdora, "Settings", "MaxFields").toInt(),
              m_database->Contact().Fields().Count());
    // The progress window is started from the program folder; a missing one changes nothing.
    ASSERT_EQ(m_platform.startedPrograms().size(), 1);
    EXPECT_EQ(m_platform.startedPrograms()[0].program, m_folder.path() + QStringLiteral("/pb.exe"));
}

TEST_F(ButtonRunTest, RecordHeldByAnotherProcessIsLoggedAndTheRunGoesOn)
{
    host::ContactTable& contacts = m_database->Contact();
    contacts.Query(QString());
    contacts.MoveFirst();
    const QString held = contacts.Data(host::FieldNumber::UniqueId);
    const QString name = contacts.Data(host::FieldNumber::Contact);
    QProcess holder;
    ASSERT_TRUE(
        host::test::startLockHolder(holder, m_folder.path() + QStringLiteral("/Sample.dbf"), held, 60));
    const QString button = nowButton(QStringLiteral("~101.ini"), User1, {{"Over3", "1"}});

    const RunSummary summary = runAll(button);
    holder.kill();
    EXPECT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";

    EXPECT_EQ(summary.inScope, Contacts);
    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(summary.written, Contacts - 1);
    QStringList expected(Contacts, today());
    expected[0] = QString();
    EXPECT_EQ(column(User1), expected);
    ASSERT_EQ(m_platform.messageTexts().size(), 1);
    EXPECT_TRUE(
        m_platform.messageTexts()[0].startsWith(QStringLiteral("Contact: ") + name + QStringLiteral(" (")))
        << m_platform.messageTexts()[0].toStdString();
    QFile log(m_folder.path() + QStringLiteral("/error.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines =
        QString::fromUtf8(log.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].contains(name));
    EXPECT_TRUE(lines[0].contains(QStringLiteral("'") + today() + QStringLiteral("'")));
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("'") + User1 + QStringLiteral("'.")));
}

TEST_F(ButtonRunTest, ErrorLogThatCannotBeWrittenIsReportedOnceAndTheRunGoesOn)
{
    // A folder where the log should be: it cannot be opened for appending, even by root.
    const QString log = m_folder.path() + QStringLiteral("/error.log");
    ASSERT_TRUE(QDir().mkpath(log));
    host::ContactTable& contacts = m_database->Contact();
    contacts.Query(QString());
    contacts.MoveFirst();
    contacts.MoveNext();
    const QString held = contacts.Data(host::FieldNumber::UniqueId);
    QProcess holder;
    ASSERT_TRUE(
        host::test::startLockHolder(holder, m_folder.path() + QStringLiteral("/Sample.dbf"), held, 60));
    const QString button = nowButton(QStringLiteral("~101.ini"), User1, {{"Over3", "1"}});

    const RunSummary summary = runAll(button);
    holder.kill();
    holder.waitForFinished();

    EXPECT_EQ(summary.failed, 1);
    EXPECT_EQ(summary.written, Contacts - 1);
    const QStringList logFailures = m_platform.messageTexts().filter(QStringLiteral("The error log"));
    ASSERT_EQ(logFailures.size(), 1) << m_platform.messageTexts().join(u'\n').toStdString();
    EXPECT_TRUE(logFailures[0].contains(QStringLiteral("The error log %1 cannot be written").arg(log)))
        << logFailures[0].toStdString();
}

TEST_F(ButtonRunTest, MissingTargetFieldShowsMessage355AndWritesNothing)
{
    const QString button =
        nowButton(QStringLiteral("~101.ini"), QStringLiteral("No Such Field"), {{"Over3", "1"}});
    const RunSummary summary = runAll(button);
    EXPECT_FALSE(summary.started);
    ASSERT_EQ(m_platform.messageTexts().size(), 1);
    EXPECT_TRUE(m_platform.messageTexts()[0].startsWith(QStringLiteral("Invalid data.")));
    EXPECT_TRUE(m_platform.startedPrograms().isEmpty());
    EXPECT_EQ(column(User1), QStringList(Contacts, QString()));
}

TEST_F(ButtonRunTest, CancelledScopeRunsNothing)
{
    const QString button = nowButton(QStringLiteral("~101.ini"), User1, {{"Over3", "1"}});
    const RunSummary summary = runAll(button, std::nullopt);
    EXPECT_FALSE(summary.started);
    EXPECT_EQ(*m_progress, QStringList{"Status=On"});
    EXPECT_EQ(column(User1), QStringList(Contacts, QString()));
}

TEST_F(ButtonRunTest, UnknownTypeWritesNothing)
{
    fillFirst(User1, QStringLiteral("kept"));
    const QString button = writeButton("~101.ini", {{"Type", "9"}, {"Target", User1}, {"Over3", "1"}});
    const RunSummary summary = runAll(button);
    EXPECT_EQ(summary.written, 0);
    EXPECT_EQ(column(User1), QStringList({"kept", "", "", ""}));
}

TEST_F(ButtonRunTest, ComboRunsEnabledSlotsInOrderInOneWrite)
{
    nowButton("~201.ini", User1, {{"Over3", "1"}});
    nowButton("~202.ini", User2, {{"Over3", "1"}});
    const QString combo = comboButton(
        "~200.ini",
        {{0, "~201.ini", true}, {1, "~299.ini", false}, {2, "~202.ini", true}, {9, "~299.ini", true}});
    const RunSummary summary = runAll(combo);
    EXPECT_EQ(summary.written, Contacts);
    EXPECT_EQ(column(User1), QStringList(Contacts, today()));
    EXPECT_EQ(column(User2), QStringList(Contacts, today()));
}

TEST_F(ButtonRunTest, ComboMemberReadsTheValueAnEarlierMemberComputed)
{
    const host::FieldList& fields = m_database->Contact().Fields();
    const auto fieldKeys = [&](int k, const QString& name) {
        const QString n = QString::number(k);
        const host::FieldId id = fields.FieldID(name);
        return Keys{{"CalcTextOption" + n, "0"},
                    {"CalcFieldOption" + n, "1"},
                    {"CalcField" + n, name},
                    {"CalcFieldID" + n, QString::number(id)},
                    {"CalcFieldType" + n, QString::number(fields.Type(id))}};
    };
    const auto textKeys = [](int k, const QString& text) {
        const QString n = QString::number(k);
        return Keys{{"CalcTextOption" + n, "1"}, {"CalcFieldOption" + n, "0"}, {"CalcText" + n, text}};
    };
    writeButton("~201.ini", Keys{{"Type", "3"}, {"Target", "Amount"}, {"Over3", "1"}, {"CalcOperator", "0"}} +
                                textKeys(0, "3") + textKeys(1, "4"));
    writeButton("~202.ini", Keys{{"Type", "3"}, {"Target", "Count"}, {"Over3", "1"}, {"CalcOperator", "0"}} +
                                fieldKeys(0, "Amount") + textKeys(1, "2"));
    const QString combo = comboButton("~200.ini", {{0, "~201.ini", true}, {1, "~202.ini", true}});

    const RunSummary summary = runAll(combo);

    EXPECT_EQ(summary.written, Contacts);
    EXPECT_EQ(column(QStringLiteral("Amount")), QStringList(Contacts, QStringLiteral("12.00")));
    // Twice the 12 just computed, not twice what the contact held before the run.
    EXPECT_EQ(column(QStringLiteral("Count")), QStringList(Contacts, QStringLiteral("24")));
    EXPECT_TRUE(m_platform.messageTexts().isEmpty()) << m_platform.messageTexts().join('|').toStdString();
}

TEST_F(ButtonRunTest, ComboWithMissingMemberShowsMessage477)
{
    nowButton("~201.ini", User1, {{"Over3", "1"}});
    const QString combo = comboButton("~200.ini", {{0, "~201.ini", true}, {1, "~299.ini", true}});
    const RunSummary summary = runAll(combo);
    EXPECT_FALSE(summary.started);
    EXPECT_EQ(m_progress->last(), QStringLiteral("Stage=999999"));
    EXPECT_TRUE(m_progress->contains(QStringLiteral("Total=%1").arg(Contacts)));
    ASSERT_EQ(m_platform.messageTexts().size(), 1);
    EXPECT_TRUE(m_platform.messageTexts()[0].startsWith(QStringLiteral("One of the buttons combined")));
    EXPECT_EQ(column(User1), QStringList(Contacts, QString()));
}

TEST_F(ButtonRunTest, TargetDecimalsFollowTheTargetField)
{
    const QString numeric = nowButton("~101.ini", QStringLiteral("Amount"), {{"Over3", "1"}});
    runAll(numeric);
    EXPECT_EQ(readKey(numeric, "TargetDecimals"), QStringLiteral("2"));
    const QString text = nowButton("~102.ini", User1, {{"Over3", "1"}, {"TargetDecimals", "2"}});
    runAll(text);
    EXPECT_EQ(readKey(text, "TargetDecimals"), QStringLiteral("-1"));
}

TEST_F(ButtonRunTest, CurrentContactIsHandedToValdoraAuto)
{
    const QString button = nowButton(QStringLiteral("~101.ini"), User1, {{"Over3", "1"}});
    const RunSummary summary = runAll(button, Scope::CurrentContact);
    EXPECT_TRUE(summary.handedOver);
    ASSERT_EQ(m_platform.startedPrograms().size(), 2);
    EXPECT_EQ(m_platform.startedPrograms()[1].program, m_folder.path() + QStringLiteral("/ValdoraAuto.exe"));
    EXPECT_EQ(m_platform.startedPrograms()[1].arguments, QStringList{"*~101.ini"});
    EXPECT_EQ(*m_progress, QStringList({"Status=On", "Summary=", "Stage=-1", "Stage=0"}))
        << "no summary: ValdoraAuto does the run";
    EXPECT_EQ(column(User1), QStringList(Contacts, QString()));
}

} // namespace
} // namespace valdora::run
