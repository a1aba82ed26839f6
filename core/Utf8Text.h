#pragma once

#include <QByteArrayView>
#include <QString>

namespace valdora {

/// UTF-8 bytes as text, every character kept. QString::fromUtf8 drops a U+FEFF at the start as if it
/// were a byte-order mark; a stored value that begins with one must read back with it.
QString utf8Verbatim(QByteArrayView bytes);

} // namespace valdora
