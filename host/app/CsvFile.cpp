#include "CsvFile.h"

#include <QStringDecoder>

namespace valdora::host::app::CsvFile {

namespace {

[[noreturn]] void fail(const QString& source, int line, const QString& reason, Where where)
{
    throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                      QStringLiteral("%1, line %2: %3").arg(source).arg(line).arg(reason), where);
}

} // namespace

QList<QStringList> parse(const QByteArray& content, const QString& source, Where where)
{
    // The decoder keeps every U+FEFF; only one at the very start of the file is the file's mark, and
    // is dropped here once. Any other, a second one at the start included, belongs to a value.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder(content);
    if (decoder.hasError())
        throw HostFailure(int(ErrorNumber::InvalidProcedureCall),
                          QStringLiteral("%1 is not UTF-8 text").arg(source), where);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    QList<QStringList> records;
    QStringList record;
    QString field;
    int line = 1;
    int recordLine = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    bool fieldHasChars = false;    // something of the current field was read (a quote included)
    bool recordHasContent = false; // something of the current record was read (a comma included)
    auto endRecord = [&] {
        record.append(field);
        field.clear();
        // A line with nothing on it is no record (a trailing line end, or blank lines between records).
        if (recordHasContent)
            records.append(record);
        record.clear();
        fieldHasChars = false;
        recordHasContent = false;
    };
    while (i < n) {
        const QChar c = text.at(i);
        if (c == u'"' && !fieldHasChars) {
            fieldHasChars = true;
            recordHasContent = true;
            ++i;
            while (true) {
                if (i >= n)
                    fail(source, recordLine, QStringLiteral("a quoted field is not closed"), where);
                const QChar q = text.at(i);
                if (q == u'"') {
                    if (i + 1 < n && text.at(i + 1) == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                if (q == u'\n')
                    ++line;
                field += q;
                ++i;
            }
            if (i < n && text.at(i) != u',' && text.at(i) != u'\r' && text.at(i) != u'\n')
                fail(source, line, QStringLiteral("text after the closing quote of a field"), where);
            continue;
        }
        if (c == u',') {
            record.append(field);
            field.clear();
            fieldHasChars = false;
            recordHasContent = true;
            ++i;
            continue;
        }
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                ++i;
            ++i;
            endRecord();
            ++line;
            recordLine = line;
            continue;
        }
        if (c == u'"')
            fail(source, line, QStringLiteral("a quote inside an unquoted field"), where);
        field += c;
        fieldHasChars = true;
        recordHasContent = true;
        ++i;
    }
    if (recordHasContent)
        endRecord();
    return records;
}

QByteArray line(const QStringList& fields)
{
    QByteArray result;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            result += ',';
        const QString& value = fields.at(i);
        // A record of one empty field would be an empty line, which reads as no record at all: the
        // field is written as "" so that the record survives. A leading U+FEFF at the start of a
        // file would read as a byte-order mark and be dropped; inside quotes it is kept.
        const bool onlyEmptyField = fields.size() == 1 && value.isEmpty();
        const bool leadingMark = value.startsWith(QChar(0xFEFF));
        const bool quote = onlyEmptyField || leadingMark || value.contains(u',') || value.contains(u'"') ||
                           value.contains(u'\n') || value.contains(u'\r') ||
                           (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace()));
        if (quote) {
            QString escaped = value;
            escaped.replace(QStringLiteral("\""), QStringLiteral("\"\""));
            result += '"' + escaped.toUtf8() + '"';
        } else {
            result += value.toUtf8();
        }
    }
    return result + "\r\n";
}

} // namespace valdora::host::app::CsvFile
