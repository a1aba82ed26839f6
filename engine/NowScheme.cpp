#include "NowScheme.h"

namespace valdora::engine {

namespace {

qint64& offsetOf(std::vector<qint64>& offsets, int member, int memberCount)
{
    if (member < 0 || member >= memberCount)
        throw Failure(ErrorNumber::SubscriptOutOfRange);
    if (offsets.size() < static_cast<size_t>(memberCount))
        offsets.resize(static_cast<size_t>(memberCount), 0);
    return offsets[static_cast<size_t>(member)];
}

} // namespace

void NowScheme::Initialize_Now(int member, const QString& buttonFileName)
{
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Sub, "Initialize_Now"), [&] {
        qint64& offset = offsetOf(m_offsets, member, m_context.options.memberCount);
        offset = 0;
        const TextLocale& locale = m_context.session.locale();
        const qint16 days = locale.toInt16(m_context.schemeKeys<NowKeys>(buttonFileName).days);
        // The operator is read as a whole number of the user's locale, as the days are: a text that is
        // none stops the member (reported), where the editor would show it as "plus".
        const qint16 op =
            locale.toInt16(m_context.keys(buttonFileName).read(ButtonKey::NowOperator, QStringLiteral("0")));
        offset = op == 0 ? days : -qint64(days);
    });
}

QString NowScheme::Obtain_Now(const host::ContactId& contactId, const QString& buttonFileName, int member)
{
    QString result;
    trapped(m_context.session.reporter(), m_context.routine(RoutineKind::Function, "Obtain_Now"), [&] {
        const qint64 offset = offsetOf(m_offsets, member, m_context.options.memberCount);
        if (!m_context.reachContact(contactId))
            return;
        const TextLocale& locale = m_context.session.locale();
        const ButtonFile keys = m_context.keys(buttonFileName);
        const QDateTime stamp = m_context.options.clock().addDays(offset);
        // The date and the time are formatted apart, so midnight still has a time of day.
        if (keys.isOn(ButtonKey::at(ButtonKey::NowFormatDate, 0)))
            result = locale.dateText(stamp.date());
        else if (keys.isOn(ButtonKey::at(ButtonKey::NowFormatDate, 2)))
            result = locale.timeText(stamp.time());
        else
            result = locale.dateTimeText(stamp);
    });
    return result;
}

} // namespace valdora::engine
