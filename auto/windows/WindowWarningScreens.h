#pragma once

#include "auto/WarningScreens.h"

namespace valdora::autorun {

/// The warning screens as real windows, each shown modally until it closes.
class WindowWarningScreens final : public WarningScreens {
public:
    bool confirm(const ConfirmationTexts& texts) override;
    void notice(const NoticeTexts& texts) override;
    void done(const QString& text) override;
};

} // namespace valdora::autorun
