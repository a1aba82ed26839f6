#include "WindowBarScreens.h"

#include "BarEditorLink.h"
#include "MainBar.h"

#include "bar/dialogs/ManualTriggerWindow.h"
#include "bar/preview/PreviewWindow.h"
#include "bar/runs/RunListWindow.h"
#include "bar/schedule/windows/ScheduleWindow.h"
#include "bar/startup/SettingsUpgrade.h"
#include "bar/startup/windows/LanguageWindow.h"
#include "bar/startup/windows/SplashWindow.h"
#include "bar/startup/windows/WindowUpgradeScreens.h"
#include "editor/windows/SettingsWindow.h"
#include "editor/windows/WindowEditorScreens.h"
#include "run/preview/RunPreview.h"
#include "settings/ButtonReaders.h"

#include <QApplication>
#include <QCoreApplication>

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

bool WindowBarScreens::previewRun(const QString& buttonFileName, run::Scope scope)
{
    if (!m_bar)
        return false;
    run::FixedScopeChooser scopes(scope);
    run::RunPreview preview(m_session, m_bar->connection().host.runHost(),
                            run::ProgramProfile::valdora(m_session.locale()), &scopes);
    const QString caption =
        readCaption(ButtonFile::inFolder(m_session.ini(), m_session.buttonFolder(), buttonFileName));
    const PreviewSource source = [&](const std::function<void(const run::PreviewRow&)>& observer,
                                     const std::function<bool()>& stopRequested) {
        preview.setRowObserver(observer);
        preview.setStopCheck(stopRequested);
        return preview.Preview_Button(buttonFileName);
    };
    // Over the scope dialog that offered it.
    QWidget* parent = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : m_parent.data();
    PreviewWindow window(m_session.messages(), m_session.platform(), caption, source, parent);
    window.exec();
    return window.runChosen();
}

std::optional<RunChoice> WindowBarScreens::chooseRun(const std::vector<ListedRun>& runs,
                                                     std::optional<qint64> preselected)
{
    RunListWindow window(m_session.messages(), runs, preselected, m_parent);
    window.exec();
    return window.choice();
}

void WindowBarScreens::showTriggerSyntax(const QString& syntax)
{
    ManualTriggerWindow::show(m_session.messages(), m_session.platform(), syntax, m_parent);
}

void WindowBarScreens::openSchedule(const QString& buttonFileName, const QString& database)
{
    schedule::ProcessCommands commands;
    schedule::Scheduler scheduler(commands);
    schedule::ScheduleForm form(m_session, scheduler, buttonFileName, database,
                                QCoreApplication::applicationFilePath());
    schedule::ScheduleWindow window(m_session, form, m_parent);
    window.exec();
}

} // namespace valdora::bar
