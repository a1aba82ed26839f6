#pragma once

#include "HostApplication.h"
#include "host/client/HostProtocol.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>

#include <map>
#include <memory>

namespace valdora::host {

/// The running host's local server: one per user (its name from runningHostServerName()); each
/// client connection sends requests that are carried out on the host application and answered in
/// order. Registered clients receive the host's events on their connection.
class HostServer : public QObject {
    Q_OBJECT
public:
    explicit HostServer(HostApplication& application, QObject* parent = nullptr);
    /// Drops the client connections without their disconnect handlers, which use the maps here.
    ~HostServer() override;

    /// Starts listening. False (with `reason`) when another host of this user already runs or the
    /// name cannot be taken.
    bool listen(QString& reason);

private:
    void accept();
    void readFrom(QLocalSocket* socket);
    protocol::Message handle(QLocalSocket* socket, const protocol::Message& request);
    protocol::Message carryOut(QLocalSocket* socket, const protocol::Message& request);
    void broadcast(protocol::EventKind kind);

    HostApplication& m_application;
    QLocalServer m_server;
    std::map<QLocalSocket*, protocol::FrameReader> m_readers;
    std::map<QLocalSocket*, bool> m_registered;
    int m_nextRegistration = 1;
    bool m_refuseRegistrations = false;
};

} // namespace valdora::host
