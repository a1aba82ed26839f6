#include "SlotFace.h"

#include "settings/ButtonReaders.h"
#include "settings/MessageId.h"

namespace valdora::bar {

namespace {
constexpr quint32 LargestColour = 0xFFFFFF;

SlotFace faceFromLook(const ButtonLook& look)
{
    // The bar writes "-1" for bold; anything but "0" reads as bold.
    return {look.caption, colourNumber(look.foreColor), look.fontBold != QStringLiteral("0")};
}

} // namespace

quint32 colourNumber(const QString& text)
{
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    return ok && value >= 0 && value <= LargestColour ? static_cast<quint32>(value) : 0;
}

SlotFace faceOf(const ButtonFile& button)
{
    return faceFromLook(readLook(button));
}

SlotFace faceOf(const ParsedButtonFile& button)
{
    return faceFromLook(readLook(button));
}

SlotFace newSlotFace(const Messages& messages)
{
    return {messages.get(MessageId::New), 0, false};
}

bool writeBold(const ButtonFile& button, bool bold)
{
    return button.write(ButtonKey::FontBold, bold ? QStringLiteral("-1") : QStringLiteral("0"));
}

bool writeColour(const ButtonFile& button, quint32 colour)
{
    return button.write(ButtonKey::ForeColor, QString::number(colour));
}

} // namespace valdora::bar
