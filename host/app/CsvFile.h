#pragma once

#include "host/HostTypes.h"

#include <QList>
#include <QStringList>

namespace valdora::host::app {

/// CSV as RFC 4180 writes it: fields separated by commas, records by CRLF, a field in double quotes
/// when it holds a comma, a quote, a line break or a leading or trailing blank ("" inside quotes).
namespace CsvFile {

/// The records of a UTF-8 CSV text (a leading byte-order mark is skipped; LF alone ends a record
/// too). Throws, naming `source` and the line, for an unterminated quote or text after a closing one.
QList<QStringList> parse(const QByteArray& content, const QString& source, Where where = Where::current());
/// One record as a CSV line, CRLF included.
QByteArray line(const QStringList& fields);

} // namespace CsvFile

} // namespace valdora::host::app
