#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace valdora {

/// The Windows-1252 code page of the INI files, which Qt has no codec for.
namespace Cp1252 {

/// Decodes Windows-1252 bytes. The five bytes the code page leaves undefined (0x81, 0x8D, 0x8F,
/// 0x90, 0x9D) decode to the control characters of the same number, so every byte round-trips.
QString decode(QByteArrayView bytes);
/// Encodes text as Windows-1252; a character the code page cannot hold becomes "?".
QByteArray encode(QStringView text);
/// True when every character of the text has a Windows-1252 byte.
bool canEncode(QStringView text);

} // namespace Cp1252

} // namespace valdora
