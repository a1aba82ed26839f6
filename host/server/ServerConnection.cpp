#include "ServerConnection.h"

#include "LibPq.h"

#include "core/Utf8Text.h"

#include <atomic>
#include <vector>

namespace valdora::host::server {

namespace {

/// libpq's parsed form of a location; freed with it.
struct ConnectionOptions {
    explicit ConnectionOptions(const QByteArray& location)
    {
        char* error = nullptr;
        m_options = libPq().PQconninfoParse(location.constData(), &error);
        if (error != nullptr) {
            m_error = QString::fromUtf8(error).trimmed();
            libPq().PQfreemem(error);
        }
    }
    ~ConnectionOptions()
    {
        if (m_options != nullptr)
            libPq().PQconninfoFree(m_options);
    }
    ConnectionOptions(const ConnectionOptions&) = delete;
    ConnectionOptions& operator=(const ConnectionOptions&) = delete;

    bool isValid() const { return m_options != nullptr; }
    QString error() const { return m_error; }
    QString value(const char* keyword) const
    {
        for (PQconninfoOption* option = m_options; option && option->keyword; ++option)
            if (qstrcmp(option->keyword, keyword) == 0 && option->val != nullptr)
                return QString::fromUtf8(option->val);
        return {};
    }

private:
    PQconninfoOption* m_options = nullptr;
    QString m_error;
};

// A server reached through a Unix socket or the loopback interface is on this machine; any other
// is reached over a network, where the connection must be encrypted.
bool isOnThisMachine(const QString& hosts)
{
    if (hosts.isEmpty())
        return true;
    for (const QString& host : hosts.split(QLatin1Char(','))) {
        const QString name = host.trimmed();
        if (!(name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1Char('@')) ||
              name == QLatin1String("localhost") || name == QLatin1String("127.0.0.1") ||
              name == QLatin1String("::1")))
            return false;
    }
    return true;
}

QString trimmedMessage(const char* text)
{
    return QString::fromUtf8(text).trimmed();
}

void quoteInto(QByteArray& out, const QByteArray& value)
{
    out += '"';
    for (const char c : value) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    out += '"';
}

std::atomic<qint64> roundTripCount{0};

} // namespace

qint64 ServerConnection::roundTrips()
{
    return roundTripCount.load(std::memory_order_relaxed);
}

QList<QPair<const char*, QByteArray>> addedConnectionOptions(const QString& location)
{
    const ConnectionOptions options(location.toUtf8());
    QList<QPair<const char*, QByteArray>> added;
    const auto add = [&](const char* keyword, const char* value) {
        if (options.value(keyword).isEmpty())
            added.append({keyword, QByteArray(value)});
    };
    add("application_name", "Valdora");
    add("connect_timeout", "10");
    add("client_encoding", "UTF8");
    const QString hosts =
        options.value("hostaddr").isEmpty() ? options.value("host") : options.value("hostaddr");
    if (!isOnThisMachine(hosts.isEmpty() ? qEnvironmentVariable("PGHOST") : hosts) &&
        qEnvironmentVariableIsEmpty("PGSSLMODE"))
        add("sslmode", "require");
    return added;
}

ServerRows::ServerRows(pg_result* result) : m_result(result) {}

ServerRows::~ServerRows()
{
    if (m_result != nullptr)
        libPq().PQclear(m_result);
}

ServerRows::ServerRows(ServerRows&& other) noexcept : m_result(other.m_result)
{
    other.m_result = nullptr;
}

int ServerRows::count() const
{
    return libPq().PQntuples(m_result);
}

QString ServerRows::text(int row, int column) const
{
    return utf8Verbatim(QByteArrayView(libPq().PQgetvalue(m_result, row, column),
                                       libPq().PQgetlength(m_result, row, column)));
}

qint64 ServerRows::integer(int row, int column) const
{
    return QByteArray(libPq().PQgetvalue(m_result, row, column)).toLongLong();
}

bool ServerRows::isNull(int row, int column) const
{
    return libPq().PQgetisnull(m_result, row, column) != 0;
}

QByteArray textArray(const QStringList& values)
{
    QByteArray out = "{";
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        quoteInto(out, values.at(i).toUtf8());
    }
    return out + '}';
}

QByteArray integerArray(const QList<qint64>& values)
{
    QByteArray out = "{";
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            out += ',';
        out += QByteArray::number(values.at(i));
    }
    return out + '}';
}

void ServerConnection::Closer::operator()(pg_conn* connection) const
{
    libPq().PQfinish(connection);
}

ServerConnection::ServerConnection(const QString& location, Where where) : m_location(location)
{
    connect(where);
}

ServerConnection::~ServerConnection() = default;

