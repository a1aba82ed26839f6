#pragma once

#include "EngineContext.h"
#include "SchemeComputer.h"

#include "settings/RunSchemeReaders.h"

#include <QString>

#include <array>
#include <vector>

namespace valdora::engine {

/// One operand of an arithmetic scheme: its text, and whether it was read from a currency field.
struct OperandValue {
    QString text;
    bool fromCurrencyField = false;
};

/// The operands of an arithmetic member as a run reads them, once per run.
template <std::size_t N> struct ArithmeticMember {
    std::array<Operand, N> operands; ///< constants and fields; `source` is not what a run goes by
    std::array<bool, N> constant{};  ///< the operand is its constant (readRunConstantOperand)
};

/// Scheme 2: up to four operands joined by "+" and "-". Adds numbers, shifts a date by days, counts
/// the days between two dates or joins texts, as the operands hold.
class AddScheme final : public SchemeComputer {
public:
    explicit AddScheme(EngineContext& context) : m_context(context) {}

    /// Reads the member's keys, once per run.
    void Initialize_Add(int member, const QString& buttonFileName);
    /// The value for one contact.
    QString Obtain_Add(const host::ContactId& contactId, const QString& buttonFileName, int member);

    bool initialize(int member, const QString& buttonFileName) override
    {
        Initialize_Add(member, buttonFileName);
        return true;
    }
    QString obtain(const host::ContactId& contactId, const QString& buttonFileName, int member) override
    {
        return Obtain_Add(contactId, buttonFileName, member);
    }
    /// Combines four operands; a currency operand may be rewritten to the user's separator.
    QString Add_Values(std::array<OperandValue, 4>& operands, int member);

private:
    struct Member {
        QString invalid;
        ArithmeticMember<4> operands;
        RunAddOperators operators;
        bool emptyWhenNoData = false;
    };

    EngineContext& m_context;
    std::vector<Member> m_members;
};

/// Scheme 3: the product or the quotient of two numbers.
class MultiplyScheme final : public SchemeComputer {
public:
    explicit MultiplyScheme(EngineContext& context) : m_context(context) {}

    /// Reads the member's keys, once per run.
    void Initialize_Multiply(int member, const QString& buttonFileName);
    /// The value for one contact.
    QString Obtain_Multiply(const host::ContactId& contactId, const QString& buttonFileName, int member);

    bool initialize(int member, const QString& buttonFileName) override
    {
        Initialize_Multiply(member, buttonFileName);
        return true;
    }
    QString obtain(const host::ContactId& contactId, const QString& buttonFileName, int member) override
    {
        return Obtain_Multiply(contactId, buttonFileName, member);
    }
    /// Multiplies or divides two operands; a currency operand may be rewritten to the user's separator.
    QString Multiply_Values(std::array<OperandValue, 2>& operands, int member);

private:
    struct Member {
        QString invalid;
        ArithmeticMember<2> operands;
        QString op; ///< readRunMultiplyOperator
    };

    EngineContext& m_context;
    std::vector<Member> m_members;
};

} // namespace valdora::engine
