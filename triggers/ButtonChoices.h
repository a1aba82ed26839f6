#pragma once

#include "KeelbrookTrace.h"
#include "TriggerText.h"

#include "settings/IniLib.h"

#include <QList>
#include <QString>

namespace valdora::triggers {

/// A button the add window offers: its identifier ("~100") and its caption.
struct ButtonChoice {
    QString identifier;
    QString name;

    friend bool operator==(const ButtonChoice&, const ButtonChoice&) = default;
};

/// True for "~" followed by a number ("~100"); other names are not buttons a trigger can run.
bool isButtonIdentifier(const QString& identifier);

/// The buttons of the button folder (which ends with the separator) that a trigger of this database
/// (file name only) can run: those whose "_DB" is empty or equals it exactly, in listing order, each
/// with its "Name".
QList<ButtonChoice> Get_Buttons(const IniLib& ini, const QString& buttonFolder, const QString& databaseName,
                                KeelbrookTrace& trace);

/// The captions of the buttons of a button folder, for describing trigger texts: any button, of
/// whatever database; empty for a name that is not an identifier or a button without a file.
TriggerText::NameLookup buttonNamesIn(const IniLib& ini, const QString& buttonFolder);

} // namespace valdora::triggers
