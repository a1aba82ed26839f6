#include "DatabaseTestFixture.h"

#include "HostProcess.h"

#include "core/testsupport/FailsWith.h"
#include "host/LookupFile.h"
#include "host/embedded/Connection.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <QDeadlineTimer>
#include <QFileInfo>

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <set>

namespace valdora::host::test {

namespace {

TEST_P(DatabaseTest, StandardFieldsAreDenseAndTyped)
{
    FieldList& fields = table().Fields();
    int found = 0;
    for (qint16 n = 1; found < fields.Count() && n < 200; ++n)
        if (fields.Id(n) != -1)
            ++found;
    EXPECT_EQ(found, fields.Count());
    EXPECT_EQ(fields.Type(FieldNumber::RecordManager), FieldType::User);
    EXPECT_EQ(fields.Label(FieldNumber::Company), QStringLiteral("Company"));
    EXPECT_EQ(fields.Label(FieldNumber::Contact), QStringLiteral("Contact"));
    EXPECT_EQ(fields.FieldID(QStringLiteral("amount")), fields.FieldID(QStringLiteral("Amount")));
    EXPECT_EQ(fields.DecimalPlaces(fields.FieldID(QStringLiteral("Amount"))), 2);
    EXPECT_EQ(fields.Type(fields.FieldID(QStringLiteral("Web Site"))), FieldType::Url);
    EXPECT_EQ(fields.Type(2), FieldType::DateTime);
    EXPECT_EQ(fields.FieldID(QString()), -1);
    EXPECT_FALSE(fields.Exists(QStringLiteral("No such field")));
    EXPECT_EQ(fields.Type(999), -1);
    EXPECT_EQ(fields.Id(999), -1);
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        HostError::UnknownField, valdora::test::containing(" has no field 999"), [&] { fields.Label(999); }));
}

TEST_P(DatabaseTest, QuerySortsByCompanyThenContactIgnoringCase)
{
    table().Query(QString());
    QStringList keys;
    std::set<QString> ids;
    for (table().MoveFirst(); !table().isEOF(); table().MoveNext()) {
        keys.append(table().Data(FieldNumber::Company).toLower() + u'\x01' +
                    table().Data(FieldNumber::Contact).toLower());
        ids.insert(table().Data(FieldNumber::UniqueId));
    }
    EXPECT_EQ(keys.size(), 40);
    EXPECT_EQ(ids.size(), 40u);
    for (qsizetype i = 1; i < keys.size(); ++i)
        EXPECT_LE(keys.at(i - 1), keys.at(i));
    for (const QString& id : ids)
        EXPECT_EQ(id.size(), 12);
}

TEST_P(DatabaseTest, SampleDataIsTheSameOnEveryRun)
{
    const QString other = newLocation(QStringLiteral("Other"));
    createSampleDatabase(other, 40);
    auto second = createDatabase();
    second->OpenEx(other);
    auto names = [](ContactTable& contacts) {
        QStringList result;
        contacts.Query(QString());
        for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
            result.append(contacts.Data(FieldNumber::Contact) + contacts.Data(16) + contacts.Data(13));
        return result;
    };
    EXPECT_EQ(names(table()), names(second->Contact()));
}

TEST_P(DatabaseTest, UpdateCommitsStagedValuesAndReturnsTheId)
{
    const QString id = firstId();
    table().Goto(id);
    table().Edit();
    EXPECT_EQ(table().LockLevel(), 1);
    table().SetDataEx({20, 27}, {QStringLiteral("line one\nline two"), QStringLiteral("x")});
    EXPECT_EQ(table().Update(), id);
    EXPECT_EQ(table().LockLevel(), 0);

    auto reader = createDatabase();
    reader->OpenEx(m_path);
    reader->Contact().Goto(id);
    EXPECT_EQ(reader->Contact().Data(20), QStringLiteral("line one\nline two"));
    EXPECT_EQ(reader->Contact().Data(27), QStringLiteral("x"));
    EXPECT_EQ(reader->Contact().Data(28), QString());
}

TEST_P(DatabaseTest, GotoUnknownIdLeavesNoCurrentRecord)
{
    table().Goto(QStringLiteral("NOSUCHID0000"));
    EXPECT_EQ(table().Data(FieldNumber::Company), QString());
    EXPECT_EQ(table().Update(), QString());
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        HostError::NoDatabaseOpen, valdora::test::containing("There is no current contact to edit in "),
        [&] { table().Edit(); }));
}

