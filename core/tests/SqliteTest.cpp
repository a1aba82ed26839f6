#include "core/sqlite/SqliteDatabase.h"
#include "core/sqlite/WalCheckpointer.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

namespace valdora::sqlite {
namespace {

class SqliteTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isValid()) << "no temporary folder"; }
    QString path(const char* name) const { return m_folder.filePath(QString::fromLatin1(name)); }
    Database table(const char* name) const
    {
        Database db(path(name), Access::ReadWriteCreate, 0);
        db.exec("CREATE TABLE t(n INTEGER, s TEXT);");
        return db;
    }
    static qint64 count(Database& db)
    {
        Statement read = db.prepare("SELECT count(*) FROM t");
        EXPECT_TRUE(read.step());
        return read.integer(0);
    }

    QTemporaryDir m_folder;
};

TEST_F(SqliteTest, KeptStatementIsReadyForItsNextUseWithoutTheOldBindings)
{
    Database db = table("kept.sqlite");
    db.exec("INSERT INTO t VALUES(1, 'one'), (2, 'two');");
    const char* sql = "SELECT s FROM t WHERE n = ?";
    {
        Statement first = db.cached(sql);
        first.bind(1, qint64(1));
        ASSERT_TRUE(first.step());
        EXPECT_EQ(first.text(0), QStringLiteral("one"));
        // Left in the middle of its rows: the next use must not go on from here.
    }
    {
        Statement second = db.cached(sql);
        second.bind(1, qint64(2));
        ASSERT_TRUE(second.step()) << "the statement was not reset: a binding cannot take";
        EXPECT_EQ(second.text(0), QStringLiteral("two"));
    }
    Statement unbound = db.cached(sql);
    EXPECT_FALSE(unbound.step()) << "an unbound parameter is NULL: no row, not the old binding's";
}

TEST_F(SqliteTest, TransactionNotCommittedLeavesNothing)
{
    Database db = table("rollback.sqlite");
    {
        Transaction transaction(db);
        db.exec("INSERT INTO t VALUES(1, 'one');");
    }
    EXPECT_EQ(count(db), 0);
    {
        Transaction transaction(db);
        db.exec("INSERT INTO t VALUES(1, 'one');");
        transaction.commit();
    }
    EXPECT_EQ(count(db), 1);
}

// The log's pages reach the database file, copied by the checkpointer's thread while it watches the
// writer and by the writer itself once it is gone: the log never grows without end.
TEST_F(SqliteTest, TheLogIsCopiedIntoTheFileWhileACheckpointerWatchesAndAfter)
{
    Database db = table("copied.sqlite");
    // Without a sync per commit: the test is about what is copied, not about the disk.
    db.exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=OFF;");
    const QString file = path("copied.sqlite");
    const auto writeUntilCopied = [&](const char* when) {
        const qint64 before = QFileInfo(file).size();
        Statement insert = db.cached("INSERT INTO t VALUES(1, zeroblob(2000))");
        // Two rows a page: a log of more pages than the copy waits for.
        for (int i = 0; i < 3 * WalCheckpointer::DuePages; ++i) {
            insert.step();
            insert.reset();
        }
        const QDeadlineTimer deadline(20000);
        while (QFileInfo(file).size() < before + 1024 * 1024 && !deadline.hasExpired())
            QThread::msleep(10);
        EXPECT_GE(QFileInfo(file).size(), before + 1024 * 1024) << "the log was not copied " << when;
    };
    {
        const WalCheckpointer checkpointer(db, file);
        writeUntilCopied("while the checkpointer watched");
    }
    writeUntilCopied("after the checkpointer");
    EXPECT_EQ(count(db), 6 * WalCheckpointer::DuePages);
}

TEST_F(SqliteTest, WriteLockHeldElsewhereFailsAsBusyAfterTheTimeout)
{
    Database holder = table("busy.sqlite");
    Database other(path("busy.sqlite"), Access::ReadWrite, 20);
    Transaction held(holder);
    try {
        Transaction waiting(other);
        FAIL() << "a second write lock was granted";
    } catch (const Error& error) {
        EXPECT_TRUE(error.busy()) << error.code();
        EXPECT_EQ(error.reason(), QStringLiteral("database is locked"));
        EXPECT_TRUE(error.file().endsWith(QStringLiteral("busy.sqlite"))) << error.file().toStdString();
    }
}

struct FailureCase {
    const char* name;
    const char* content; ///< the file's bytes; nullptr: no file
    Access access;
    const char* sql;
    bool damaged;
    bool readOnly;
    const char* reason;
};

class SqliteFailureTest : public SqliteTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(SqliteFailureTest, SaysWhatSqliteSaid)
{
    const FailureCase& row = GetParam();
    const QString file = path("case.sqlite");
    if (row.content) {
        QFile write(file);
        ASSERT_TRUE(write.open(QIODevice::WriteOnly)) << "cannot write the case's file";
        write.write(row.content);
    }
    try {
        Database db(file, row.access, 0);
        db.exec(row.sql);
        FAIL() << "no failure";
    } catch (const Error& error) {
        EXPECT_EQ(error.damaged(), row.damaged) << error.code();
        EXPECT_EQ(error.readOnly(), row.readOnly) << error.code();
        EXPECT_EQ(error.reason(), QString::fromLatin1(row.reason));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SqliteFailureTest,
    ::testing::Values(FailureCase{"NotADatabase",
                                  "this is text, not a database file, long enough to have a header......",
                                  Access::ReadWrite, "SELECT count(*) FROM sqlite_master;", true, false,
                                  "file is not a database"},
                      FailureCase{"MissingFileNotMade", nullptr, Access::ReadWrite, "SELECT 1;", false, false,
                                  "unable to open database file"},
                      FailureCase{"ChangeThroughReadOnlyConnection", "", Access::ReadOnly,
                                  "CREATE TABLE t(n);", false, true, "attempt to write a readonly database"},
                      FailureCase{"BadSql", nullptr, Access::ReadWriteCreate, "SELEKT 1;", false, false,
                                  "near \"SELEKT\": syntax error"}),
    [](const ::testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::sqlite
