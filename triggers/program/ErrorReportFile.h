#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace valdora::keelbrook {

/// What one entry of Keelbrook's error report holds.
struct ErrorRecord {
    QDateTime when;
    int number = 0;
    QString description;
    QString source;  ///< the window or module the failure came from
    QString program; ///< program title and version: "Keelbrook 3.1.3"
    QString trace;   ///< every traced procedure entered so far
    qint16 progress = 0;
};

/// The four lines of an entry: the time, number, description and source; the program; the trace;
/// the progress marker.
QStringList errorReportLines(const ErrorRecord& record);

/// Appends the entry's lines to the file (created when absent), each ended by CR LF. False when the
/// file cannot be written; the caller still tells the user.
bool appendErrorReport(const QString& filePath, const ErrorRecord& record);

/// The message shown after the entry is written: number, description, source, and where to send
/// the report.
QString errorReportMessage(const ErrorRecord& record, const QString& mailRequest);

} // namespace valdora::keelbrook
