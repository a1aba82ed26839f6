#pragma once

#include "WarningScreens.h"

#include "settings/MessageTable.h"

namespace valdora::autorun {

/// The confirmation window's texts for a member with this target field and button name.
ConfirmationTexts confirmationTexts(const Messages& messages, const QString& targetName,
                                    const QString& buttonName);

/// The one-second notice's texts for a member with this target field.
NoticeTexts noticeTexts(const Messages& messages, const QString& targetName);

/// The done notice's text (the same in every language).
QString doneText();

} // namespace valdora::autorun
