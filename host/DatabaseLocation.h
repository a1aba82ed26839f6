#pragma once

#include <QRegularExpression>
#include <QString>

namespace valdora::host {

/// True when a database location names a contact database on a PostgreSQL server: a connection URI
/// ("postgresql://..." or "postgres://...") or libpq's key=value form ("host=... dbname=..."). Any
/// other text, a NAME.dbf path above all, is the path of a database file.
inline bool isServerLocation(const QString& location)
{
    if (location.startsWith(QLatin1String("postgresql://")) ||
        location.startsWith(QLatin1String("postgres://")))
        return true;
    if (location.endsWith(QLatin1String(".dbf"), Qt::CaseInsensitive))
        return false;
    static const QRegularExpression keyValue(QStringLiteral("^\\s*[A-Za-z_]+\\s*="));
    return keyValue.match(location).hasMatch();
}

} // namespace valdora::host
