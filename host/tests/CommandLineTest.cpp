#include "HostProcess.h"

#include "core/testsupport/TestEnvironment.h"

#include <QCryptographicHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace valdora::host::test {

namespace {

class CommandLineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_db = m_dir.filePath(QStringLiteral("Cli.dbf"));
        ASSERT_EQ(runHost({QStringLiteral("create"), m_db, QStringLiteral("--sample"), QStringLiteral("12")})
                      .exitCode,
                  0);
    }
    QString file(const char* name) const { return m_dir.filePath(QLatin1String(name)); }
    QStringList ids() const
    {
        return runHost({QStringLiteral("contacts"), m_db}).out.split(u'\n', Qt::SkipEmptyParts);
    }
    QByteArray digest() const
    {
        return QCryptographicHash::hash(runHost({QStringLiteral("export"), m_db}).out.toUtf8(),
                                        QCryptographicHash::Sha256);
    }

    valdora::test::TemporaryUserSettings m_settings;
    QTemporaryDir m_dir;
    QString m_db;
};

TEST_F(CommandLineTest, FieldsListIdNameTypeDecimals)
{
    const HostRun run = runHost({QStringLiteral("fields"), m_db});
    ASSERT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.contains(QStringLiteral("16\tAmount\t5\t2\n")));
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("1\tUnique Id\t1\t0\n")));
    const HostRun added = runHost({QStringLiteral("add-field"), m_db, QStringLiteral("Discount"),
                                   QStringLiteral("5"), QStringLiteral("--decimals"), QStringLiteral("3")});
    ASSERT_EQ(added.exitCode, 0) << added.err.toStdString();
    EXPECT_EQ(added.out, QStringLiteral("32\n"));
    EXPECT_TRUE(
        runHost({QStringLiteral("fields"), m_db}).out.contains(QStringLiteral("32\tDiscount\t5\t3\n")));
}

TEST_F(CommandLineTest, SetAndGetByNameAndId)
{
    const QString id = ids().first();
    ASSERT_EQ(runHost({QStringLiteral("set"), m_db, id, QStringLiteral("Notes"), QStringLiteral("a, \"b\"")})
                  .exitCode,
              0);
    EXPECT_EQ(runHost({QStringLiteral("get"), m_db, id, QStringLiteral("20")}).out,
              QStringLiteral("a, \"b\"\n"));
    EXPECT_EQ(runHost({QStringLiteral("get"), m_db, id, QStringLiteral("unique id")}).out, id + u'\n');
}

TEST_F(CommandLineTest, SetFailsWhileAnotherProcessHoldsTheRecord)
{
    const QString id = ids().first();
    const QByteArray before = digest();
    QProcess holder;
    ASSERT_TRUE(startLockHolder(holder, m_db, id, 30));
    const HostRun run =
        runHost({QStringLiteral("set"), m_db, id, QStringLiteral("City"), QStringLiteral("Nowhere")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("being edited by another program"))) << run.err.toStdString();
    EXPECT_EQ(run.err.count(u'\n'), 1);
    EXPECT_EQ(digest(), before);
    holder.kill();
    EXPECT_TRUE(holder.waitForFinished(10000)) << "the lock holder did not end after its kill";
    EXPECT_EQ(runHost({QStringLiteral("set"), m_db, id, QStringLiteral("City"), QStringLiteral("Nowhere")})
                  .exitCode,
              0);
}

TEST_F(CommandLineTest, LockIsReleasedWhenTheHolderEnds)
{
    const QString id = ids().first();
    QProcess holder;
    ASSERT_TRUE(startLockHolder(holder, m_db, id, 1));
    ASSERT_TRUE(holder.waitForFinished(10000)) << "holder did not end within the wait";
    EXPECT_EQ(holder.exitCode(), 0);
    EXPECT_EQ(
        runHost({QStringLiteral("set"), m_db, id, QStringLiteral("City"), QStringLiteral("Back")}).exitCode,
        0);
}

