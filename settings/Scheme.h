#pragma once

#include <QtGlobal>

namespace valdora {

/// The scheme code of a button's "Type" key.
enum class Scheme : int {
    Missing = -1, ///< the file or its "Type" key is absent
    AutoNumber = 0,
    Condition = 1,
    AddSubtract = 2,
    MultiplyDivide = 3,
    Now = 4,
    Combo = 5,
    Age = 6,
};

/// The code of a scheme as the runs and the engine compare it.
constexpr qint16 codeOf(Scheme scheme)
{
    return static_cast<qint16>(scheme);
}

} // namespace valdora
