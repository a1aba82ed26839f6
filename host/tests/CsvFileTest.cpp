#include "CsvFile.h"

#include "core/testsupport/QtPrinters.h"

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

} // namespace

} // namespace valdora::host::test
