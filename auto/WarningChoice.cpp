#include "WarningChoice.h"

namespace valdora::autorun {

namespace {

const QString On = QStringLiteral("1");

} // namespace

WarningChoice warningChoice(const ButtonFile& member, bool directMode)
{
    // Valdora hands a button over in direct mode after the user clicked it: asking again would be noise.
    if (directMode)
        return {};
    return {.confirmation = member.read(ButtonKey::at(ButtonKey::AutoWarning, 0), On) == On,
            .notice = member.read(ButtonKey::at(ButtonKey::AutoWarning, 1)) == On};
}

bool wantsDoneScreen(const ButtonFile& button)
{
    return button.read(ButtonKey::DoneScreen) == On;
}

} // namespace valdora::autorun
