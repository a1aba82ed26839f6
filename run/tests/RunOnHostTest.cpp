// Button runs against a real headless ContactHost.exe: the current lookup handed over in
// "~currentLU.LKU", ValdoraAuto's run on the contact on screen, and Valdora.exe --run end to end.
#include "ProgramOnHostFixture.h"

#include "run/ButtonRun.h"
#include "run/ProgramStartup.h"
#include "run/preview/RunPreview.h"

#include "core/testsupport/AnotherUser.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/client/ClientFactories.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/tests/HostProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <tuple>

namespace valdora::run {
namespace {

const QString Amount = QStringLiteral("Amount");
const QString Count = QStringLiteral("Count");
const QString Picked = QStringLiteral("picked");

/// Valdora's session beside a running headless host on five sample contacts.
class RunOnHostTest : public test::ProgramOnHostTest {
protected:
    void SetUp() override
    {
        ProgramOnHostTest::SetUp();
        m_ids = contactIds();
        ASSERT_EQ(m_ids.size(), 5);
    }

    QStringList contactIds()
    {
        const std::unique_ptr<host::Database> database = host::createDatabase();
        database->OpenEx(m_database);
        host::ContactTable& contacts = database->Contact();
        contacts.Query(QString());
        QStringList ids;
        for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
            ids << contacts.Data(host::FieldNumber::UniqueId);
        return ids;
    }

    /// Multiplies 3 by 4 into a field; ValdoraAuto's copy of a definition also holds the target's id,
    /// type and decimals, as the editor saves them.
    void multiplyButton(const QString& name, const QString& target, const QString& over = "Over3")
    {
        const std::unique_ptr<host::Database> database = host::createDatabase();
        database->OpenEx(m_database);
        host::FieldList& fields = database->Contact().Fields();
        const host::FieldId id = fields.FieldID(target);
        writeButton(name, {{"Type", "3"},
                           {"Target", target},
                           {"TargetID", QString::number(id)},
                           {"TargetType", QString::number(fields.Type(id))},
                           {"TargetDecimals", QString::number(fields.DecimalPlaces(id))},
                           {"Over0", over == "Over0" ? "1" : "0"},
                           {"Over1", over == "Over1" ? "1" : "0"},
                           {"Over2", over == "Over2" ? "1" : "0"},
                           {"Over3", over == "Over3" ? "1" : "0"},
                           {"CalcOperator", "0"},
                           {"CalcTextOption0", "1"},
                           {"CalcFieldOption0", "0"},
                           {"CalcText0", "3"},
                           {"CalcTextOption1", "1"},
                           {"CalcFieldOption1", "0"},
                           {"CalcText1", "4"}});
    }

    /// The value of a field of every contact, in the default sort, as the host's command line reads it.
    QStringList column(const QString& field)
    {
        QStringList values;
        for (const QString& id : m_ids)
            values << run({QStringLiteral("get"), m_database, id, field}).out.trimmed();
        return values;
    }
    void set(const QString& id, const QString& field, const QString& value)
    {
        const valdora::test::CommandResult result =
            run({QStringLiteral("set"), m_database, id, field, value});
        ASSERT_EQ(result.code, 0) << result.err.toStdString();
    }
    /// The column with the value at these contacts (indices of the default sort).
    static QStringList with(QStringList column, const QList<int>& at, const QString& value)
    {
        for (const int index : at)
            column[index] = value;
        return column;
    }
    /// Makes the running host's current lookup these contacts.
    void lookupOf(const QStringList& ids)
    {
        for (const QString& id : ids)
            set(id, QStringLiteral("User 2"), Picked);
        const valdora::test::CommandResult result =
            run({QStringLiteral("lookup"), QStringLiteral("User 2"), QStringLiteral("equals"), Picked});
        ASSERT_EQ(result.code, 0) << result.err.toStdString();
        ASSERT_EQ(result.out.split(u'\n', Qt::SkipEmptyParts).size(), ids.size()) << result.out.toStdString();
    }

