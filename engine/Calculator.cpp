#include "Calculator.h"

#include "settings/FixedTexts.h"

namespace valdora::engine {

namespace {

constexpr const char* Module = "Prog";

QString trimBlanks(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin).toString();
}

bool isOperator(QStringView token)
{
    return token == u"*" || token == u"/" || token == u"+" || token == u"-";
}

} // namespace

QString Calculator::Start_Calc(const QString& expression)
{
    QString result;
    trapped(m_context.session.reporter(), {Module, RoutineKind::Sub, "Start_Calc"}, [&] {
        const TextLocale& locale = m_context.session.locale();
        const QString text =
            trimBlanks(QStringView(expression).mid(std::min<qsizetype>(2, expression.size())));

        // Field references: "[id]" becomes the field's value of the current contact ("0" when empty).
        QString substituted;
        QString reference;
        bool inside = false;
        for (const QChar ch : text) {
            if (ch == u'[') {
                inside = true;
            } else if (ch == u']') {
                inside = false;
                if (!locale.isNumeric(reference)) {
                    m_context.showBadData(fixedtexts::InvalidCalculation);
                    return;
                }
                const QString value = m_context.fieldValue(locale.toInt16(reference)).value_or(QString());
                substituted += value.isEmpty() ? QStringLiteral("0") : value;
                reference.clear();
            } else if (inside) {
                reference += ch;
            } else {
                substituted += ch;
            }
        }
        // A reference left open would silently drop its text; say so instead.
        if (inside) {
            m_context.showBadData(fixedtexts::InvalidCalculation);
            return;
        }

        // One level of parentheses: the first ")" closes the group, whatever "(" came before it.
        QString reduced;
        QString group;
        inside = false;
        for (const QChar ch : std::as_const(substituted)) {
            if (ch == u'(') {
                inside = true;
            } else if (ch == u')') {
                inside = false;
                reduced += Calculate(group);
                group.clear();
            } else if (inside) {
                group += ch;
            } else {
                reduced += ch;
            }
        }
        if (inside) {
            m_context.showBadData(fixedtexts::InvalidCalculation);
            return;
        }

        result = locale.isNumeric(reduced) ? reduced : Calculate(reduced);
    });
    return result;
}

QString Calculator::Calculate(QStringView text)
{
    QString result;
    trapped(m_context.session.reporter(), {Module, RoutineKind::Function, "Calculate"}, [&] {
        if (text.isEmpty()) {
            result = QStringLiteral("0");
            return;
        }
        const TextLocale& locale = m_context.session.locale();

        QString marked;
        marked.reserve(text.size() * 2);
        for (const QChar ch : text) {
            if (ch == u'*' || ch == u'/' || ch == u'+' || ch == u'-') {
                marked += u'|';
                marked += ch;
                marked += u'|';
            } else {
                marked += ch;
            }
        }
        const QStringList tokens = marked.split(u'|');

        std::vector<double> operands(tokens.size(), Sentinel);
        std::vector<QChar> operators(tokens.size());
        for (qsizetype i = 0; i < tokens.size(); ++i) {
            const QString& token = tokens.at(i);
            if (isOperator(token)) {
                operators[i] = token.front();
                continue;
            }
            const std::optional<double> number = locale.toNumber(token);
            if (!number) {
                m_context.showBadData(fixedtexts::InvalidFieldValuePrefix + token);
                return;
            }
            operands[i] = *number;
        }

        // One pass per operator, in this order, each from left to right.
        const int last = static_cast<int>(tokens.size()) - 1;
        for (const QChar op : {QChar(u'*'), QChar(u'/'), QChar(u'+'), QChar(u'-')}) {
            for (int i = 0; i < last; ++i) {
                if (operators[i] != op)
                    continue;
                const int left = Closest(operands, i);
                const double right = operands[i + 1];
                if (op == u'/' && right == 0) {
                    result = QStringLiteral("Invalid");
                    return;
                }
                double& target = operands[left];
                if (op == u'*')
                    target *= right;
                else if (op == u'/')
                    target /= right;
                else if (op == u'+')
                    target += right;
                else
                    target -= right;
                operands[i + 1] = Sentinel;
            }
        }
        result = locale.fromDouble(operands[0]);
    });
    return result;
}

qint16 Calculator::Closest(const std::vector<double>& operands, int position)
{
    qint16 result = 0;
    trapped(m_context.session.reporter(), {Module, RoutineKind::Function, "Closest"}, [&] {
        const int end = std::min<int>(position, static_cast<int>(operands.size()));
        for (int i = end - 1; i >= 0; --i) {
            if (operands[i] != Sentinel) {
                result = static_cast<qint16>(i);
                return;
            }
        }
    });
    return result;
}

} // namespace valdora::engine