TEST_P(DatabaseTest, AContactDeletedAfterTheQueryReadsEmptyAndIsNotWritten)
{
    table().Query(QString());
    table().MoveFirst();
    table().MoveNext();
    const QString deleted = table().Data(FieldNumber::UniqueId);
    ASSERT_FALSE(table().Data(FieldNumber::Contact).isEmpty());
    // Another program deletes it while this one walks its selection.
    executeElsewhere(
        QStringLiteral("DELETE FROM vals WHERE record = (SELECT record FROM contacts WHERE uid = '%1');"
                       " DELETE FROM contacts WHERE uid = '%1';")
            .arg(deleted));
    table().MoveFirst();
    table().MoveNext();
    EXPECT_EQ(table().Data(FieldNumber::UniqueId), deleted);
    EXPECT_EQ(table().Data(FieldNumber::Contact), QString());
    table().Edit();
    table().SetDataEx({27}, {QStringLiteral("orphan")});
    EXPECT_EQ(table().Update(), QString()) << "a deleted contact's write does not report success";
    table().Goto(deleted);
    EXPECT_EQ(table().Data(27), QString());
    // The walk goes on to the next contact as before.
    table().MoveFirst();
    table().MoveNext();
    table().MoveNext();
    EXPECT_FALSE(table().Data(FieldNumber::Contact).isEmpty());
}

TEST_P(DatabaseTest, SetDataExRejectsUnequalListsUnknownFieldsAndFieldOne)
{
    table().Goto(firstId());
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(ErrorNumber::InvalidProcedureCall,
                                                      "SetDataEx was given 2 field ids and 1 values", [&] {
                                                          table().SetDataEx({20, 21}, {QStringLiteral("a")});
                                                      }));
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        HostError::UnknownField, valdora::test::containing(" has no field 999"),
        [&] { table().SetDataEx({999}, {QStringLiteral("a")}); }));
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        ErrorNumber::PermissionDenied, "Field 1 holds the contact's unique id and cannot be written",
        [&] { table().SetDataEx({1}, {QStringLiteral("a")}); }));
}

TEST_P(DatabaseTest, FieldNameTakenByAnotherProgramSinceTheListWasReadIsRefusedByItsName)
{
    const auto tools = openToolDatabase(m_path);
    ToolFieldList& fields = tools->fields();
    executeElsewhere(
        QStringLiteral("INSERT INTO fields(id, name, type, decimals) VALUES(40, 'Region', 1, 0)"));
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        ErrorNumber::InvalidProcedureCall, valdora::test::containing(" already has a field named \"Region\""),
        [&] { fields.addField(QStringLiteral("Region"), 1, 0); }))
        << "a second field named Region must not be added";
    EXPECT_EQ(fields.FieldID(QStringLiteral("Region")), 40) << "the list reads what the other program added";
}

TEST_P(DatabaseTest, RecordLockedByAnotherProcessIsNotWritten)
{
    const QString id = firstId();
    QProcess holder;
    ASSERT_TRUE(startLockHolder(holder, m_path, id, 30));
    table().Goto(id);
    EXPECT_TRUE(table().isLocked());
    table().Edit();
    EXPECT_EQ(table().LockLevel(), 0);
    table().SetDataEx({20}, {QStringLiteral("must not land")});
    EXPECT_EQ(table().Update(), QString());
    holder.kill(); // a holder that is killed leaves no lock behind
    EXPECT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";
    table().Goto(id);
    // A server learns of the lost connection a moment after the kill.
    const QDeadlineTimer deadline(10000);
    while (table().isLocked() && !deadline.hasExpired()) {
    }
    EXPECT_FALSE(table().isLocked()) << "the killed holder's lock was still there after 10 s";
    EXPECT_EQ(table().Data(20), QString());
    table().Edit();
    EXPECT_EQ(table().LockLevel(), 1);
    table().SetDataEx({20}, {QStringLiteral("now")});
    EXPECT_EQ(table().Update(), id);
}

