#pragma once

#include "ServerConnection.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>

class QSocketNotifier;

namespace valdora::host::server {

/// Hears every write of a contact in a database on the server, whichever workstation made it: a
/// connection of its own that listens on the change channel, woken by its socket (no polling). A lost
/// connection is made again a moment later; what was written meanwhile is not known, so that is
/// told as a change of anything.
class ServerChangeListener : public QObject {
    Q_OBJECT
public:
    /// Starts listening at the location; a server that cannot be reached now is tried again later.
    explicit ServerChangeListener(QString location, QObject* parent = nullptr);
    ~ServerChangeListener() override;

    /// True while the listener's connection is up and listening.
    bool isListening() const { return m_notifier != nullptr; }

signals:
    /// Contacts were written (their ids, each once). An empty list: anything may have changed.
    void contactsWritten(const QStringList& ids);

private:
    void listen();
    void readNotifications();
    void lose();

    QString m_location;
    std::unique_ptr<ServerConnection> m_connection;
    std::unique_ptr<QSocketNotifier> m_notifier;
    QTimer m_retry;
};

} // namespace valdora::host::server
