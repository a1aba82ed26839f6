#pragma once

#include "host/Database.h"

#include <QMap>

#include <memory>

namespace valdora::engine::test {

/// Field names of the test database (beside the host's standard fields) and their types:
/// "Country" 1, "Amount" 5, "Price" 6, "Birth Date" 8, "Last Meeting" 10, "Record Manager" 13 (id 6).
/// Users: "Alice Martin" and "Bruno Keller".

/// Creates an embedded database file with the test fields and users and opens it.
std::unique_ptr<host::Database> createTestDatabase(const QString& path);
/// The highest field id of the test database.
int maxTestFieldId();
/// Adds a contact with values by field name; returns its id.
host::ContactId addTestContact(host::Database& database, const QMap<QString, QString>& values);
/// The unique id of a test user by name.
QString testUserId(host::Database& database, const QString& name);

} // namespace valdora::engine::test
