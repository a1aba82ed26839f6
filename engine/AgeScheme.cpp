#include "AgeScheme.h"

#include "MemberSlot.h"

#include "settings/ComposedMessages.h"

namespace valdora::engine {

namespace {

int floorDivide(int value, int divisor)
{
    const int quotient = value / divisor;
    return (value % divisor != 0 && (value < 0) != (divisor < 0)) ? quotient - 1 : quotient;
}

} // namespace

void AgeScheme::Initialize_Age(int member, const QString& buttonFileName)
{
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Initialize_Age"), [&] {
        Member& m = memberSlot(m_members, member, m_context.options.memberCount);
        m = Member{};
        const AgeKeys keys = m_context.schemeKeys<AgeKeys>(buttonFileName);
        m.dateField = keys.dateField;
        m.invalid = keys.invalid;
        m.blank = keys.blank;
        // A group with no option on counts in whole years, as a group without keys does.
        m.format = keys.format == NoChoice ? 0 : keys.format;
    });
}

// The member's keys were read by Initialize_Age.
QString AgeScheme::Obtain_Age(const host::ContactId& contactId, const QString&, int member)
{
    QString result;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Obtain_Age"), [&] {
        if (member < 0 || member >= m_context.options.memberCount)
            throw Failure(ErrorNumber::SubscriptOutOfRange);
        const Member m = static_cast<size_t>(member) < m_members.size()
                             ? m_members[static_cast<size_t>(member)]
                             : Member{};
        if (!m_context.reachContact(contactId))
            return;
        const TextLocale& locale = m_context.session.locale();
        const FieldRef ref =
            m_context.reader.resolve(m.dateField, {ButtonKey::DateField}, FieldUse::Required);
        if (ref.state == FieldRefState::Missing || ref.state == FieldRefState::NotUpgraded) {
            m_context.showInvalidData();
            return;
        }
        const QString value = ref.id > 0 ? m_context.fieldValue(ref.id).value_or(QString()) : QString();
        if (value.isEmpty()) {
            result = m.blank;
            return;
        }
        const std::optional<QDateTime> date = locale.toDateTime(value);
        if (!date) {
            result = m.invalid;
            return;
        }
        const QDate today = m_context.options.clock().date();
        const int months = monthDifference(date->date(), today);
        switch (m.format) {
        case 0:
            // Rounded down, so a date one month ahead is "-1" years.
            result = QString::number(floorDivide(months, 12));
            break;
        case 1:
            // Years and months of one sign, so that together they make the months counted.
            result = yearsAndMonthsText(m_context.session.messages(), months);
            break;
        default:
            result = QString::number(dayDifference(date->date(), today));
            break;
        }
    });
    return result;
}

} // namespace valdora::engine
