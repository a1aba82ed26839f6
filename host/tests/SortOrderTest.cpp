// A database file keeps each contact's place in the default sort, so that Query reads all contacts
// in order instead of sorting them. What must hold whatever changes the names, this program or
// another one: the order Query gives is the order of the names as they are now.
#include "DatabaseTestFixture.h"

#include "core/testsupport/FailsWith.h"
#include "host/DatabaseTools.h"
#include "host/embedded/DatabaseFactory.h"

#include <sqlite3.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace valdora::host::test {
namespace {

class SortOrderTest : public FileDatabaseTest {
public:
    // What the cases below do to the names.
    void renameFirst(FieldId field, const QString& name) { rename(firstId(), field, name); }
    void renameLast(FieldId field, const QString& name)
    {
        table().Query(QString());
        QString last;
        for (table().MoveFirst(); !table().isEOF(); table().MoveNext())
            last = table().Data(FieldNumber::UniqueId);
        rename(last, field, name);
    }
    void add(const QHash<FieldId, QString>& values) { tools().addContact(values); }
    void import(const QList<QStringList>& rows)
    {
        tools().importRecords({FieldNumber::Company, FieldNumber::Contact}, rows);
    }
    void elsewhere(const QString& sql) { executeElsewhere(sql); }

protected:
    /// One value of the file, read as another program would.
    QString readElsewhere(const char* sql)
    {
        sqlite3* db = nullptr;
        EXPECT_EQ(sqlite3_open(m_path.toUtf8().constData(), &db), SQLITE_OK);
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &statement, nullptr), SQLITE_OK) << sql;
        QString value;
        if (sqlite3_step(statement) == SQLITE_ROW)
            value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return value;
    }
    /// Takes the file back to the layout before the sort keys, as an earlier build left it.
    void toFirstLayout()
    {
        executeElsewhere(QStringLiteral(
            "DROP TRIGGER sortkey_value_added; DROP TRIGGER sortkey_value_changed; DROP TRIGGER "
            "sortkey_value_removed; DROP TRIGGER sortkey_id_changed; DROP INDEX contacts_order;"
            "ALTER TABLE contacts DROP COLUMN sortkey; UPDATE meta SET value = '1' WHERE key = "
            "'schema_version';"));
        ASSERT_EQ(readElsewhere("SELECT count(*) FROM pragma_table_info('contacts') WHERE name = 'sortkey'"),
                  "0");
    }
    int missingKeys() { return readElsewhere("SELECT count(*) FROM contacts WHERE sortkey IS NULL").toInt(); }

    /// The ids in Query's order, and the same ids ordered by the names each contact holds now.
    std::pair<QStringList, QStringList> queriedAndNamedOrder(ContactTable& contacts)
    {
        struct Named {
            QString company, contact, uid;
        };
        std::vector<Named> named;
        QStringList queried;
        contacts.Query(QString());
        for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext()) {
            queried << contacts.Data(FieldNumber::UniqueId);
            named.push_back({contacts.Data(FieldNumber::Company), contacts.Data(FieldNumber::Contact),
                             contacts.Data(FieldNumber::UniqueId)});
        }
        std::sort(named.begin(), named.end(), [](const Named& left, const Named& right) {
            if (const int c = left.company.compare(right.company, Qt::CaseInsensitive))
                return c < 0;
            if (const int c = left.contact.compare(right.contact, Qt::CaseInsensitive))
                return c < 0;
            return left.uid < right.uid;
        });
        QStringList byName;
        for (const Named& contact : named)
            byName << contact.uid;
        return {queried, byName};
    }

    void rename(const QString& id, FieldId field, const QString& name)
    {
        table().Goto(id);
        table().Edit();
        table().SetDataEx({field}, {name});
        ASSERT_EQ(table().Update(), id);
    }
    ToolContactTable& tools() { return dynamic_cast<ToolContactTable&>(table()); }
};

struct ChangeCase {
    const char* name;
    std::function<void(SortOrderTest&)> change;
    int contacts;
    bool keysLeftMissing; ///< by another program, until a write or an open of this one fills them
};

class SortOrderChangeTest : public SortOrderTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(SortOrderChangeTest, QueryGivesTheOrderOfTheNamesAsTheyAreNow)
{
    const ChangeCase& c = GetParam();
    ASSERT_EQ(missingKeys(), 0);
    c.change(*this);
    EXPECT_EQ(missingKeys() > 0, c.keysLeftMissing);
    const auto [queried, byName] = queriedAndNamedOrder(table());
    EXPECT_EQ(queried.size(), c.contacts);
    EXPECT_EQ(queried, byName);

    // Another program of this build opening the file fills in what others left missing.
    auto other = createDatabase();
    other->OpenEx(m_path);
    EXPECT_EQ(missingKeys(), 0);
    EXPECT_EQ(queriedAndNamedOrder(other->Contact()).first, byName);
    EXPECT_EQ(queriedAndNamedOrder(table()).first, byName);
}

const QString LastContact = QStringLiteral("(SELECT max(record) FROM contacts)");

