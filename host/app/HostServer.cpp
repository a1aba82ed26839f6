#include "HostServer.h"

#include "core/LocalSockets.h"
#include "host/HostCommand.h"
#include "host/client/RunningHost.h"

namespace valdora::host {

using protocol::Message;
using protocol::Op;

namespace {

constexpr int EventFlushMs = 200;
constexpr int ProbeMs = 500;

Message reply(qint32 number = 0, const QStringList& texts = {})
{
    return {Op::Reply, number, texts};
}

LookupMatch matchOf(const QString& word, Where where = Where::current())
{
    if (word == QLatin1String("all"))
        return LookupMatch::All;
    if (word == QLatin1String("equals"))
        return LookupMatch::Equals;
    if (word == QLatin1String("contains"))
        return LookupMatch::Contains;
    if (word == QLatin1String("starts"))
        return LookupMatch::StartsWith;
    throw HostFailure(ErrorNumber::InvalidProcedureCall,
                      QStringLiteral("Unknown lookup \"%1\": use equals, contains, starts or all").arg(word),
                      where);
}

} // namespace

HostServer::HostServer(HostApplication& application, QObject* parent)
    : QObject(parent), m_application(application),
      // A host whose event component is broken refuses every registration while it runs on: the
      // programs' answer to that is tested against this.
      m_refuseRegistrations(qEnvironmentVariableIsSet("VALDORA_HOST_REFUSE_EVENTS"))
{
    connect(&m_server, &QLocalServer::newConnection, this, &HostServer::accept);
    connect(&application, &HostApplication::userWantsToClose, this,
            [this] { broadcast(protocol::EventKind::UserWantsToClose); });
    connect(&application, &HostApplication::databaseClosed, this,
            [this] { broadcast(protocol::EventKind::DatabaseClose); });
}

HostServer::~HostServer()
{
    for (const auto& [socket, reader] : m_readers)
        socket->disconnect(this);
}

bool HostServer::listen(QString& reason)
{
    const QString name = runningHostServerName();
    {
        QLocalSocket probe;
        const LocalReach reach = connectToOwnServer(probe, name, ProbeMs);
        switch (reach.outcome) {
        case LocalReach::Outcome::Connected:
            reason =
                QStringLiteral("A contact host is already running for this user (server \"%1\")").arg(name);
            return false;
        case LocalReach::Outcome::OtherUser:
        case LocalReach::Outcome::NoPlace:
            reason = QStringLiteral("The host cannot listen: %1").arg(reach.message);
            return false;
        case LocalReach::Outcome::NoServer:
            break;
        }
    }
    // Nothing of this user answers: a socket left behind by a host that died is taken over.
    const QString problem = listenAsOwnUser(m_server, name);
    if (!problem.isEmpty()) {
        reason = QStringLiteral("The host cannot listen: %1").arg(problem);
        return false;
    }
    return true;
}

void HostServer::accept()
{
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
        // Only this user's programs may talk to the host (the folder keeps others out already;
        // this holds also for a socket reached through a link root made elsewhere).
        if (!admitOwnUserOnly(*socket)) {
            socket->deleteLater();
            continue;
        }
        m_readers.emplace(socket, protocol::FrameReader());
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            m_readers.erase(socket);
            m_registered.erase(socket);
            socket->deleteLater();
        });
    }
}

void HostServer::readFrom(QLocalSocket* socket)
{
    auto reader = m_readers.find(socket);
    if (reader == m_readers.end())
        return;
    reader->second.append(socket->readAll());
    while (auto request = reader->second.next()) {
        const Message answer = handle(socket, *request);
        if (socket->state() == QLocalSocket::ConnectedState)
            socket->write(protocol::encode(answer));
        // The request may have closed the host or this connection.
        reader = m_readers.find(socket);
        if (reader == m_readers.end())
            return;
    }
    if (reader->second.broken()) {
        m_readers.erase(reader);
        socket->disconnectFromServer();
    }
}

Message HostServer::handle(QLocalSocket* socket, const Message& request)
{
    // A request of the wrong shape is answered with an error before anything is done for it.
    if (const QString problem = protocol::requestProblem(request); !problem.isEmpty())
        return {Op::Failed, int(ErrorNumber::InvalidProcedureCall), {problem}};
    try {
        return carryOut(socket, request);
    } catch (const Failure& failure) {
        return {Op::Failed, failure.number(), {failure.description()}};
    } catch (const std::exception& failure) {
        return {Op::Failed, int(ErrorNumber::AutomationError), {QString::fromLocal8Bit(failure.what())}};
    }
}

