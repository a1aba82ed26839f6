#include "WindowBarScreens.h"

#include "BarEditorLink.h"
#include "MainBar.h"

#include "bar/dialogs/ManualTriggerWindow.h"
#include "bar/startup/SettingsUpgrade.h"
#include "bar/startup/windows/LanguageWindow.h"
#include "bar/startup/windows/SplashWindow.h"
#include "bar/startup/windows/WindowUpgradeScreens.h"
#include "editor/windows/SettingsWindow.h"
#include "editor/windows/WindowEditorScreens.h"

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

void WindowBarScreens::setBar(MainBar* bar)
{
    m_bar = bar;
    m_parent = bar;
}

void WindowBarScreens::openEditor(int)
{
    // The bar has set its current button and new-button flag for the slot.
    if (!m_bar)
        return;
    BarEditorLink link(*m_bar);
    editor::WindowEditorScreens screens(m_session, link);
    const QString fileName = m_bar->newButton() ? QString() : m_bar->currentButton();
    editor::SettingsWindow window(m_session, link, screens, fileName, m_parent);
    screens.setEditor(&window);
    window.exec();
}

void WindowBarScreens::showTriggerSyntax(const QString& syntax)
{
    ManualTriggerWindow::show(m_session.messages(), m_session.platform(), syntax, m_parent);
}

} // namespace valdora::bar
