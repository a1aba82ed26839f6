#include "ButtonList.h"

#include "settings/ButtonDefinition.h"
#include "settings/FileLister.h"

namespace valdora::bar {

ButtonListing Get_Buttons(const IniLib& ini, const QString& buttonFolder, const QString& databaseName)
{
    ButtonListing listing;
    const QStringList names = FileLister().list(buttonFolder + QStringLiteral("*.*"));
    for (const QString& name : names) {
        // Button files are "~", a number and ".ini"; the settings file and counter files are not.
        if (!name.startsWith(u'~') || !name.endsWith(QStringLiteral(".ini"), Qt::CaseInsensitive))
            continue;
        const QString database = ButtonFile::inFolder(ini, buttonFolder, name).read(ButtonKey::LimitedToDB);
        if (database.isEmpty() || database == databaseName)
            listing.files.push_back(name);
        listing.lastButtonFile = name;
    }
    return listing;
}

} // namespace valdora::bar
