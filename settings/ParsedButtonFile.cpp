#include "ParsedButtonFile.h"

namespace valdora {

ParsedButtonFile::ParsedButtonFile(const IniLib& ini, const QString& buttonFolder, const QString& fileName)
    : m_file(ButtonFile::inFolder(ini, buttonFolder, fileName)), m_keys(ini.readKeys(m_file.path()))
{}

QString ParsedButtonFile::read(const QString& key, const QString& defaultValue) const
{
    return m_keys.value(ButtonKey::Section, key, defaultValue);
}

} // namespace valdora
