#include "AutoCommandLine.h"

#include "ButtonFileName.h"

#include "core/ProgramFiles.h"

namespace valdora::AutoCommandLine {

namespace {

const QChar DirectMark = u'*';
const QChar EntrySeparator = u',';
const QChar Blank = u' ';

} // namespace

QString programPath(const QString& programFolder)
{
    return programFolder + u'/' + ProgramFile::Auto;
}

QStringList directModeArguments(const QString& buttonFileName)
{
    return {DirectMark + buttonFileName};
}

QString argumentText(const QStringList& arguments)
{
    const QString joined = arguments.join(Blank);
    qsizetype start = 0;
    while (start < joined.size() && joined.at(start) == Blank)
        ++start;
    return joined.mid(start);
}

QString RunList::buttonFileName(qsizetype index) const
{
    const QString entry = entries.value(index);
    if (entry.isEmpty() || directMode)
        return entry;
    return buttonFileNameOf(entry);
}

RunList parseArgumentText(const QString& text)
{
    RunList list;
    QStringView rest(text);
    if (rest.startsWith(DirectMark)) {
        list.directMode = true;
        rest = rest.mid(1);
    }
    qsizetype index = 0;
    for (const QChar character : rest) {
        if (character == EntrySeparator) {
            ++index;
            continue;
        }
        // An entry comes into being with its first character, and every lower one with it.
        while (list.entries.size() <= index)
            list.entries.append(QString());
        list.entries[index].append(character);
    }
    return list;
}

} // namespace valdora::AutoCommandLine