TEST_P(DatabaseTest, LockHolderSeesOurLock)
{
    const QString id = firstId();
    table().Goto(id);
    table().Edit();
    ASSERT_EQ(table().LockLevel(), 1);
    const HostRun run =
        runHost({QStringLiteral("lock"), m_path, id, QStringLiteral("--seconds"), QStringLiteral("0")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(id)) << run.err.toStdString();
    EXPECT_EQ(table().Update(), id);
}

TEST_P(DatabaseTest, LookupSelectsListedContactsInFileOrder)
{
    table().Query(QString());
    QStringList all;
    for (table().MoveFirst(); !table().isEOF(); table().MoveNext())
        all.append(table().Data(FieldNumber::UniqueId));
    const QList<ContactId> chosen = {all.at(7), all.at(2), QStringLiteral("GONE00000000"), all.at(30)};
    const QString file = m_dir.filePath(QStringLiteral("pick.lup"));
    writeLookupFile(file, chosen);
    table().LoadLookUpQuery(file);
    QStringList walked;
    for (table().MoveFirst(); !table().isEOF(); table().MoveNext())
        walked.append(table().Data(FieldNumber::UniqueId));
    EXPECT_EQ(walked, (QStringList{all.at(7), all.at(2), all.at(30)}));

    valdora::test::writeFile(m_dir.filePath(QStringLiteral("bad.lup")), "not a lookup\n");
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        ErrorNumber::InvalidProcedureCall,
        valdora::test::containing("bad.lup is not a lookup file: its first line is not "),
        [&] { table().LoadLookUpQuery(m_dir.filePath(QStringLiteral("bad.lup"))); }));
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        ErrorNumber::FileNotFound,
        valdora::test::containing(QStringLiteral("The lookup file %1 cannot be read: ")
                                      .arg(m_dir.filePath(QStringLiteral("missing.lup")))),
        [&] { table().LoadLookUpQuery(m_dir.filePath(QStringLiteral("missing.lup"))); }));
}

TEST_P(DatabaseTest, TriggersAreWrittenReadAndRemoved)
{
    FieldList& fields = table().Fields();
    fields.EntryTrigger(11, QStringLiteral("/opt/valdora/Valdora.exe --button \"A\""));
    fields.ExitTrigger(11, QStringLiteral("exit text"));
    auto other = createDatabase();
    other->OpenEx(m_path);
    EXPECT_EQ(other->Contact().Fields().EntryTrigger(11),
              QStringLiteral("/opt/valdora/Valdora.exe --button \"A\""));
    EXPECT_EQ(other->Contact().Fields().ExitTrigger(11), QStringLiteral("exit text"));
    fields.EntryTrigger(11, QString());
    EXPECT_EQ(other->Contact().Fields().EntryTrigger(11), QString());
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        HostError::UnknownField, valdora::test::containing(" has no field 999"),
        [&] { fields.EntryTrigger(999, QStringLiteral("x")); }));
}

TEST_P(DatabaseTest, UsersAndPasswords)
{
    EXPECT_FALSE(m_database->isMultiuser());
    EXPECT_EQ(m_database->Users().Count(), 3);
    EXPECT_EQ(m_database->Users().UniqueID(1).size(), 12);
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        ErrorNumber::SubscriptOutOfRange, valdora::test::containing(" has 3 users; there is no user 4"),
        [&] { m_database->Users().Name(4); }));
    {
        const auto writer = openToolDatabase(m_path);
        writer->users().addUser(QStringLiteral("Dora Lang"), QStringLiteral("s3cret"));
        EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
            ErrorNumber::InvalidProcedureCall,
            valdora::test::containing(" already has a user named \"dora lang\""),
            [&] { writer->users().addUser(QStringLiteral("dora lang"), QString()); }));
    }
    if (GetParam() == DatabaseKind::File) {
        EXPECT_FALSE(valdora::test::readFile(m_path).contains("s3cret"));
    }
    m_database->OpenEx(m_path);
    EXPECT_TRUE(m_database->isMultiuser());
    EXPECT_FALSE(m_database->ValidateUser(QStringLiteral("Dora Lang"), QStringLiteral("wrong")));
    EXPECT_TRUE(m_database->Error());
    EXPECT_TRUE(m_database->ValidateUser(QStringLiteral("dora lang"), QStringLiteral("s3cret")));
    EXPECT_FALSE(m_database->Error());
    EXPECT_EQ(m_database->CurrentUser(), QStringLiteral("Dora Lang"));
    EXPECT_FALSE(m_database->ValidateUser(QStringLiteral("Nobody"), QString()));
    EXPECT_TRUE(m_database->ValidateUser(QStringLiteral("Alice Martin"), QString()));
}

