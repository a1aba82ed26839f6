#include "ConditionScheme.h"

#include "TextHelpers.h"

namespace valdora::engine {

namespace {

// Marks a condition that is not in use (no condition text can be a lone carriage return).
const QString NotInUse = QStringLiteral("\r");

} // namespace

ConditionScheme::ConditionScheme(EngineContext& context, Calculator& calculator)
    : m_context(context), m_calculator(calculator),
      m_conditions(static_cast<size_t>(std::max(context.options.memberCount, 1)))
{
    for (Texts& texts : m_conditions)
        texts.fill(NotInUse);
}

ConditionScheme::Texts& ConditionScheme::conditions(int member)
{
    if (member < 0 || member >= static_cast<int>(m_conditions.size()))
        throw Failure(ErrorNumber::SubscriptOutOfRange);
    return m_conditions[static_cast<size_t>(member)];
}

void ConditionScheme::Initialize_Condition(int member, const QString& buttonFileName)
{
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Initialize_Condition"), [&] {
        Texts& texts = conditions(member);
        const ConditionKeys keys = m_context.schemeKeys<ConditionKeys>(buttonFileName);
        for (std::size_t k = 0; k < texts.size(); ++k)
            texts[k] = keys.rows[k].inUse ? keys.rows[k].condition : NotInUse;
    });
}

QString ConditionScheme::Obtain_Condition(const host::ContactId& contactId, const QString& buttonFileName,
                                          int member)
{
    QString result;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Obtain_Condition"), [&] {
        const Texts& texts = conditions(member);
        if (!m_context.reachContact(contactId))
            return;
        const ButtonFile keys = m_context.keys(buttonFileName);

        Texts tested;
        for (int k = 0; k < Conditions; ++k) {
            if (!keys.isOn(ButtonKey::at(ButtonKey::Cond, k)))
                continue;
            const FieldRef ref = m_context.reader.resolve(keys, {ButtonKey::Field, k}, FieldUse::Required);
            std::optional<QString> value;
            if (ref.state != FieldRefState::Missing && ref.state != FieldRefState::NotUpgraded)
                value = m_context.fieldValue(ref.id);
            if (!value) {
                m_context.showInvalidData();
                return;
            }
            // The host keeps the record manager as a user id; conditions name the user.
            if (m_context.reader.translatesRecordManager() &&
                keys.read(ButtonKey::at(ButtonKey::Field, k)) == u"Record Manager")
                value = Get_Username(m_context, *value);
            tested[k] = *value;
        }

        QString chosen;
        for (int k = 0; k < Conditions; ++k) {
            if (texts[k] == NotInUse || !Compare_Value(tested[k], texts[k], k, buttonFileName))
                continue;
            chosen = keys.read(ButtonKey::at(ButtonKey::Value, k));
            if (chosen.startsWith(QStringLiteral("//")))
                chosen = m_calculator.Start_Calc(chosen);
        }
        result = chosen;
    });
    return result;
}

bool ConditionScheme::Compare_Value(const QString& value, const QString& condition, int k,
                                    const QString& buttonFileName)
{
    bool result = false;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Compare_Value"), [&] {
        const TextLocale& locale = m_context.session.locale();
        const ButtonFile keys = m_context.keys(buttonFileName);
        // An absent operator is the editor's "none chosen", which never holds.
        const qint16 op =
            locale.toInt16(keys.read(ButtonKey::at(ButtonKey::Operator, k), QStringLiteral("-1")));
        if (op == 0) {
            result = value == condition;
            return;
        }
        if (op == 1) {
            result = value != condition;
            return;
        }
        if (op == 6) {
            result = value.contains(condition, Qt::CaseSensitive);
            return;
        }
        if (op == 7) {
            result = value.startsWith(condition, Qt::CaseSensitive);
            return;
        }
        if (op < 2 || op > 5)
            return;

        // Whole numbers (halves to the even neighbour), else dates, else texts by character codes.
        int order = 0;
        if (locale.isNumeric(value) && locale.isNumeric(condition)) {
            const qint32 a = locale.toInt32(value);
            const qint32 b = locale.toInt32(condition);
            order = a < b ? -1 : (a > b ? 1 : 0);
        } else if (locale.isDate(value) && locale.isDate(condition)) {
            const QDateTime a = *locale.toDateTime(value);
            const QDateTime b = *locale.toDateTime(condition);
            order = a < b ? -1 : (a > b ? 1 : 0);
        } else {
            const int c = QString::compare(value, condition, Qt::CaseSensitive);
            order = c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        switch (op) {
        case 2:
            result = order > 0;
            break;
        case 3:
            result = order < 0;
            break;
        case 4:
            result = order >= 0;
            break;
        default:
            result = order <= 0;
            break;
        }
    });
    return result;
}

} // namespace valdora::engine
