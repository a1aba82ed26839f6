#pragma once

#include "host/FieldList.h"
#include "settings/IniLib.h"

#include <QString>
#include <QStringList>

namespace valdora::bar {

/// Whether settings stored by this version predate the "TargetDecimals" key of numeric targets: the
/// stored version compares below "310" as text ("309", "220" and an empty version do; "310", "313"
/// and "4" do not). Read it before the start stores the current version.
bool targetDecimalsDue(const QString& storedVersion);

/// Gives each listed button whose target the host reports as numeric (type 5) its "TargetDecimals":
/// the field's decimal places. "TargetID" is read with default "0"; a button without a known target
/// (no id, or one the host refuses) is left as it is, so one damaged button does not stop the rest.
/// Returns the buttons written. Throws Failure(PathFileAccessError) when a button file cannot be
/// written.
int upgradeTargetDecimals(const IniLib& ini, const QString& buttonFolder, const QStringList& buttonFiles,
                          const host::FieldList& fields);

} // namespace valdora::bar
