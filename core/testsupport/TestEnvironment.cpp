#include "TestEnvironment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace valdora::test {

PinnedLocale::PinnedLocale(const QString& name) : m_previous(QLocale())
{
    QLocale::setDefault(QLocale(name));
}

PinnedLocale::~PinnedLocale()
{
    QLocale::setDefault(m_previous);
}

TemporaryUserSettings::TemporaryUserSettings()
    : m_previous(qgetenv("VALDORA_USER_SETTINGS")),
      m_hadPrevious(qEnvironmentVariableIsSet("VALDORA_USER_SETTINGS"))
{
    qputenv("VALDORA_USER_SETTINGS", m_dir.path().toUtf8());
}

TemporaryUserSettings::~TemporaryUserSettings()
{
    if (m_hadPrevious)
        qputenv("VALDORA_USER_SETTINGS", m_previous);
    else
        qunsetenv("VALDORA_USER_SETTINGS");
}

QString binaryFolder()
{
    const QString chosen = qEnvironmentVariable("VALDORA_BIN_DIR");
    return chosen.isEmpty() ? QCoreApplication::applicationDirPath() : chosen;
}

bool writeFile(const QString& path, const QByteArray& content)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(content) == content.size();
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace valdora::test
