#pragma once

#include "host/HostTypes.h"

namespace valdora::host {

/// The first line of a lookup file; the contact ids follow, one a line, in the lookup's order.
inline constexpr char LookupFileHeader[] = "ValdoraLookup 1";

/// Writes a lookup file (UTF-8, "\n" line ends) atomically; throws HostFailure naming the file.
void writeLookupFile(const QString& path, const QList<ContactId>& ids, Where where = Where::current());
/// Reads a lookup file: the ids in order, blank lines skipped; throws HostFailure for a missing
/// file or one without the header line.
QList<ContactId> readLookupFile(const QString& path, Where where = Where::current());

} // namespace valdora::host
