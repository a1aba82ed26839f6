#include "WindowEditorScreens.h"

#include "bar/startup/windows/LanguageWindow.h"
#include "bar/startup/windows/StartOptionsWindow.h"
#include "settings/MessageId.h"

namespace valdora::editor {

WindowEditorScreens::WindowEditorScreens(ProgramSession& session) : m_session(session) {}

WindowEditorScreens::~WindowEditorScreens() = default;

QString onlineHelpAddress(const Messages& messages)
{
    return MessageTable::makerWebPage() + messages.get(MessageId::OnlineHelpPage);
}

bool WindowEditorScreens::fieldOptions(AutoNumberPage&)
{
    // The field-options dialog is not part of this program yet: the page's options stay as they are.
    return false;
}

void WindowEditorScreens::moreConditions(EditorState&, const QString&) {}

void WindowEditorScreens::moreMembers(EditorState&, const QString&) {}

TriggerChoice WindowEditorScreens::triggerChoice()
{
    return TriggerChoice::Closed;
}

void WindowEditorScreens::startOptions()
{
    bar::StartOptionsWindow::edit(m_session, m_parent);
}

void WindowEditorScreens::languages()
{
    bar::LanguageWindow::choose(m_session, m_parent);
}

// The settings-file location and integration windows are offered once the program has them; until
// then their menu items are disabled (offersSettingsLocation, offersIntegration).
void WindowEditorScreens::settingsLocation() {}

void WindowEditorScreens::integrate() {}

void WindowEditorScreens::onlineHelp()
{
    m_session.platform().openDocument(onlineHelpAddress(m_session.messages()));
}

} // namespace valdora::editor
