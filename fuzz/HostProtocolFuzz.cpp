// Fuzzes what the running host reads from a client: the frame reader with bytes as they arrive on
// the socket, and the check of each request's shape. A frame is read the same whether its bytes
// come at once or in pieces; a message read is written back and read again unchanged; a broken
// reader hands out nothing more; every request is either refused with a reason or has its shape.

#include "FuzzSupport.h"

#include "host/client/HostProtocol.h"

#include <cstddef>
#include <cstdint>
#include <vector>

using valdora::fuzz::check;
namespace protocol = valdora::host::protocol;

namespace {

// The smallest frame: the length prefix, the operation, the number and the count of texts.
constexpr std::size_t SmallestFrame = 16;

QString describe(const protocol::Message& message)
{
    return QStringLiteral("op %1, number %2, %3 text(s)")
        .arg(qint32(message.op))
        .arg(message.number)
        .arg(message.texts.size());
}

bool same(const protocol::Message& a, const protocol::Message& b)
{
    // QStringList's == does not tell a null text from an empty one; the wire does.
    if (a.op != b.op || a.number != b.number || a.texts.size() != b.texts.size())
        return false;
    for (qsizetype i = 0; i < a.texts.size(); ++i) {
        if (a.texts[i] != b.texts[i] || a.texts[i].isNull() != b.texts[i].isNull())
            return false;
    }
    return true;
}

struct Reading {
    std::vector<protocol::Message> messages;
    bool broken = false;
};

// Reads the bytes in pieces of `piece` bytes (all at once for 0), as a socket may deliver them.
Reading readInPieces(const QByteArray& bytes, qsizetype piece)
{
    protocol::FrameReader reader;
    Reading reading;
    const qsizetype step = piece == 0 ? qMax<qsizetype>(bytes.size(), 1) : piece;
    for (qsizetype at = 0; at < bytes.size() || at == 0; at += step) {
        reader.append(bytes.mid(at, step));
        while (auto message = reader.next())
            reading.messages.push_back(*message);
        if (reader.broken())
            break;
    }
    reading.broken = reader.broken();
    check(!reader.next().has_value() || !reading.broken, "a broken reader hands out nothing more");
    return reading;
}

void checkRequest(const protocol::Message& message)
{
    const QString problem = protocol::requestProblem(message);
    const bool reply = message.op == protocol::Op::Reply || message.op == protocol::Op::Failed ||
                       message.op == protocol::Op::Event;
    check(!reply || !problem.isEmpty(), "an answer or an event is no request", describe(message));
    check(message.op <= protocol::Op::LastRequest || !problem.isEmpty(), "an unknown request is refused",
          describe(message));
    check(message.texts.size() <= 7 || !problem.isEmpty(), "no request takes more than 7 texts",
          describe(message));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    valdora::fuzz::pinEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const Reading whole = readInPieces(bytes, 0);
    check(whole.messages.size() <= size / SmallestFrame, "every message takes a frame's bytes",
          QString::number(whole.messages.size()));
    for (const qsizetype piece : {1, 5, 64}) {
        const Reading pieces = readInPieces(bytes, piece);
        check(pieces.broken == whole.broken, "the pieces break the reader as the whole does",
              QString::number(pieces.broken), QString::number(whole.broken));
        check(pieces.messages.size() == whole.messages.size(), "the pieces give the messages the whole gives",
              QString::number(pieces.messages.size()), QString::number(whole.messages.size()));
        for (std::size_t i = 0; i < whole.messages.size(); ++i)
            check(same(pieces.messages[i], whole.messages[i]), "the pieces give the same messages",
                  describe(pieces.messages[i]), describe(whole.messages[i]));
    }
    for (const protocol::Message& message : whole.messages) {
        checkRequest(message);
        protocol::FrameReader again;
        again.append(protocol::encode(message));
        const auto reread = again.next();
        check(reread.has_value() && same(*reread, message), "a message written back reads the same",
              reread ? describe(*reread) : QStringLiteral("<nothing>"), describe(message));
    }
    return 0;
}
