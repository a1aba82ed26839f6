#include "run/TargetDecimals.h"
#include "run/RunSummary.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace valdora::run {
namespace {

TEST(TargetDecimalsTest, PutsTheFieldsPlacesOnNumbersOnly)
{
    struct Case {
        const char* locale;
        QString value;
        int places;
        QString expected;
    };
    const Case cases[] = {
        {"en_US", QStringLiteral("3"), 2, QStringLiteral("3.00")},
        {"en_US", QStringLiteral("2.46"), 1, QStringLiteral("2.5")},
        {"en_US", QStringLiteral("24"), 0, QStringLiteral("24")}, // no places, no point
        {"de_DE", QStringLiteral("3,5"), 2, QStringLiteral("3,50")},
        {"en_US", QStringLiteral("INV-7"), 2, QStringLiteral("INV-7")},
        {"en_US", QString(), 2, QString()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale + std::string(" ") + c.value.toStdString());
        const TextLocale locale{QLocale(QString::fromLatin1(c.locale))};
        EXPECT_EQ(inDecimalPlaces(locale, c.value, c.places).toStdString(), c.expected.toStdString());
    }
}

TEST(RunSummaryTest, CountsEachContactOnceByItsOutcome)
{
    // writeFailed, valueUsed -> written, unchanged, failed
    const int cases[][5] = {{0, 1, 1, 0, 0}, {0, 0, 0, 1, 0}, {1, 1, 0, 0, 1}, {1, 0, 0, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "failed " << c[0] << ", used " << c[1]);
        RunSummary summary;
        summary.inScope = 2;
        summary.countContact(c[0] != 0, c[1] != 0);
        EXPECT_EQ(summary.written, c[2]);
        EXPECT_EQ(summary.unchanged, c[3]);
        EXPECT_EQ(summary.failed, c[4]);
        EXPECT_EQ(summary.notReached(), 1);
    }
}

} // namespace
} // namespace valdora::run
