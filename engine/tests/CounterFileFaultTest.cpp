// Counter files when the atomic replace under them fails at any step: the caller gets the access
// failure, the file holds its old number whole (or is still missing), no temporary is left beside
// it, and the next write goes through.
#include "engine/CounterFile.h"

#include "core/Failure.h"
#include "core/FileReplaceFaults.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ReplaceFaultSupport.h"
#include "core/testsupport/TestEnvironment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

namespace valdora::engine {
namespace {

struct CounterCase {
    const char* name;
    std::optional<QByteArray> before; // nullopt: the counter file does not exist yet
    std::function<void(const QString&)> change;
    QByteArray after;
};

// Test names in CTest carry the row's name, not its bytes.
void PrintTo(const CounterCase& row, std::ostream* os)
{
    *os << row.name;
}

class CounterFileFaultTest : public ::testing::TestWithParam<CounterCase> {
protected:
    void prepare() const
    {
        QFile::remove(m_file);
        if (GetParam().before) {
            ASSERT_TRUE(test::writeFile(m_file, *GetParam().before));
        }
    }

    QTemporaryDir m_dir;
    const QString m_file = m_dir.filePath(QStringLiteral("Invoice.num"));
};

TEST_P(CounterFileFaultTest, EveryFailedStepThrowsAndLeavesTheOldNumber)
{
    const CounterCase& c = GetParam();
    prepare();
    const int steps = test::replaceStepsOf([&] { c.change(m_file); });
    ASSERT_GE(steps, 3);
    RecordProperty("injected_failures", steps);
    ASSERT_EQ(test::contentOf(m_file), c.after);
    for (int n = 1; n <= steps; ++n) {
        prepare();
        const FileReplaceFaults faults(n);
        SCOPED_TRACE(n);
        try {
            c.change(m_file);
            ADD_FAILURE() << "a failed replace must not pass for a written counter";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), static_cast<int>(ErrorNumber::PathFileAccessError));
            EXPECT_EQ(failure.description(), QStringLiteral("Path/File access error: ") + m_file);
        }
        ASSERT_TRUE(faults.failedStep());
        SCOPED_TRACE(replaceStepName(*faults.failedStep()));
        EXPECT_EQ(test::contentOf(m_file), c.before);
        EXPECT_EQ(test::temporariesBeside(m_file), QStringList());
        EXPECT_NO_THROW(c.change(m_file)) << "a failed replace leaves nothing in the way of the next";
        EXPECT_EQ(test::contentOf(m_file), c.after);
    }
}

INSTANTIATE_TEST_SUITE_P(Changes, CounterFileFaultTest,
                         ::testing::Values(CounterCase{"WrittenAndSynced", "0041\r\n",
                                                       [](const QString& file) {
                                                           CounterFile::write(file, QStringLiteral("0042"));
                                                       },
                                                       "0042\r\n"},
                                           CounterCase{"WrittenSyncedLater", "0041\r\n",
                                                       [](const QString& file) {
                                                           CounterFile::write(file, QStringLiteral("0042"),
                                                                              FileSync::Later);
                                                       },
                                                       "0042\r\n"},
                                           CounterCase{"MissingFileCreatedAtRead", std::nullopt,
                                                       [](const QString& file) {
                                                           EXPECT_EQ(CounterFile::readFirstLine(file),
                                                                     QStringLiteral(" 1 "));
                                                       },
                                                       CounterFile::initialContent()}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::engine
