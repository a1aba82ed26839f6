#pragma once

#include "KeelbrookTrace.h"

#include "core/Platform.h"
#include "host/FieldList.h"
#include "settings/IniLib.h"
#include "settings/MessageTable.h"

#include <QString>

namespace valdora::triggers {

/// What adding a trigger works with: the open database's field definitions, the button folder,
/// Keelbrook's texts and message boxes, and its trace.
struct AddTriggerContext {
    /// Keelbrook's message table at its language base.
    const Messages& messages;
    /// Message boxes (captioned with `title`) and the file dialog.
    Platform& platform;
    QString title;
    host::FieldList& fields;
    /// Reads the button files of `buttonFolder` (which ends with the separator).
    const IniLib& ini;
    QString buttonFolder;
    /// The database as chosen (shown) and its file name (compared with a button's "_DB").
    QString databasePath;
    QString databaseName;
    /// Keelbrook's own folder, without a trailing separator: ValdoraAuto is expected there.
    QString programFolder;
    KeelbrookTrace& trace;
};

} // namespace valdora::triggers