    /// Valdora's run over the running host, with the scope answered and every Progress value recorded.
    RunSummary runValdora(const QString& button, Scope scope)
    {
        const StartupHost objects = openHostObjects({&host::createApplication, &host::createDatabase});
        FixedScopeChooser scopes(scope);
        ButtonRun buttonRun(*m_session, objects.runHost(), ProgramProfile::valdora(m_session->locale()),
                            &scopes);
        buttonRun.progress().setMinimumInterval(0);
        buttonRun.progress().setObserver(
            [this](const QString& key, const QString& value) { m_progress << key + "=" + value; });
        return buttonRun.Process_Button(button);
    }

    /// ValdoraAuto's run on the contact on screen of the running host.
    RunSummary runValdoraAuto(const QString& button)
    {
        const StartupHost objects = openHostObjects({&host::createApplication, &host::createDatabase});
        ButtonRun buttonRun(*m_session, {objects.database.get(), nullptr, objects.view.get()},
                            ProgramProfile::valdoraAuto(m_session->locale()));
        buttonRun.progress().setObserver(
            [this](const QString& key, const QString& value) { m_progress << key + "=" + value; });
        return buttonRun.Process_Button(button);
    }

    QStringList m_ids;
    QStringList m_progress;
};

TEST_F(RunOnHostTest, LookupOfThreeIsWrittenWithProgressInOrder)
{
    multiplyButton(QStringLiteral("~101.ini"), Amount);
    const QStringList before = column(Amount);
    startHost();
    lookupOf({m_ids[0], m_ids[2], m_ids[4]});

    const RunSummary summary = runValdora(QStringLiteral("~101.ini"), Scope::CurrentLookup);

    EXPECT_TRUE(summary.started);
    EXPECT_EQ(summary.inScope, 3);
    EXPECT_EQ(summary.written, 3);
    EXPECT_EQ(summary.failed, 0);
    EXPECT_EQ(column(Amount), with(before, {0, 2, 4}, QStringLiteral("12.00")));
    // The host saved its lookup where the run read it.
    EXPECT_TRUE(QFile::exists(m_program + QStringLiteral("/~currentLU.LKU")));
    EXPECT_EQ(m_progress,
              QStringList({"Status=On", "Summary=", "Stage=-1", "Stage=-1", "Stage=-2", "Stage=-3", "Total=3",
                           "Stage=1", "Stage=2", "Stage=3",
                           "Summary=\"~101.ini\": 3 contacts written, 0 unchanged, 0 failed.", "Stage=0"}));
    EXPECT_EQ(m_platform.messageTexts(), QStringList());
}

// Where the program folder cannot be written (an installed package, for an ordinary user; here a
// folder below a file, which no one can make), the run and its preview both hand the lookup over in
// the user's data folder.
TEST_F(RunOnHostTest, RunAndPreviewOfTheLookupWorkWhereTheProgramFolderCannotBeWritten)
{
    multiplyButton(QStringLiteral("~101.ini"), Amount);
    const QStringList before = column(Amount);
    startHost();
    lookupOf({m_ids[1], m_ids[3], m_ids[4]});
    ASSERT_TRUE(valdora::test::writeFile(m_dir.filePath(QStringLiteral("file")), "not a folder"));
    const QString program = m_dir.filePath(QStringLiteral("file/program"));
    const QString home = m_dir.filePath(QStringLiteral("home"));
    const valdora::test::PinnedDataHome pinned(home);
    ProgramSession session(m_platform, QStringLiteral("Valdora"), program, UserSettings(m_settings->path()),
                           TextLocale(QLocale(QStringLiteral("en_US"))));
    session.setSettingsFile(m_session->settingsFilePath());
    ASSERT_EQ(session.dataFolder(), home + QStringLiteral("/Valdora"));
    const StartupHost objects = openHostObjects({&host::createApplication, &host::createDatabase});
    FixedScopeChooser scopes(Scope::CurrentLookup);

    RunPreview preview(session, objects.runHost(), ProgramProfile::valdora(session.locale()), &scopes);
    const PreviewResult previewed = preview.Preview_Button(QStringLiteral("~101.ini"));
    ButtonRun buttonRun(session, objects.runHost(), ProgramProfile::valdora(session.locale()), &scopes);
    const RunSummary summary = buttonRun.Process_Button(QStringLiteral("~101.ini"));

    EXPECT_EQ(m_platform.messageTexts(), QStringList());
    EXPECT_EQ(previewed.summary.inScope, 3);
    EXPECT_EQ(previewed.rows.size(), 3u);
    EXPECT_EQ(summary.written, 3);
    EXPECT_EQ(column(Amount), with(before, {1, 3, 4}, QStringLiteral("12.00")));
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/Valdora/~currentLU.LKU")));
}

TEST_F(RunOnHostTest, ContactBeingEditedOnScreenStopsTheRunBeforeAnyWrite)
{
    multiplyButton(QStringLiteral("~101.ini"), Amount);
    const QStringList before = column(Amount);
    startHost();
    ASSERT_EQ(run({QStringLiteral("type"), QStringLiteral("User 1"), QStringLiteral("typed")}).code, 0);

    const RunSummary summary = runValdora(QStringLiteral("~101.ini"), Scope::AllContacts);

    EXPECT_FALSE(summary.started);
    ASSERT_EQ(m_platform.messageTexts().size(), 1);
    EXPECT_TRUE(m_platform.messageTexts()[0].contains(QStringLiteral("Valdora")))
        << m_platform.messageTexts()[0].toStdString();
    EXPECT_EQ(m_progress, QStringList());
    EXPECT_EQ(column(Amount), before);
}

// Only what the user typed and did not save stops a run: a field with the focus does not, and nor
// does the record lock another program holds while it writes the contact on screen (that contact
// alone then fails, the others are written).
struct OnScreenNoEdit {
    const char* name;
    const char* enterField; // entered on screen first, or nullptr
    bool heldByAnotherProgram;
};

void PrintTo(const OnScreenNoEdit& row, std::ostream* os)
{
    *os << row.name;
}

class OnScreenNoEditTest : public RunOnHostTest, public ::testing::WithParamInterface<OnScreenNoEdit> {};

TEST_P(OnScreenNoEditTest, RunStarts)
{
    const OnScreenNoEdit& row = GetParam();
    multiplyButton(QStringLiteral("~101.ini"), Amount);
    startHost();
    if (row.enterField) {
        ASSERT_EQ(run({QStringLiteral("enter-field"), QString::fromLatin1(row.enterField)}).code, 0);
    }
    QProcess holder;
    if (row.heldByAnotherProgram) {
        ASSERT_TRUE(host::test::startLockHolder(holder, m_database, m_ids[0], 60));
    }

    const RunSummary summary = runValdora(QStringLiteral("~101.ini"), Scope::AllContacts);
    if (row.heldByAnotherProgram) {
        holder.kill();
        holder.waitForFinished();
    }

    EXPECT_TRUE(summary.started) << m_platform.messageTexts().join('|').toStdString();
    const int held = row.heldByAnotherProgram ? 1 : 0;
    EXPECT_EQ(summary.written, 5 - held);
    EXPECT_EQ(summary.failed, held);
    EXPECT_EQ(column(Amount).count(QStringLiteral("12.00")), 5 - held);
}

const OnScreenNoEdit OnScreenNoEditRows[] = {
    {"NothingOnScreenEdited", nullptr, false},
    {"FieldWithTheFocus", "User 1", false},
    {"ContactHeldByAnotherProgram", nullptr, true},
    {"FocusAndHeldByAnotherProgram", "Amount", true},
};

INSTANTIATE_TEST_SUITE_P(OnScreen, OnScreenNoEditTest, ::testing::ValuesIn(OnScreenNoEditRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RunOnHostTest, ValdoraAutoWritesOnlyTheContactOnScreen)
{
    multiplyButton(QStringLiteral("~101.ini"), Amount);
    const QStringList before = column(Amount);
    startHost();
    ASSERT_EQ(run({QStringLiteral("show"), m_ids[3]}).code, 0);

    const RunSummary summary = runValdoraAuto(QStringLiteral("~101.ini"));

    EXPECT_TRUE(summary.started);
    EXPECT_EQ(summary.inScope, 1);
    EXPECT_EQ(summary.written, 1);
    EXPECT_EQ(column(Amount), with(before, {3}, QStringLiteral("12.00")));
    // No progress window and no error log for a run on the contact on screen.
    EXPECT_EQ(m_progress, QStringList());
    EXPECT_TRUE(m_platform.startedPrograms().isEmpty());
    EXPECT_FALSE(QFile::exists(m_program + QStringLiteral("/error.log")));
}

TEST_F(RunOnHostTest, ValdoraAutoLeavesAFilledFieldUnderFillEmpty)
{
    multiplyButton(QStringLiteral("~101.ini"), Amount, QStringLiteral("Over0"));
    set(m_ids[0], Amount, QStringLiteral("5.00"));
    set(m_ids[1], Amount, QString());
    const QStringList before = column(Amount);
    startHost();

    ASSERT_EQ(run({QStringLiteral("show"), m_ids[0]}).code, 0);
    RunSummary summary = runValdoraAuto(QStringLiteral("~101.ini"));
    EXPECT_EQ(summary.written, 0);
    EXPECT_EQ(summary.unchanged, 1);
    EXPECT_EQ(column(Amount), before);

    ASSERT_EQ(run({QStringLiteral("show"), m_ids[1]}).code, 0);
    summary = runValdoraAuto(QStringLiteral("~101.ini"));
    EXPECT_EQ(summary.written, 1);
    EXPECT_EQ(column(Amount), with(before, {1}, QStringLiteral("12.00")));
}

TEST_F(RunOnHostTest, ValdoraAutoShowsALockedContactOnScreenAndLogsNothing)
{
    multiplyButton(QStringLiteral("~101.ini"), Amount);
    const QStringList before = column(Amount);
    startHost();
    ASSERT_EQ(run({QStringLiteral("show"), m_ids[2]}).code, 0);
    QProcess holder;
    ASSERT_TRUE(host::test::startLockHolder(holder, m_database, m_ids[2], 60));

    runValdoraAuto(QStringLiteral("~101.ini"));
    holder.kill();
    EXPECT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";

    // The failure report of the write, not the bar's locked-contact message and log.
    ASSERT_EQ(m_platform.messageTexts().size(), 1) << m_platform.messageTexts().join('|').toStdString();
    EXPECT_TRUE(m_platform.messageTexts()[0].startsWith(QStringLiteral("Error 3260: ")))
        << m_platform.messageTexts()[0].toStdString();
    EXPECT_EQ(column(Amount), before);
    EXPECT_FALSE(QFile::exists(m_program + QStringLiteral("/error.log")));
}

TEST_F(RunOnHostTest, ComboSlotsPastTheEighthRunOnlyInValdoraAuto)
{
    multiplyButton(QStringLiteral("~201.ini"), Amount);
    multiplyButton(QStringLiteral("~202.ini"), Count);
    writeButton(QStringLiteral("~200.ini"), {{"Type", "5"},
                                             {"Button0", "1"},
                                             {"ButtonName0", "~201.ini"},
                                             {"Button15", "1"},
                                             {"ButtonName15", "~202.ini"}});
    const QStringList amounts = column(Amount);
    const QStringList counts = column(Count);
    startHost();
    ASSERT_EQ(run({QStringLiteral("show"), m_ids[1]}).code, 0);

    runValdoraAuto(QStringLiteral("~200.ini"));
    EXPECT_EQ(column(Amount), with(amounts, {1}, QStringLiteral("12.00")));
    EXPECT_EQ(column(Count), with(counts, {1}, QStringLiteral("12")));

    // Valdora reads eight slots: the member in slot 15 is not part of its run.
    set(m_ids[1], Count, counts[1]);
    runValdora(QStringLiteral("~200.ini"), Scope::AllContacts);
    EXPECT_EQ(column(Amount), QStringList(5, QStringLiteral("12.00")));
    EXPECT_EQ(column(Count), counts);
}

/// Valdora.exe --run as a script or scheduled job runs it: its own process, the program folder and
/// the per-user settings of the test, the running host of the test.
class ValdoraCommandTest : public RunOnHostTest {
protected:
    valdora::test::CommandResult valdora(const QStringList& arguments)
    {
        return ProgramOnHostTest::valdora(arguments, 30000);
    }
};

TEST_F(ValdoraCommandTest, RunsEveryScopeAndSaysWhatItDid)
{
    multiplyButton(QStringLiteral("~101.ini"), Amount);
    const QStringList before = column(Amount);
    startHost();
    lookupOf({m_ids[1], m_ids[2]});
    ASSERT_EQ(run({QStringLiteral("show"), m_ids[4]}).code, 0);
    const QString twelve = QStringLiteral("12.00");

    // ValdoraAuto.exe is not in the program folder: the contact on screen is written by Valdora itself.
    valdora::test::CommandResult result = valdora({"--run", "~101", "--scope", "current"});
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              QStringLiteral("~101.ini: 1 contacts in scope, 1 written, 0 left unchanged, 0 failed"));
    EXPECT_EQ(column(Amount), with(before, {4}, twelve));

    result = valdora({"--run", "~101.ini", "--scope", "lookup"});
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              QStringLiteral("~101.ini: 2 contacts in scope, 2 written, 0 left unchanged, 0 failed"));
    EXPECT_EQ(column(Amount), with(before, {1, 2, 4}, twelve));

