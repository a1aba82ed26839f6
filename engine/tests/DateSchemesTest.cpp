#include "EngineTestBed.h"

#include "engine/TextHelpers.h"

#include "core/testsupport/ReportedError.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

namespace valdora::engine::test {
namespace {

void pinClock(EngineTestBed& bed, const QDateTime& now)
{
    bed.engine().context().options.clock = [now] { return now; };
}

struct NowCase {
    const char* name;
    const char* op;
    const char* days;
    int format; ///< 0 date, 1 date and time, 2 time
    QDateTime now;
    QDate expectedDate;
};

void PrintTo(const NowCase& row, std::ostream* os)
{
    *os << row.name;
}

const QDateTime Afternoon(QDate(2026, 12, 5), QTime(14, 30, 15));

const std::vector<NowCase> NowCases = {
    {"WeekAheadDateOnly", "0", "7", 0, Afternoon, QDate(2026, 12, 12)},
    {"YesterdayTimeOnly", "1", "1", 2, Afternoon, QDate(2026, 12, 4)},
    {"TodayDateAndTime", "0", "0", 1, Afternoon, QDate(2026, 12, 5)},
    {"AcrossMonths", "0", "30", 0, QDateTime(QDate(2026, 1, 31), QTime(8, 0)), QDate(2026, 3, 2)},
    {"BackAcrossYears", "1", "10", 1, QDateTime(QDate(2026, 1, 5), QTime(23, 59, 59)), QDate(2025, 12, 26)},
    {"OtherOperatorSubtracts", "3", "2", 0, Afternoon, QDate(2026, 12, 3)},
    {"MidnightTimeOnly", "0", "0", 2, QDateTime(QDate(2026, 12, 5), QTime(0, 0)), QDate(2026, 12, 5)},
};

using NowParam = std::tuple<NowCase, const char*, ReaderKind>;

class NowTest : public ::testing::TestWithParam<NowParam> {};

TEST_P(NowTest, Stamps)
{
    const auto& [row, localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    pinClock(bed, row.now);
    const QString button =
        bed.writeButton(QStringLiteral("~101.ini"), {{"Type", "4"},
                                                     {"NowOperator", row.op},
                                                     {"NowDays", row.days},
                                                     {"NowFormatDate0", row.format == 0 ? "1" : "0"},
                                                     {"NowFormatDate1", row.format == 1 ? "1" : "0"},
                                                     {"NowFormatDate2", row.format == 2 ? "1" : "0"}});
    const host::ContactId contact = bed.addContact({});
    const QString value = bed.compute(codeOf(Scheme::Now), button, contact);
    const TextLocale& locale = bed.locale();
    const QString date = locale.dateText(row.expectedDate);
    const QString time = locale.timeText(row.now.time());
    if (row.format == 0)
        EXPECT_EQ(value, date);
    else if (row.format == 2)
        EXPECT_EQ(value, time);
    else
        EXPECT_EQ(value, locale.dateTimeText(QDateTime(row.expectedDate, row.now.time())));
    if (row.format == 2) {
        EXPECT_FALSE(value.isEmpty());
        EXPECT_FALSE(value.contains(date));
    }
    EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Offsets, NowTest,
                         ::testing::Combine(::testing::ValuesIn(NowCases),
                                            ::testing::Values("en_US", "fr_FR", "de_DE"),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         CaseName);

TEST(NowScheme, DaysThatAreNotANumberAreReported)
{
    for (const ReaderKind kind : {ReaderKind::Valdora, ReaderKind::Auto}) {
        EngineTestBed bed(QStringLiteral("en_US"), kind);
        pinClock(bed, Afternoon);
        const QString button = bed.writeButton(
            QStringLiteral("~101.ini"), {{"Type", "4"}, {"NowDays", "seven"}, {"NowFormatDate0", "1"}});
        const host::ContactId contact = bed.addContact({});
        // The offset stays 0: today's date.
        EXPECT_EQ(bed.compute(codeOf(Scheme::Now), button, contact), bed.locale().dateText(Afternoon.date()));
        ASSERT_EQ(bed.messages().size(), 1);
        EXPECT_TRUE(valdora::test::reportsError(int(ErrorNumber::TypeMismatch), bed.messages().front()));
        const QString module =
            kind == ReaderKind::Valdora ? QStringLiteral("frmMain") : QStringLiteral("frmAutoMain");
        EXPECT_TRUE(bed.messages().front().contains("in " + module + ": Sub Initialize_Now - Line # "));
    }
}

// The operator is a whole number as the days are: a text that is none stops the member, it is not
// taken for "plus".
TEST(NowScheme, AnOperatorThatIsNotANumberIsReported)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    pinClock(bed, Afternoon);
    const QString button =
        bed.writeButton(QStringLiteral("~101.ini"),
                        {{"Type", "4"}, {"NowOperator", "plus"}, {"NowDays", "7"}, {"NowFormatDate0", "1"}});
    const host::ContactId contact = bed.addContact({});
    EXPECT_FALSE(bed.engine().Initialize(codeOf(Scheme::Now), 0, button));
    ASSERT_EQ(bed.messages().size(), 1);
    EXPECT_TRUE(valdora::test::reportsError(int(ErrorNumber::TypeMismatch), bed.messages().front()));
    EXPECT_TRUE(bed.messages().front().contains(": Sub Initialize_Now - Line # "));
}

struct AgeCase {
    const char* name;
    int format;
    const char* value; ///< the date field's text
    QDate today;
    const char* expected; ///< "{y}" / "{m}" stand for messages 484 / 485
};

void PrintTo(const AgeCase& row, std::ostream* os)
{
    *os << row.name;
}

const QDate December5(2026, 12, 5);

const std::vector<AgeCase> AgeCases = {
    {"YearsTurnAtTheBirthMonth", 0, "{date:1980-01-15}", QDate(2026, 1, 1), "46"},
    {"YearsBeforeTheBirthMonth", 0, "{date:1980-02-01}", QDate(2026, 1, 31), "45"},
    {"YearsAndMonths", 1, "{date:2024-03-20}", December5, "2 {y} 9 {m} "},
    {"MonthBoundaryNotElapsed", 1, "{date:2026-01-31}", QDate(2026, 2, 1), "0 {y} 1 {m} "},
    {"SameMonth", 1, "{date:2026-01-01}", QDate(2026, 1, 31), "0 {y} 0 {m} "},
    {"Days", 2, "{date:2026-12-04}", December5, "1"},
    {"DaysOverLeapDay", 2, "{date:2024-02-28}", QDate(2024, 3, 1), "2"},
    {"FutureYearsRoundDown", 0, "{date:2027-01-05}", December5, "-1"},
    {"FutureYearsAndMonths", 1, "{date:2027-01-05}", December5, "0 {y} -1 {m} "},
    {"FarFutureYearsAndMonths", 1, "{date:2028-03-05}", December5, "-1 {y} -3 {m} "},
    {"FutureDays", 2, "{date:2026-12-25}", December5, "-20"},
    {"Empty", 0, "", December5, "blank"},
    {"NotADate", 2, "n/a", December5, "bad"},
    {"NoSuchDay", 0, "31/02/2026", December5, "bad"},
};

using AgeParam = std::tuple<AgeCase, const char*, ReaderKind>;

class AgeTest : public ::testing::TestWithParam<AgeParam> {};

TEST_P(AgeTest, Counts)
{
    const auto& [row, localeName, kind] = GetParam();
    EngineTestBed bed(QString::fromLatin1(localeName), kind);
    pinClock(bed, QDateTime(row.today, QTime(10, 0)));
    Keys keys = {{"Type", "6"}, {"Invalid", "bad"}, {"Blank", "blank"}};
    for (int k = 0; k < 3; ++k)
        keys += {{QStringLiteral("AgeFormat%1").arg(k), k == row.format ? "1" : "0"}};
    keys += bed.fieldKeys(QStringLiteral("DateField"), QStringLiteral("Birth Date"));
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    const host::ContactId contact = bed.addContact({{"Birth Date", QString::fromUtf8(row.value)}});
    QString expected = QString::fromUtf8(row.expected);
    expected.replace(QStringLiteral("{y}"), bed.session().messages().get(MessageId::Years));
    expected.replace(QStringLiteral("{m}"), bed.session().messages().get(MessageId::Months));
    EXPECT_EQ(bed.compute(codeOf(Scheme::Age), button, contact), expected);
    EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Dates, AgeTest,
                         ::testing::Combine(::testing::ValuesIn(AgeCases),
                                            ::testing::Values("en_US", "fr_FR", "de_DE"),
                                            ::testing::Values(ReaderKind::Valdora, ReaderKind::Auto)),
                         CaseName);

// The format group as a run reads it: the option read last that is "1" counts; a group with no
// option on (all "0", absent, or damaged) counts whole years. nullptr is an absent key.
struct AgeGroupCase {
    const char* name;
    std::array<const char*, 3> options;
    const char* expected;
};

void PrintTo(const AgeGroupCase& row, std::ostream* os)
{
    *os << row.name;
}

const std::vector<AgeGroupCase> AgeGroupCases = {
    {"NoKeys", {nullptr, nullptr, nullptr}, "1"},
    {"AllOff", {"0", "0", "0"}, "1"},
    {"FirstOffOthersAbsent", {"0", nullptr, nullptr}, "1"},
    {"DamagedFirst", {"yes", "0", "0"}, "1"},
    {"DaysOnly", {nullptr, nullptr, "1"}, "396"},
    {"YearsAndMonths", {"0", "1", nullptr}, "1 {y} 1 {m} "},
    {"TheLaterOfTwoCounts", {"1", nullptr, "1"}, "396"},
};

class AgeGroupTest : public ::testing::TestWithParam<AgeGroupCase> {};

TEST_P(AgeGroupTest, ChoosesTheFormat)
{
    const AgeGroupCase& row = GetParam();
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    pinClock(bed, QDateTime(December5, QTime(10, 0)));
    Keys keys = {{"Type", "6"}};
    for (int k = 0; k < 3; ++k) {
        if (row.options[static_cast<std::size_t>(k)] != nullptr)
            keys += {{QStringLiteral("AgeFormat%1").arg(k), row.options[static_cast<std::size_t>(k)]}};
    }
    keys += bed.fieldKeys(QStringLiteral("DateField"), QStringLiteral("Birth Date"));
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    const host::ContactId contact = bed.addContact({{"Birth Date", "{date:2025-11-04}"}});
    QString expected = QString::fromUtf8(row.expected);
    expected.replace(QStringLiteral("{y}"), bed.session().messages().get(MessageId::Years));
    expected.replace(QStringLiteral("{m}"), bed.session().messages().get(MessageId::Months));
    EXPECT_EQ(bed.compute(codeOf(Scheme::Age), button, contact), expected);
    EXPECT_TRUE(bed.messages().isEmpty()) << bed.messages().join(u'\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Groups, AgeGroupTest, ::testing::ValuesIn(AgeGroupCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AgeScheme, EnglishYearsAndMonthsEndWithABlank)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    pinClock(bed, QDateTime(December5, QTime(9, 0)));
    Keys keys = {{"Type", "6"}, {"AgeFormat0", "0"}, {"AgeFormat1", "1"}, {"AgeFormat2", "0"}};
    keys += bed.fieldKeys(QStringLiteral("DateField"), QStringLiteral("Birth Date"));
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    const host::ContactId contact = bed.addContact({{"Birth Date", "{date:2024-03-20}"}});
    EXPECT_EQ(bed.compute(codeOf(Scheme::Age), button, contact), QStringLiteral("2 years 9 months "));
}

TEST(AgeScheme, ComputedValueOfThisRunComesFirst)
{
    for (const ReaderKind kind : {ReaderKind::Valdora, ReaderKind::Auto}) {
        EngineTestBed bed(QStringLiteral("de_DE"), kind);
        pinClock(bed, QDateTime(December5, QTime(9, 0)));
        Keys keys = {{"Type", "6"}, {"AgeFormat2", "1"}};
        keys += bed.fieldKeys(QStringLiteral("DateField"), QStringLiteral("Birth Date"));
        const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
        const host::ContactId contact = bed.addContact({{"Birth Date", "{date:2026-12-01}"}});
        bed.fieldValues().setValue(bed.fieldId(QStringLiteral("Birth Date")),
                                   bed.expand("{date:2026-11-30}"));
        EXPECT_EQ(bed.compute(codeOf(Scheme::Age), button, contact), QStringLiteral("5")) << readerName(kind);
    }
}

TEST(AgeScheme, MissingDateField)
{
    for (const ReaderKind kind : {ReaderKind::Valdora, ReaderKind::Auto}) {
        EngineTestBed bed(QStringLiteral("fr_FR"), kind);
        const QString button = bed.writeButton(
            QStringLiteral("~101.ini"), {{"Type", "6"}, {"DateField", "Deleted Field"}, {"Blank", "blank"}});
        const host::ContactId contact = bed.addContact({});
        if (kind == ReaderKind::Valdora) {
            EXPECT_EQ(bed.compute(codeOf(Scheme::Age), button, contact), QString());
            EXPECT_EQ(bed.messages(),
                      QStringList{bed.session().messages().get(MessageId::InvalidButtonData)});
        } else {
            // Without "DateFieldID" ValdoraAuto reads no field: the field is empty.
            EXPECT_EQ(bed.compute(codeOf(Scheme::Age), button, contact), QStringLiteral("blank"));
            EXPECT_TRUE(bed.messages().isEmpty());
        }
    }
}

TEST(AgeScheme, UnreachableContactAsksToUnload)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    Keys keys = {{"Type", "6"}};
    keys += bed.fieldKeys(QStringLiteral("DateField"), QStringLiteral("Birth Date"));
    const QString button = bed.writeButton(QStringLiteral("~101.ini"), keys);
    EXPECT_EQ(bed.compute(codeOf(Scheme::Age), button, QStringLiteral("NOSUCHCONTAC")), QString());
    EXPECT_EQ(bed.messages(), QStringList{bed.session().messages().get(MessageId::ContactNotReachable)});
    EXPECT_TRUE(bed.engine().unloadRequested());
}

struct DayCase {
    const char* name;
    const char* text;
    const char* expected;
};

void PrintTo(const DayCase& row, std::ostream* os)
{
    *os << row.name;
}

class ExtractDayTest : public ::testing::TestWithParam<DayCase> {};

TEST_P(ExtractDayTest, KeepsTheTextBeforeTheFirstBlank)
{
    EngineTestBed bed(QStringLiteral("en_US"), ReaderKind::Valdora);
    EXPECT_EQ(Extract_Day(bed.engine().context(), QString::fromUtf8(GetParam().text)),
              QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Texts, ExtractDayTest,
                         ::testing::Values(DayCase{"DateAndTime", "12/05/2026 09:30:00", "12/05/2026"},
                                           DayCase{"DateOnly", "12/05/2026", "12/05/2026"},
                                           DayCase{"Empty", "", ""}, DayCase{"LeadingBlank", " x", ""},
                                           DayCase{"TwoBlanks", "1.2.2026 9:30 PM", "1.2.2026"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::engine::test