enum class Login { NotAsked, Skipped, Wrong, Valid, WrongThenValid };

struct LoginRightsCase {
    const char* name;
    Login login;
    bool mayChange;
    const char* refusal; ///< what the refusal of a change says, where it is refused
};

void PrintTo(const LoginRightsCase& row, std::ostream* os)
{
    *os << row.name;
}

class DatabaseLoginRights : public DatabaseFixture,
                            public ::testing::WithParamInterface<std::tuple<DatabaseKind, LoginRightsCase>> {
protected:
    DatabaseKind kind() const override { return std::get<0>(GetParam()); }
    const LoginRightsCase& row() const { return std::get<1>(GetParam()); }
};

// A database with passwords: a database object that asked for the login reads, and changes nothing,
// until its login succeeded. One that never asked is the host's own (its window, its commands).
TEST_P(DatabaseLoginRights, OnlyAValidLoginChangesADatabaseWithPasswords)
{
    {
        const auto writer = openToolDatabase(m_path);
        writer->users().addUser(QStringLiteral("Dora Lang"), QStringLiteral("s3cret"));
        writer->Contact().Fields().EntryTrigger(11, QStringLiteral("before"));
    }
    const QString id = firstId();
    auto database = createDatabase();
    database->OpenEx(m_path);
    const Login login = row().login;
    if (login != Login::NotAsked) {
        ASSERT_TRUE(database->isMultiuser());
    }
    if (login == Login::Wrong || login == Login::WrongThenValid) {
        EXPECT_FALSE(database->ValidateUser(QStringLiteral("Dora Lang"), QStringLiteral("guess")));
    }
    if (login == Login::Valid || login == Login::WrongThenValid) {
        EXPECT_TRUE(database->ValidateUser(QStringLiteral("Dora Lang"), QStringLiteral("s3cret")));
    }

    FieldList& fields = database->Contact().Fields();
    ContactTable& contacts = database->Contact();
    EXPECT_EQ(fields.EntryTrigger(11), QStringLiteral("before")) << "reading is always allowed";
    contacts.Goto(id);
    EXPECT_EQ(contacts.Data(FieldNumber::UniqueId), id);
    const auto changeTrigger = [&] { fields.EntryTrigger(11, QStringLiteral("after")); };
    const auto changeContact = [&] {
        contacts.Goto(id);
        contacts.Edit();
        contacts.SetDataEx({FieldNumber::Company}, {QStringLiteral("Changed Ltd")});
        contacts.Update();
    };
    if (row().mayChange) {
        changeTrigger();
        changeContact();
    } else {
        EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
            HostError::WriteRefused, valdora::test::containing(row().refusal), changeTrigger));
        EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
            HostError::WriteRefused, valdora::test::containing(row().refusal), changeContact));
        contacts.Goto(QString());
    }
    auto reader = createDatabase();
    reader->OpenEx(m_path);
    EXPECT_EQ(reader->Contact().Fields().EntryTrigger(11),
              row().mayChange ? QStringLiteral("after") : QStringLiteral("before"));
    reader->Contact().Goto(id);
    EXPECT_EQ(reader->Contact().Data(FieldNumber::Company) == QStringLiteral("Changed Ltd"), row().mayChange);
}

INSTANTIATE_TEST_SUITE_P(
    Logins, DatabaseLoginRights,
    ::testing::Combine(
        ::testing::Values(DatabaseKind::File, DatabaseKind::Server),
        ::testing::Values(LoginRightsCase{"NotAskedByTheHostItself", Login::NotAsked, true, nullptr},
                          LoginRightsCase{
                              "Skipped", Login::Skipped, false,
                              "has passwords and nobody has logged in to it: it can be read but not changed"},
                          LoginRightsCase{"WrongPassword", Login::Wrong, false,
                                          "The login of Dora Lang to the contact database "},
                          LoginRightsCase{"Valid", Login::Valid, true, nullptr},
                          LoginRightsCase{"WrongThenValid", Login::WrongThenValid, true, nullptr})),
    [](const auto& info) { return kindName(std::get<0>(info.param)) + '_' + std::get<1>(info.param).name; });

