#include "Utf8Text.h"

#include <QStringDecoder>

namespace valdora {

QString utf8Verbatim(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

} // namespace valdora
