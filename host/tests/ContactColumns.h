#pragma once

#include "host/Database.h"

#include <QString>
#include <QStringList>

namespace valdora::host::test {

/// The value of a field of every contact, in the default sort.
QStringList fieldOfEveryContact(Database& database, const QString& field);

/// Writes one field of a contact through the host's own edit and commit; returns what Update
/// returned (the contact's id when the write went through).
QString writeFieldOf(Database& database, const QString& contact, const QString& field, const QString& value);

} // namespace valdora::host::test
