#pragma once

#include "KeelbrookTrace.h"
#include "TriggerKind.h"
#include "TriggerText.h"

#include "host/FieldList.h"
#include "settings/MessageTable.h"

#include <QList>
#include <QString>

#include <optional>

namespace valdora::triggers {

/// What the trigger report shows for one trigger, and whether it is the one just written.
struct TriggerRow {
    int row = 0;
    /// The field's label.
    QString label;
    /// "Entry" or "Exit" in the current language.
    QString typeText;
    /// The trigger described: its buttons' captions, or its text unchanged.
    QString description;
    host::FieldId fieldId = -1;
    /// The text as the field holds it.
    QString rawText;
    bool selected = false;

    friend bool operator==(const TriggerRow&, const TriggerRow&) = default;
};

/// What describing a row needs: the texts, the program folder whose button triggers are
/// recognised, the buttons' captions and the trigger last written.
struct TriggerRowContext {
    const Messages& messages;
    QString programFolder;
    TriggerText::NameLookup names;
    std::optional<RememberedTrigger> remembered;
};

/// The type text of a kind: message "Entry" or "Exit"; and back: entry only for the "Entry" text.
QString typeTextOf(const Messages& messages, TriggerKind kind);
TriggerKind kindOfTypeText(const Messages& messages, const QString& typeText);

/// One row: the field's trigger of the kind the type text names, described, at the given row
/// number; selected when it is the remembered trigger (same field, same kind, and its text within
/// the text written).
TriggerRow Write_Trigger(const host::FieldList& fields, host::FieldId fieldId, const QString& typeText,
                         int row, const TriggerRowContext& context, KeelbrookTrace& trace);

/// The last field id whose triggers the report lists.
inline constexpr host::FieldId LastListedField = 1500;

/// Every trigger of the fields with ids 1 to 1500, by field id, a field's entry trigger before its exit
/// trigger; rows numbered from 1. The progress marker names the field being read (+2000 for exit triggers).
QList<TriggerRow> listTriggers(const host::FieldList& fields, const TriggerRowContext& context,
                               KeelbrookTrace& trace);

} // namespace valdora::triggers
