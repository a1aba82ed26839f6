#include "core/TextLocale.h"

#include "core/testsupport/FailsWith.h"
#include "core/testsupport/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cmath>

namespace valdora {
namespace {

const char* const PinnedLocales[] = {"en_US", "fr_FR", "de_DE"};

TextLocale pinned(const char* name)
{
    return TextLocale(QLocale(QString::fromLatin1(name)));
}

// Numbers ------------------------------------------------------------------------------------------

struct NumericRow {
    const char* locale;
    const char* text;
    bool numeric;
    double value;
};

class NumericTest : public ::testing::TestWithParam<NumericRow> {};

TEST_P(NumericTest, TestAndValue)
{
    const NumericRow& row = GetParam();
    const test::PinnedLocale pin(QString::fromLatin1(row.locale));
    const TextLocale locale;
    const QString text = QString::fromUtf8(row.text);
    EXPECT_EQ(locale.isNumeric(text), row.numeric) << row.locale << " '" << row.text << "'";
    if (row.numeric) {
        EXPECT_DOUBLE_EQ(locale.toDouble(text), row.value);
    } else {
        EXPECT_FALSE(locale.toNumber(text).has_value());
        EXPECT_TRUE(
            test::failsWith(ErrorNumber::TypeMismatch, "Type mismatch", [&] { locale.toDouble(text); }));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NumericTest,
    ::testing::Values(NumericRow{"en_US", "12", true, 12}, NumericRow{"en_US", " 7.5 ", true, 7.5},
                      NumericRow{"en_US", "-0.25", true, -0.25}, NumericRow{"en_US", "+3", true, 3},
                      NumericRow{"en_US", ".5", true, 0.5}, NumericRow{"en_US", "5.", true, 5},
                      NumericRow{"en_US", "1e3", true, 1000}, NumericRow{"en_US", "2.5E-2", true, 0.025},
                      NumericRow{"en_US", "\t42\t", true, 42}, NumericRow{"en_US", "", false, 0},
                      NumericRow{"en_US", "   ", false, 0}, NumericRow{"en_US", "1,000", false, 0},
                      NumericRow{"en_US", "1.2.3", false, 0}, NumericRow{"en_US", "abc", false, 0},
                      NumericRow{"en_US", "-", false, 0}, NumericRow{"en_US", ".", false, 0},
                      NumericRow{"en_US", "1e", false, 0}, NumericRow{"en_US", "e5", false, 0},
                      NumericRow{"en_US", "5-", false, 0}, NumericRow{"en_US", "1 2", false, 0},
                      NumericRow{"en_US", "1e999", false, 0}, NumericRow{"en_US", "$5", false, 0},
                      NumericRow{"fr_FR", "7,5", true, 7.5}, NumericRow{"fr_FR", "-0,25", true, -0.25},
                      NumericRow{"fr_FR", "7.5", false, 0}, NumericRow{"fr_FR", "1\u202f000", false, 0},
                      NumericRow{"de_DE", "7,5", true, 7.5}, NumericRow{"de_DE", " 12 ", true, 12},
                      NumericRow{"de_DE", "7.5", false, 0}, NumericRow{"de_DE", "1.000", false, 0},
                      NumericRow{"de_DE", "1,5e2", true, 150}));

struct DoubleTextRow {
    double value;
    const char* english; // the text in en_US; fr_FR and de_DE have "," for "."
};

class FromDoubleTest : public ::testing::TestWithParam<DoubleTextRow> {};

TEST_P(FromDoubleTest, ShortestFormInEachLocale)
{
    const DoubleTextRow& row = GetParam();
    for (const char* name : PinnedLocales) {
        const test::PinnedLocale pin(QString::fromLatin1(name));
        const TextLocale locale;
        QString expected = QString::fromLatin1(row.english);
        if (locale.decimalSeparator() != u'.')
            expected.replace(u'.', locale.decimalSeparator());
        EXPECT_EQ(locale.fromDouble(row.value), expected) << name;
        // What is written reads back as the same number (to 15 digits).
        const std::optional<double> back = locale.toNumber(expected);
        ASSERT_TRUE(back.has_value()) << name << " " << row.english;
        EXPECT_NEAR(*back, row.value, std::fabs(row.value) * 1e-14) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FromDoubleTest,
    ::testing::Values(DoubleTextRow{7.5, "7.5"}, DoubleTextRow{12, "12"}, DoubleTextRow{-0.25, "-0.25"},
                      DoubleTextRow{0, "0"}, DoubleTextRow{-0.0, "0"}, DoubleTextRow{0.1 + 0.2, "0.3"},
                      DoubleTextRow{1.0 / 3.0, "0.333333333333333"},
                      DoubleTextRow{2.0 / 3.0, "0.666666666666667"},
                      DoubleTextRow{123456789012345.0, "123456789012345"}, DoubleTextRow{1e15, "1E+15"},
                      DoubleTextRow{1.5e20, "1.5E+20"}, DoubleTextRow{0.00001, "0.00001"},
                      DoubleTextRow{1.5e-7, "1.5E-07"}, DoubleTextRow{1e14, "100000000000000"},
                      DoubleTextRow{-42.125, "-42.125"}));

struct FormatRow {
    double value;
    const char* pattern;
    const char* english;
};

class FormatTest : public ::testing::TestWithParam<FormatRow> {};

TEST_P(FormatTest, FixedDecimalsHalfAwayFromZero)
{
    const FormatRow& row = GetParam();
    for (const char* name : PinnedLocales) {
        const TextLocale locale = pinned(name);
        QString expected = QString::fromLatin1(row.english);
        if (locale.decimalSeparator() != u'.')
            expected.replace(u'.', locale.decimalSeparator());
        EXPECT_EQ(locale.format(row.value, QString::fromLatin1(row.pattern)), expected)
            << name << " " << row.value << " " << row.pattern;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FormatTest,
    ::testing::Values(FormatRow{7.5, "0.00000000", "7.50000000"}, FormatRow{3, "0.", "3."},
                      FormatRow{3.6, "0.", "4."}, FormatRow{2.5, "0", "3"}, FormatRow{-2.5, "0", "-3"},
                      FormatRow{2.675, "0.00", "2.68"}, FormatRow{1.005, "0.00", "1.01"},
                      FormatRow{-1.005, "0.00", "-1.01"}, FormatRow{0.125, "0.00", "0.13"},
                      FormatRow{9.999, "0.00", "10.00"}, FormatRow{999.5, "0", "1000"},
                      FormatRow{-0.001, "0.00", "0.00"}, FormatRow{0, "0.00000000", "0.00000000"},
                      FormatRow{12345678.9, "0.0", "12345678.9"}, FormatRow{0.5, "0.", "1."},
                      FormatRow{42, "000", "042"}, FormatRow{1.5, "#.##", "1.5"},
                      FormatRow{1e20, "0", "100000000000000000000"}));

struct WholeRow {
    const char* text;
    qint64 expected; // OverflowMarker or Mismatch for a failure
};
constexpr qint64 OverflowMarker = 1'000'000'000'000;
constexpr qint64 Mismatch = 2'000'000'000'000;

class Int16Test : public ::testing::TestWithParam<WholeRow> {};

TEST_P(Int16Test, RoundsHalfToEven)
{
    const WholeRow& row = GetParam();
    const test::PinnedLocale pin(QStringLiteral("en_US"));
    const TextLocale locale;
    const QString text = QString::fromLatin1(row.text);
    if (row.expected == OverflowMarker) {
        EXPECT_TRUE(test::failsWith(ErrorNumber::Overflow, "Overflow", [&] { locale.toInt16(text); }))
            << row.text;
    } else if (row.expected == Mismatch) {
        EXPECT_TRUE(test::failsWith(ErrorNumber::TypeMismatch, "Type mismatch", [&] {
            locale.toInt16(text);
        })) << row.text;
    } else {
        EXPECT_EQ(locale.toInt16(text), row.expected) << row.text;
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, Int16Test,
                         ::testing::Values(WholeRow{"2.5", 2}, WholeRow{"3.5", 4}, WholeRow{"-2.5", -2},
                                           WholeRow{"-3.5", -4}, WholeRow{"2.4", 2}, WholeRow{"2.6", 3},
                                           WholeRow{" 7 ", 7}, WholeRow{"32767", 32767},
                                           WholeRow{"-32768", -32768}, WholeRow{"32767.5", OverflowMarker},
                                           WholeRow{"32768", OverflowMarker},
                                           WholeRow{"-32769", OverflowMarker}, WholeRow{"", Mismatch},
                                           WholeRow{"abc", Mismatch}, WholeRow{"1,5", Mismatch}));

TEST(Int32Test, RangeAndLocale)
{
    const TextLocale german = pinned("de_DE");
    EXPECT_EQ(german.toInt32(u"2,5"), 2);
    EXPECT_EQ(german.toInt32(u"100000,5"), 100000);
    EXPECT_EQ(german.toInt32(u"2147483647"), 2147483647);
    EXPECT_TRUE(test::failsWith(ErrorNumber::Overflow, "Overflow", [&] { german.toInt32(u"2147483648"); }));
    EXPECT_TRUE(test::failsWith(ErrorNumber::TypeMismatch, "Type mismatch", [&] { german.toInt32(u"2.5"); }));
}

TEST(FailureLineTest, ConversionNamesTheCallersLine)
{
    const TextLocale locale = pinned("en_US");
    const int line = __LINE__ + 2;
    try {
        locale.toDouble(u"n/a");
        FAIL();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), static_cast<int>(ErrorNumber::TypeMismatch));
        EXPECT_EQ(failure.line(), line);
        EXPECT_EQ(failure.description(), QStringLiteral("Type mismatch"));
    }
}

TEST(SeparatorTest, DecimalAndMonetary)
{
    EXPECT_EQ(pinned("en_US").decimalSeparator(), u'.');
    EXPECT_EQ(pinned("en_US").monetaryDecimalSeparator(), u'.');
    EXPECT_EQ(pinned("fr_FR").decimalSeparator(), u',');
    EXPECT_EQ(pinned("de_DE").monetaryDecimalSeparator(), u',');
}

// Dates --------------------------------------------------------------------------------------------

TEST(DateFormatTest, ShortDateAlwaysHasFourDigitYear)
{
    EXPECT_EQ(pinned("en_US").shortDateFormat(), QStringLiteral("M/d/yyyy"));
    EXPECT_EQ(pinned("fr_FR").shortDateFormat(), QStringLiteral("dd/MM/yyyy"));
    EXPECT_EQ(pinned("de_DE").shortDateFormat(), QStringLiteral("dd.MM.yyyy"));
    EXPECT_FALSE(pinned("en_US").timeFormat().contains(u't'));
    EXPECT_TRUE(pinned("de_DE").timeFormat().contains(QStringLiteral("ss")));
}

TEST(DateFormatTest, NamesAndBlanksGiveWayToIsoAndDigits)
{
    EXPECT_EQ(pinned("C").shortDateFormat(), QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(pinned("C").dateTimeText(QDateTime(QDate(2026, 1, 5), QTime(9, 30))),
              QStringLiteral("2026-01-05 09:30:00"));
    EXPECT_EQ(pinned("ja_JP").timeFormat(), QStringLiteral("HH:mm:ss"));
    EXPECT_EQ(pinned("fi_FI").shortDateFormat(), QStringLiteral("d.M.yyyy"));
}

class RoundTripTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RoundTripTest, EveryDateWrittenIsOneWordThatReadsBack)
{
    const TextLocale locale = pinned(GetParam());
    for (const QDateTime& value :
         {QDateTime(QDate(2026, 1, 5), QTime(9, 30, 15)), QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59)),
          QDateTime(QDate(2026, 1, 5), QTime(0, 0))}) {
        const QString text = locale.dateTimeText(value);
        EXPECT_FALSE(locale.dateText(value.date()).contains(u' ')) << GetParam() << " " << qPrintable(text);
        EXPECT_EQ(locale.toDateTime(text), std::optional<QDateTime>(value))
            << GetParam() << " " << qPrintable(text);
    }
}

INSTANTIATE_TEST_SUITE_P(Locales, RoundTripTest,
                         ::testing::Values("C", "en_US", "en_GB", "fr_FR", "de_DE", "nl_NL", "fi_FI", "cs_CZ",
                                           "ja_JP", "ko_KR", "en_DK"));

struct DateRow {
    const char* locale;
    const char* text;
    QDateTime expected; // invalid: not a date
};

QDateTime at(int y, int m, int d, int h = 0, int min = 0, int s = 0)
{
    return QDateTime(QDate(y, m, d), QTime(h, min, s));
}

class DateTest : public ::testing::TestWithParam<DateRow> {};

TEST_P(DateTest, AcceptsWhatTheUserTypes)
{
    const DateRow& row = GetParam();
    const test::PinnedLocale pin(QString::fromLatin1(row.locale));
    const TextLocale locale;
    const QString text = QString::fromUtf8(row.text);
    const std::optional<QDateTime> value = locale.toDateTime(text);
    EXPECT_EQ(locale.isDate(text), row.expected.isValid()) << row.locale << " '" << row.text << "'";
    if (row.expected.isValid()) {
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(*value, row.expected) << row.locale << " '" << row.text << "'";
    } else {
        EXPECT_FALSE(value.has_value()) << row.locale << " '" << row.text << "'";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DateTest,
    ::testing::Values(
        DateRow{"en_US", "1/5/2026", at(2026, 1, 5)}, DateRow{"en_US", "01/05/26", at(2026, 1, 5)},
        DateRow{"en_US", "3/1/2026", at(2026, 3, 1)}, DateRow{"en_US", "12/31/99", at(1999, 12, 31)},
        DateRow{"en_US", "1/1/29", at(2029, 1, 1)}, DateRow{"en_US", "1/1/30", at(1930, 1, 1)},
        DateRow{"en_US", " 2/29/2024 ", at(2024, 2, 29)}, DateRow{"en_US", "2/29/2026", QDateTime()},
        DateRow{"en_US", "13/1/2026", QDateTime()},
        DateRow{"en_US", "1/5/2026 9:30:00 AM", at(2026, 1, 5, 9, 30)},
        DateRow{"en_US", "1/5/2026 9:30 PM", at(2026, 1, 5, 21, 30)},
        DateRow{"en_US", "1/5/2026 12:15:00 AM", at(2026, 1, 5, 0, 15)},
        DateRow{"en_US", "1/5/2026 21:30", at(2026, 1, 5, 21, 30)},
        DateRow{"en_US", "9:30:15 pm", at(1899, 12, 30, 21, 30, 15)},
        DateRow{"en_US", "2026-01-05", at(2026, 1, 5)},
        DateRow{"en_US", "2026-01-05 08:00:00", at(2026, 1, 5, 8)},
        DateRow{"en_US", "2026-01-05T08:00", at(2026, 1, 5, 8)}, DateRow{"en_US", "2026-02-30", QDateTime()},
        DateRow{"en_US", "0099-01-01", QDateTime()}, DateRow{"en_US", "", QDateTime()},
        DateRow{"en_US", "n/a", QDateTime()}, DateRow{"en_US", "12", QDateTime()},
        DateRow{"en_US", "1/5", QDateTime()}, DateRow{"en_US", "1/5/2026 25:00", QDateTime()},
        DateRow{"en_US", "13:00 PM", QDateTime()}, DateRow{"en_US", "1/5/123", QDateTime()},
        DateRow{"fr_FR", "05/01/2026", at(2026, 1, 5)}, DateRow{"fr_FR", "5/1/26", at(2026, 1, 5)},
        DateRow{"fr_FR", "31/02/2026", QDateTime()}, DateRow{"fr_FR", "31/01/2026", at(2026, 1, 31)},
        DateRow{"fr_FR", "05/01/2026 14:05:09", at(2026, 1, 5, 14, 5, 9)},
        DateRow{"fr_FR", "14:05", at(1899, 12, 30, 14, 5)}, DateRow{"fr_FR", "2026-01-05", at(2026, 1, 5)},
        DateRow{"fr_FR", "05.01.2026", QDateTime()}, DateRow{"de_DE", "05.01.2026", at(2026, 1, 5)},
        DateRow{"de_DE", "5.1.26", at(2026, 1, 5)}, DateRow{"de_DE", "31.02.2026", QDateTime()},
        DateRow{"de_DE", "05.01.2026 07:00:00", at(2026, 1, 5, 7)}, DateRow{"de_DE", "12.5", QDateTime()},
        DateRow{"de_DE", "05/01/2026", QDateTime()}));

struct DateTextRow {
    const char* locale;
    QDateTime value;
    const char* text;
};

class DateTextTest : public ::testing::TestWithParam<DateTextRow> {};

TEST_P(DateTextTest, DefaultFormAndRoundTrip)
{
    const DateTextRow& row = GetParam();
    const TextLocale locale = pinned(row.locale);
    const QString text = locale.dateTimeText(row.value);
    EXPECT_EQ(text, QString::fromUtf8(row.text)) << row.locale;
    // What we write reads back as the same value.
    const std::optional<QDateTime> back = locale.toDateTime(text);
    ASSERT_TRUE(back.has_value()) << row.locale << " " << row.text;
    EXPECT_EQ(*back, row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DateTextTest,
    ::testing::Values(DateTextRow{"en_US", at(2026, 1, 5, 9, 30), "1/5/2026 9:30:00 AM"},
                      DateTextRow{"en_US", at(2026, 1, 5, 21, 30, 15), "1/5/2026 9:30:15 PM"},
                      DateTextRow{"en_US", at(2026, 1, 5), "1/5/2026"},
                      DateTextRow{"en_US", at(1980, 1, 15), "1/15/1980"},
                      DateTextRow{"en_US", at(2026, 1, 5, 0, 0, 1), "1/5/2026 12:00:01 AM"},
                      DateTextRow{"en_US", at(1899, 12, 30, 14, 5), "2:05:00 PM"},
                      DateTextRow{"fr_FR", at(2026, 1, 5, 9, 30), "05/01/2026 09:30:00"},
                      DateTextRow{"fr_FR", at(2026, 1, 5), "05/01/2026"},
                      DateTextRow{"de_DE", at(2026, 1, 5, 21, 30), "05.01.2026 21:30:00"},
                      DateTextRow{"de_DE", at(1999, 12, 31), "31.12.1999"}));

struct DifferenceRow {
    QDate from;
    QDate to;
    int months;
    qint64 days;
};

class DifferenceTest : public ::testing::TestWithParam<DifferenceRow> {};

TEST_P(DifferenceTest, CalendarBoundaries)
{
    const DifferenceRow& row = GetParam();
    EXPECT_EQ(monthDifference(row.from, row.to), row.months);
    EXPECT_EQ(dayDifference(row.from, row.to), row.days);
    EXPECT_EQ(addDays(row.from, row.days), row.to);
}

INSTANTIATE_TEST_SUITE_P(Rows, DifferenceTest,
                         ::testing::Values(DifferenceRow{QDate(1980, 1, 15), QDate(2026, 1, 1), 552, 16788},
                                           DifferenceRow{QDate(2024, 3, 20), QDate(2026, 12, 5), 33, 990},
                                           DifferenceRow{QDate(2026, 1, 31), QDate(2026, 2, 1), 1, 1},
                                           DifferenceRow{QDate(2026, 1, 1), QDate(2026, 1, 31), 0, 30},
                                           DifferenceRow{QDate(2026, 1, 1), QDate(2026, 3, 1), 2, 59},
                                           DifferenceRow{QDate(2026, 2, 5), QDate(2026, 1, 5), -1, -31},
                                           DifferenceRow{QDate(2026, 1, 5), QDate(2026, 1, 5), 0, 0}));

} // namespace
} // namespace valdora
