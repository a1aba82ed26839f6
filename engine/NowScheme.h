#pragma once

#include "EngineContext.h"
#include "SchemeComputer.h"

#include <QString>

#include <vector>

namespace valdora::engine {

/// Scheme 4: the present date and time shifted by whole days, as a date, a time or both.
class NowScheme final : public SchemeComputer {
public:
    explicit NowScheme(EngineContext& context) : m_context(context) {}

    /// Reads the member's signed day offset and format, once per run.
    void Initialize_Now(int member, const QString& buttonFileName);
    /// The value for one contact.
    QString Obtain_Now(const host::ContactId& contactId, const QString& buttonFileName, int member);

    bool initialize(int member, const QString& buttonFileName) override
    {
        Initialize_Now(member, buttonFileName);
        return true;
    }
    QString obtain(const host::ContactId& contactId, const QString& buttonFileName, int member) override
    {
        return Obtain_Now(contactId, buttonFileName, member);
    }

private:
    EngineContext& m_context;
    struct Member {
        qint64 offset = 0; ///< days added to the present
        int format = 1;    ///< readRunNowFormat
    };
    std::vector<Member> m_members;
};

} // namespace valdora::engine
