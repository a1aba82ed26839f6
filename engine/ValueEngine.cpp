#include "ValueEngine.h"

namespace valdora::engine {

ValueEngine::ValueEngine(ProgramSession& session, FieldReader& reader, const FieldValueTable& fieldValues,
                         EngineOptions options)
    : m_context{session, reader, fieldValues, std::move(options)}, m_calculator(m_context),
      m_autoNumber(m_context), m_condition(m_context, m_calculator), m_add(m_context), m_multiply(m_context),
      m_now(m_context), m_age(m_context)
{}

bool ValueEngine::Initialize(qint16 type, int member, const QString& buttonFileName)
{
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
}

QString ValueEngine::Obtain(qint16 type, const host::ContactId& contactId, const QString& buttonFileName,
                            int member)
{
    switch (type) {
    case codeOf(Scheme::AutoNumber):
        return m_autoNumber.Obtain_AutoNumber(contactId, buttonFileName, member);
    case codeOf(Scheme::Condition):
        return m_condition.Obtain_Condition(contactId, buttonFileName, member);
    case codeOf(Scheme::AddSubtract):
        return m_add.Obtain_Add(contactId, buttonFileName, member);
    case codeOf(Scheme::MultiplyDivide):
        return m_multiply.Obtain_Multiply(contactId, buttonFileName, member);
    case codeOf(Scheme::Now):
        return m_now.Obtain_Now(contactId, buttonFileName, member);
    case codeOf(Scheme::Age):
        return m_age.Obtain_Age(contactId, buttonFileName, member);
    default:
        return {};
    }
}

} // namespace valdora::engine
