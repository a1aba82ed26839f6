#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>

namespace valdora {

class IniCache;
class IniDocument;

/// Application names of the per-user store.
namespace Application {
inline const QString Valdora = QStringLiteral("Valdora");
inline const QString Keelbrook = QStringLiteral("Keelbrook");
} // namespace Application

/// The per-user settings store: application, section, key, with a default at each read. One INI
/// file per application ("<folder>/Valdora.ini"), sections and keys matched without regard to case,
/// no length limit on values, stored as UTF-8 with CRLF line ends. Safe across processes: every read sees the
/// last write of any process, and concurrent writers of different keys lose nothing.
class UserSettings {
public:
    /// The store in VALDORA_USER_SETTINGS when that is set, else in "Valdora" of the user's
    /// configuration folder ($XDG_CONFIG_HOME, else ~/.config).
    UserSettings();
    explicit UserSettings(QString folder);

    /// The folder the store lies in.
    const QString& folder() const { return m_folder; }
    /// The store's file of one application.
    QString filePath(const QString& application) const;

    /// The value, or `defaultValue` when the key is absent.
    QString get(const QString& application, const QString& section, const QString& key,
                const QString& defaultValue = {}) const;
    /// Writes a value (the store's folder is created when missing); false when the store could not
    /// be written or the value holds a line break (nothing changed then).
    bool set(const QString& application, const QString& section, const QString& key,
             const QString& value) const;
    /// Writes several values of one section in one replacement of the store, so that they are stored
    /// together or not at all; false (nothing changed) when one cannot be stored.
    bool set(const QString& application, const QString& section,
             const QList<std::pair<QString, QString>>& values) const;
    /// The names of the application's sections, in stored order.
    QStringList sections(const QString& application) const;
    /// The names of a section's keys, in stored order.
    QStringList keys(const QString& application, const QString& section) const;
    /// Removes a section and its keys; true when it is gone (also when it was never there).
    bool removeSection(const QString& application, const QString& section) const;

private:
    std::shared_ptr<const IniDocument> document(const QString& application) const;

    QString m_folder;
    // Shared by copies; a cached file is checked against the disk at every read.
    std::shared_ptr<IniCache> m_cache;
};

} // namespace valdora
