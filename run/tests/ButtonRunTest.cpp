#include "run/ButtonRun.h"

#include "core/ScriptedPlatform.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/HostObjects.h"
#include "host/embedded/SampleData.h"
#include "host/tests/HostProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

namespace valdora::run {
namespace {

using Keys = QList<QPair<QString, QString>>;

constexpr int Contacts = 4;
const QString User1 = QStringLiteral("User 1");
const QString User2 = QStringLiteral("User 2");

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
        ButtonRun run(m_session, {m_database.get(), nullptr, nullptr}, RunVariant::valdora(), &scopes);
        run.progress().setMinimumInterval(0);
        QStringList* seen = m_progress.get();
        run.progress().setObserver(
            [seen](const QString& key, const QString& value) { *seen << key + "=" + value; });
        return run.Process_Button(button);
    }

    /// A field of every contact, in the default sort.
    QStringList column(const QString& field)
    {
        host::ContactTable& contacts = m_database->Contact();
        const host::FieldId id = contacts.Fields().FieldID(field);
        contacts.Query(QString());
        QStringList values;
        for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
            values << contacts.Data(id);
        return values;
    }
    void fillFirst(const QString& field, const QString& value)
    {
        host::ContactTable& contacts = m_database->Contact();
        contacts.Query(QString());
        contacts.MoveFirst();
        contacts.Edit();
        contacts.SetDataEx({contacts.Fields().FieldID(field)}, {value});
        ASSERT_FALSE(contacts.Update().isEmpty());
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
        fillFirst(User1, GetParam().firstBefore);
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
        ModeCase{"NoOptionKeeps", {{"Over0", "0"}, {"Over1", "0"}}, "A", "A", 0}),
    [](const auto& info) { return std::string(info.param.name); });

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
    EXPECT_EQ(*m_progress, expected);
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
    holder.waitForFinished();

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
    EXPECT_EQ(*m_progress, QStringList({"Status=On", "Stage=-1", "Stage=0"}));
    EXPECT_EQ(column(User1), QStringList(Contacts, QString()));
}

} // namespace
} // namespace valdora::run
