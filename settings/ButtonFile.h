#pragma once

#include "ButtonKey.h"
#include "IniLib.h"
#include "SchemeTable.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

namespace valdora {

/// The scheme a "Type" text names; Missing for anything but "0" to "6".
Scheme schemeOf(const QString& typeText);

/// The scheme code of a "Type" text as a run compares it: -1 for an absent or empty key, the number
/// for a whole number (a code outside 0 to 6 computes nothing), nullopt for any other text: a
/// damaged definition that must not run as scheme 0.
std::optional<qint16> typeCodeOf(const QString& typeText);

/// A button file name begins with "~"; every other file of the button folder is not a button.
bool isButtonFileName(const QString& fileName);
/// The button's identifier: its file name without ".ini" ("~100.ini" -> "~100").
QString buttonIdentifier(const QString& fileName);

/// One button file, read and written key by key through the INI library, in section "Settings".
class ButtonFile {
public:
    /// The file at `path` (button folder followed by the file name).
    ButtonFile(const IniLib& ini, QString path);
    /// The file `fileName` of a button folder that ends with the separator.
    static ButtonFile inFolder(const IniLib& ini, const QString& buttonFolder, const QString& fileName);

    const QString& path() const { return m_path; }
    /// "~100.ini".
    QString fileName() const;
    /// "~100".
    QString identifier() const { return buttonIdentifier(fileName()); }
    bool exists() const;

    /// The key's value (at most 126 characters), or `defaultValue` when it is absent or empty.
    QString read(const QString& key, const QString& defaultValue = {}) const;
    /// True when the key reads "1" (flags and option groups).
    bool isOn(const QString& key, const QString& defaultValue = QStringLiteral("0")) const;
    /// Writes the key; false when the file could not be written (it is then unchanged).
    bool write(const QString& key, const QString& value) const;
    /// The button's scheme; Missing when the file or its "Type" key is absent.
    Scheme scheme() const;

private:
    const IniLib* m_ini;
    QString m_path;
};

/// Pattern characters of the AutoNumber "Format" key (the bytes 0xF8, 0xF9, 0xFA of the file).
namespace AutoNumberMarker {
inline constexpr QChar FieldPart(0xF8);
inline constexpr QChar TextPart(0xF9);
inline constexpr QChar NumberPart(0xFA);
inline constexpr QChar Separator(u'|');
} // namespace AutoNumberMarker

/// The AutoNumber pattern: the parts in output order, each as its marker, with "|" before the part
/// at position 2 and before the part at position 3 when the separator is not empty. Positions are
/// 1, 2 or 3, anything else meaning "not used"; the stored AutoNumberPos is the number's position
/// minus one, so pass it plus one. When parts claim the same position, the later of field, text,
/// number takes it.
QString autoNumberPattern(int fieldPos, int textPos, int numberPos, const QString& separator);

/// The file name of a new button. "~100.ini" when no button file was listed (`lastListedName`
/// empty), otherwise "~" + (the number of `lastListedName` + 1) + ".ini", the number being the
/// leading digits of the name from its second character. Past "~999.ini" a listing in name order
/// no longer ends with the highest number ("~1000.ini" lists before "~101.ini"), so the number is
/// also raised above the highest number of `existingNames`, and then past any name in it: the new
/// name never equals an existing file and never reuses a number that is in use.
QString newButtonFileName(const QString& lastListedName, const QStringList& existingNames);

/// The default counter file of an AutoNumber button: `folder` (ending with the separator) +
/// "AutoNumber_" + caption + ".num". A separator or NUL in the caption becomes "_", so the file
/// stays in that folder.
QString defaultCounterFilePath(const QString& folder, const QString& caption);

} // namespace valdora