    // The three that hold the value already are left as they were.
    result = valdora({"--run", "~101", "--scope", "all"});
    EXPECT_EQ(result.code, 0) << result.err.toStdString();
    EXPECT_EQ(result.out,
              QStringLiteral("~101.ini: 5 contacts in scope, 2 written, 3 left unchanged, 0 failed"));
    EXPECT_EQ(column(Amount), QStringList(5, twelve));
}

TEST_F(ValdoraCommandTest, LockedRecordFailsTheRunWithItsMessageOnStderr)
{
    multiplyButton(QStringLiteral("~101.ini"), Amount);
    const QStringList before = column(Amount);
    startHost();
    QProcess holder;
    ASSERT_TRUE(host::test::startLockHolder(holder, m_database, m_ids[2], 60));

    const valdora::test::CommandResult result = valdora({"--run", "~101", "--scope", "all"});
    holder.kill();
    EXPECT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";

    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out,
              QStringLiteral("~101.ini: 5 contacts in scope, 4 written, 0 left unchanged, 1 failed"));
    EXPECT_TRUE(result.err.startsWith(QStringLiteral("Valdora: Contact: "))) << result.err.toStdString();
    EXPECT_EQ(result.err.count(u'\n'), 0) << "one line per message box: " << result.err.toStdString();
    EXPECT_EQ(column(Amount), with(QStringList(5, QStringLiteral("12.00")), {2}, before[2]));
    QFile log(m_program + QStringLiteral("/error.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll().count("\r\n"), 1);
}

struct RefusedCase {
    const char* name;
    bool hostRunning;
    QStringList arguments;
    QString stdoutLine;
    QString stderrStart; // the first line of stderr
};

void PrintTo(const RefusedCase& row, std::ostream* os)
{
    *os << row.name;
}

class ValdoraRefusedTest : public ValdoraCommandTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(ValdoraRefusedTest, ExitsWithTwoAndChangesNothing)
{
    multiplyButton(QStringLiteral("~101.ini"), Amount);
    const QStringList before = column(Amount);
    if (GetParam().hostRunning)
        startHost();

    const valdora::test::CommandResult result = valdora(GetParam().arguments);

    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out, GetParam().stdoutLine);
    EXPECT_TRUE(result.err.startsWith(GetParam().stderrStart)) << result.err.toStdString();
    EXPECT_EQ(column(Amount), before);
}

INSTANTIATE_TEST_SUITE_P(
    Refused, ValdoraRefusedTest,
    ::testing::Values(RefusedCase{"MissingButton",
                                  true,
                                  {"--run", "~999", "--scope", "all"},
                                  "~999.ini: not run",
                                  "Valdora.exe: there is no button "},
                      RefusedCase{"NoHostRunning",
                                  false,
                                  {"--run", "~101", "--scope", "all"},
                                  "~101.ini: not run",
                                  "Valdora error: Error 429: 'No contact host is running"},
                      RefusedCase{"BadScope",
                                  true,
                                  {"--run", "~101", "--scope", "everything"},
                                  "",
                                  "Valdora.exe: unknown scope 'everything' (current, lookup or all)"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::run
