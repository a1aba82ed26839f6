#include "WindowEditorScreens.h"

#include "SettingsWindow.h"

#include "editor/dialogs/FieldOptionsDialog.h"
#include "editor/dialogs/TriggerWindow.h"
#include "settings/MessageId.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

namespace valdora::editor {

namespace {

/// How long the focus waits for the modal window to show (ticks of 10 ms).
constexpr int FocusAttempts = 500;

} // namespace

QString onlineHelpAddress(const Messages& messages)
{
    return MessageTable::makerWebPage() + messages.get(MessageId::OnlineHelpPage);
}

QString rowObjectName(const QString& checkName)
{
    static const QStringList rowControls{QStringLiteral("txtValueTab1"), QStringLiteral("txtCondition"),
                                         QStringLiteral("cmbOperator"),  QStringLiteral("cmbFieldTab1"),
                                         QStringLiteral("chkCond"),      QStringLiteral("cmbButton"),
                                         QStringLiteral("chkButton")};
    for (const QString& control : rowControls) {
        const QString index = checkName.mid(control.size());
        bool number = false;
        if (checkName.startsWith(control) && !index.isEmpty() && (index.toInt(&number), number))
            return control + u'_' + index;
    }
    return checkName;
}

void focusInNextModal(const QString& objectName)
{
    if (objectName.isEmpty())
        return;
    auto* poll = new QTimer(qApp); // deletes itself once it has acted or given up
    auto attempts = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, attempts, objectName] {
        QWidget* modal = QApplication::activeModalWidget();
        if ((modal == nullptr || !modal->isVisible()) && ++*attempts < FocusAttempts)
            return;
        poll->stop();
        poll->deleteLater();
        QWidget* control = modal ? modal->findChild<QWidget*>(objectName) : nullptr;
        if (!control)
            return;
        control->setFocus(Qt::OtherFocusReason);
        if (auto* box = qobject_cast<QLineEdit*>(control))
            box->selectAll();
    });
    poll->start(10);
}

WindowEditorScreens::WindowEditorScreens(ProgramSession& session, EditorHost& host)
    : m_session(session), m_host(host)
{}

WindowEditorScreens::~WindowEditorScreens() = default;

void WindowEditorScreens::setEditor(SettingsWindow* editor)
{
    m_editor = editor;
}

bool WindowEditorScreens::fieldOptions(AutoNumberPage& page)
{
    return FieldOptionsDialog::edit(m_session, page, m_editor);
}

void WindowEditorScreens::moreConditions(EditorState& state, const QString& focusControl)
{
    if (!m_editor)
        return;
    if (!m_moreConditions)
        m_moreConditions = std::make_unique<MoreConditions>(m_session.messages(), m_editor->fields(),
                                                            m_editor->loadedState().condition, m_editor);
    focusInNextModal(rowObjectName(focusControl));
    m_moreConditions->show(state);
}

void WindowEditorScreens::moreMembers(EditorState& state, const QString& focusControl)
{
    if (!m_editor)
        return;
    if (!m_moreMembers)
        m_moreMembers =
            std::make_unique<MoreMembers>(m_session.messages(), m_editor->loadedState().combo, m_editor);
    focusInNextModal(rowObjectName(focusControl));
    m_moreMembers->show(state);
}

TriggerChoice WindowEditorScreens::triggerChoice()
{
    EditorHost& host = m_host;
    const TriggerWindow::Answer answer = TriggerWindow::choose(
        m_session, [&host] { return host.databasePath(); }, m_editor);
    return answer == TriggerWindow::Answer::LaunchKeelbrook ? TriggerChoice::LaunchKeelbrook
                                                            : TriggerChoice::Closed;
}

void WindowEditorScreens::startOptions()
{
    m_host.startOptions(m_editor);
}

void WindowEditorScreens::languages()
{
    m_host.languages(m_editor);
}

void WindowEditorScreens::settingsLocation()
{
    m_host.settingsLocation(m_editor);
}

bool WindowEditorScreens::integrate()
{
    return m_host.integrate(m_editor);
}

void WindowEditorScreens::onlineHelp()
{
    m_session.platform().openDocument(onlineHelpAddress(m_session.messages()));
}

} // namespace valdora::editor