Message HostServer::carryOut(QLocalSocket* socket, const Message& request)
{
    HostApplication& app = m_application;
    const QStringList& t = request.texts;
    const qint32 n = request.number;
    AuxCommandStore& aux = app.auxCommands();
    switch (request.op) {
    case Op::OpenFile:
        app.openDatabase(t.value(0));
        return reply();
    case Op::IsDBOpen:
        return reply(app.isDatabaseOpen() ? 1 : 0);
    case Op::GetOpenDBName:
        return reply(0, {app.databasePath()});
    case Op::SaveCurrentLookup:
        app.saveCurrentLookup(t.value(0));
        return reply();
    case Op::GetAppPath:
        return reply(0, {app.appPath()});
    case Op::Command:
        if (n == host::HostCommand::Close) {
            // Answer first, then close as the user would.
            QMetaObject::invokeMethod(&app, &HostApplication::close, Qt::QueuedConnection);
            return reply();
        }
        app.command(n);
        return reply();
    case Op::GetCurrentID:
        return reply(0, {app.currentId()});
    case Op::HasUnsavedChanges:
        return reply(app.hasUnsavedChanges() ? 1 : 0);
    case Op::GetField: {
        const auto value = app.field(qint16(n));
        return value ? reply(0, {*value}) : reply(HostError::ViewFieldUnknown, {QString()});
    }
    case Op::SetField:
        if (!app.field(qint16(n)))
            return reply(HostError::ViewFieldUnknown);
        app.setField(qint16(n), t.value(0));
        return reply();
    case Op::AuxCommandExists:
        return reply(aux.exists(t.value(0)) ? 1 : 0);
    case Op::AddAuxCommand:
        return reply(aux.add({t.value(0), t.mid(1), n}));
    case Op::AuxCommandExistsInToolbar:
        return reply(aux.inToolbar(n, t.value(0)) ? 1 : 0);
    case Op::AuxCommandExistsInToolsMenu:
        return reply(aux.inToolsMenu(n, t.value(0)) ? 1 : 0);
    case Op::AddAuxCommandToToolbar:
        return reply(aux.placeInToolbar(n, t.value(0), true));
    case Op::RemoveAuxCommandFromToolbar:
        return reply(aux.placeInToolbar(n, t.value(0), false));
    case Op::AddAuxCommandToToolsMenu:
        return reply(aux.placeInToolsMenu(n, t.value(0), true));
    case Op::RemoveAuxCommandFromToolsMenu:
        return reply(aux.placeInToolsMenu(n, t.value(0), false));
    case Op::Register:
        if (m_refuseRegistrations)
            return reply(0);
        m_registered[socket] = true;
        return reply(m_nextRegistration++);
    case Op::Unregister:
        m_registered.erase(socket);
        return reply();
    case Op::ShowContact:
        app.show(t.value(0));
        return reply(0, {app.currentId()});
    case Op::SetLookup:
        app.lookup(matchOf(t.value(0)), t.value(1), t.value(2));
        return reply(0, app.lookupIds());
    case Op::LookupIds:
        return reply(0, app.lookupIds());
    case Op::EnterField:
        app.enterField(app.fieldId(t.value(0)));
        return reply();
    case Op::LeaveField: {
        const FieldId id = app.fieldId(t.value(0));
        if (app.fieldOnScreen() != id)
            throw HostFailure(ErrorNumber::InvalidProcedureCall,
                              QStringLiteral("The field \"%1\" is not the field on screen").arg(t.value(0)));
        app.leaveField();
        return reply();
    }
    case Op::TypeField:
        app.type(app.fieldId(t.value(0)), t.value(1));
        return reply();
    case Op::CloseDatabase:
        app.closeDatabase();
        return reply();
    case Op::Quit:
        QMetaObject::invokeMethod(&app, &HostApplication::close, Qt::QueuedConnection);
        return reply();
    case Op::Reply:
    case Op::Failed:
    case Op::Event:
        break;
    }
    throw HostFailure(ErrorNumber::InvalidProcedureCall,
                      QStringLiteral("The host does not know the request %1").arg(qint32(request.op)));
}

void HostServer::broadcast(protocol::EventKind kind)
{
    const QByteArray frame = protocol::encode({Op::Event, qint32(kind), {}});
    for (const auto& [socket, registered] : m_registered) {
        if (!registered || socket->state() != QLocalSocket::ConnectedState)
            continue;
        socket->write(frame);
        // The host may be about to end: make sure the event has left before it does.
        socket->waitForBytesWritten(EventFlushMs);
    }
}

} // namespace valdora::host