void ServerConnection::connect(Where where)
{
    libPq(where);
    const QByteArray text = m_location.toUtf8();
    const ConnectionOptions options(text);
    if (!options.isValid())
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("\"%1\" is not a database location that can be used: %2")
                              .arg(m_location, options.error()),
                          where);
    // A password in the location would stand on command lines, in the host's title and in logs.
    if (!options.value("password").isEmpty())
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The database location holds a password: take it out, and keep the "
                                         "password in the password file ~/.pgpass (or PGPASSFILE) instead"),
                          where);
    std::vector<const char*> keywords = {"dbname"};
    std::vector<QByteArray> values = {text};
    for (const auto& [keyword, value] : addedConnectionOptions(m_location)) {
        keywords.push_back(keyword);
        values.push_back(value);
    }
    std::vector<const char*> pointers;
    for (const QByteArray& value : values)
        pointers.push_back(value.constData());
    keywords.push_back(nullptr);
    pointers.push_back(nullptr);
    m_connection.reset(libPq().PQconnectdbParams(keywords.data(), pointers.data(), 1));
    if (!m_connection)
        throw HostFailure(HostError::DatabaseFailure, QStringLiteral("Out of memory"), where);
    // The server's notices ("... does not exist, skipping") are not the user's business.
    libPq().PQsetNoticeProcessor(
        m_connection.get(), [](void*, const char*) {}, nullptr);
    if (libPq().PQstatus(m_connection.get()) != CONNECTION_OK) {
        const QString reason = trimmedMessage(libPq().PQerrorMessage(m_connection.get()));
        // The server's own words ("no pg_hba.conf entry ... no encryption") do not say what to do.
        const QString advice =
            reason.contains(QLatin1String("no encryption"))
                ? QStringLiteral(" (the server accepts only encrypted connections: take sslmode=disable or "
                                 "allow out of the location and PGSSLMODE)")
                : QString();
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The contact database server of %1 cannot be reached: %2%3")
                              .arg(m_location, reason, advice),
                          where);
    }
    ++m_generation;
    applySessionSettings(where);
}

bool ServerConnection::isBroken() const
{
    return !m_connection || libPq().PQstatus(m_connection.get()) != CONNECTION_OK;
}

int ServerConnection::socket() const
{
    return m_connection ? libPq().PQsocket(m_connection.get()) : -1;
}

QStringList ServerConnection::takeNotifications(Where where)
{
    if (libPq().PQconsumeInput(m_connection.get()) == 0 || isBroken())
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The connection to the contact database server of %1 was lost: %2")
                              .arg(m_location, trimmedMessage(libPq().PQerrorMessage(m_connection.get()))),
                          where);
    QStringList payloads;
    while (PGnotify* notification = libPq().PQnotifies(m_connection.get())) {
        payloads.append(QString::fromUtf8(notification->extra));
        libPq().PQfreemem(notification);
    }
    return payloads;
}

void ServerConnection::ensureOpen(Where where)
{
    if (!isBroken())
        return;
    libPq().PQreset(m_connection.get());
    if (isBroken())
        throw HostFailure(HostError::DatabaseFailure,
                          QStringLiteral("The connection to the contact database server of %1 was lost and "
                                         "cannot be made again: %2")
                              .arg(m_location, trimmedMessage(libPq().PQerrorMessage(m_connection.get()))),
                          where);
    m_prepared.clear();
    ++m_generation;
    applySessionSettings(where);
}

HostFailure ServerConnection::failureOf(pg_result* result, Where where)
{
    const QString sqlState = QString::fromLatin1(libPq().PQresultErrorField(result, PG_DIAG_SQLSTATE));
    const QString message = trimmedMessage(result ? libPq().PQresultErrorMessage(result)
                                                  : libPq().PQerrorMessage(m_connection.get()));
    libPq().PQclear(result);
    if (isBroken())
        return HostFailure(HostError::DatabaseFailure,
                           QStringLiteral("The connection to the contact database server of %1 was lost: %2")
                               .arg(m_location, message.isEmpty() ? QStringLiteral("no answer") : message),
                           where);
    if (sqlState == QLatin1String("25006") && !m_refusal.isEmpty())
        return HostFailure(HostError::WriteRefused, m_refusal, where);
    const bool busy = sqlState == QLatin1String("55P03") || sqlState == QLatin1String("40001") ||
                      sqlState == QLatin1String("40P01");
    return HostFailure(busy ? HostError::RecordLocked : HostError::DatabaseFailure,
                       QStringLiteral("The contact database %1 failed: %2").arg(m_location, message), where);
}

void ServerConnection::fail(pg_result* result, Where where)
{
    throw failureOf(result, where);
}

