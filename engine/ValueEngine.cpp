#include "ValueEngine.h"

namespace valdora::engine {

ValueEngine::ValueEngine(ProgramSession& session, FieldReader& reader, const FieldValueTable& fieldValues,
                         EngineOptions options)
    : m_context{session, reader, fieldValues, std::move(options)}, m_calculator(m_context),
      m_autoNumber(m_context), m_condition(m_context, m_calculator), m_add(m_context), m_multiply(m_context),
      m_now(m_context), m_age(m_context)
{}

template <typename Call> bool ValueEngine::watched(Call&& call)
{
    // A scheme routine reports its own failure and returns what it holds; the value it leaves (today
    // without the days, an empty text) must not reach a contact.
    const ErrorReporter& reporter = m_context.session.reporter();
    const int reportsBefore = reporter.reportCount();
    m_context.memberFailed = false;
    const bool ready = call();
    return ready && !m_context.memberFailed && reporter.reportCount() == reportsBefore;
}

bool ValueEngine::Initialize(qint16 type, int member, const QString& buttonFileName)
{
    return watched([&] {
        switch (type) {
        case codeOf(Scheme::AutoNumber):
            return m_autoNumber.Initialize_AutoNumber(member, buttonFileName);
        case codeOf(Scheme::Condition):
            m_condition.Initialize_Condition(member, buttonFileName);
            break;
        case codeOf(Scheme::AddSubtract):
            m_add.Initialize_Add(member, buttonFileName);
            break;
        case codeOf(Scheme::MultiplyDivide):
            m_multiply.Initialize_Multiply(member, buttonFileName);
            break;
        case codeOf(Scheme::Now):
            m_now.Initialize_Now(member, buttonFileName);
            break;
        case codeOf(Scheme::Age):
            m_age.Initialize_Age(member, buttonFileName);
            break;
        default:
            break;
        }
        return true;
    });
}

QString ValueEngine::Obtain(qint16 type, const host::ContactId& contactId, const QString& buttonFileName,
                            int member)
{
    QString value;
    m_obtainFailed = !watched([&] {
        switch (type) {
        case codeOf(Scheme::AutoNumber):
            value = m_autoNumber.Obtain_AutoNumber(contactId, buttonFileName, member);
            break;
        case codeOf(Scheme::Condition):
            value = m_condition.Obtain_Condition(contactId, buttonFileName, member);
            break;
        case codeOf(Scheme::AddSubtract):
            value = m_add.Obtain_Add(contactId, buttonFileName, member);
            break;
        case codeOf(Scheme::MultiplyDivide):
            value = m_multiply.Obtain_Multiply(contactId, buttonFileName, member);
            break;
        case codeOf(Scheme::Now):
            value = m_now.Obtain_Now(contactId, buttonFileName, member);
            break;
        case codeOf(Scheme::Age):
            value = m_age.Obtain_Age(contactId, buttonFileName, member);
            break;
        default:
            break;
        }
        return true;
    });
    return value;
}

} // namespace valdora::engine