INSTANTIATE_TEST_SUITE_P(
    Changes, SortOrderChangeTest,
    ::testing::Values(
        ChangeCase{"CompanyRenamedHere",
                   [](SortOrderTest& t) { t.renameFirst(FieldNumber::Company, "zzz Last Ltd"); }, 40, false},
        ChangeCase{"ContactRenamedHereInOtherCase",
                   [](SortOrderTest& t) { t.renameLast(FieldNumber::Contact, "AARON"); }, 40, false},
        ChangeCase{"CompanyBlankedHere",
                   [](SortOrderTest& t) { t.renameLast(FieldNumber::Company, QString()); }, 40, false},
        ChangeCase{"AddedHere",
                   [](SortOrderTest& t) {
                       t.add({{FieldNumber::Company, "Éclair"}, {FieldNumber::Contact, "ézra"}});
                   },
                   41, false},
        ChangeCase{"ImportedHere",
                   [](SortOrderTest& t) {
                       t.import({{"a", "b"}, {"", ""}, {"ΟΔΟΣ", "x"}, {"Straße", ""}});
                   },
                   44, false},
        ChangeCase{"CompanyRenamedElsewhere",
                   [](SortOrderTest& t) {
                       t.elsewhere("UPDATE vals SET value = 'aaa First' WHERE field = 25 AND record = " +
                                   LastContact);
                   },
                   40, true},
        ChangeCase{"ContactNameRemovedElsewhere",
                   [](SortOrderTest& t) {
                       t.elsewhere("DELETE FROM vals WHERE field = 26 AND record = " + LastContact);
                   },
                   40, true},
        ChangeCase{
            "AddedElsewhere",
            [](SortOrderTest& t) {
                t.elsewhere(
                    "INSERT INTO contacts(uid) VALUES('ZZZZ00000001');"
                    "INSERT INTO vals VALUES((SELECT record FROM contacts WHERE uid = 'ZZZZ00000001'), "
                    "25, 'Middle');");
            },
            41, true},
        ChangeCase{
            "DeletedElsewhere",
            [](SortOrderTest& t) { t.elsewhere("DELETE FROM contacts WHERE record = " + LastContact); }, 39,
            false},
        ChangeCase{"ValueOfAnotherFieldChangedElsewhere",
                   [](SortOrderTest& t) {
                       t.elsewhere("UPDATE vals SET value = 'x' WHERE field = 27 AND record = " +
                                   LastContact);
                   },
                   40, false}),
    [](const ::testing::TestParamInfo<ChangeCase>& info) { return info.param.name; });

// A file of the layout before the sort keys is brought up to date when it is opened, every contact
// given its key, and its contacts come in the same order as before; a later layout is refused.
TEST_F(SortOrderTest, AnOlderFileGetsTheKeysWhenOpenedAndANewerOneIsRefused)
{
    const QStringList before = queriedAndNamedOrder(table()).first;
    m_database.reset();
    toFirstLayout();

    m_database = createDatabase();
    m_database->OpenEx(m_path);
    EXPECT_EQ(readElsewhere("SELECT value FROM meta WHERE key = 'schema_version'"), "2");
    EXPECT_EQ(missingKeys(), 0);
    EXPECT_EQ(readElsewhere("SELECT count(*) FROM sqlite_master WHERE type = 'trigger'"), "4");
    const auto [queried, byName] = queriedAndNamedOrder(table());
    EXPECT_EQ(queried, before);
    EXPECT_EQ(queried, byName);

    m_database.reset();
    executeElsewhere(QStringLiteral("UPDATE meta SET value = '3' WHERE key = 'schema_version'"));
    auto newer = createDatabase();
    EXPECT_TRUE(valdora::test::failsWith<HostFailure>(
        HostError::DatabaseFailure,
        valdora::test::containing(" has layout version 3; this program reads versions 1 and 2"),
        [&] { newer->OpenEx(m_path); }));
}

// An earlier layout's file that another program holds for writing when it is opened (longer than the
// busy timeout: this test waits 5 s) is used as it is, its contacts sorted in memory, and is brought
// up to date by a later open.
TEST_F(SortOrderTest, AnOlderFileHeldByAWriterIsUsedAsItIsAndBroughtUpToDateLater)
{
    m_database.reset();
    toFirstLayout();
    sqlite3* writer = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.toUtf8().constData(), &writer), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(writer, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    m_database = createDatabase();
    m_database->OpenEx(m_path);
    EXPECT_EQ(sqlite3_exec(writer, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(writer);
    EXPECT_EQ(readElsewhere("SELECT value FROM meta WHERE key = 'schema_version'"), "1");
    renameLast(FieldNumber::Company, QStringLiteral("aaa First"));
    const auto [queried, byName] = queriedAndNamedOrder(table());
    EXPECT_EQ(queried, byName);

    auto later = createDatabase();
    later->OpenEx(m_path);
    EXPECT_EQ(readElsewhere("SELECT value FROM meta WHERE key = 'schema_version'"), "2");
    EXPECT_EQ(missingKeys(), 0);
    EXPECT_EQ(queriedAndNamedOrder(later->Contact()).first, byName);
    // The first object goes on sorting in memory, and its writes keep the order right.
    renameFirst(FieldNumber::Contact, QStringLiteral("Zacharias"));
    const auto [again, againByName] = queriedAndNamedOrder(later->Contact());
    EXPECT_EQ(again, againByName);
    EXPECT_EQ(queriedAndNamedOrder(table()).first, againByName);
}

} // namespace
} // namespace valdora::host::test
