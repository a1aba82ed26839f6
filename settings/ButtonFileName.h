#pragma once

#include <QString>

namespace valdora {

/// How button files are named: "~", a number and ".ini" ("~100.ini"); a button's identifier is its
/// file name without ".ini" ("~100"). ButtonFile.h holds the test of a name (isButtonFileName)
/// and the identifier of a file name (buttonIdentifier).
namespace ButtonFileName {
/// The first character of every button file's name.
inline constexpr QChar Prefix(u'~');
/// The end of a button file's name.
inline const QString Extension = QStringLiteral(".ini");
/// A folder listing of every file that may be a button: "~*".
inline const QString ListingPattern = QString(Prefix) + u'*';
} // namespace ButtonFileName

/// A button file as the bar lists it: "~" first and ".ini" (in any case) last, so that the settings
/// file and counter files never show as buttons.
bool isListedButtonFile(const QString& fileName);
/// The button file of an identifier: "~100" -> "~100.ini".
QString buttonFileNameOf(const QString& identifier);

} // namespace valdora
