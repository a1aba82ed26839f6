#pragma once

#include <QString>

namespace valdora::host {

/// A number in base 36 (digits, then capital letters), zero-padded to `width`: the parts of a
/// contact's or user's unique id (a 4-character database prefix, an 8-character serial).
inline QString base36(quint64 value, int width)
{
    constexpr char Digits36[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    QString text(width, u'0');
    for (int i = width - 1; i >= 0; --i) {
        text[i] = QLatin1Char(Digits36[value % 36]);
        value /= 36;
    }
    return text;
}

} // namespace valdora::host
