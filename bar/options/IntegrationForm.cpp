#include "IntegrationForm.h"

#include "settings/MessageId.h"

#include <QDir>

namespace valdora::bar {

namespace {
/// The file name of Valdora's program, without its extension.
const QString ProgramFileName = QStringLiteral("Valdora");

/// The host view of a box: 1 to 6 for the toolbar boxes 0 to 5 and the Tools-menu boxes 6 to 11.
int viewOf(int index)
{
    return index % IntegrationForm::ViewCount + 1;
}

bool isMenuBox(int index)
{
    return index >= IntegrationForm::ViewCount;
}
} // namespace

IntegrationForm::IntegrationForm(ProgramSession& session, std::unique_ptr<host::AuxCommands> auxCommands)
    : m_session(session), m_aux(std::move(auxCommands))
{}

IntegrationCaptions IntegrationForm::captions(const Messages& messages)
{
    IntegrationCaptions captions;
    captions.title = messages.get(MessageId::IntegrateTitle);
    captions.toolbarFrame = messages.get(MessageId::ToolbarViews) + QStringLiteral(" :");
    captions.menuFrame = messages.get(MessageId::ToolsMenuViews) + QStringLiteral(" :");
    captions.restartNote = messages.get(MessageId::RestartHostForChanges);
    captions.close = messages.get(MessageId::IntegrateClose);
    captions.cancel = messages.get(MessageId::Cancel);
    for (int view = 0; view < ViewCount; ++view)
        captions.views << messages.get(
            static_cast<MessageId>(static_cast<int>(MessageId::ViewContacts) + view));
    return captions;
}

LaunchCommand IntegrationForm::launchCommand(const ProgramSession& session)
{
    const QString title = session.applicationTitle();
    const QString base = QDir(session.programFolder()).filePath(ProgramFileName);
    return {.name = title,
            .program = base + QStringLiteral(".exe"),
            .folder = session.programFolder(),
            .caption = title,
            .toolTip = session.messages().get(MessageId::ClickToLaunch) + u' ' + title,
            .icon = base + QStringLiteral(".ico"),
            .largeIcon = base + QStringLiteral("32.ico"),
            .flags = 1};
}

IntegrationForm::Boxes IntegrationForm::Form_Load()
{
    const QString title = m_session.applicationTitle();
    Boxes boxes{};
    for (int view = 1; view <= ViewCount; ++view) {
        boxes[view - 1] = m_aux->AuxCommandExistsInToolbar(view, title) == 1;
        boxes[view - 1 + ViewCount] = m_aux->AuxCommandExistsInToolsMenu(view, title) == 1;
    }
    return boxes;
}

void IntegrationForm::chkScreen_Click(int index, bool checked)
{
    if (index < 0 || index >= BoxCount)
        return;
    m_changed = true;
    const QString title = m_session.applicationTitle();
    if (m_aux->AuxCommandExists(title) == 0)
        CheckCommand();
    const int view = viewOf(index);
    if (isMenuBox(index))
        m_lastResult = checked ? m_aux->AddAuxCommandToToolsMenu(view, title)
                               : m_aux->RemoveAuxCommandFromToolsMenu(view, title);
    else
        m_lastResult = checked ? m_aux->AddAuxCommandToToolbar(view, title)
                               : m_aux->RemoveAuxCommandFromToolbar(view, title);
}

void IntegrationForm::CheckCommand()
{
    const LaunchCommand command = launchCommand(m_session);
    m_lastResult = m_aux->AddAuxCommand(command.name, command.program, command.folder, command.caption,
                                        command.toolTip, command.icon, command.largeIcon, command.flags);
    if (m_lastResult != 0)
        m_session.showMessage(m_session.messages().get(MessageId::IntegrationFailed));
}

bool IntegrationForm::cmdOK_Click()
{
    if (!m_changed)
        return false;
    if (m_lastResult != 0) {
        m_session.showMessage(m_session.messages().get(MessageId::IntegrationFailed));
        return false;
    }
    return Message();
}

bool IntegrationForm::Message()
{
    const Messages& messages = m_session.messages();
    return m_session.showMessage(messages.get(MessageId::RestartHostForChanges) + u'\n' +
                                     messages.get(MessageId::RestartHostNow),
                                 MessageButtons::YesNo) == MessageAnswer::Yes;
}

} // namespace valdora::bar
