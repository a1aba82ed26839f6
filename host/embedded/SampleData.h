#pragma once

#include "host/HostTypes.h"

#include <QString>

namespace valdora::host {

/// Makes a new database at `path` with the standard field set, three users and `count` generated
/// contacts (names, companies, cities, phones, birth dates, amounts ...). The same count gives the same
/// contacts on every machine; only the unique ids differ between databases.
void createSampleDatabase(const QString& path, int count, Where where = Where::current());

/// Adds `count` generated contacts (and the sample users when missing) to an existing database.
void addSampleContacts(const QString& path, int count, Where where = Where::current());

} // namespace valdora::host
