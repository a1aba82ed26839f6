#include "ErrorReportFile.h"

#include "settings/MessageTable.h"

#include <QFile>

namespace valdora::keelbrook {

QStringList errorReportLines(const ErrorRecord& record)
{
    // No separator between the description and "In: ": the entry has always read that way, and
    // whoever reads the reports expects it.
    return {record.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QLatin1Char(' ') +
                QString::number(record.number) + QStringLiteral(": ") + record.description +
                QStringLiteral("In: ") + record.source,
            QStringLiteral("App: ") + record.program, QStringLiteral("Path: ") + record.trace,
            QStringLiteral("Currently: ") + QString::number(record.progress)};
}

bool appendErrorReport(const QString& filePath, const ErrorRecord& record)
{
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    QByteArray bytes;
    for (const QString& line : errorReportLines(record))
        bytes += line.toUtf8() + "\r\n";
    return file.write(bytes) == bytes.size() && file.flush();
}

QString errorReportMessage(const ErrorRecord& record, const QString& mailRequest)
{
    return QString::number(record.number) + QStringLiteral(": ") + record.description + QLatin1Char('\n') +
           QStringLiteral("In: ") + record.source + QStringLiteral("\n\n") + mailRequest +
           MessageTable::supportAddress();
}

} // namespace valdora::keelbrook
