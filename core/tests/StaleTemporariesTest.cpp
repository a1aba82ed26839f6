// Temporaries left beside a file by writers killed during a replace: which names count as one, and
// that the next replace removes those no running writer can still rename and keeps the others.
#include "core/StaleTemporaries.h"
#include "core/FileLock.h"

#include "core/testsupport/QtPrinters.h"
#include "core/testsupport/ReplaceFaultSupport.h"
#include "core/testsupport/TestEnvironment.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace valdora {
namespace {

struct NameCase {
    const char* name;
    const char* entry;
    std::optional<qint64> writer;
};

// Test names in CTest carry the row's name, not its bytes.
void PrintTo(const NameCase& row, std::ostream* os)
{
    *os << row.name;
}

class TemporaryNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(TemporaryNameTest, TellsTemporariesOfTheFileAndTheirWriter)
{
    EXPECT_EQ(temporaryWriter(GetParam().entry, "Invoice.num"), GetParam().writer);
}

INSTANTIATE_TEST_SUITE_P(
    Names, TemporaryNameTest,
    ::testing::Values(NameCase{"WithPid", ".Invoice.num.4242.aB3xYz", 4242},
                      NameCase{"WithoutPid", ".Invoice.num.aB3xYz", 0},
                      NameCase{"LockCompanion", ".Invoice.num.lock", std::nullopt},
                      NameCase{"TheFileItself", "Invoice.num", std::nullopt},
                      NameCase{"NotHidden", "Invoice.num.4242.aB3xYz", std::nullopt},
                      NameCase{"OtherFile", ".Invoice.nux.4242.aB3xYz", std::nullopt},
                      NameCase{"LongerName", ".Invoice.num2.4242.aB3xYz", std::nullopt},
                      NameCase{"ShortSuffix", ".Invoice.num.4242.aB3xY", std::nullopt},
                      NameCase{"SuffixNotFromMkstemp", ".Invoice.num.4242.aB-xYz", std::nullopt},
                      NameCase{"PidNotDigits", ".Invoice.num.42a2.aB3xYz", std::nullopt},
                      NameCase{"PidZero", ".Invoice.num.0.aB3xYz", std::nullopt},
                      NameCase{"PidTooLong", ".Invoice.num.12345678901.aB3xYz", std::nullopt},
                      NameCase{"TemporaryOfALongerName", ".Invoice.num.4242.aB3xYz.q1w2e3", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// The id of a process that has ended and been reaped.
pid_t endedProcess()
{
    const pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(0);
    ::waitpid(pid, nullptr, 0);
    return pid;
}

class StaleTemporariesTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    void create(const QString& name, std::chrono::seconds age = std::chrono::seconds(0)) const
    {
        ASSERT_TRUE(test::writeFile(path(name), "half a counter"));
        const struct timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - age.count(), 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path(name)).constData(), times, 0), 0);
    }
    QStringList entries() const
    {
        return QDir(m_dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir m_dir;
    const QString m_own = QString::number(::getpid());
    const QString m_ended = QString::number(endedProcess());
};

TEST_F(StaleTemporariesTest, ReplaceRemovesWhatNoRunningWriterCanRename)
{
    const std::chrono::seconds old =
        std::chrono::duration_cast<std::chrono::seconds>(StaleTemporaryAge) + std::chrono::seconds(60);
    ASSERT_TRUE(test::writeFile(path(QStringLiteral("Invoice.num")), "0007\r\n"));
    // Stale: the writer has ended, or the temporary is older than any replace takes.
    create(QStringLiteral(".Invoice.num.%1.dead01").arg(m_ended));
    create(QStringLiteral(".Invoice.num.%1.old001").arg(m_own), old);
    create(QStringLiteral(".Invoice.num.old002"), old);
    // Kept: a running writer may still rename these, or they belong to something else.
    create(QStringLiteral(".Invoice.num.%1.live01").arg(m_own));
    create(QStringLiteral(".Invoice.num.live02")); // an earlier version's, written just now
    create(QStringLiteral(".Invoice.num.lock"), old);
    create(QStringLiteral(".Other.num.%1.dead02").arg(m_ended));
    create(QStringLiteral(".Invoice.num.backup.txt"), old);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral(".Invoice.num.%1.folder").arg(m_ended)));

    EXPECT_TRUE(replaceFileAtomically(path(QStringLiteral("Invoice.num")), "0008\r\n"));
    EXPECT_EQ(test::readFile(path(QStringLiteral("Invoice.num"))), "0008\r\n");
    QStringList kept{QStringLiteral(".Invoice.num.%1.folder").arg(m_ended),
                     QStringLiteral(".Invoice.num.%1.live01").arg(m_own),
                     QStringLiteral(".Invoice.num.backup.txt"),
                     QStringLiteral(".Invoice.num.live02"),
                     QStringLiteral(".Invoice.num.lock"),
                     QStringLiteral(".Other.num.%1.dead02").arg(m_ended),
                     QStringLiteral("Invoice.num")};
    kept.sort();
    QStringList found = entries();
    found.sort();
    EXPECT_EQ(found.join(u' ').toStdString(), kept.join(u' ').toStdString());
}

TEST_F(StaleTemporariesTest, TemporaryOfAWriterKilledDuringItsReplaceGoesAtTheNextReplace)
{
    const QString file = path(QStringLiteral("~100.ini"));
    ASSERT_TRUE(test::writeFile(file, "[Settings]\r\n"));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t writer = ::fork();
    if (writer == 0) {
        // A writer that has made its temporary and is killed before it renames it.
        QByteArray name = temporaryTemplate(file);
        const int fd = ::mkstemp(name.data());
        [[maybe_unused]] const auto said = ::write(ready[1], fd >= 0 ? "T" : "F", 1);
        ::pause();
        ::_exit(0);
    }
    ::close(ready[1]);
    char state = 0;
    const bool said = ::read(ready[0], &state, 1) == 1;
    ::close(ready[0]);
    const QStringList left = test::temporariesBeside(file);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    ASSERT_TRUE(said && state == 'T');
    ASSERT_EQ(left.size(), 1);
    EXPECT_TRUE(left.front().startsWith(QStringLiteral(".~100.ini.%1.").arg(writer)))
        << left.front().toStdString();

    EXPECT_TRUE(replaceFileAtomically(file, "[Settings]\r\nName=x\r\n"));
    EXPECT_EQ(test::temporariesBeside(file), QStringList());
}

TEST_F(StaleTemporariesTest, FolderIsListedOncePerTargetNotAtEveryReplace)
{
    // A run replaces its counter file once per contact; the sweep must not cost a listing each time.
    const QString file = path(QStringLiteral("Invoice.num"));
    EXPECT_TRUE(replaceFileAtomically(file, "0001\r\n"));
    create(QStringLiteral(".Invoice.num.%1.dead03").arg(m_ended));
    EXPECT_TRUE(replaceFileAtomically(file, "0002\r\n"));
    EXPECT_EQ(test::temporariesBeside(file).join(u' ').toStdString(),
              QStringLiteral(".Invoice.num.%1.dead03").arg(m_ended).toStdString());
}

TEST(TemporaryTemplate, NamesTheFileAndTheWriter)
{
    EXPECT_EQ(temporaryTemplate(QStringLiteral("/data/Buttons/~100.ini")),
              "/data/Buttons/.~100.ini." + QByteArray::number(::getpid()) + ".XXXXXX");
}

} // namespace
} // namespace valdora
