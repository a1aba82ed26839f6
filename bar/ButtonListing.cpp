#include "ButtonListing.h"

#include "settings/ButtonFile.h"
#include "settings/ButtonFileName.h"
#include "settings/ButtonReaders.h"
#include "settings/FileLister.h"
#include "settings/ParsedButtonFile.h"

namespace valdora::bar {

ButtonListing Get_Buttons(const IniLib& ini, const QString& buttonFolder, const QString& databaseName)
{
    ButtonListing listing;
    const QStringList names = FileLister().list(buttonFolder + QStringLiteral("*.*"));
    for (const QString& name : names) {
        if (!isListedButtonFile(name))
            continue;
        // The bar shows the face of each button it lists: one read of the file gives both.
        const ParsedButtonFile button(ini, buttonFolder, name);
        const QString database = readLimitedToDB(button);
        if (database.isEmpty() || database == databaseName) {
            listing.files.push_back(name);
            listing.faces.push_back(faceOf(button));
        }
        listing.lastButtonFile = name;
    }
    return listing;
}

QStringList combosUsing(const IniLib& ini, const QString& buttonFolder, const QString& buttonFileName)
{
    QStringList combos;
    const QStringList names = FileLister().list(buttonFolder + QStringLiteral("*.*"));
    for (const QString& name : names) {
        if (!isListedButtonFile(name) || name.compare(buttonFileName, Qt::CaseInsensitive) == 0)
            continue;
        const ButtonFile combo = ButtonFile::inFolder(ini, buttonFolder, name);
        if (combo.scheme() != Scheme::Combo)
            continue;
        // Every slot ValdoraAuto runs, which are more than the bar runs.
        for (const ComboSlot& slot : readComboSlots(combo)) {
            if (slot.inUse && slot.buttonFileName.compare(buttonFileName, Qt::CaseInsensitive) == 0) {
                combos << captionOrFileName(combo);
                break;
            }
        }
    }
    return combos;
}

} // namespace valdora::bar