TEST_F(CommandLineTest, CsvRoundTripKeepsAwkwardValues)
{
    const QStringList awkward = {QStringLiteral("comma, inside"),     QStringLiteral("\"quoted\" and \"\""),
                                 QStringLiteral("two\nlines"),        QStringLiteral("crlf\r\nend"),
                                 QStringLiteral("  blanks around  "), QString(),
                                 QStringLiteral("Ünïcødé €")};
    QByteArray csv = "Contact,Notes,City\r\n";
    for (qsizetype i = 0; i < awkward.size(); ++i) {
        QString escaped = awkward.at(i);
        escaped.replace(u'"', QStringLiteral("\"\""));
        csv += QStringLiteral("Row %1,\"%2\",\n").arg(i).arg(escaped).toUtf8();
    }
    valdora::test::writeFile(file("in.csv"), csv);
    const HostRun imported = runHost({QStringLiteral("import"), m_db, file("in.csv")});
    ASSERT_EQ(imported.exitCode, 0) << imported.err.toStdString();
    EXPECT_EQ(imported.out, QStringLiteral("7\n"));

    ASSERT_EQ(runHost({QStringLiteral("export"), m_db, file("out.csv")}).exitCode, 0);
    const QString copy = m_dir.filePath(QStringLiteral("Copy.dbf"));
    ASSERT_EQ(runHost({QStringLiteral("create"), copy}).exitCode, 0);
    const HostRun again = runHost({QStringLiteral("import"), copy, file("out.csv")});
    ASSERT_EQ(again.exitCode, 0) << again.err.toStdString();
    ASSERT_EQ(runHost({QStringLiteral("export"), copy, file("copy.csv")}).exitCode, 0);
    EXPECT_EQ(valdora::test::readFile(file("out.csv")), valdora::test::readFile(file("copy.csv")));

    for (const QString& id :
         runHost({QStringLiteral("contacts"), copy}).out.split(u'\n', Qt::SkipEmptyParts)) {
        const QString contact = runHost({QStringLiteral("get"), copy, id, QStringLiteral("Contact")}).out;
        if (!contact.startsWith(QStringLiteral("Row ")))
            continue;
        const int row = contact.mid(4).trimmed().toInt();
        EXPECT_EQ(runHost({QStringLiteral("get"), copy, id, QStringLiteral("Notes")}).out,
                  awkward.at(row) + u'\n');
    }
}

struct BadInput {
    const char* name;
    QStringList arguments; // "DB" stands for the test database, "DIR/" for the temp folder
};

class BadInputTest : public CommandLineTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(BadInputTest, FailsWithOneLineAndChangesNothing)
{
    valdora::test::writeFile(file("bad.csv"), "Contact,Notes\r\nA,\"open quote\r\n");
    valdora::test::writeFile(file("width.csv"), "Contact,Notes\r\nA,b\r\nB\r\n");
    valdora::test::writeFile(file("field.csv"), "Contact,No Such Field\r\nA,b\r\n");
    valdora::test::writeFile(file("text.dbf"), "not a database");
    QStringList arguments;
    for (QString argument : GetParam().arguments) {
        if (argument == QLatin1String("DB"))
            argument = m_db;
        argument.replace(QStringLiteral("DIR/"), m_dir.path() + u'/');
        arguments.append(argument);
    }
    const QByteArray before = digest();
    const QByteArray fields = runHost({QStringLiteral("fields"), m_db}).out.toUtf8();
    const HostRun run = runHost(arguments);
    EXPECT_NE(run.exitCode, 0) << GetParam().name;
    EXPECT_TRUE(run.out.isEmpty()) << run.out.toStdString();
    EXPECT_EQ(run.err.count(u'\n'), 1) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(QStringLiteral("ContactHost.exe"))) << run.err.toStdString();
    EXPECT_EQ(digest(), before);
    EXPECT_EQ(runHost({QStringLiteral("fields"), m_db}).out.toUtf8(), fields);
}

