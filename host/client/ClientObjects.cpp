#include "ClientObjects.h"

#include "ClientFactories.h"

#include <QScopedValueRollback>

namespace valdora::host {

using protocol::Op;

void ClientApplication::OpenFile(const QString& path, Where where)
{
    m_connection.call(Op::OpenFile, 0, {path}, where);
}

bool ClientApplication::IsDBOpen(Where where) const
{
    return m_connection.call(Op::IsDBOpen, 0, {}, where).number != 0;
}

QString ClientApplication::GetOpenDBName(Where where) const
{
    return m_connection.call(Op::GetOpenDBName, 0, {}, where).texts.value(0);
}

std::unique_ptr<ContactView> ClientApplication::CreateView(int kind, const QString& name, Where where)
{
    if (kind != 1 || name.compare(QStringLiteral("CV"), Qt::CaseInsensitive) != 0)
        throw HostFailure(ErrorNumber::InvalidProcedureCall,
                          QStringLiteral("The host has no view %1 \"%2\"; the contact view is 1, \"CV\"")
                              .arg(kind)
                              .arg(name),
                          where);
    // The view needs a running host like every other member; fail here rather than at first use.
    m_connection.call(Op::IsDBOpen, 0, {}, where);
    return std::make_unique<ClientContactView>();
}

void ClientApplication::SaveCurrentLookup(const QString& file, Where where)
{
    m_connection.call(Op::SaveCurrentLookup, 0, {file}, where);
}

QString ClientApplication::GetAppPath(Where where) const
{
    return m_connection.call(Op::GetAppPath, 0, {}, where).texts.value(0);
}

void ClientApplication::Command(int command, Where where)
{
    m_connection.call(Op::Command, command, {}, where);
}

ContactId ClientContactView::GetCurrentID(Where where) const
{
    return m_connection.call(Op::GetCurrentID, 0, {}, where).texts.value(0);
}

bool ClientContactView::hasUnsavedChanges(Where where) const
{
    return m_connection.call(Op::HasUnsavedChanges, 0, {}, where).number != 0;
}

QString ClientContactView::GetField(FieldId id, Where where)
{
    const protocol::Message reply = m_connection.call(Op::GetField, id, {}, where);
    m_lastError = reply.number;
    return reply.texts.value(0);
}

void ClientContactView::SetField(FieldId id, const QString& value, Where where)
{
    m_lastError = m_connection.call(Op::SetField, id, {value}, where).number;
}

int ClientAuxCommands::numberOf(Op op, int view, const QString& name, Where where)
{
    return m_connection.call(op, view, {name}, where).number;
}

int ClientAuxCommands::AuxCommandExists(const QString& name, Where where)
{
    return numberOf(Op::AuxCommandExists, 0, name, where);
}

int ClientAuxCommands::AddAuxCommand(const QString& name, const QString& program, const QString& folder,
                                     const QString& caption, const QString& toolTip, const QString& icon,
                                     const QString& largeIcon, int flags, Where where)
{
    return m_connection
        .call(Op::AddAuxCommand, flags, {name, program, folder, caption, toolTip, icon, largeIcon}, where)
        .number;
}

int ClientAuxCommands::AuxCommandExistsInToolbar(int view, const QString& name, Where where)
{
    return numberOf(Op::AuxCommandExistsInToolbar, view, name, where);
}

int ClientAuxCommands::AuxCommandExistsInToolsMenu(int view, const QString& name, Where where)
{
    return numberOf(Op::AuxCommandExistsInToolsMenu, view, name, where);
}

int ClientAuxCommands::AddAuxCommandToToolbar(int view, const QString& name, Where where)
{
    return numberOf(Op::AddAuxCommandToToolbar, view, name, where);
}

int ClientAuxCommands::RemoveAuxCommandFromToolbar(int view, const QString& name, Where where)
{
    return numberOf(Op::RemoveAuxCommandFromToolbar, view, name, where);
}

int ClientAuxCommands::AddAuxCommandToToolsMenu(int view, const QString& name, Where where)
{
    return numberOf(Op::AddAuxCommandToToolsMenu, view, name, where);
}

int ClientAuxCommands::RemoveAuxCommandFromToolsMenu(int view, const QString& name, Where where)
{
    return numberOf(Op::RemoveAuxCommandFromToolsMenu, view, name, where);
}

ClientEventControl::ClientEventControl(QObject* parent) : EventControl(parent)
{
    QObject::connect(&m_connection.socket(), &QLocalSocket::readyRead, this, &ClientEventControl::readEvents);
}

int ClientEventControl::Register(int flags)
{
    const QScopedValueRollback calling(m_calling, true);
    try {
        const int number = m_connection.call(Op::Register, flags).number;
        m_registered = number > 0;
        return number;
    } catch (const HostFailure&) {
        return 0;
    }
}

void ClientEventControl::Unregister()
{
    if (!m_registered)
        return;
    m_registered = false;
    const QScopedValueRollback calling(m_calling, true);
    try {
        m_connection.call(Op::Unregister);
    } catch (const HostFailure&) {
        // A host that is gone has no registration left to end.
    }
}

bool ClientEventControl::IsHostRunning()
{
    // A fresh probe: the kept connection may not have noticed yet that its host is gone.
    HostConnection probe;
    return probe.connect();
}

void ClientEventControl::readEvents()
{
    if (m_calling)
        return;
    for (const protocol::Message& message : m_connection.takePendingEvents())
        dispatch(message);
    m_connection.reader().append(m_connection.socket().readAll());
    while (auto message = m_connection.reader().next()) {
        if (message->op == Op::Event)
            dispatch(*message);
    }
}

void ClientEventControl::dispatch(const protocol::Message& message)
{
    if (!m_registered)
        return;
    if (message.number == qint32(protocol::EventKind::UserWantsToClose))
        emit OnUserWantsToClose();
    else if (message.number == qint32(protocol::EventKind::DatabaseClose))
        emit OnDatabaseClose();
}

std::unique_ptr<Application> createApplication()
{
    return std::make_unique<ClientApplication>();
}

std::unique_ptr<AuxCommands> createAuxCommands()
{
    return std::make_unique<ClientAuxCommands>();
}

std::unique_ptr<EventControl> createEventControl(QObject* parent)
{
    return std::make_unique<ClientEventControl>(parent);
}

} // namespace valdora::host
