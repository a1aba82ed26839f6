#pragma once

#include "EngineContext.h"
#include "SchemeComputer.h"

#include <QString>

#include <vector>

namespace valdora::engine {

/// Scheme 6: the age of a date held in a field: whole years, years and months, or days.
class AgeScheme final : public SchemeComputer {
public:
    explicit AgeScheme(EngineContext& context) : m_context(context) {}

    /// Reads the member's "Invalid" and "Blank" texts and its format, once per run.
    void Initialize_Age(int member, const QString& buttonFileName);
    /// The value for one contact.
    QString Obtain_Age(const host::ContactId& contactId, const QString& buttonFileName, int member);

    bool initialize(int member, const QString& buttonFileName) override
    {
        Initialize_Age(member, buttonFileName);
        return true;
    }
    QString obtain(const host::ContactId& contactId, const QString& buttonFileName, int member) override
    {
        return Obtain_Age(contactId, buttonFileName, member);
    }

private:
    struct Member {
        FieldChoice dateField;
        QString invalid;
        QString blank;
        int format = 0;
    };
    EngineContext& m_context;
    std::vector<Member> m_members;
};

} // namespace valdora::engine
