#pragma once

#include <QtGlobal>

namespace valdora::engine {

/// Scheme codes of the "Type" key of a button file.
namespace SchemeType {
inline constexpr qint16 AutoNumber = 0;
inline constexpr qint16 Condition = 1;
inline constexpr qint16 AddSubtract = 2;
inline constexpr qint16 MultiplyDivide = 3;
inline constexpr qint16 Now = 4;
inline constexpr qint16 Combo = 5;
inline constexpr qint16 Age = 6;
} // namespace SchemeType

} // namespace valdora::engine
