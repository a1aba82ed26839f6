#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace valdora::TriggerText {

/// The fixed texts of a described trigger; the same in every language.
inline const QString OneButtonPrefix = QStringLiteral("Valdora Button: ");
inline const QString SeveralButtonsPrefix = QStringLiteral("Valdora Buttons: ");
inline const QString IncorrectSyntax = QStringLiteral("Incorrect Valdora button syntax");

/// Every identifier of a queue is read as exactly this many characters ("~100").
inline constexpr qsizetype IdentifierLength = 4;

/// What a trigger text starts with to run buttons: the program folder (given without a trailing
/// separator, shown with the platform's own separators), the separator, "ValdoraAuto.exe" and one
/// blank.
QString buttonTriggerPrefix(const QString& programFolder);

/// The trigger text that runs these buttons in this order: the prefix and the identifiers joined by
/// "," without blanks ("/opt/Valdora/ValdoraAuto.exe ~100,~103"). No quotation marks, even when the
/// folder holds blanks: the host takes the longest leading part of the text that names a program.
QString forButtons(const QString& programFolder, const QStringList& identifiers);

/// The trigger text that runs the button of this file ("~100.ini" runs "~100").
QString forButtonFile(const QString& programFolder, const QString& buttonFileName);

/// A trigger text with one more button queued behind those it runs already.
QString withQueuedButton(const QString& triggerText, const QString& identifier);

/// True when the text runs buttons through ValdoraAuto of this program folder. The conflict check
/// compares exactly; the report lists triggers written in any letter case as buttons too.
bool isButtonTrigger(const QString& triggerText, const QString& programFolder,
                     Qt::CaseSensitivity sensitivity = Qt::CaseSensitive);

/// The queue of a button trigger: everything from the "~" of the first ".exe ~" on. A text without
/// ".exe ~" gives everything from its fifth character on.
QString queueText(const QString& triggerText);

/// True when the identifier is one of the entries of the text's queue.
bool isQueued(const QString& triggerText, const QString& identifier);

/// How many identifiers a queue of `characters` characters (without "," and blanks) holds: a
/// quarter of it, rounded to the nearest whole number with halves going to the even one (6 give 2,
/// 10 give 2, 14 give 4).
qsizetype buttonCount(qsizetype characters);

/// The caption of a button by its identifier; empty when the button has none or does not exist.
using NameLookup = std::function<QString(const QString& identifier)>;

/// The text the trigger report shows for a trigger: "Valdora Button: " and the caption for one
/// button, "Valdora Buttons: " and the captions joined by ", " for a queue, "Incorrect Valdora button
/// syntax" when an identifier has no caption, and any text that does not run buttons from this
/// program folder (letter case ignored) unchanged.
QString describe(const QString& triggerText, const QString& programFolder, const NameLookup& nameOf);

} // namespace valdora::TriggerText
