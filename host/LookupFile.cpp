#include "LookupFile.h"

#include <QFile>
#include <QSaveFile>

namespace valdora::host {

void writeLookupFile(const QString& path, const QList<ContactId>& ids, Where where)
{
    QByteArray content = QByteArray(LookupFileHeader) + '\n';
    for (const ContactId& id : ids)
        content += id.toUtf8() + '\n';
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw HostFailure(
            int(ErrorNumber::PathFileAccessError),
            QStringLiteral("The lookup file %1 cannot be written: %2").arg(path, file.errorString()), where);
}

QList<ContactId> readLookupFile(const QString& path, Where where)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw HostFailure(
            int(ErrorNumber::FileNotFound),
            QStringLiteral("The lookup file %1 cannot be read: %2").arg(path, file.errorString()), where);
    const QList<QByteArray> lines = file.readAll().split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != LookupFileHeader)
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("%1 is not a lookup file: its first line is not \"%2\"")
                              .arg(path, QLatin1String(LookupFileHeader)),
                          where);
    QList<ContactId> ids;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString id = QString::fromUtf8(lines[i]).trimmed();
        if (!id.isEmpty())
            ids += id;
    }
    return ids;
}

} // namespace valdora::host
