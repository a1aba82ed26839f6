#pragma once

#include "EngineContext.h"

#include <QString>
#include <QStringView>

#include <vector>

namespace valdora::engine {

/// The expression calculator (module "Prog") behind result values that begin with "//".
///
/// Its own precedence: one pass per operator, in the order "*", "/", "+", "-", each left to right;
/// one level of parentheses; field references "[id]" read from the current contact (the field-value
/// table first). "8/2*2" is 2 and "10-2+3" is 5.
class Calculator {
public:
    /// The value of a consumed operand and of every operator slot.
    static constexpr double Sentinel = -99999999999.99;

    explicit Calculator(EngineContext& context) : m_context(context) {}

    /// Calculates a stored expression (with its leading "//"). "" when a field reference is not a
    /// number ("Invalid calculation" shown) or a token is not a number ("Invalid field value: "
    /// shown); "Invalid" after a division by zero.
    QString Start_Calc(const QString& expression);
    /// Evaluates a text without brackets or parentheses.
    QString Calculate(QStringView text);
    /// The index of the nearest operand left of `position` that is not consumed; 0 when none.
    qint16 Closest(const std::vector<double>& operands, int position);

private:
    EngineContext& m_context;
};

} // namespace valdora::engine
