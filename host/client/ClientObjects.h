#pragma once

#include "HostConnection.h"
#include "host/Application.h"
#include "host/AuxCommands.h"
#include "host/EventControl.h"

namespace valdora::host {

/// The application object of the running host, reached over its local socket.
class ClientApplication final : public Application {
public:
    void OpenFile(const QString& path, Where where = Where::current()) override;
    bool IsDBOpen(Where where = Where::current()) const override;
    QString GetOpenDBName(Where where = Where::current()) const override;
    std::unique_ptr<ContactView> CreateView(int kind, const QString& name,
                                            Where where = Where::current()) override;
    void SaveCurrentLookup(const QString& file, Where where = Where::current()) override;
    QString GetAppPath(Where where = Where::current()) const override;
    void Command(int command, Where where = Where::current()) override;

private:
    mutable HostConnection m_connection;
};

/// The contact view of the running host: the contact on screen.
class ClientContactView final : public ContactView {
public:
    ContactId GetCurrentID(Where where = Where::current()) const override;
    QString GetField(FieldId id, Where where = Where::current()) override;
    void SetField(FieldId id, const QString& value, Where where = Where::current()) override;
    int GetLastError() const override { return m_lastError; }
    bool hasUnsavedChanges(Where where = Where::current()) const override;

private:
    mutable HostConnection m_connection;
    int m_lastError = 0;
};

/// The running host's auxiliary commands.
class ClientAuxCommands final : public AuxCommands {
public:
    int AuxCommandExists(const QString& name, Where where = Where::current()) override;
    int AddAuxCommand(const QString& name, const QString& program, const QString& folder,
                      const QString& caption, const QString& toolTip, const QString& icon,
                      const QString& largeIcon, int flags, Where where = Where::current()) override;
    int AuxCommandExistsInToolbar(int view, const QString& name, Where where = Where::current()) override;
    int AuxCommandExistsInToolsMenu(int view, const QString& name, Where where = Where::current()) override;
    int AddAuxCommandToToolbar(int view, const QString& name, Where where = Where::current()) override;
    int RemoveAuxCommandFromToolbar(int view, const QString& name, Where where = Where::current()) override;
    int AddAuxCommandToToolsMenu(int view, const QString& name, Where where = Where::current()) override;
    int RemoveAuxCommandFromToolsMenu(int view, const QString& name, Where where = Where::current()) override;

private:
    int numberOf(protocol::Op op, int view, const QString& name, Where where);

    HostConnection m_connection;
};

/// The event control: a registered client keeps its connection open and emits the host's events
/// as they arrive on the event loop.
class ClientEventControl final : public EventControl {
public:
    explicit ClientEventControl(QObject* parent = nullptr);

    int Register(int flags) override;
    void Unregister() override;
    bool IsHostRunning() override;

private:
    void readEvents();
    void dispatch(const protocol::Message& message);

    HostConnection m_connection;
    bool m_registered = false;
    bool m_calling = false; ///< a call is waiting for its reply: the reply is not an event
};

} // namespace valdora::host
