#include "host/app/CsvFile.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/TestEnvironment.h"
#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/EmbeddedDatabase.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::host::test {

namespace {

struct WriteBackCase {
    const char* name;
    QList<QStringList> records;
    QByteArray written;
};

void PrintTo(const WriteBackCase& row, std::ostream* os)
{
    *os << row.name;
}

// Records written line by line read back as the same records.
const std::vector<WriteBackCase> WriteBackCases = {
    {"Plain", {{"Contact", "City"}, {"Ana", "Lyon"}}, "Contact,City\r\nAna,Lyon\r\n"},
    {"CommaQuoteAndLineBreak",
     {{"a,b", "say \"hi\"", "two\nlines"}},
     "\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\"\r\n"},
    {"BlankEdges", {{" padded ", "x"}}, "\" padded \",x\r\n"},
    {"EmptyFieldsAmongOthers", {{"", ""}, {"a", ""}}, ",\r\na,\r\n"},
    // An unquoted empty field alone would be a blank line, which is no record.
    // A first field that starts with U+FEFF would read as a byte-order mark at the start of a file.
    {"LeadingByteOrderMarkCharacter",
     {{QStringLiteral("\uFEFFUnique Id"), "Contact"}},
     "\"\xEF\xBB\xBFUnique Id\",Contact\r\n"},
    {"OneEmptyField", {{"Contact"}, {""}, {"Ana"}}, "Contact\r\n\"\"\r\nAna\r\n"},
};

class CsvWriteBackTest : public ::testing::TestWithParam<WriteBackCase> {};

TEST_P(CsvWriteBackTest, ReadsBackTheSameRecords)
{
    const WriteBackCase& row = GetParam();
    QByteArray written;
    for (const QStringList& record : row.records)
        written += app::CsvFile::line(record);
    EXPECT_EQ(written, row.written);
    EXPECT_EQ(app::CsvFile::parse(written, QStringLiteral("written.csv")), row.records);
}

INSTANTIATE_TEST_SUITE_P(Records, CsvWriteBackTest, ::testing::ValuesIn(WriteBackCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct MarkCase {
    const char* name;
    QByteArray file;
    QList<QStringList> records;
};

void PrintTo(const MarkCase& row, std::ostream* os)
{
    *os << row.name;
}

#define BOM "\xEF\xBB\xBF"
const QString Mark(QChar(0xFEFF));
constexpr FieldId NotesField = 20;

// Only a byte-order mark at the very start of a file is the file's; every other U+FEFF is a value's.
const std::vector<MarkCase> MarkCases = {
    {"StartOfFile",
     BOM "Unique Id,Contact\nABCDEFGHIJKL,Ana\n",
     {{"Unique Id", "Contact"}, {"ABCDEFGHIJKL", "Ana"}}},
    {"TwoAtStartOfFile", BOM BOM "Contact\nAna\n", {{Mark + "Contact"}, {"Ana"}}},
    {"StartOfRow", "Contact,Notes\n" BOM "Ana,x\n", {{"Contact", "Notes"}, {Mark + "Ana", "x"}}},
    {"UnquotedValue",
     BOM "Unique Id,Contact,Notes\nABCDEFGHIJKL," BOM "UniAnaque Id,C",
     {{"Unique Id", "Contact", "Notes"}, {"ABCDEFGHIJKL", Mark + "UniAnaque Id", "C"}}},
    {"QuotedValue", "Contact,Notes\nAna,\"" BOM "x\"\n", {{"Contact", "Notes"}, {"Ana", Mark + "x"}}},
    {"QuotedAtStartOfFile", "\"" BOM "Contact\"\nAna\n", {{Mark + "Contact"}, {"Ana"}}},
    {"InsideValue", "Contact\nA" BOM "na\n", {{"Contact"}, {"A" + Mark + "na"}}},
    {"AloneAsValue", "Contact,Notes\nAna," BOM "\n", {{"Contact", "Notes"}, {"Ana", Mark}}},
};

#undef BOM

class CsvMarkTest : public ::testing::TestWithParam<MarkCase> {};

TEST_P(CsvMarkTest, KeepsEveryMarkButTheFilesOwn)
{
    EXPECT_EQ(app::CsvFile::parse(GetParam().file, QStringLiteral("marks.csv")), GetParam().records);
}

// What the reader keeps, the database keeps: each value reads back from the file as it was imported.
TEST_P(CsvMarkTest, ImportedContactsHoldEveryMark)
{
    const QList<QStringList> records = GetParam().records;
    QList<FieldId> columns;
    for (const QString& name : records.first()) {
        if (name.startsWith(Mark))
            return; // a field name with a mark names no field
        columns.append(name == QStringLiteral("Unique Id") ? FieldNumber::UniqueId
                       : name == QStringLiteral("Contact") ? FieldNumber::Contact
                                                           : NotesField);
    }
    valdora::test::TemporaryUserSettings settings;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Marks.dbf"));
    embedded::EmbeddedDatabase::create(path);
    {
        embedded::EmbeddedDatabase database;
        database.OpenEx(path);
        database.contacts().importRecords(columns, records.mid(1));
        database.Close();
    }
    const std::unique_ptr<Database> database = createDatabase();
    database->OpenEx(path);
    ContactTable& contacts = database->Contact();
    contacts.Query(QString());
    contacts.MoveFirst();
    ASSERT_FALSE(contacts.isEOF());
    for (qsizetype c = 0; c < columns.size(); ++c) {
        if (columns.at(c) != FieldNumber::UniqueId) {
            EXPECT_EQ(contacts.Data(columns.at(c)), records.at(1).at(c));
        }
    }
    database->Close();
}

INSTANTIATE_TEST_SUITE_P(Marks, CsvMarkTest, ::testing::ValuesIn(MarkCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

} // namespace valdora::host::test
