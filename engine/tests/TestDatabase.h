#pragma once

#include "host/Database.h"

#include <QMap>

#include <memory>

namespace valdora::engine::test {

/// Fields the tests name, beside the host's standard ones, with their types: "Country" 1,
/// "Amount" 5, "Price" 6 (2 decimals), "Birth Date" 8, "Last Meeting" 10, and "Record Manager"
/// (field 6, type 13). Users: "Alice Martin" and "Bruno Keller". The contacts are made once by
/// ContactHost.exe's import and handed out empty, one per addTestContact.

/// A new embedded database file with the test fields and users, opened.
std::unique_ptr<host::Database> createTestDatabase(const QString& path);
/// The highest field id of a database.
int maxFieldId(host::Database& database);
/// Fills the next empty contact with values by field name, through Edit, SetDataEx and Update;
/// returns its id.
host::ContactId addTestContact(host::Database& database, const QMap<QString, QString>& values);
/// The unique id of a test user by name.
QString testUserId(host::Database& database, const QString& name);

} // namespace valdora::engine::test
