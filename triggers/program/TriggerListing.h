#pragma once

#include "KeelbrookState.h"

#include <QList>
#include <QString>

#include <optional>

namespace valdora::keelbrook {

/// One row of the trigger report.
struct ReportRow {
    QString label;       ///< the field's label (the row text)
    QString type;        ///< the kind in the report's language: "Entry" or "Exit"
    QString description; ///< the trigger described: its buttons' names, or the text itself
    host::FieldId fieldId = 0;
    QString raw; ///< the trigger text as the host keeps it

    friend bool operator==(const ReportRow&, const ReportRow&) = default;
};

/// What a listing gave: the rows in field-id order (entry before exit) and the row of the remembered
/// trigger, when it was listed.
struct Listing {
    QList<ReportRow> rows;
    std::optional<int> selectedRow; ///< 0-based
};

/// The kind that a row's type text names: entry when it equals the language's "Entry".
TriggerKind kindOfType(const KeelbrookState& state, const QString& type);

/// The load of the report: the triggers of field ids 1 to 1500 of the open database, each written by
/// Write_Trigger. A failure goes to the error report, which ends the program; the rows listed so far
/// are returned then.
Listing listTriggers(KeelbrookState& state);

/// One row: reads the trigger of that kind, describes it and adds it as row `rowNumber` (from 1);
/// selects it when it is the remembered trigger. False when it failed (reported, program ended).
bool Write_Trigger(KeelbrookState& state, host::FieldId fieldId, const QString& type, int rowNumber,
                   Listing& listing);

/// How a trigger text reads in the report.
QString describeTrigger(const KeelbrookState& state, const QString& triggerText);

} // namespace valdora::keelbrook
