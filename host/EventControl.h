#pragma once

#include <QObject>

namespace valdora::host {

/// The host's event control. Register first; then the signals arrive while the host runs.
class EventControl : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    /// Member 1: registers for host events; 1 or more on success, 0 when no host runs or it failed.
    virtual int Register(int flags) = 0;
    /// Member 2: ends the registration.
    virtual void Unregister() = 0;
    /// Member 3: true while a host is running.
    virtual bool IsHostRunning() = 0;

signals:
    /// The user asked the host to close; sent before it closes.
    void OnUserWantsToClose();
    /// The host closed its database.
    void OnDatabaseClose();
};

} // namespace valdora::host
