#include "ValueEngine.h"

#include "SchemeComputerTable.h"

namespace valdora::engine {

ValueEngine::ValueEngine(ProgramSession& session, FieldReader& reader, const FieldValueTable& fieldValues,
                         EngineOptions options)
    : m_context{session, reader, fieldValues, std::move(options)}, m_calculator(m_context)
{
    for (const SchemeRow& row : SchemeTable) {
        const qint16 code = codeOf(row.scheme);
        m_computers[static_cast<std::size_t>(code)] = makeSchemeComputer(code, m_context, m_calculator);
    }
}

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
    SchemeComputer* const scheme = computer(type);
    return watched([&] { return scheme == nullptr || scheme->initialize(member, buttonFileName); });
}

QString ValueEngine::Obtain(qint16 type, const host::ContactId& contactId, const QString& buttonFileName,
                            int member)
{
    QString value;
    SchemeComputer* const scheme = computer(type);
    m_obtainFailed = !watched([&] {
        if (scheme != nullptr)
            value = scheme->obtain(contactId, buttonFileName, member);
        return true;
    });
    return value;
}

} // namespace valdora::engine
