#include "OverwriteRule.h"

#include <utility>

namespace valdora::run {

OverwriteRule OverwriteRule::of(OverwriteMode mode, QString separator)
{
    return {{mode}, std::move(separator)};
}

OverwriteRule OverwriteRule::fromButton(const ButtonFile& button)
{
    return {readRunOverwriteOptions(button), readRunAppendSeparator(button)};
}

OverwriteResult OverwriteRule::apply(const QString& present, const QString& computed) const
{
    OverwriteResult result{present, false};
    for (const OverwriteModeRow& row : OverwriteModes) {
        if (!options.contains(row.mode))
            continue;
        const OverwriteResult step = row.step(present, computed, separator);
        result = {step.text, result.valueUsed || step.valueUsed};
    }
    return result;
}

} // namespace valdora::run
