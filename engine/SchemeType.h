#pragma once

#include "settings/ButtonDefinition.h"

#include <QtGlobal>

namespace valdora::engine {

/// The scheme codes of the "Type" key as the 16-bit numbers the run and the engine compare; the codes
/// themselves are those of the button definitions.
namespace SchemeType {
constexpr qint16 code(Scheme scheme)
{
    return static_cast<qint16>(scheme);
}
inline constexpr qint16 AutoNumber = code(Scheme::AutoNumber);
inline constexpr qint16 Condition = code(Scheme::Condition);
inline constexpr qint16 AddSubtract = code(Scheme::AddSubtract);
inline constexpr qint16 MultiplyDivide = code(Scheme::MultiplyDivide);
inline constexpr qint16 Now = code(Scheme::Now);
inline constexpr qint16 Combo = code(Scheme::Combo);
inline constexpr qint16 Age = code(Scheme::Age);
} // namespace SchemeType

} // namespace valdora::engine