const BadInput BadInputs[] = {
    {"unknown command", {QStringLiteral("frobnicate"), QStringLiteral("DB")}},
    {"create existing", {QStringLiteral("create"), QStringLiteral("DB")}},
    {"create bad sample",
     {QStringLiteral("create"), QStringLiteral("DIR/n.dbf"), QStringLiteral("--sample"),
      QStringLiteral("x")}},
    {"create in missing folder", {QStringLiteral("create"), QStringLiteral("DIR/no/such/n.dbf")}},
    {"fields missing db", {QStringLiteral("fields"), QStringLiteral("DIR/missing.dbf")}},
    {"fields not a db", {QStringLiteral("fields"), QStringLiteral("DIR/text.dbf")}},
    {"fields extra argument", {QStringLiteral("fields"), QStringLiteral("DB"), QStringLiteral("x")}},
    {"add-field duplicate",
     {QStringLiteral("add-field"), QStringLiteral("DB"), QStringLiteral("city"), QStringLiteral("1")}},
    {"add-field bad type",
     {QStringLiteral("add-field"), QStringLiteral("DB"), QStringLiteral("X"), QStringLiteral("char")}},
    {"add-field bad decimals",
     {QStringLiteral("add-field"), QStringLiteral("DB"), QStringLiteral("X"), QStringLiteral("5"),
      QStringLiteral("--decimals"), QStringLiteral("-1")}},
    {"add-field empty name",
     {QStringLiteral("add-field"), QStringLiteral("DB"), QString(), QStringLiteral("1")}},
    {"contacts missing db", {QStringLiteral("contacts")}},
    {"get unknown contact",
     {QStringLiteral("get"), QStringLiteral("DB"), QStringLiteral("NOSUCHID0000"), QStringLiteral("City")}},
    {"get unknown field",
     {QStringLiteral("get"), QStringLiteral("DB"), QStringLiteral("NOSUCHID0000"), QStringLiteral("Nope")}},
    {"set unknown contact",
     {QStringLiteral("set"), QStringLiteral("DB"), QStringLiteral("NOSUCHID0000"), QStringLiteral("City"),
      QStringLiteral("x")}},
    {"set field one",
     {QStringLiteral("set"), QStringLiteral("DB"), QStringLiteral("NOSUCHID0000"), QStringLiteral("1"),
      QStringLiteral("x")}},
    {"set missing value",
     {QStringLiteral("set"), QStringLiteral("DB"), QStringLiteral("X"), QStringLiteral("City")}},
    {"import missing file", {QStringLiteral("import"), QStringLiteral("DB"), QStringLiteral("DIR/none.csv")}},
    {"import open quote", {QStringLiteral("import"), QStringLiteral("DB"), QStringLiteral("DIR/bad.csv")}},
    {"import ragged rows", {QStringLiteral("import"), QStringLiteral("DB"), QStringLiteral("DIR/width.csv")}},
    {"import unknown field",
     {QStringLiteral("import"), QStringLiteral("DB"), QStringLiteral("DIR/field.csv")}},
    {"export to missing folder",
     {QStringLiteral("export"), QStringLiteral("DB"), QStringLiteral("DIR/no/such/out.csv")}},
    {"add-user duplicate",
     {QStringLiteral("add-user"), QStringLiteral("DB"), QStringLiteral("alice martin")}},
    {"add-user no password value",
     {QStringLiteral("add-user"), QStringLiteral("DB"), QStringLiteral("Eve"), QStringLiteral("--password")}},
    {"trigger bad kind",
     {QStringLiteral("trigger"), QStringLiteral("DB"), QStringLiteral("City"), QStringLiteral("during")}},
    {"trigger unknown field",
     {QStringLiteral("trigger"), QStringLiteral("DB"), QStringLiteral("Nope"), QStringLiteral("entry"),
      QStringLiteral("x")}},
    {"lock unknown contact",
     {QStringLiteral("lock"), QStringLiteral("DB"), QStringLiteral("NOSUCHID0000"),
      QStringLiteral("--seconds"), QStringLiteral("1")}},
    {"lock without seconds", {QStringLiteral("lock"), QStringLiteral("DB"), QStringLiteral("NOSUCHID0000")}},
    {"lock bad seconds",
     {QStringLiteral("lock"), QStringLiteral("DB"), QStringLiteral("X"), QStringLiteral("--seconds"),
      QStringLiteral("soon")}},
};

INSTANTIATE_TEST_SUITE_P(Commands, BadInputTest, ::testing::ValuesIn(BadInputs),
                         [](const ::testing::TestParamInfo<BadInput>& info) {
                             QString name = QString::fromLatin1(info.param.name);
                             name.replace(u' ', u'_').replace(u'-', u'_');
                             return name.toStdString();
                         });

TEST_F(CommandLineTest, UsersAndTriggers)
{
    const HostRun user = runHost({QStringLiteral("add-user"), m_db, QStringLiteral("Eve Stone"),
                                  QStringLiteral("--password"), QStringLiteral("pw")});
    ASSERT_EQ(user.exitCode, 0) << user.err.toStdString();
    EXPECT_EQ(user.out.trimmed().size(), 12);
    EXPECT_FALSE(valdora::test::readFile(m_db).contains("pw\0"));
    ASSERT_EQ(runHost({QStringLiteral("trigger"), m_db, QStringLiteral("City"), QStringLiteral("exit"),
                       QStringLiteral("/bin/echo hi")})
                  .exitCode,
              0);
    EXPECT_EQ(runHost({QStringLiteral("trigger"), m_db, QStringLiteral("11"), QStringLiteral("exit")}).out,
              QStringLiteral("/bin/echo hi\n"));
    ASSERT_EQ(
        runHost({QStringLiteral("trigger"), m_db, QStringLiteral("City"), QStringLiteral("exit"), QString()})
            .exitCode,
        0);
    EXPECT_EQ(runHost({QStringLiteral("trigger"), m_db, QStringLiteral("City"), QStringLiteral("exit")}).out,
              QStringLiteral("\n"));
}

} // namespace

} // namespace valdora::host::test
