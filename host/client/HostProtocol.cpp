#include "HostProtocol.h"

#include <QDataStream>
#include <QIODevice>

#include <algorithm>
#include <iterator>
#include <limits>

namespace valdora::host::protocol {

namespace {

constexpr int PrefixSize = 4;
constexpr qsizetype TextLengthSize = 4;

quint32 readPrefix(const QByteArray& buffer)
{
    const auto* bytes = reinterpret_cast<const uchar*>(buffer.constData());
    return (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) |
           quint32(bytes[3]);
}

/// Reads a frame's body. QDataStream's own list reader reserves room for as many texts as the count
/// claims before reading one, so four bytes could ask for gigabytes: the count is weighed against the
/// bytes that are there (every text takes at least its 4-byte length). A body with bytes left over
/// after its message is no message of ours either.
std::optional<Message> decodeBody(const QByteArray& body)
{
    QDataStream stream(body);
    stream.setVersion(QDataStream::Qt_6_4);
    qint32 op = 0;
    quint32 count = 0;
    Message message;
    stream >> op >> message.number >> count;
    if (stream.status() != QDataStream::Ok)
        return std::nullopt;
    const qsizetype left = body.size() - stream.device()->pos();
    if (count > quint32(left / TextLengthSize))
        return std::nullopt;
    message.texts.reserve(qsizetype(count));
    for (quint32 i = 0; i < count; ++i) {
        QString text;
        stream >> text;
        if (stream.status() != QDataStream::Ok)
            return std::nullopt;
        message.texts.append(text);
    }
    if (!stream.atEnd())
        return std::nullopt;
    message.op = Op(op);
    return message;
}

/// What a request's number is.
enum class Number {
    Unused,  ///< nothing: 0
    Any,     ///< flags, a command number or a view, which the host checks itself
    FieldId, ///< a field id, a 16-bit number
};

/// The shape of one request: its number and how many texts it carries.
struct Shape {
    Op op;
    Number number;
    qsizetype texts;
};

// Every request the clients send, as ClientObjects and the host's commands build them.
constexpr Shape RequestShapes[] = {
    {Op::OpenFile, Number::Unused, 1},
    {Op::IsDBOpen, Number::Unused, 0},
    {Op::GetOpenDBName, Number::Unused, 0},
    {Op::SaveCurrentLookup, Number::Unused, 1},
    {Op::GetAppPath, Number::Unused, 0},
    {Op::Command, Number::Any, 0},
    {Op::GetCurrentID, Number::Unused, 0},
    {Op::GetField, Number::FieldId, 0},
    {Op::SetField, Number::FieldId, 1},
    {Op::AuxCommandExists, Number::Unused, 1},
    {Op::AddAuxCommand, Number::Any, 7},
    {Op::AuxCommandExistsInToolbar, Number::Any, 1},
    {Op::AuxCommandExistsInToolsMenu, Number::Any, 1},
    {Op::AddAuxCommandToToolbar, Number::Any, 1},
    {Op::RemoveAuxCommandFromToolbar, Number::Any, 1},
    {Op::AddAuxCommandToToolsMenu, Number::Any, 1},
    {Op::RemoveAuxCommandFromToolsMenu, Number::Any, 1},
    {Op::Register, Number::Any, 0},
    {Op::Unregister, Number::Unused, 0},
    {Op::ShowContact, Number::Unused, 1},
    {Op::SetLookup, Number::Unused, 3},
    {Op::LookupIds, Number::Unused, 0},
    {Op::EnterField, Number::Unused, 1},
    {Op::LeaveField, Number::Unused, 1},
    {Op::TypeField, Number::Unused, 2},
    {Op::CloseDatabase, Number::Unused, 0},
    {Op::Quit, Number::Unused, 0},
    {Op::HasUnsavedChanges, Number::Unused, 0},
};

} // namespace

QString requestProblem(const Message& request)
{
    const auto* shape = std::find_if(std::begin(RequestShapes), std::end(RequestShapes),
                                     [&](const Shape& s) { return s.op == request.op; });
    if (shape == std::end(RequestShapes))
        return QStringLiteral("The host does not know the request %1").arg(qint32(request.op));
    if (request.texts.size() != shape->texts)
        return QStringLiteral("The request %1 takes %2 text(s), not %3")
            .arg(qint32(request.op))
            .arg(shape->texts)
            .arg(request.texts.size());
    const bool numberFits =
        shape->number == Number::Any || (shape->number == Number::Unused && request.number == 0) ||
        (shape->number == Number::FieldId && request.number >= std::numeric_limits<qint16>::min() &&
         request.number <= std::numeric_limits<qint16>::max());
    if (!numberFits)
        return QStringLiteral("The request %1 does not take the number %2")
            .arg(qint32(request.op))
            .arg(request.number);
    return {};
}

QByteArray encode(const Message& message)
{
    QByteArray frame(PrefixSize, '\0');
    {
        QDataStream stream(&frame, QIODevice::Append);
        stream.setVersion(QDataStream::Qt_6_4);
        stream << qint32(message.op) << message.number << message.texts;
    }
    const quint32 size = quint32(frame.size() - PrefixSize);
    frame[0] = char((size >> 24) & 0xFF);
    frame[1] = char((size >> 16) & 0xFF);
    frame[2] = char((size >> 8) & 0xFF);
    frame[3] = char(size & 0xFF);
    return frame;
}

std::optional<Message> FrameReader::next()
{
    if (m_broken || m_buffer.size() < PrefixSize)
        return std::nullopt;
    const quint32 size = readPrefix(m_buffer);
    if (size > MaximumFrameSize) {
        m_broken = true;
        return std::nullopt;
    }
    if (quint32(m_buffer.size() - PrefixSize) < size)
        return std::nullopt;
    const QByteArray body = m_buffer.mid(PrefixSize, qsizetype(size));
    m_buffer.remove(0, PrefixSize + qsizetype(size));
    std::optional<Message> message = decodeBody(body);
    if (!message)
        m_broken = true;
    return message;
}

} // namespace valdora::host::protocol
