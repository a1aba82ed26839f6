#pragma once

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QString>

namespace valdora::host {

/// How a user's password is kept in every contact database: a salted SHA-256 hash, never the text.
inline QString passwordHash(const QString& salt, const QString& password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash((salt + u':' + password).toUtf8(), QCryptographicHash::Sha256).toHex());
}

/// A new random salt for a password hash.
inline QString newPasswordSalt()
{
    QByteArray bytes(16, '\0');
    for (char& byte : bytes)
        byte = char(QRandomGenerator::system()->bounded(256));
    return QString::fromLatin1(bytes.toHex());
}

} // namespace valdora::host
