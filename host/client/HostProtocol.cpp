#include "HostProtocol.h"

#include <QDataStream>
#include <QIODevice>

namespace valdora::host::protocol {

namespace {

constexpr int PrefixSize = 4;

quint32 readPrefix(const QByteArray& buffer)
{
    const auto* bytes = reinterpret_cast<const uchar*>(buffer.constData());
    return (quint32(bytes[0]) << 24) | (quint32(bytes[1]) << 16) | (quint32(bytes[2]) << 8) |
           quint32(bytes[3]);
}

} // namespace

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
    QDataStream stream(body);
    stream.setVersion(QDataStream::Qt_6_4);
    qint32 op = 0;
    Message message;
    stream >> op >> message.number >> message.texts;
    if (stream.status() != QDataStream::Ok) {
        m_broken = true;
        return std::nullopt;
    }
    message.op = Op(op);
    return message;
}

} // namespace valdora::host::protocol
