#include "PluralForms.h"

#include <QRegularExpression>

namespace valdora {

namespace {

bool singular(qint16 languageBase, qint64 count)
{
    // French counts zero as one ("0 contact écrit").
    if (languageBase == 1300)
        return count == 0 || count == 1;
    return count == 1;
}

} // namespace

QString withPluralForms(QString text, qint16 languageBase,
                        std::initializer_list<std::pair<int, qint64>> counts)
{
    static const QRegularExpression Forms(QStringLiteral("\\{(\\d+):([^|{}]*)\\|([^|{}]*)\\}"));
    QString result;
    qsizetype from = 0;
    QRegularExpressionMatchIterator matches = Forms.globalMatch(text);
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        result += QStringView(text).mid(from, match.capturedStart() - from);
        from = match.capturedEnd();
        const int argument = match.captured(1).toInt();
        // A placeholder given no count keeps the plural, which reads right for most counts.
        qint64 count = 2;
        for (const auto& [index, value] : counts)
            if (index == argument)
                count = value;
        result += singular(languageBase, count) ? match.captured(2) : match.captured(3);
    }
    result += QStringView(text).mid(from);
    return result;
}

} // namespace valdora
