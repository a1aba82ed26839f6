#pragma once

#include "Calculator.h"
#include "EngineContext.h"
#include "SchemeComputer.h"

#include <QString>

#include <array>
#include <vector>

namespace valdora::engine {

/// Scheme 1: up to twenty conditions on fields of the contact; the value of the last one that holds
/// is the result, calculated when it begins with "//".
class ConditionScheme final : public SchemeComputer {
public:
    static constexpr int Conditions = ButtonKey::ConditionCount;

    ConditionScheme(EngineContext& context, Calculator& calculator);

    /// Reads the conditions of a member, once per run.
    void Initialize_Condition(int member, const QString& buttonFileName);
    /// The value for one contact: "" when no condition holds or a tested field is missing.
    QString Obtain_Condition(const host::ContactId& contactId, const QString& buttonFileName, int member);

    bool initialize(int member, const QString& buttonFileName) override
    {
        Initialize_Condition(member, buttonFileName);
        return true;
    }
    QString obtain(const host::ContactId& contactId, const QString& buttonFileName, int member) override
    {
        return Obtain_Condition(contactId, buttonFileName, member);
    }
    /// Applies a condition's operator, as readRunConditionOperator gives it, to a field value and a
    /// condition text.
    bool Compare_Value(const QString& value, const QString& condition, const QString& op);

private:
    struct Member {
        ConditionKeys keys;
        std::array<QString, Conditions> operators; ///< readRunConditionOperator
    };
    Member& conditions(int member);

    EngineContext& m_context;
    Calculator& m_calculator;
    std::vector<Member> m_conditions;
};

} // namespace valdora::engine
