#include "WindowBarScreens.h"

#include "bar/dialogs/ManualTriggerWindow.h"
#include "bar/startup/SettingsUpgrade.h"
#include "bar/startup/windows/LanguageWindow.h"
#include "bar/startup/windows/SplashWindow.h"
#include "bar/startup/windows/WindowUpgradeScreens.h"

namespace valdora::bar {

WindowBarScreens::WindowBarScreens(ProgramSession& session) : m_session(session) {}

WindowBarScreens::~WindowBarScreens() = default;

bool WindowBarScreens::upgradeSettings()
{
    WindowUpgradeScreens screens(m_session, m_parent);
    return runUpgrade(m_session, screens) != UpgradeEnd::Cancelled;
}

void WindowBarScreens::showSplash()
{
    m_splash = std::make_unique<SplashWindow>();
    m_splash->showNow();
}

void WindowBarScreens::closeSplash()
{
    m_splash.reset();
}

void WindowBarScreens::chooseLanguage()
{
    LanguageWindow::choose(m_session, m_parent);
}

void WindowBarScreens::openEditor(int)
{
    // The button editor comes with its own window; until then the edit buttons open nothing.
}

void WindowBarScreens::showTriggerSyntax(const QString& syntax)
{
    ManualTriggerWindow::show(m_session.messages(), m_session.platform(), syntax, m_parent);
}

} // namespace valdora::bar
