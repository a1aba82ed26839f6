#include "ButtonChoices.h"

#include "settings/ButtonFile.h"
#include "settings/ButtonFileName.h"
#include "settings/FileLister.h"

#include <algorithm>

namespace valdora::triggers {

namespace {

ButtonFile buttonFile(const IniLib& ini, const QString& buttonFolder, const QString& identifier)
{
    return ButtonFile::inFolder(ini, buttonFolder, buttonFileNameOf(identifier));
}

} // namespace

bool isButtonIdentifier(const QString& identifier)
{
    return identifier.size() > 1 && identifier.startsWith(ButtonFileName::Prefix) &&
           std::all_of(identifier.cbegin() + 1, identifier.cend(),
                       [](QChar character) { return character >= u'0' && character <= u'9'; });
}

QList<ButtonChoice> Get_Buttons(const IniLib& ini, const QString& buttonFolder, const QString& databaseName,
                                KeelbrookTrace& trace)
{
    trace.enter(QStringLiteral("Get_Buttons"));
    QList<ButtonChoice> choices;
    const QStringList names = FileLister().list(buttonFolder + QStringLiteral("*.*"));
    trace.reach(1);
    for (const QString& name : names) {
        // Only the extension goes: the rest must be the identifier a trigger names.
        if (!name.endsWith(ButtonFileName::Extension))
            continue;
        const QString identifier = name.chopped(ButtonFileName::Extension.size());
        if (!isButtonIdentifier(identifier))
            continue;
        const ButtonFile file = buttonFile(ini, buttonFolder, identifier);
        const QString database = file.read(ButtonKey::LimitedToDB);
        if (database.isEmpty() || database == databaseName)
            choices.append({identifier, file.read(ButtonKey::Name)});
    }
    trace.reach(2);
    return choices;
}

TriggerText::NameLookup buttonNamesIn(const IniLib& ini, const QString& buttonFolder)
{
    return [&ini, buttonFolder](const QString& identifier) {
        // A trigger text is no file name: only an identifier reaches into the folder.
        if (!isButtonIdentifier(identifier))
            return QString();
        return buttonFile(ini, buttonFolder, identifier).read(ButtonKey::Name);
    };
}

} // namespace valdora::triggers
