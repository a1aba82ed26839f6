#include "WindowUpgradeScreens.h"

#include "UpgradeSaveWindow.h"
#include "UpgradeWindow.h"

namespace valdora::bar {

WindowUpgradeScreens::WindowUpgradeScreens(ProgramSession& session, QWidget* parent)
    : m_session(session), m_parent(parent)
{}

UpgradeAnswer WindowUpgradeScreens::askUpgrade()
{
    UpgradeWindow window(m_session.platform(), m_parent);
    window.exec();
    return window.answer();
}

std::optional<QString> WindowUpgradeScreens::askSettingsFileLocation()
{
    UpgradeSaveWindow window(m_session.platform(), m_session.dataFolder(), m_parent);
    window.exec();
    return window.location();
}

} // namespace valdora::bar
