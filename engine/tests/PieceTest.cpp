#include "EngineTestBed.h"

#include "engine/CounterFile.h"
#include "engine/TextHelpers.h"

#include "core/testsupport/ReportedError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::engine::test {
namespace {

struct NextCase {
    const char* name;
    const char* counter;
    const char* next;
};

void PrintTo(const NextCase& row, std::ostream* os)
{
    *os << row.name;
}

class CounterNextTest : public ::testing::TestWithParam<NextCase> {};

TEST_P(CounterNextTest, WidthKept)
{
    for (const char* localeName : {"en_US", "fr_FR", "de_DE"}) {
        const TextLocale locale{QLocale(QString::fromLatin1(localeName))};
        EXPECT_EQ(CounterFile::next(QString::fromLatin1(GetParam().counter), locale),
                  QString::fromLatin1(GetParam().next))
            << localeName;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Counters, CounterNextTest,
    ::testing::Values(NextCase{"Plain", "42", "43"}, NextCase{"LeadingZeros", "0042", "0043"},
                      NextCase{"Carry", "0099", "0100"}, NextCase{"Grows", "9999", "10000"},
                      NextCase{"Nine", "9", "10"}, NextCase{"Zeros", "0009", "0010"},
                      NextCase{"Zero", "0", "1"}, NextCase{"SinglePrecisionLimit", "9999999", "10000000"},
                      NextCase{"BeyondSinglePrecision", "16777217", "16777218"},
                      NextCase{"Large", "123456789012345678", "123456789012345679"},
                      NextCase{"Huge", "99999999999999999999", "100000000000000000000"},
                      NextCase{"Negative", "-5", "-4"}, NextCase{"MinusOne", "-1", "00"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CounterSync, SyncsInBatchesAndReportsAFileThatIsGone)
{
    QTemporaryDir folder;
    const QString first = folder.filePath(QStringLiteral("a.num"));
    const QString second = folder.filePath(QStringLiteral("b.num"));
    CounterSync sync(3, 60000);
    for (const QString& path : {first, second}) {
        CounterFile::write(path, QStringLiteral("2"), FileSync::Later);
        sync.advanced(path);
    }
    EXPECT_EQ(sync.pending(), 2U);
    sync.advanced(first); // the third advance of the batch syncs both files
    EXPECT_EQ(sync.pending(), 0U);

    sync.advanced(second);
    ASSERT_TRUE(QFile::remove(second));
    try {
        sync.syncAll();
        ADD_FAILURE() << "a file that cannot be synced is reported";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), static_cast<int>(ErrorNumber::PathFileAccessError));
        EXPECT_TRUE(failure.description().contains(second)) << failure.description().toStdString();
    }
    EXPECT_EQ(sync.pending(), 0U);
    EXPECT_EQ(valdora::test::readFile(first), "2\r\n");
}

TEST(RemoveAccents, TableInOrder)
{
    EXPECT_EQ(Remove_Accents(QStringLiteral("Éléonore")), QStringLiteral("Eleonore"));
    EXPECT_EQ(Remove_Accents(QStringLiteral("Müller-Ñoño")), QStringLiteral("Muller-Nono"));
    EXPECT_EQ(Remove_Accents(QStringLiteral("Côte")), QStringLiteral("COte"));
    // Letters outside the table stay.
    EXPECT_EQ(Remove_Accents(QStringLiteral("ØÀÈ")), QStringLiteral("ØÀÈ"));
}

TEST(FieldValueTable, EntriesAndBounds)
{
    FieldValueTable table(10);
    EXPECT_EQ(table.maxFields(), 10);
    table.setValue(3, QStringLiteral("x"));
    EXPECT_EQ(table.value(3), QStringLiteral("x"));
    EXPECT_EQ(table.value(11), QString());
    EXPECT_EQ(table.value(-1), QString());
    // A field beyond the table grows it rather than losing the value.
    table.setValue(40, QStringLiteral("y"));
    EXPECT_EQ(table.value(40), QStringLiteral("y"));
    table.clear(3);
    EXPECT_EQ(table.value(3), QString());
    table.reset(5);
    EXPECT_EQ(table.value(40), QString());
    EXPECT_EQ(table.maxFields(), 5);
}

TEST(EngineFailures, FieldIdOutOfRangeIsReportedByTheCalculator)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    const host::ContactId contact = bed.addContact({});
    bed.contacts().Goto(contact);
    EXPECT_EQ(bed.engine().calculator().Start_Calc(QStringLiteral("//[99999]+1")), QString());
    ASSERT_EQ(bed.messages().size(), 1);
    EXPECT_TRUE(valdora::test::reportsError(int(ErrorNumber::Overflow), bed.messages().front()));
    EXPECT_TRUE(bed.messages().front().contains(QStringLiteral("in Prog: Sub Start_Calc - Line # ")))
        << bed.messages().front().toStdString();
    EXPECT_EQ(bed.platform().messages().front().title, QStringLiteral("Valdora error"));
}

TEST(EngineFailures, MemberOutsideTheRunIsReported)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), {{"Type", "4"}});
    const host::ContactId contact = bed.addContact({});
    EXPECT_EQ(bed.compute(codeOf(Scheme::Now), button, contact, 8), QString());
    ASSERT_EQ(bed.messages().size(), 2);
    EXPECT_TRUE(valdora::test::reportsError(int(ErrorNumber::SubscriptOutOfRange), bed.messages().at(0)));
    EXPECT_TRUE(valdora::test::reportsError(int(ErrorNumber::SubscriptOutOfRange), bed.messages().at(1)));
    EXPECT_TRUE(bed.messages().at(0).contains(QStringLiteral("in frmMain: Sub Initialize_Now - Line # ")));
    EXPECT_TRUE(bed.messages().at(1).contains(QStringLiteral("in frmMain: Function Obtain_Now - Line # ")));
}

TEST(EngineFailures, UnknownSchemeComputesNothing)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Auto);
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), {{"Type", "9"}});
    const host::ContactId contact = bed.addContact({});
    EXPECT_EQ(bed.compute(9, button, contact), QString());
    EXPECT_EQ(bed.compute(codeOf(Scheme::Combo), button, contact), QString());
    EXPECT_TRUE(bed.messages().isEmpty());
}

} // namespace
} // namespace valdora::engine::test
