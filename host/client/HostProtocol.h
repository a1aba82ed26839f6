#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace valdora::host::protocol {

/// What a message asks for (client to host) or what it is (host to client).
enum class Op : qint32 {
    Reply = 0,   ///< answer to a request: number and texts hold the result
    Failed = -1, ///< answer to a request that failed: number is the error, texts[0] the description
    Event = -2,  ///< host event for a registered client: number is the EventKind
    OpenFile = 1,
    IsDBOpen,
    GetOpenDBName,
    SaveCurrentLookup,
    GetAppPath,
    Command,
    GetCurrentID,
    GetField,
    SetField,
    AuxCommandExists,
    AddAuxCommand,
    AuxCommandExistsInToolbar,
    AuxCommandExistsInToolsMenu,
    AddAuxCommandToToolbar,
    RemoveAuxCommandFromToolbar,
    AddAuxCommandToToolsMenu,
    RemoveAuxCommandFromToolsMenu,
    Register,
    Unregister,
    ShowContact,
    SetLookup,
    LookupIds,
    EnterField,
    LeaveField,
    TypeField,
    CloseDatabase,
    Quit,
    HasUnsavedChanges, ///< number 1 while the user has typed into the contact on screen and not committed
    LastRequest = HasUnsavedChanges, ///< every request lies between OpenFile and this one
};

/// The events a registered client receives.
enum class EventKind : qint32 { UserWantsToClose = 1, DatabaseClose = 2 };

/// One message of the protocol, either way: an operation, a number and texts.
struct Message {
    Op op = Op::Reply;
    qint32 number = 0;
    QStringList texts;
};

/// The largest frame either side accepts; a longer length prefix means a broken or foreign peer.
inline constexpr quint32 MaximumFrameSize = 16 * 1024 * 1024;

/// Why the host does not carry out this request as it came: an operation that is no request, or a
/// number or a count of texts that do not fit the operation. Empty when the request has the shape
/// its operation needs. The host answers a refused request with an error and changes nothing.
QString requestProblem(const Message& request);

/// A message framed for the socket: its length (32-bit, big-endian) and its QDataStream body.
QByteArray encode(const Message& message);

/// Collects bytes from a socket and hands out the complete messages in them.
class FrameReader {
public:
    /// Appends received bytes.
    void append(const QByteArray& bytes) { m_buffer.append(bytes); }
    /// The next complete message, nullopt when more bytes are needed.
    std::optional<Message> next();
    /// True once a frame was too long or could not be read: the peer is to be dropped.
    bool broken() const { return m_broken; }

private:
    QByteArray m_buffer;
    bool m_broken = false;
};

} // namespace valdora::host::protocol
