#pragma once

#include "SlotFace.h"

#include "settings/IniLib.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace valdora::bar {

/// The buttons on the bar: the file names, in listing order, of the button files of the button
/// folder that belong to the open database (their "_DB" is empty or names it).
struct ButtonListing {
    QStringList files;
    /// The face of each listed button, from the same read of its file as its database.
    QList<SlotFace> faces;
    /// The last button file listed, of any database: the editor numbers a new button after it.
    QString lastButtonFile;
};

/// Lists the button folder (which ends with the separator) for the database of this file name. Each
/// button file is read once.
ButtonListing Get_Buttons(const IniLib& ini, const QString& buttonFolder, const QString& databaseName);

/// The captions of the Combo buttons of the button folder (of any database) that run the button of
/// this file name in one of their enabled slots, in listing order. A Combo without a caption is
/// named by its file name.
QStringList combosUsing(const IniLib& ini, const QString& buttonFolder, const QString& buttonFileName);

} // namespace valdora::bar
