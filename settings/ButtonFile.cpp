#include "ButtonFile.h"

#include "ButtonFileName.h"

#include <QFileInfo>

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <utility>

namespace valdora {

namespace {

constexpr qint64 FirstButtonNumber = 100;

// The leading digits of a button file name from its second character ("~107.ini" -> 107); nullopt
// when there are none or they do not fit.
std::optional<qint64> buttonNumber(const QString& fileName)
{
    if (fileName.size() < 2)
        return std::nullopt;
    qint64 number = 0;
    qsizetype digits = 0;
    for (qsizetype i = 1; i < fileName.size() && fileName[i].isDigit() && fileName[i].unicode() < 0x80; ++i) {
        if (++digits > 15)
            return std::nullopt;
        number = number * 10 + (fileName[i].unicode() - u'0');
    }
    return digits > 0 ? std::optional(number) : std::nullopt;
}

QString nameFor(qint64 number)
{
    return ButtonFileName::Prefix + QString::number(number) + ButtonFileName::Extension;
}

} // namespace

Scheme schemeOf(const QString& typeText)
{
    // Only the plain decimal code names a scheme: " 1" or "01" is a damaged key, not scheme 1.
    for (const SchemeRow& row : SchemeTable) {
        if (typeText == QString::number(codeOf(row.scheme)))
            return row.scheme;
    }
    return Scheme::Missing;
}

std::optional<qint16> typeCodeOf(const QString& typeText)
{
    const QString text = typeText.trimmed();
    if (text.isEmpty())
        return static_cast<qint16>(Scheme::Missing);
    bool whole = false;
    const int code = text.toInt(&whole);
    if (!whole || code < std::numeric_limits<qint16>::min() || code > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(code);
}

bool isButtonFileName(const QString& fileName)
{
    return fileName.startsWith(ButtonFileName::Prefix);
}

bool isListedButtonFile(const QString& fileName)
{
    return isButtonFileName(fileName) && fileName.endsWith(ButtonFileName::Extension, Qt::CaseInsensitive);
}

QString buttonIdentifier(const QString& fileName)
{
    return fileName.endsWith(ButtonFileName::Extension, Qt::CaseInsensitive)
               ? fileName.chopped(ButtonFileName::Extension.size())
               : fileName;
}

QString buttonFileNameOf(const QString& identifier)
{
    return identifier + ButtonFileName::Extension;
}

ButtonFile::ButtonFile(const IniLib& ini, QString path) : m_ini(&ini), m_path(std::move(path)) {}

ButtonFile ButtonFile::inFolder(const IniLib& ini, const QString& buttonFolder, const QString& fileName)
{
    return ButtonFile(ini, buttonFolder + fileName);
}

QString ButtonFile::fileName() const
{
    return QFileInfo(m_path).fileName();
}

bool ButtonFile::exists() const
{
    return QFileInfo(m_path).isFile();
}

QString ButtonFile::read(const QString& key, const QString& defaultValue) const
{
    return m_ini->GetKeyValue(ButtonKey::Section, key, defaultValue, {}, {}, m_path);
}

bool ButtonFile::isOn(const QString& key, const QString& defaultValue) const
{
    return read(key, defaultValue) == u"1";
}

bool ButtonFile::write(const QString& key, const QString& value) const
{
    return m_ini->SetKeyValue(ButtonKey::Section, key, value, m_path);
}

Scheme ButtonFile::scheme() const
{
    return schemeOf(read(ButtonKey::Type, QStringLiteral("-1")));
}

QString autoNumberPattern(int fieldPos, int textPos, int numberPos, const QString& separator)
{
    std::array<QChar, 4> atPosition{}; // index 1..3; a null QChar for a free position
    const std::array parts{std::pair{fieldPos, AutoNumberMarker::FieldPart},
                           std::pair{textPos, AutoNumberMarker::TextPart},
                           std::pair{numberPos, AutoNumberMarker::NumberPart}};
    for (const auto& [position, marker] : parts) {
        if (position >= 1 && position <= 3)
            atPosition[static_cast<std::size_t>(position)] = marker;
    }
    QString pattern;
    for (std::size_t position = 1; position <= 3; ++position) {
        if (atPosition[position].isNull())
            continue;
        if (position >= 2 && !separator.isEmpty())
            pattern += AutoNumberMarker::Separator;
        pattern += atPosition[position];
    }
    return pattern;
}

QString newButtonFileName(const QString& lastListedName, const QStringList& existingNames)
{
    qint64 next = FirstButtonNumber;
    if (!lastListedName.isEmpty()) {
        const auto last = buttonNumber(lastListedName);
        next = last ? *last + 1 : FirstButtonNumber;
    }
    for (const QString& name : existingNames) {
        if (const auto number = isButtonFileName(name) ? buttonNumber(name) : std::nullopt)
            next = std::max(next, *number + 1);
    }
    // A name such as "~0200.ini" has the number of "~200.ini" but not its spelling: step past both.
    const auto taken = [&](const QString& candidate) {
        return std::any_of(existingNames.begin(), existingNames.end(), [&](const QString& name) {
            return name.compare(candidate, Qt::CaseInsensitive) == 0;
        });
    };
    while (taken(nameFor(next)))
        ++next;
    return nameFor(next);
}

QString defaultCounterFilePath(const QString& folder, const QString& caption)
{
    QString safe = caption;
    for (QChar& c : safe) {
        if (c == u'/' || c == u'\\' || c == u'\0')
            c = u'_';
    }
    return folder + QStringLiteral("AutoNumber_") + safe + QStringLiteral(".num");
}

} // namespace valdora
