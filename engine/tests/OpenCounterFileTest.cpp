// Counter files rewritten in place by the holder of their lock: the file keeps its identity and
// holds exactly one line, a failed write leaves the old number, a file replaced by someone else is
// followed, and whatever a killed writer left behind the first line end never counts.
#include "engine/CounterFile.h"

#include "core/Failure.h"
#include "core/FileReplaceFaults.h"
#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ReplaceFaultSupport.h"
#include "core/testsupport/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace valdora::engine {
namespace {

quint64 inodeOf(const QString& path)
{
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? quint64(info.st_ino) : 0;
}

struct InPlaceCase {
    const char* name;
    QByteArray before;
    QString read;    ///< the first line as read
    QString written; ///< the counter written after the read
    QByteArray after;
};

void PrintTo(const InPlaceCase& row, std::ostream* os)
{
    *os << row.name;
}

class OpenCounterFileTest : public ::testing::TestWithParam<InPlaceCase> {
protected:
    QTemporaryDir m_dir;
    const QString m_file = m_dir.filePath(QStringLiteral("Invoice.num"));
};

TEST_P(OpenCounterFileTest, RewritesTheSameFileAsOneLine)
{
    const InPlaceCase& c = GetParam();
    ASSERT_TRUE(test::writeFile(m_file, c.before));
    const quint64 inode = inodeOf(m_file);
    OpenCounterFile counter(m_file);
    EXPECT_EQ(counter.readFirstLine(), c.read);
    counter.write(c.written);
    EXPECT_EQ(test::contentOf(m_file), c.after);
    EXPECT_EQ(inodeOf(m_file), inode) << "written in place, not replaced";
    EXPECT_EQ(test::temporariesBeside(m_file), QStringList());
    EXPECT_EQ(counter.readFirstLine(), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Counters, OpenCounterFileTest,
    ::testing::Values(InPlaceCase{"SameWidth", "0041\r\n", "0041", "0042", "0042\r\n"},
                      InPlaceCase{"Wider", "9\r\n", "9", "10", "10\r\n"},
                      InPlaceCase{"BlanksAroundAreCutOff", " 0099 \r\n", " 0099 ", "0100", "0100\r\n"},
                      InPlaceCase{"NarrowerGivenBack", "10000\r\n", "10000", "9999", "9999\r\n"},
                      InPlaceCase{"NoLineEnd", "7", "7", "8", "8\r\n"},
                      InPlaceCase{"MoreLinesAfterTheFirst", "12\nnote\n", "12", "13", "13\r\n"},
                      // What a writer killed between its write and its cut leaves: the old line's tail
                      // after the new line end.
                      InPlaceCase{"TailOfAnEarlierLine", "0100\r\n\r\n", "0100", "0101", "0101\r\n"},
                      InPlaceCase{"LongLine", QByteArray(300, '1') + "\r\n", QString(300, u'1'),
                                  QString(299, u'1') + u'2', QByteArray(299, '1') + "2\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OpenCounterFile, MissingFileIsCreatedHoldingOne)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("New.num"));
    OpenCounterFile counter(file);
    EXPECT_EQ(counter.readFirstLine(), QStringLiteral(" 1 "));
    EXPECT_EQ(test::contentOf(file), CounterFile::initialContent());
    counter.write(QStringLiteral("2"));
    EXPECT_EQ(test::contentOf(file), QByteArray("2\r\n"));
}

TEST(OpenCounterFile, FailedWriteLeavesTheOldNumberAndTheNextGoesThrough)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Invoice.num"));
    ASSERT_TRUE(test::writeFile(file, "0041\r\n"));
    OpenCounterFile counter(file);
    ASSERT_EQ(counter.readFirstLine(), QStringLiteral("0041"));
    {
        const FileReplaceFaults faults(1);
        try {
            counter.write(QStringLiteral("0042"));
            ADD_FAILURE() << "a failed write must not pass for a written counter";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), static_cast<int>(ErrorNumber::PathFileAccessError));
            EXPECT_EQ(failure.description(), QStringLiteral("Path/File access error: ") + file);
        }
        ASSERT_TRUE(faults.failedStep());
    }
    EXPECT_EQ(test::contentOf(file), QByteArray("0041\r\n"));
    EXPECT_EQ(counter.readFirstLine(), QStringLiteral("0041"));
    counter.write(QStringLiteral("0042"));
    EXPECT_EQ(test::contentOf(file), QByteArray("0042\r\n"));
}

TEST(OpenCounterFile, FileReplacedMeanwhileIsFollowed)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Invoice.num"));
    ASSERT_TRUE(test::writeFile(file, "5\r\n"));
    OpenCounterFile counter(file);
    ASSERT_EQ(counter.readFirstLine(), QStringLiteral("5"));
    counter.write(QStringLiteral("6"));
    // The editor saves a counter by replacing the file: the next number comes from the new one.
    ASSERT_TRUE(replaceFileAtomically(file, "500\r\n"));
    EXPECT_EQ(counter.readFirstLine(), QStringLiteral("500"));
    counter.write(QStringLiteral("501"));
    EXPECT_EQ(test::contentOf(file), QByteArray("501\r\n"));
    // Replaced between the read and the write: the last writer wins, as with a replace.
    ASSERT_TRUE(replaceFileAtomically(file, "900\r\n"));
    counter.write(QStringLiteral("502"));
    EXPECT_EQ(test::contentOf(file), QByteArray("502\r\n"));
}

TEST(OpenCounterFile, ReadOnlyFileInAWritableFolderIsReplaced)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Invoice.num"));
    ASSERT_TRUE(test::writeFile(file, "5\r\n"));
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner));
    OpenCounterFile counter(file);
    EXPECT_EQ(counter.readFirstLine(), QStringLiteral("5"));
    counter.write(QStringLiteral("6"));
    EXPECT_EQ(test::readFile(file), QByteArray("6\r\n"));
    EXPECT_EQ(counter.readFirstLine(), QStringLiteral("6"));
}

TEST(OpenCounterFile, TemporaryOfAKilledWriterGoesAtTheFirstOpen)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Invoice.num"));
    ASSERT_TRUE(test::writeFile(file, "5\r\n"));
    // What a writer that no longer runs left while it created the file.
    ASSERT_TRUE(test::writeFile(dir.filePath(QStringLiteral(".Invoice.num.2147483646.aB3dE9")), " 1 \r\n"));
    OpenCounterFile counter(file);
    EXPECT_EQ(counter.readFirstLine(), QStringLiteral("5"));
    counter.write(QStringLiteral("6"));
    EXPECT_EQ(test::temporariesBeside(file), QStringList());
}

TEST(OpenCounterFile, FolderInsteadOfAFileIsRefused)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Invoice.num"));
    ASSERT_TRUE(QDir().mkpath(file));
    OpenCounterFile counter(file);
    EXPECT_THROW(counter.readFirstLine(), Failure);
}

} // namespace
} // namespace valdora::engine
