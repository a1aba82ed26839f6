#pragma once

#include "ButtonFile.h"
#include "IniLib.h"

#include <QString>

namespace valdora {

/// One button file read once: its keys read as ButtonFile::read reads them, all from the same read
/// of the file. For a caller that needs several keys of each of many buttons (the bar reads a
/// button's database, caption, colour and weight as it lists it), where a read per key would read
/// the file again for each.
class ParsedButtonFile {
public:
    /// Reads the file `fileName` of a button folder that ends with the separator.
    ParsedButtonFile(const IniLib& ini, const QString& buttonFolder, const QString& fileName);

    /// The file, for its writes and for reads of keys changed since.
    const ButtonFile& file() const { return m_file; }
    /// Whether the file was there and could be read when it was read.
    bool exists() const { return m_keys.exists(); }
    /// The key's value (at most 126 characters), or `defaultValue` when it is absent or empty.
    QString read(const QString& key, const QString& defaultValue = {}) const;

private:
    ButtonFile m_file;
    IniFileKeys m_keys;
};

} // namespace valdora
