// The counter file as the editor shows and saves its "Start at" number: only a number counts, only
// the first line is read, nothing is created by a look, and a save that cannot be made says so.
#include "engine/CounterStartValue.h"

#include "core/testsupport/FailsWith.h"
#include "core/testsupport/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

namespace valdora::engine {
namespace {

struct StartValueCase {
    const char* name;
    QByteArray content;
    std::optional<QString> shown;
};

void PrintTo(const StartValueCase& row, std::ostream* os)
{
    *os << row.name;
}

class CounterStartValueTest : public ::testing::TestWithParam<StartValueCase> {
protected:
    QTemporaryDir m_dir;
    const TextLocale m_locale{QLocale(QStringLiteral("en_US"))};

    QString path(const char* name = "AutoNumber_Invoice.num") const
    {
        return m_dir.filePath(QLatin1String(name));
    }
};

TEST_P(CounterStartValueTest, ShowsTheFirstLineWhenItIsANumber)
{
    const StartValueCase& row = GetParam();
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(row.content), row.content.size());
    file.close();

    EXPECT_EQ(CounterFile::startValue(path(), m_locale), row.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CounterStartValueTest,
    ::testing::Values(StartValueCase{"AsTheRunWritesIt", " 1 \r\n", QStringLiteral("1")},
                      StartValueCase{"LeadingZerosKept", "0042\r\n", QStringLiteral("0042")},
                      StartValueCase{"OnlyTheFirstLine", "7\r\n8\r\n", QStringLiteral("7")},
                      StartValueCase{"WithoutLineEnd", "12", QStringLiteral("12")},
                      StartValueCase{"NotANumber", "INV-1\r\n", std::nullopt},
                      StartValueCase{"Empty", "", std::nullopt},
                      StartValueCase{"NumberOnTheSecondLineOnly", "\r\n5\r\n", std::nullopt}),
    [](const ::testing::TestParamInfo<StartValueCase>& info) { return std::string(info.param.name); });

TEST_F(CounterStartValueTest, AMissingFileShowsNothingAndIsNotCreated)
{
    EXPECT_EQ(CounterFile::startValue(path(), m_locale), std::nullopt);
    EXPECT_FALSE(QFile::exists(path()));
}

TEST_F(CounterStartValueTest, ASavedStartValueIsTheFilesOneLine)
{
    CounterFile::writeStartValue(path(), QStringLiteral("0100"));

    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArrayLiteral("0100\r\n"));
    EXPECT_EQ(CounterFile::startValue(path(), m_locale), QStringLiteral("0100"));
}

TEST_F(CounterStartValueTest, AStartValueThatCannotBeSavedFailsAndWritesNothing)
{
    const QString inMissingFolder = m_dir.filePath(QStringLiteral("gone/AutoNumber_Invoice.num"));

    EXPECT_TRUE(test::failsWith(ErrorNumber::PathFileAccessError,
                                QStringLiteral("Path/File access error: ") + inMissingFolder,
                                [&] { CounterFile::writeStartValue(inMissingFolder, QStringLiteral("5")); }));
    EXPECT_FALSE(QDir(m_dir.filePath(QStringLiteral("gone"))).exists());
}

} // namespace
} // namespace valdora::engine
