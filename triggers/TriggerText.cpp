#include "TriggerText.h"

#include "settings/AutoCommandLine.h"
#include "settings/ButtonFile.h"

#include <QDir>

#include <algorithm>

namespace valdora::TriggerText {

namespace {

const QChar QueueSeparator = u',';
const QChar Blank = u' ';
const QString QueueStart = QStringLiteral(".exe ~");
// From the "." of ".exe ~", the blank lies 4 characters on and the "~" 5.
constexpr qsizetype BlankAfterDot = 4;
constexpr qsizetype TildeAfterDot = 5;
// Entry k of a queue starts 5k characters after the first: its identifier and a ",".
constexpr qsizetype EntryStride = IdentifierLength + 1;

/// Where ".exe ~" starts, or -1: the offsets above then take the text from its 4th or 5th character
/// on, as if the match sat just before the text.
qsizetype queueStartIn(const QString& triggerText)
{
    return triggerText.indexOf(QueueStart, 0, Qt::CaseSensitive);
}

/// The text from the blank before the queue to the end.
QString tailOf(const QString& triggerText)
{
    return triggerText.mid(queueStartIn(triggerText) + BlankAfterDot);
}

QString withoutSeparatorsAndBlanks(QString text)
{
    text.remove(QueueSeparator);
    text.remove(Blank);
    return text;
}

QString describeOne(const QString& tail, const NameLookup& nameOf)
{
    const QString name = nameOf(tail.mid(1));
    return name.isEmpty() ? IncorrectSyntax : OneButtonPrefix + name;
}

QString describeQueue(const QString& tail, qsizetype count, const NameLookup& nameOf)
{
    QStringList names;
    for (qsizetype k = 0; k < count; ++k) {
        // Identifiers are read at fixed places: one that is not four characters long, or a blank
        // after a ",", shifts every later one and so shows as incorrect.
        const QString name = nameOf(tail.mid(EntryStride * k + 1, IdentifierLength));
        if (name.isEmpty())
            return IncorrectSyntax;
        names.append(name);
    }
    return SeveralButtonsPrefix + names.join(QStringLiteral(", "));
}

} // namespace

QString buttonTriggerPrefix(const QString& programFolder)
{
    return QDir::toNativeSeparators(AutoCommandLine::programPath(programFolder)) + Blank;
}

QString forButtons(const QString& programFolder, const QStringList& identifiers)
{
    return buttonTriggerPrefix(programFolder) + identifiers.join(QueueSeparator);
}

QString forButtonFile(const QString& programFolder, const QString& buttonFileName)
{
    return forButtons(programFolder, {buttonIdentifier(buttonFileName)});
}

QString withQueuedButton(const QString& triggerText, const QString& identifier)
{
    return triggerText + QueueSeparator + identifier;
}

bool isButtonTrigger(const QString& triggerText, const QString& programFolder,
                     Qt::CaseSensitivity sensitivity)
{
    return triggerText.contains(buttonTriggerPrefix(programFolder) + u'~', sensitivity);
}

QString queueText(const QString& triggerText)
{
    return triggerText.mid(queueStartIn(triggerText) + TildeAfterDot);
}

bool isQueued(const QString& triggerText, const QString& identifier)
{
    // Entry by entry rather than as a part of the text: "~100" is not queued because "~1000" is.
    const QStringList entries = queueText(triggerText).split(QueueSeparator);
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&identifier](const QString& entry) { return entry.trimmed() == identifier; });
}

qsizetype buttonCount(qsizetype characters)
{
    const qsizetype whole = characters / IdentifierLength;
    const qsizetype rest = characters % IdentifierLength;
    const qsizetype half = IdentifierLength / 2;
    if (rest > half || (rest == half && whole % 2 == 1))
        return whole + 1;
    return whole;
}

QString describe(const QString& triggerText, const QString& programFolder, const NameLookup& nameOf)
{
    if (!isButtonTrigger(triggerText, programFolder, Qt::CaseInsensitive))
        return triggerText;
    const QString tail = tailOf(triggerText);
    const qsizetype count = buttonCount(withoutSeparatorsAndBlanks(tail).size());
    if (count == 1)
        return describeOne(tail, nameOf);
    return describeQueue(tail, count, nameOf);
}

} // namespace valdora::TriggerText
