// A workstation that reaches the server over the network: TLS and a login of its own, its password
// in libpq's password file. The test server takes exactly such connections on its TCP port.
#include "TestServer.h"

#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"
#include "host/server/ServerConnection.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

namespace valdora::host::test {
namespace {

/// Sets an environment variable (unsets it for a null value) while it lives.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char* name, const QByteArray& value) : m_name(name), m_previous(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvironmentVariable()
    {
        if (m_previous.isNull())
            qunsetenv(m_name);
        else
            qputenv(m_name, m_previous);
    }
    EnvironmentVariable(const EnvironmentVariable&) = delete;
    EnvironmentVariable& operator=(const EnvironmentVariable&) = delete;

private:
    const char* m_name;
    QByteArray m_previous;
};

enum class PasswordFile { Right, Missing, Wrong };

struct LoginCase {
    const char* name;
    const char* sslmode;
    PasswordFile passwordFile;
    /// What the failure says; nullptr: the database opens.
    const char* failure;
};

void PrintTo(const LoginCase& loginCase, std::ostream* out)
{
    *out << loginCase.name;
}

class ServerLogin : public ::testing::TestWithParam<LoginCase> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid()) << "no temporary folder";
        createSampleDatabase(m_database.location(), 3);
        // The rights that docs/team.md gives the team's group, here given to the login itself.
        m_database.execute(QStringLiteral(
            "GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA public TO valdora_login;"
            "GRANT USAGE, SELECT ON ALL SEQUENCES IN SCHEMA public TO valdora_login;"));
    }

    /// A password file of this case: the test server's, none, or one with a wrong password.
    QByteArray passwordFile() const
    {
        const QString right = testServerLogin().passwordFile;
        switch (GetParam().passwordFile) {
        case PasswordFile::Right:
            return right.toLocal8Bit();
        case PasswordFile::Missing:
            return m_dir.filePath(QStringLiteral("none.pgpass")).toLocal8Bit();
        case PasswordFile::Wrong:
            break;
        }
        QFile in(right);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << "no password file " << right.toStdString();
        QByteArray line = in.readAll().trimmed();
        line = line.left(line.lastIndexOf(':') + 1) + WrongPassword;
        const QString wrong = m_dir.filePath(QStringLiteral("wrong.pgpass"));
        QFile out(wrong);
        EXPECT_TRUE(out.open(QIODevice::WriteOnly)) << "cannot write " << wrong.toStdString();
        out.write(line + '\n');
        out.setPermissions(QFile::ReadOwner | QFile::WriteOwner); // libpq ignores a file others may read
        return wrong.toLocal8Bit();
    }

    static constexpr char WrongPassword[] = "not-the-password-7731";
    QTemporaryDir m_dir;
    ServerTestDatabase m_database;
};

TEST_P(ServerLogin, OverTcpTheServerTakesOnlyTlsAndTheRightPassword)
{
    const EnvironmentVariable noMode("PGSSLMODE", QByteArray());
    const EnvironmentVariable file("PGPASSFILE", passwordFile());
    const QString location =
        QStringLiteral("%1 dbname=%2 user=valdora_login sslmode=%3")
            .arg(testServerLogin().tcp, m_database.name(), QString::fromLatin1(GetParam().sslmode));
    auto database = createDatabase();
    QString failure;
    try {
        database->OpenEx(location);
    } catch (const HostFailure& error) {
        failure = error.description();
    }
    if (GetParam().failure != nullptr) {
        EXPECT_TRUE(failure.contains(QString::fromLatin1(GetParam().failure))) << failure.toStdString();
        EXPECT_TRUE(failure.contains(location))
            << "the message names the location: " << failure.toStdString();
        EXPECT_FALSE(failure.contains(QLatin1String(WrongPassword))) << "a password is never repeated";
        return;
    }
    ASSERT_EQ(failure, QString());
    ContactTable& contacts = database->Contact();
    int count = 0;
    contacts.Query(QString());
    for (contacts.MoveFirst(); !contacts.isEOF(); contacts.MoveNext())
        ++count;
    EXPECT_EQ(count, 3);
    server::ServerConnection connection(location);
    const server::ServerRows rows =
        connection.exec("SELECT current_user, ssl FROM pg_stat_ssl WHERE pid = pg_backend_pid()");
    ASSERT_EQ(rows.count(), 1);
    EXPECT_EQ(rows.text(0, 0), QStringLiteral("valdora_login"));
    EXPECT_EQ(rows.text(0, 1), QStringLiteral("t")) << "the connection is encrypted";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerLogin,
    ::testing::Values(
        LoginCase{"PasswordFileAndTls", "require", PasswordFile::Right, nullptr},
        LoginCase{"NoPasswordFile", "require", PasswordFile::Missing, "no password supplied"},
        LoginCase{"WrongPassword", "require", PasswordFile::Wrong, "password authentication failed"},
        LoginCase{"WithoutTls", "disable", PasswordFile::Right, "accepts only encrypted connections"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace valdora::host::test
