#include "ConditionScheme.h"

#include "TextHelpers.h"

#include "settings/RunSchemeReaders.h"

namespace valdora::engine {

ConditionScheme::ConditionScheme(EngineContext& context, Calculator& calculator)
    : m_context(context), m_calculator(calculator),
      m_conditions(static_cast<size_t>(std::max(context.options.memberCount, 1)))
{}

ConditionScheme::Member& ConditionScheme::conditions(int member)
{
    if (member < 0 || member >= static_cast<int>(m_conditions.size()))
        throw Failure(ErrorNumber::SubscriptOutOfRange);
    return m_conditions[static_cast<size_t>(member)];
}

void ConditionScheme::Initialize_Condition(int member, const QString& buttonFileName)
{
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Initialize_Condition"), [&] {
        Member& m = conditions(member);
        m.keys = m_context.schemeKeys<ConditionKeys>(buttonFileName);
        const ButtonFile file = m_context.keys(buttonFileName);
        for (int k = 0; k < Conditions; ++k)
            m.operators[static_cast<std::size_t>(k)] = readRunConditionOperator(file, k);
    });
}

// The member's keys were read by Initialize_Condition.
QString ConditionScheme::Obtain_Condition(const host::ContactId& contactId, const QString&, int member)
{
    QString result;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Obtain_Condition"), [&] {
        const Member& m = conditions(member);
        if (!m_context.reachContact(contactId))
            return;

        std::array<QString, Conditions> tested;
        for (int k = 0; k < Conditions; ++k) {
            const ConditionRow& row = m.keys.rows[static_cast<std::size_t>(k)];
            if (!row.inUse)
                continue;
            const FieldRef ref =
                m_context.reader.resolve(row.field, {ButtonKey::Field, k}, FieldUse::Required);
            std::optional<QString> value;
            if (ref.state != FieldRefState::Missing && ref.state != FieldRefState::NotUpgraded)
                value = m_context.fieldValue(ref.id);
            if (!value) {
                m_context.showInvalidData();
                return;
            }
            // The host keeps the record manager as a user id; conditions name the user.
            if (m_context.reader.translatesRecordManager() && row.field.name == u"Record Manager")
                value = Get_Username(m_context, *value);
            tested[static_cast<std::size_t>(k)] = *value;
        }

        QString chosen;
        for (std::size_t k = 0; k < tested.size(); ++k) {
            const ConditionRow& row = m.keys.rows[k];
            if (!row.inUse || !Compare_Value(tested[k], row.condition, m.operators[k]))
                continue;
            chosen = row.value;
            if (chosen.startsWith(QStringLiteral("//")))
                chosen = m_calculator.Start_Calc(chosen);
        }
        result = chosen;
    });
    return result;
}

bool ConditionScheme::Compare_Value(const QString& value, const QString& condition, const QString& opText)
{
    bool result = false;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Compare_Value"), [&] {
        const TextLocale& locale = m_context.session.locale();
        const qint16 op = locale.toInt16(opText);
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
