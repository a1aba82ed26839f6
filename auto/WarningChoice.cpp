#include "WarningChoice.h"

#include "settings/ButtonReaders.h"

namespace valdora::autorun {

WarningChoice warningChoice(const ButtonFile& member, bool directMode)
{
    // Valdora hands a button over in direct mode after the user clicked it: asking again would be noise.
    if (directMode)
        return {};
    const AutoWarningOptions options = readAutoWarningOptions(member);
    return {.confirmation = options.confirmation, .notice = options.notice};
}

bool wantsDoneScreen(const ButtonFile& button)
{
    return readDoneScreen(button);
}

} // namespace valdora::autorun