ServerRows ServerConnection::checked(pg_result* result, Where where)
{
    const ExecStatusType status = libPq().PQresultStatus(result);
    if (result == nullptr || (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK))
        fail(result, where);
    return ServerRows(result);
}

const QByteArray& ServerConnection::prepared(const char* sql, Where where)
{
    auto found = m_prepared.find(sql);
    if (found == m_prepared.end()) {
        const QByteArray name = "s" + QByteArray::number(qulonglong(m_prepared.size()));
        roundTripCount.fetch_add(1, std::memory_order_relaxed);
        checked(libPq().PQprepare(m_connection.get(), name.constData(), sql, 0, nullptr), where);
        found = m_prepared.emplace(sql, name).first;
    }
    return found->second;
}

ServerRows ServerConnection::exec(const char* sql, const ServerParameters& parameters, Where where)
{
    ensureOpen(where);
    const QByteArray& name = prepared(sql, where);
    std::vector<const char*> values;
    values.reserve(std::size_t(parameters.size()));
    for (const QByteArray& parameter : parameters)
        values.push_back(parameter.constData());
    roundTripCount.fetch_add(1, std::memory_order_relaxed);
    return checked(libPq().PQexecPrepared(m_connection.get(), name.constData(), int(values.size()),
                                          values.data(), nullptr, nullptr, 0),
                   where);
}

std::vector<ServerOutcome> ServerConnection::execTogether(const std::vector<ServerStatement>& statements,
                                                          Where where)
{
    ensureOpen(where);
    // Prepared before the statements are sent: a pipeline cannot wait for a preparation's answer.
    std::vector<QByteArray> names;
    for (const ServerStatement& statement : statements)
        names.push_back(prepared(statement.sql, where));
    pg_conn* connection = m_connection.get();
    if (libPq().PQenterPipelineMode(connection) != 1)
        fail(nullptr, where);
    // A sync point after each statement makes it a transaction of its own, which a failure of the
    // one before does not skip.
    std::size_t sent = 0;
    for (; sent < statements.size(); ++sent) {
        std::vector<const char*> values;
        for (const QByteArray& parameter : statements[sent].parameters)
            values.push_back(parameter.constData());
        if (libPq().PQsendQueryPrepared(connection, names[sent].constData(), int(values.size()),
                                        values.data(), nullptr, nullptr, 0) != 1 ||
            libPq().PQpipelineSync(connection) != 1)
            break;
    }
    roundTripCount.fetch_add(1, std::memory_order_relaxed);
    std::vector<ServerOutcome> outcomes(statements.size());
    for (std::size_t i = 0; i < statements.size(); ++i) {
        if (i >= sent || isBroken()) {
            outcomes[i].failure = failureOf(nullptr, where);
            continue;
        }
        pg_result* result = libPq().PQgetResult(connection);
        const ExecStatusType status = libPq().PQresultStatus(result);
        if (result != nullptr && (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK))
            outcomes[i].rows.emplace(result);
        else
            outcomes[i].failure = failureOf(result, where);
        if (result == nullptr)
            continue;
        // The end of the statement's results (no result), then its sync point.
        while (pg_result* rest = libPq().PQgetResult(connection))
            libPq().PQclear(rest);
        if (pg_result* sync = libPq().PQgetResult(connection))
            libPq().PQclear(sync);
    }
    if (!isBroken())
        libPq().PQexitPipelineMode(connection);
    return outcomes;
}

void ServerConnection::run(const char* sql, Where where)
{
    ensureOpen(where);
    roundTripCount.fetch_add(1, std::memory_order_relaxed);
    checked(libPq().PQexec(m_connection.get(), sql), where);
}

void ServerConnection::applyRefusal(Where where)
{
    run(m_refusal.isEmpty() ? "SET default_transaction_read_only = off"
                            : "SET default_transaction_read_only = on",
        where);
}

void ServerConnection::applySessionSettings(Where where)
{
    // A lock wait (a record another workstation is writing, a table a field is being added to)
    // ends after this long with "lock not available" rather than hanging the program.
    run("SET lock_timeout = '500ms'", where);
    applyRefusal(where);
}

void ServerConnection::refuseChanges(const QString& reason, Where where)
{
    m_refusal = reason;
    applyRefusal(where);
}

ServerTransaction::ServerTransaction(ServerConnection& connection, Where where) : m_connection(connection)
{
    m_connection.run("BEGIN", where);
}

ServerTransaction::~ServerTransaction()
{
    if (!m_open || m_connection.isBroken())
        return;
    try {
        m_connection.run("ROLLBACK");
    } catch (const HostFailure&) {
        // The server ends a transaction of a connection it lost on its own.
    }
}

void ServerTransaction::commit(Where where)
{
    m_connection.run("COMMIT", where);
    m_open = false;
}

} // namespace valdora::host::server
