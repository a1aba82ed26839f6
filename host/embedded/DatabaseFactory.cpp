#include "DatabaseFactory.h"

#include "EmbeddedDatabase.h"
#include "host/DatabaseLocation.h"
#include "host/client/RunningHost.h"
#include "host/server/ServerDatabase.h"

namespace valdora::host {

namespace {

/// The database object that becomes an embedded or a server database at OpenEx, by the location.
class LocatedDatabase final : public Database {
public:
    void OpenEx(const QString& location, Where where) override
    {
        Close();
        m_failed = true;
        if (location.isEmpty()) {
            // The running host's database, used as the user logged into the host.
            const std::optional<QString> running = runningHostDatabasePath();
            if (running && isServerLocation(*running)) {
                auto database = std::make_unique<server::ServerDatabase>();
                database->open(*running, true, where);
                m_database = std::move(database);
                m_failed = false;
                return;
            }
        }
        auto database = makeFor(location);
        database->OpenEx(location, where);
        m_database = std::move(database);
        m_failed = false;
    }
    ContactTable& Contact(Where where) override { return open(where).Contact(where); }
    UserList& Users(Where where) override { return open(where).Users(where); }
    QString CurrentUser(Where where) const override { return open(where).CurrentUser(where); }
    QString GetDatabasePath(Where where) const override { return open(where).GetDatabasePath(where); }
    void Close() override { m_database.reset(); }
    bool isMultiuser(Where where) const override { return open(where).isMultiuser(where); }
    bool ValidateUser(const QString& user, const QString& password, Where where) override
    {
        return open(where).ValidateUser(user, password, where);
    }
    bool Error() const override { return m_database ? m_database->Error() : m_failed; }

    static std::unique_ptr<ToolDatabase> makeFor(const QString& location)
    {
        if (isServerLocation(location))
            return std::make_unique<server::ServerDatabase>();
        return std::make_unique<embedded::EmbeddedDatabase>();
    }

private:
    ToolDatabase& open(Where where) const
    {
        if (!m_database)
            throw HostFailure(HostError::NoDatabaseOpen, QStringLiteral("No contact database is open"),
                              where);
        return *m_database;
    }

    std::unique_ptr<ToolDatabase> m_database;
    bool m_failed = false;
};

} // namespace

std::unique_ptr<Database> createDatabase()
{
    return std::make_unique<LocatedDatabase>();
}

std::unique_ptr<ToolDatabase> openToolDatabase(const QString& location, Where where)
{
    auto database = LocatedDatabase::makeFor(location);
    database->OpenEx(location, where);
    return database;
}

void createEmptyDatabase(const QString& location, Where where)
{
    if (isServerLocation(location))
        server::ServerDatabase::create(location, where);
    else
        embedded::EmbeddedDatabase::create(location, where);
}

} // namespace valdora::host