// What a commit of the host survives is SQLite's own for a WAL file with synchronous=NORMAL: the write
// ahead log, synced when it is copied into the file, which a thread of the host does every 1,000 pages
// (the writer's own checkpoint is off: 0) and the writer itself when the thread is 4,000 behind; and
// the file stays open to the other programs (no exclusive locking). A setting traded for speed fails
// here.
TEST_F(FileDatabaseTest, ACommitIsAsDurableAsInAPlainWalDatabase)
{
    struct Setting {
        const char* sql;
        const char* expected;
    };
    const Setting settings[] = {
        {"PRAGMA journal_mode", "wal"},
        {"PRAGMA synchronous", "1"},
        {"PRAGMA wal_autocheckpoint", "0"},
        {"PRAGMA locking_mode", "normal"},
    };
    embedded::Connection connection(m_path, false);
    connection.useWal();
    for (const Setting& setting : settings) {
        embedded::Statement read = connection.prepare(setting.sql);
        ASSERT_TRUE(read.step()) << setting.sql;
        EXPECT_EQ(read.text(0), QString::fromLatin1(setting.expected)) << setting.sql;
    }
}

TEST_F(FileDatabaseTest, OpenFailuresNameTheFile)
{
    auto database = createDatabase();
    const QString missing = m_dir.filePath(QStringLiteral("missing.dbf"));
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        HostError::DatabaseFailure, QStringLiteral("The contact database %1 does not exist").arg(missing),
        [&] { database->OpenEx(missing); }));
    EXPECT_TRUE(database->Error());
    valdora::test::writeFile(m_dir.filePath(QStringLiteral("text.dbf")), "plain text, not a database\n");
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        HostError::DatabaseFailure,
        valdora::test::containing(QStringLiteral("The contact database %1 cannot be opened: ")
                                      .arg(m_dir.filePath(QStringLiteral("text.dbf")))),
        [&] { database->OpenEx(m_dir.filePath(QStringLiteral("text.dbf"))); }));
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        HostError::NoDatabaseOpen, "No contact database is open", [&] { database->Contact(); }));
    EXPECT_EQ(m_database->GetDatabasePath(), QFileInfo(m_path).absoluteFilePath());
}

// A file that is not a contact database is refused and left byte for byte as it was: an empty file
// stays empty, another program's SQLite file keeps its journal mode.
TEST_F(FileDatabaseTest, OpeningAFileThatIsNoContactDatabaseChangesNothingInIt)
{
    const QString empty = m_dir.filePath(QStringLiteral("empty.dbf"));
    ASSERT_TRUE(valdora::test::writeFile(empty, QByteArray()));
    const QString other = m_dir.filePath(QStringLiteral("other.sqlite"));
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(other.toUtf8().constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('kept');",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    for (const QString& path : {empty, other}) {
        const QByteArray before = valdora::test::readFile(path);
        auto database = createDatabase();
        EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
            HostError::DatabaseFailure, valdora::test::containing(" is not a contact database"),
            [&] { database->OpenEx(path); }))
            << path.toStdString();
        database.reset();
        EXPECT_EQ(valdora::test::readFile(path), before) << path.toStdString();
        EXPECT_FALSE(QFileInfo::exists(path + QStringLiteral("-wal"))) << path.toStdString();
    }
}

TEST_P(DatabaseTest, UniqueIdsAreNeverGivenTwice)
{
    const auto writer = openToolDatabase(m_path);
    std::set<QString> seen;
    writer->contacts().Query(QString());
    for (const QString& id : writer->contacts().selection())
        seen.insert(id);
    EXPECT_EQ(seen.size(), 40u);
    for (int i = 0; i < 50; ++i)
        EXPECT_TRUE(
            seen.insert(writer->contacts().addContact({{26, QStringLiteral("New %1").arg(i)}})).second);
}

INSTANTIATE_TEST_SUITE_P(Databases, DatabaseTest, ::testing::Values(DatabaseKind::File, DatabaseKind::Server),
                         [](const auto& info) { return kindName(info.param); });

} // namespace

} // namespace valdora::host::test
