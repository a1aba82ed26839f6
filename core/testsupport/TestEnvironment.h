#pragma once

#include <QLocale>
#include <QString>
#include <QTemporaryDir>

namespace valdora::test {

/// Pins QLocale's default for the lifetime of the object, then restores the one before.
class PinnedLocale {
public:
    explicit PinnedLocale(const QString& name);
    ~PinnedLocale();
    PinnedLocale(const PinnedLocale&) = delete;
    PinnedLocale& operator=(const PinnedLocale&) = delete;

private:
    QLocale m_previous;
};

/// A fresh temporary folder that VALDORA_USER_SETTINGS points at for the lifetime of the object, so
/// that no test touches a real user's settings.
class TemporaryUserSettings {
public:
    TemporaryUserSettings();
    ~TemporaryUserSettings();
    TemporaryUserSettings(const TemporaryUserSettings&) = delete;
    TemporaryUserSettings& operator=(const TemporaryUserSettings&) = delete;

    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
    bool m_hadPrevious;
};

/// The folder that holds the built programs: VALDORA_BIN_DIR when set, else the folder of the
/// running test, since every program and test is built into the same folder.
QString binaryFolder();

/// Writes a file (folders created as needed); returns false on failure.
bool writeFile(const QString& path, const QByteArray& content);
/// Reads a whole file; empty when it cannot be read.
QByteArray readFile(const QString& path);

} // namespace valdora::test
