#include "DatabaseTestFixture.h"

#include "host/embedded/DatabaseFactory.h"
#include "host/embedded/SampleData.h"

#include <sqlite3.h>

namespace valdora::host::test {

std::string kindName(DatabaseKind kind)
{
    return kind == DatabaseKind::File ? "File" : "Server";
}

void DatabaseFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    m_path = newLocation(QStringLiteral("Contacts"));
    createSampleDatabase(m_path, 40);
    m_database = createDatabase();
    m_database->OpenEx(m_path);
}

QString DatabaseFixture::firstId()
{
    table().Query(QString());
    table().MoveFirst();
    return table().Data(FieldNumber::UniqueId);
}

QString DatabaseFixture::newLocation(const QString& name)
{
    if (kind() == DatabaseKind::File)
        return m_dir.filePath(name + QStringLiteral(".dbf"));
    return m_serverDatabases.emplace_back().location();
}

void DatabaseFixture::executeElsewhere(const QString& sql)
{
    if (kind() == DatabaseKind::Server) {
        m_serverDatabases.front().execute(sql);
        return;
    }
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.toUtf8().constData(), &other), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, sql.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(other);
}

} // namespace valdora::host::test
