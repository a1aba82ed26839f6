#pragma once

#include "core/ErrorReport.h"
#include "core/TextLocale.h"

#include <QString>

#include <memory>
#include <utility>

namespace valdora {

class IniCache;
class IniDocument;

/// The keys of one file as read at one moment: the file read and parsed once, each key then reading
/// as IniLib::GetKeyValue reads it. For a caller that needs several keys of each of many files.
class IniFileKeys {
public:
    /// An absent or unreadable file: every key reads as its default.
    IniFileKeys() = default;
    explicit IniFileKeys(std::shared_ptr<const IniDocument> document) : m_document(std::move(document)) {}

    /// The stored value cut to 126 characters, or `defaultValue` when the key, its section or the
    /// file is absent or the value is empty.
    QString value(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    /// Whether the file was there and could be read.
    bool exists() const { return m_document != nullptr; }

private:
    std::shared_ptr<const IniDocument> m_document;
};

/// The only way the suite reads and writes keys of the settings file and of button files.
/// Sections and keys are matched without regard to case; a value read back holds at most 126
/// characters; files are stored in the Windows-1252 code page with CRLF line ends.
class IniLib {
public:
    /// `reporter` shows the report of a failure inside GetKeyValue; `locale` gives the numeric test.
    IniLib(const ErrorReporter& reporter, TextLocale locale = TextLocale(), QString currentSettingsFile = {});
    ~IniLib();
    IniLib(const IniLib&) = delete;
    IniLib& operator=(const IniLib&) = delete;

    /// The current settings file: used whenever a call is given an empty file name.
    const QString& currentSettingsFile() const { return m_currentSettingsFile; }
    void setCurrentSettingsFile(const QString& path) { m_currentSettingsFile = path; }

    /// Reads one key: the stored value cut to 126 characters, or `defaultValue` when the key, its
    /// section or the file is absent or the value is empty. With `valueType` "Numeric" or "Boolean",
    /// a result (default included) that fails the numeric test becomes `replacement` when that is
    /// not empty. A failure inside is reported as "in IniLib: Function GetKeyValue".
    QString GetKeyValue(const QString& section, const QString& key, const QString& defaultValue = {},
                        const QString& valueType = {}, const QString& replacement = {},
                        const QString& iniFile = {}) const;

    /// Writes one key, creating the file, section and key as needed and keeping every other line.
    /// The file is replaced atomically under a lock between processes. False (and the file
    /// unchanged) when the write failed.
    bool SetKeyValue(const QString& section, const QString& key, const QString& value,
                     const QString& iniFile = {}) const;

    /// The file's keys, read once (the current settings file for an empty name). A failure inside is
    /// reported as GetKeyValue's and reads as an absent file.
    IniFileKeys readKeys(const QString& iniFile = {}) const;

private:
    const ErrorReporter& m_reporter;
    TextLocale m_locale;
    QString m_currentSettingsFile;
    std::unique_ptr<IniCache> m_cache;
};

} // namespace valdora
