// The fault seam of the atomic replace: which steps a replace takes, and that a failure at any of
// them leaves the target as it was, says so, and leaves no temporary beside it.
#include "core/FileReplaceFaults.h"
#include "core/FileLock.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ReplaceFaultSupport.h"
#include "core/testsupport/TestEnvironment.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace valdora {
namespace {

struct ReplaceCase {
    const char* name;
    FileSync sync;
    std::optional<QByteArray> before; // nullopt: the target does not exist yet
    std::vector<ReplaceStep> steps;
};

// Test names in CTest carry the row's name, not its bytes.
void PrintTo(const ReplaceCase& row, std::ostream* os)
{
    *os << row.name;
}

class FileReplaceFaultsTest : public ::testing::TestWithParam<ReplaceCase> {
protected:
    void prepare() const
    {
        QFile::remove(m_file);
        if (GetParam().before) {
            ASSERT_TRUE(test::writeFile(m_file, *GetParam().before));
        }
    }

    QTemporaryDir m_dir;
    const QString m_file = m_dir.path() + QStringLiteral("/Invoice.num");
    const QByteArray m_after = "0002\r\n";
};

TEST_P(FileReplaceFaultsTest, EveryFailedStepLeavesTheTargetAsItWas)
{
    const ReplaceCase& c = GetParam();
    prepare();
    const int steps =
        test::replaceStepsOf([&] { EXPECT_TRUE(replaceFileAtomically(m_file, m_after, c.sync)); });
    ASSERT_EQ(steps, static_cast<int>(c.steps.size()));
    RecordProperty("injected_failures", steps);
    for (int n = 1; n <= steps; ++n) {
        SCOPED_TRACE(replaceStepName(c.steps[n - 1]));
        prepare();
        {
            const FileReplaceFaults faults(n);
            EXPECT_FALSE(replaceFileAtomically(m_file, m_after, c.sync));
            EXPECT_EQ(faults.failedStep(), c.steps[n - 1]);
            EXPECT_EQ(faults.steps(), n) << "no step is taken after the failed one";
        }
        EXPECT_EQ(test::contentOf(m_file), c.before);
        EXPECT_EQ(test::temporariesBeside(m_file), QStringList());
        EXPECT_TRUE(replaceFileAtomically(m_file, m_after, c.sync)) << "a failure leaves nothing in the way";
        EXPECT_EQ(test::contentOf(m_file), m_after);
    }
}

using enum ReplaceStep;

INSTANTIATE_TEST_SUITE_P(
    Replaces, FileReplaceFaultsTest,
    ::testing::Values(
        ReplaceCase{"Existing", FileSync::Now, "0001\r\n", {CreateTemporary, Write, Flush, Rename}},
        ReplaceCase{"New", FileSync::Now, std::nullopt, {CreateTemporary, Write, Flush, Rename}},
        ReplaceCase{"SyncedLater", FileSync::Later, "0001\r\n", {CreateTemporary, Write, Rename}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FileReplaceFaults, CountsAcrossReplacesAndFailsOnlyTheChosenStep)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("a.ini"));
    const QString second = dir.filePath(QStringLiteral("b.ini"));
    const FileReplaceFaults faults(6); // the second step of the second replace
    EXPECT_TRUE(replaceFileAtomically(first, "a"));
    EXPECT_FALSE(replaceFileAtomically(second, "b"));
    EXPECT_EQ(faults.failedStep(), ReplaceStep::Write);
    EXPECT_TRUE(replaceFileAtomically(second, "b")) << "only the one step fails";
    EXPECT_EQ(faults.steps(), 10);
    EXPECT_EQ(test::readFile(first), "a");
    EXPECT_EQ(test::readFile(second), "b");
}

TEST(FileReplaceFaults, NothingFailsWithoutAnObject)
{
    for (const ReplaceStep step : {CreateTemporary, Write, Flush, Rename})
        EXPECT_TRUE(FileReplaceFaults::allows(step));
}

} // namespace
} // namespace valdora
