#include "NowScheme.h"

#include "MemberSlot.h"

#include "settings/RunSchemeReaders.h"

namespace valdora::engine {

void NowScheme::Initialize_Now(int member, const QString& buttonFileName)
{
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Initialize_Now"), [&] {
        Member& m = memberSlot(m_members, member, m_context.options.memberCount);
        m = Member{};
        const ButtonFile file = m_context.keys(buttonFileName);
        // Read before the numbers, which can stop the member: Obtain still writes what it is told.
        m.format = readRunNowFormat(file);
        const TextLocale& locale = m_context.session.locale();
        const qint16 days = locale.toInt16(m_context.schemeKeys<NowKeys>(buttonFileName).days);
        const qint16 op = locale.toInt16(readRunNowOperator(file));
        m.offset = op == 0 ? days : -qint64(days);
    });
}

// The member's keys were read by Initialize_Now.
QString NowScheme::Obtain_Now(const host::ContactId& contactId, const QString&, int member)
{
    QString result;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Obtain_Now"), [&] {
        const Member m = memberSlot(m_members, member, m_context.options.memberCount);
        if (!m_context.reachContact(contactId))
            return;
        const TextLocale& locale = m_context.session.locale();
        const QDateTime stamp = m_context.options.clock().addDays(m.offset);
        // The date and the time are formatted apart, so midnight still has a time of day.
        if (m.format == 0)
            result = locale.dateText(stamp.date());
        else if (m.format == 2)
            result = locale.timeText(stamp.time());
        else
            result = locale.dateTimeText(stamp);
    });
    return result;
}

} // namespace valdora::engine
