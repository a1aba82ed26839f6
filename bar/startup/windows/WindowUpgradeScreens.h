#pragma once

#include "bar/startup/UpgradeScreens.h"

#include "settings/ProgramSession.h"

class QWidget;

namespace valdora::bar {

/// The upgrade's questions as real windows, each shown modally until it closes; their file dialogs
/// go through the session's platform.
class WindowUpgradeScreens final : public UpgradeScreens {
public:
    explicit WindowUpgradeScreens(ProgramSession& session, QWidget* parent = nullptr);

    UpgradeAnswer askUpgrade() override;
    std::optional<QString> askSettingsFileLocation() override;

private:
    ProgramSession& m_session;
    QWidget* m_parent;
};

} // namespace valdora::bar
